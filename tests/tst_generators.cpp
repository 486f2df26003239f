#include "clockscript.h"
#include "colour.h"
#include "colouring.h"
#include "editingsurface.h"
#include "metatagsdialog.h"
#include "replacedialog.h"
#include "taginsertion.h"
#include "testsupport.h"

#include <QJSEngine>

using namespace zendral;
using namespace zendral::test;

class TestGenerators : public QObject
{
    Q_OBJECT

private slots:
    void metaTags();
    void clockRuns_data();
    void clockRuns();
    void replaceDialog_data();
    void replaceDialog();
};

// Lists left at their prompt give empty values, the days are written bare, the description's
// break is kept, and a second Generar writes the block afresh.
void TestGenerators::metaTags()
{
    MetaTagsDialog dialog;
    dialog.show();
    click(&dialog, u"btnaceptar"_qs);
    for (const auto &[name, item] :
         {std::pair{"cmbarea", "Internet"}, {"cmbcaracteres", "K0I8-R"}}) {
        auto *list = child<QComboBox>(&dialog, QString::fromLatin1(name));
        list->setCurrentIndex(list->findText(QString::fromLatin1(item)));
    }
    QTest::keyClicks(child<QLineEdit>(&dialog, u"txtautor"_qs), u"Ana"_qs);
    QTest::keyClicks(child<QLineEdit>(&dialog, u"txtemail"_qs), u"a\"b"_qs);
    QTest::keyClicks(child<QLineEdit>(&dialog, u"txtdias"_qs), u"7"_qs);
    auto *description = child<QPlainTextEdit>(&dialog, u"txtdescripcion"_qs);
    QTest::keyClicks(description, u"uno"_qs);
    QTest::keyClick(description, Qt::Key_Return);
    QTest::keyClicks(description, u"dos"_qs);
    click(&dialog, u"btnaceptar"_qs);

    QCOMPARE(child<QPlainTextEdit>(&dialog, u"txtmeta"_qs)->toPlainText(),
             u"<META NAME=\"AREA\" CONTENT=\"Internet\">\n<META HTTP-EQUIV=\"AUDIENCE\" "
             "CONTENT=\"\">\n<META NAME=\"AUTHOR\" CONTENT=\"Ana\">\n<META HTTP-EQUIV=\"CHARSET\" "
             "CONTENT=\"text/html; charset=K0I8-R\">\n<META NAME=\"DESCRIPTION\" "
             "CONTENT=\"uno\ndos\">\n<META NAME=\"KEYWORDS\" CONTENT=\"\">\n<META "
             "NAME=\"GENERATOR\" CONTENT=\"Zendral - http://www.zendral.com\">\n<META "
             "HTTP-EQUIV=\"LANGUAGE\" CONTENT=\"\">\n<META NAME=\"OWNER\" CONTENT=\"a\"b\">\n<META "
             "NAME=\"revisit-after\" CONTENT=7>"_qs);
    QVERIFY(dialog.isVisible());
    click(&dialog, u"btncancelar"_qs);
    QVERIFY(!dialog.isVisible());
}

void TestGenerators::clockRuns_data()
{
    QTest::addColumn<int>("hours");
    QTest::addColumn<QString>("shown");

    QTest::newRow("noon hour is PM") << 12 << u"12:05:09 PM"_qs;
    QTest::newRow("midnight hour is 12 AM") << 0 << u"12:05:09 AM"_qs;
    QTest::newRow("afternoon") << 13 << u"1:05:09 PM"_qs;
}

