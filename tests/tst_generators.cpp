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
    click(&dialog, QStringLiteral("btnaceptar"));
    for (const auto &[name, item] :
         {std::pair{"cmbarea", "Internet"}, {"cmbcaracteres", "K0I8-R"}}) {
        auto *list = child<QComboBox>(&dialog, QString::fromLatin1(name));
        list->setCurrentIndex(list->findText(QString::fromLatin1(item)));
    }
    QTest::keyClicks(child<QLineEdit>(&dialog, QStringLiteral("txtautor")), QStringLiteral("Ana"));
    QTest::keyClicks(child<QLineEdit>(&dialog, QStringLiteral("txtemail")), QStringLiteral("a\"b"));
    QTest::keyClicks(child<QLineEdit>(&dialog, QStringLiteral("txtdias")), QStringLiteral("7"));
    auto *description = child<QPlainTextEdit>(&dialog, QStringLiteral("txtdescripcion"));
    QTest::keyClicks(description, QStringLiteral("uno"));
    QTest::keyClick(description, Qt::Key_Return);
    QTest::keyClicks(description, QStringLiteral("dos"));
    click(&dialog, QStringLiteral("btnaceptar"));

    QCOMPARE(
        child<QPlainTextEdit>(&dialog, QStringLiteral("txtmeta"))->toPlainText(),
        QStringLiteral(
            "<META NAME=\"AREA\" CONTENT=\"Internet\">\n<META HTTP-EQUIV=\"AUDIENCE\" "
            "CONTENT=\"\">\n<META NAME=\"AUTHOR\" CONTENT=\"Ana\">\n<META HTTP-EQUIV=\"CHARSET\" "
            "CONTENT=\"text/html; charset=K0I8-R\">\n<META NAME=\"DESCRIPTION\" "
            "CONTENT=\"uno\ndos\">\n<META NAME=\"KEYWORDS\" CONTENT=\"\">\n<META "
            "NAME=\"GENERATOR\" CONTENT=\"Zendral - http://www.zendral.com\">\n<META "
            "HTTP-EQUIV=\"LANGUAGE\" CONTENT=\"\">\n<META NAME=\"OWNER\" CONTENT=\"a\"b\">\n<META "
            "NAME=\"revisit-after\" CONTENT=7>"));
    QVERIFY(dialog.isVisible());
    click(&dialog, QStringLiteral("btncancelar"));
    QVERIFY(!dialog.isVisible());
}

void TestGenerators::clockRuns_data()
{
    QTest::addColumn<int>("hours");
    QTest::addColumn<QString>("shown");

    QTest::newRow("noon hour is PM") << 12 << QStringLiteral("12:05:09 PM");
    QTest::newRow("midnight hour is 12 AM") << 0 << QStringLiteral("12:05:09 AM");
    QTest::newRow("afternoon") << 13 << QStringLiteral("1:05:09 PM");
}

// The script as a current browser runs it: document.getElementById, and a document.all that
// reads as false.
void TestGenerators::clockRuns()
{
    QFETCH(int, hours);
    QFETCH(QString, shown);

    const QString script = clockScript();
    const qsizetype start = script.indexOf(QStringLiteral("<!--\r\n")) + 6;
    const QString code = script.mid(start, script.indexOf(QStringLiteral("//-->")) - start);

    QJSEngine engine;
    const QJSValue result = engine.evaluate(
        QStringLiteral(
            "(function() {"
            " var span = {innerHTML: ''}, timers = [];"
            " var document = {all: undefined, getElementById: function(id) {"
            "   return id == 'liveclock' ? span : null; }};"
            " var setTimeout = function(code, delay) { timers.push(code + '@' + delay); };"
            " var Date = function() { return {getHours: function() { return %1; },"
            "   getMinutes: function() { return 5; }, getSeconds: function() { return 9; }}; };"
            " %2\n hora();"
            " return span.innerHTML + '|' + timers.join(); })()")
            .arg(hours)
            .arg(code));
    QVERIFY2(!result.isError(), qPrintable(result.toString()));
    QCOMPARE(result.toString(),
             QStringLiteral("<font size='5' face='Arial'><b><font size='2'>Hora Actual:  </font>") +
                 shown + QStringLiteral("</b></font>|hora()@1000"));
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
        << QStringLiteral("<Td>") << QStringLiteral("<td>")
        << QStringLiteral("<td>uno</Td><TD>dos</TD>")
        << QStringLiteral("Palabras reemplazadas correctamente: 1 reemplazo.");
    QTest::newRow("word not there: told, text, colours and saved state kept")
        << QStringLiteral("<table>") << QStringLiteral("x") << QString()
        << QStringLiteral(
               "No se ha encontrado \"<table>\" en el documento: no se ha cambiado nada.");
    QTest::newRow("empty word: nothing done, nothing told")
        << QString() << QStringLiteral("x") << QString() << QString();
}

void TestGenerators::replaceDialog()
{
    QFETCH(QString, keyword);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);
    QFETCH(QString, message);

    const QString text = QStringLiteral("<Td>uno</Td><TD>dos</TD>");
    EditingSurface view;
    InsertTagText(view.page(), text, colours::Purple);
    view.page().setSelectionStart(1);
    QSignalSpy changes(&view.page(), &PageText::changed);
    ReplaceDialog dialog(view.page());
    dialog.show();
    auto *warning = child<QLabel>(&dialog, QStringLiteral("lbladvertencia"));
    const QString warningText = warning->text();
    QTest::keyClicks(child<QLineEdit>(&dialog, QStringLiteral("TxtWord(0)")), keyword);
    QTest::keyClicks(child<QLineEdit>(&dialog, QStringLiteral("TxtWord(1)")), replacement);
    // Enter in a box runs the replacement, as "&Realizar cambio" does.
    QTest::keyClick(child<QLineEdit>(&dialog, QStringLiteral("TxtWord(1)")), Qt::Key_Return);

    QCOMPARE(warning->text(), message.isEmpty() ? warningText : message);
    QCOMPARE(warning->textFormat(), Qt::PlainText);
    const bool replaced = !expected.isEmpty();
    QCOMPARE(view.page().text(), replaced ? expected : text);
    // A page that did not change has not changed for the saved path either.
    QCOMPARE(changes.count(), replaced ? 1 : 0);
    // Replaced text is coloured again as on opening; text left alone keeps its colour.
    EditingSurface opened;
    opened.page().setText(view.page().text());
    Colorea(opened.page(), TablaEtiquetas());
    for (qint64 position = 0; position < view.page().textLength(); ++position)
        QCOMPARE(view.page().colourAt(position),
                 replaced ? opened.page().colourAt(position) : colours::Purple);
    QCOMPARE(child<QPushButton>(&dialog, QStringLiteral("cmdChange"))->isHidden(), replaced);
    QCOMPARE(child<QPushButton>(&dialog, QStringLiteral("Command1"))->text(),
             replaced ? QStringLiteral("&Cerrar") : QStringLiteral("&Cancelar"));

    click(&dialog, QStringLiteral("Command1"));
    QVERIFY(!dialog.isVisible());
    QCOMPARE(view.page().selectionStart(), view.page().textLength());
}

QTEST_MAIN(TestGenerators)
#include "tst_generators.moc"