// The script as a current browser runs it: document.getElementById, and a document.all that
// reads as false.
void TestGenerators::clockRuns()
{
    QFETCH(int, hours);
    QFETCH(QString, shown);

    const QString script = clockScript();
    const qsizetype start = script.indexOf(u"<!--\r\n"_qs) + 6;
    const QString code = script.mid(start, script.indexOf(u"//-->"_qs) - start);

    QJSEngine engine;
    const QJSValue result = engine.evaluate(
        u"(function() {"
        " var span = {innerHTML: ''}, timers = [];"
        " var document = {all: undefined, getElementById: function(id) {"
        "   return id == 'liveclock' ? span : null; }};"
        " var setTimeout = function(code, delay) { timers.push(code + '@' + delay); };"
        " var Date = function() { return {getHours: function() { return %1; },"
        "   getMinutes: function() { return 5; }, getSeconds: function() { return 9; }}; };"
        " %2\n hora();"
        " return span.innerHTML + '|' + timers.join(); })()"_qs.arg(hours)
            .arg(code));
    QVERIFY2(!result.isError(), qPrintable(result.toString()));
    QCOMPARE(result.toString(),
             u"<font size='5' face='Arial'><b><font size='2'>Hora Actual:  </font>"_qs + shown +
                 u"</b></font>|hora()@1000"_qs);
}

void TestGenerators::replaceDialog_data()
{
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("replacement");
    // Empty: the text is left as it was.
    QTest::addColumn<QString>("expected");
    // Empty: the message is left as it was.
    QTest::addColumn<QString>("message");

    QTest::newRow("Td by td: capitals count, one told, tags coloured again")
        << u"<Td>"_qs << u"<td>"_qs << u"<td>uno</Td><TD>dos</TD>"_qs
        << u"Palabras reemplazadas correctamente: 1 reemplazo."_qs;
    QTest::newRow("word not there: told, text, colours and saved state kept")
        << u"<table>"_qs << u"x"_qs << QString()
        << u"No se ha encontrado \"<table>\" en el documento: no se ha cambiado nada."_qs;
    QTest::newRow("empty word: nothing done, nothing told")
        << QString() << u"x"_qs << QString() << QString();
}

void TestGenerators::replaceDialog()
{
    QFETCH(QString, keyword);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);
    QFETCH(QString, message);

    const QString text = u"<Td>uno</Td><TD>dos</TD>"_qs;
    EditingSurface text1;
    InsertTagText(text1.page(), text, colours::Purple);
    text1.page().setSelectionStart(1);
    QSignalSpy changes(&text1.page(), &PageText::changed);
    ReplaceDialog dialog(text1.page());
    dialog.show();
    auto *warning = child<QLabel>(&dialog, u"lbladvertencia"_qs);
    const QString warningText = warning->text();
    QTest::keyClicks(child<QLineEdit>(&dialog, u"TxtWord(0)"_qs), keyword);
    QTest::keyClicks(child<QLineEdit>(&dialog, u"TxtWord(1)"_qs), replacement);
    // Enter in a box runs the replacement, as "&Realizar cambio" does.
    QTest::keyClick(child<QLineEdit>(&dialog, u"TxtWord(1)"_qs), Qt::Key_Return);

    QCOMPARE(warning->text(), message.isEmpty() ? warningText : message);
    QCOMPARE(warning->textFormat(), Qt::PlainText);
    const bool replaced = !expected.isEmpty();
    QCOMPARE(text1.page().text(), replaced ? expected : text);
    // A page that did not change has not changed for the saved path either.
    QCOMPARE(changes.count(), replaced ? 1 : 0);
    // Replaced text is coloured again as on opening; text left alone keeps its colour.
    EditingSurface opened;
    opened.page().setText(text1.page().text());
    Colorea(opened.page(), TablaEtiquetas());
    for (qint64 position = 0; position < text1.page().textLength(); ++position)
        QCOMPARE(text1.page().colourAt(position),
                 replaced ? opened.page().colourAt(position) : colours::Purple);
    QCOMPARE(child<QPushButton>(&dialog, u"cmdChange"_qs)->isHidden(), replaced);
    QCOMPARE(child<QPushButton>(&dialog, u"Command1"_qs)->text(),
             replaced ? u"&Cerrar"_qs : u"&Cancelar"_qs);

    click(&dialog, u"Command1"_qs);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(text1.page().selectionStart(), text1.page().textLength());
}

QTEST_MAIN(TestGenerators)
#include "tst_generators.moc"
