#include "clockscript.h"
#include "colour.h"
#include "dbdialog.h"
#include "editingsurface.h"
#include "generatordialogs.h"
#include "generatorfragments.h"
#include "metatagsdialog.h"
#include "popupdialog.h"
#include "prompts.h"
#include "replacedialog.h"
#include "taginsertion.h"
#include "testsupport.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace zendral;
using namespace zendral::test;

Q_DECLARE_METATYPE(zendral::PopupFields)
Q_DECLARE_METATYPE(zendral::MetaTagsFields)
Q_DECLARE_METATYPE(zendral::DatabaseFields)

namespace {

PopupFields untouchedPopup(const QString &method)
{
    const QString prompt = u"Selecciona"_qs;
    return {{}, {}, prompt, prompt, prompt, prompt, prompt, prompt, prompt, {}, {}, method};
}

// Every field different, so that a value written in the wrong place shows.
PopupFields distinctPopup(const QString &method)
{
    return {"pag.html", "win", "T", "S", "C", "M", "P", "R", "D", "300", "200", method};
}

const QString DistinctLink =
    u"<a href='#' onclick=\"window.open('pag.html','win','toolbar=T,width=300,height=200,status=S,"
    "scrollbars=C,resizable=R,personalbar=P,menubar=M,directories=D');\">ESCRIBE AQUÍ EL TEXTO "
    "DEL ENLACE</a>"_qs;
const QString DistinctScript =
    u"<script languaje=javascript>\r\nfunction popup() {\r\nopen(\"pag.html\", "
    "\"win\",\"width=300,height=200,toolbar=T,scrollbars=C\");\r\n}\r\n</script>"_qs;

// A document with a caret in its middle: the fragments go at the caret.
void prepareDocument(EditingSurface &text1)
{
    text1.setText(u"<html>\r\n</html>"_qs);
    text1.setSelectionStart(8);
}

} // namespace

class TestGenerators : public QObject
{
    Q_OBJECT

private slots:
    void popupFragment_data();
    void popupFragment();
    void metaTagsBlock_data();
    void metaTagsBlock();
    void databaseFragment_data();
    void databaseFragment();
    void clockScriptLines();

    void popupDialogStartsFromPrompts();
    void popupDialogInserts_data();
    void popupDialogInserts();
    void enterInAListAccepts();
    void metaTagsDialogGenerates();
    void metaTagsDialogRegeneratesOneBlock();
    void dbDialogInserts_data();
    void dbDialogInserts();
    void replaceDialog_data();
    void replaceDialog();
    void clockInsertion();
};

void TestGenerators::popupFragment_data()
{
    QTest::addColumn<PopupFields>("fields");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<bool>("reminder");

    QTest::newRow("Por enlace, all untouched: empty file and name, Selecciona everywhere")
        << untouchedPopup("Por enlace")
        << "<a href='#' onclick=\"window.open('','','toolbar=Selecciona,width=,height=,status="
           "Selecciona,scrollbars=Selecciona,resizable=Selecciona,personalbar=Selecciona,menubar="
           "Selecciona,directories=Selecciona');\">ESCRIBE AQUÍ EL TEXTO DEL ENLACE</a>"
        << false;
    // Every field in its place, through the dialog: popupDialogInserts.
    QTest::newRow("method untouched: script, no reminder")
        << distinctPopup("Selecciona") << DistinctScript << false;
    QTest::newRow("typed method: script, no reminder")
        << distinctPopup("al abrir") << DistinctScript << false;
    QTest::newRow("por enlace in other case is not the link")
        << distinctPopup("por enlace") << DistinctScript << false;
    PopupFields quoted = untouchedPopup("Por enlace");
    quoted.file = u"it's \"x\".html"_qs;
    QTest::newRow("apostrophe and quote in the file go in unchanged")
        << quoted
        << "<a href='#' onclick=\"window.open('it's \"x\".html','','toolbar=Selecciona,width=,"
           "height=,status=Selecciona,scrollbars=Selecciona,resizable=Selecciona,personalbar="
           "Selecciona,menubar=Selecciona,directories=Selecciona');\">ESCRIBE AQUÍ EL TEXTO DEL "
           "ENLACE</a>"
        << false;
}

void TestGenerators::popupFragment()
{
    QFETCH(PopupFields, fields);
    QFETCH(QString, expected);
    QFETCH(bool, reminder);
    QCOMPARE(zendral::popupFragment(fields), expected);
    QCOMPARE(popupNeedsReminder(fields), reminder);
}

void TestGenerators::metaTagsBlock_data()
{
    QTest::addColumn<MetaTagsFields>("fields");
    QTest::addColumn<QStringList>("lines");

    const QString prompt = u"Selecciona"_qs;
    const QString generator =
        u"<META NAME=\"GENERATOR\" CONTENT=\"Zendral - http://www.zendral.com\">"_qs;
    QTest::newRow("all untouched: Selecciona and empty values, bare empty days")
        << MetaTagsFields{prompt, prompt, {}, prompt, {}, {}, prompt, {}, {}}
        << QStringList{"<META NAME=\"AREA\" CONTENT=\"Selecciona\">",
                       "<META HTTP-EQUIV=\"AUDIENCE\" CONTENT=\"Selecciona\">",
                       "<META NAME=\"AUTHOR\" CONTENT=\"\">",
                       "<META HTTP-EQUIV=\"CHARSET\" CONTENT=\"text/html; charset=Selecciona\">",
                       "<META NAME=\"DESCRIPTION\" CONTENT=\"\">",
                       "<META NAME=\"KEYWORDS\" CONTENT=\"\">",
                       generator,
                       "<META HTTP-EQUIV=\"LANGUAGE\" CONTENT=\"Selecciona\">",
                       "<META NAME=\"OWNER\" CONTENT=\"\">",
                       "<META NAME=\"revisit-after\" CONTENT=>"};
    QTest::newRow("every field in its line; Spanish stays a name")
        << MetaTagsFields{"Internet", "Proffesional",    "Ana", "ISO-8859-1", "Mi web", "html,asp",
                          "Spanish",  "ana@example.com", "7"}
        << QStringList{"<META NAME=\"AREA\" CONTENT=\"Internet\">",
                       "<META HTTP-EQUIV=\"AUDIENCE\" CONTENT=\"Proffesional\">",
                       "<META NAME=\"AUTHOR\" CONTENT=\"Ana\">",
                       "<META HTTP-EQUIV=\"CHARSET\" CONTENT=\"text/html; charset=ISO-8859-1\">",
                       "<META NAME=\"DESCRIPTION\" CONTENT=\"Mi web\">",
                       "<META NAME=\"KEYWORDS\" CONTENT=\"html,asp\">",
                       generator,
                       "<META HTTP-EQUIV=\"LANGUAGE\" CONTENT=\"Spanish\">",
                       "<META NAME=\"OWNER\" CONTENT=\"ana@example.com\">",
                       "<META NAME=\"revisit-after\" CONTENT=7>"};
}

void TestGenerators::metaTagsBlock()
{
    QFETCH(MetaTagsFields, fields);
    QFETCH(QStringList, lines);
    QCOMPARE(zendral::metaTagsBlock(fields).split(u"\r\n"_qs), lines);
}

void TestGenerators::databaseFragment_data()
{
    QTest::addColumn<DatabaseFields>("fields");
    QTest::addColumn<QStringList>("lines");

    const QString comment =
        u"'Escribe aquí la instrucción SQL necesaria para operar con la base de datos"_qs;
    auto dsn = [&](const QString &name) {
        return QStringList{"Set Conn = Server.CreateObject(\"ADODB.Connection\")",
                           "Conn.Open \"" + name + "\"",
                           comment,
                           "set RS = Conn.Execute(NOMBRE DE LA VARIABLE EN LA QUE GUARDAS LA "
                           "INSTRUCCIÓN SQL)",
                           "",
                           "",
                           "",
                           "Conn.Close"};
    };
    auto manual = [&](const QString &path) {
        return QStringList{comment,
                           "conexion.Open\"driver={Microsoft Access Driver (*.mdb)}; ; "
                           "DBQ=\"+server.mappath (\"" +
                               path + "\")",
                           "Set tabla=Server.CreateObject(\"adodb.recordset\")",
                           "Tabla.Open NOMBRE DE LA VARIABLE EN LA QUE GUARDAS LA INSTRUCCIÓN "
                           "SQL,Conexion",
                           "",
                           "",
                           "",
                           "tabla.close",
                           "conexion.close"};
    };
    QTest::newRow("only the DSN") << DatabaseFields{"tienda", ""} << dsn("tienda");
    QTest::newRow("both: the path wins")
        << DatabaseFields{"tienda", "/db/t.mdb"} << manual("/db/t.mdb");
    QTest::newRow("a blank path is not empty") << DatabaseFields{"tienda", " "} << manual(" ");
    QTest::newRow("both empty: DSN with an empty name") << DatabaseFields{} << dsn("");
}

void TestGenerators::databaseFragment()
{
    QFETCH(DatabaseFields, fields);
    QFETCH(QStringList, lines);
    const QString fragment = zendral::databaseFragment(fields);
    QCOMPARE(fragment.split(u"\r\n"_qs), lines);
    QVERIFY(!fragment.endsWith(u"\r\n"_qs));
}

void TestGenerators::clockScriptLines()
{
    const QString script = clockScript();
    QVERIFY(script.startsWith(u"\r\n<span id='liveclock'></span>\r\n"_qs));
    QVERIFY(script.endsWith(u"//-->\r\n</script>\r\n"_qs));
    QCOMPARE(script.count(u"\r\n"_qs), 34);
    QCOMPARE(script.count(u'\n'), 34);
    const QStringList lines = script.mid(2, script.size() - 4).split(u"\r\n"_qs);
    QCOMPARE(lines.size(), 33);
    QCOMPARE(lines.at(1), u"<script language=\"JavaScript\">"_qs);
    QCOMPARE(lines.at(6), QString());
    QCOMPARE(lines.at(22),
             u"myclock=\"<font size='5' face='Arial'><b><font size='2'>Hora Actual:  "
             "</font>\"+hours+\":\"+minutes+\":\" +seconds+\" \"+dn+\"</b></font>\";"_qs);
    QCOMPARE(lines.at(28), u"liveclock.innerHTML=myclock"_qs);
    QCOMPARE(lines.at(29), u"setTimeout(\"hora()\",1000)"_qs);
}

void TestGenerators::popupDialogStartsFromPrompts()
{
    EditingSurface text1;
    FakePrompts prompts;
    PopupDialog dialog(text1, prompts);
    QCOMPARE(dialog.objectName(), u"popup"_qs);
    QCOMPARE(dialog.windowTitle(), u"  Generador de Pop-Up's"_qs);
    for (const char *name : {"cmbtoolbar", "cmbstatus", "cmbscrollbar", "cmbmenubar",
                             "cmbpersonalbar", "cmbresizable", "cmbdirectories"}) {
        auto *combo = child<QComboBox>(&dialog, name);
        QCOMPARE(combo->currentText(), u"Selecciona"_qs);
        QCOMPARE(combo->count(), 2);
        QCOMPARE(combo->itemText(0), u"Yes"_qs);
        QCOMPARE(combo->itemText(1), u"No"_qs);
    }
    auto *method = child<QComboBox>(&dialog, "cmbapertura");
    QCOMPARE(method->currentText(), u"Selecciona"_qs);
    QCOMPARE(method->itemText(0), u"Al inicio"_qs);
    QCOMPARE(method->itemText(1), u"Por enlace"_qs);
    QCOMPARE(child<QPushButton>(&dialog, "btnaceptar")->text(), u"&Aceptar"_qs);
    QCOMPARE(child<QPushButton>(&dialog, "btncancelar")->text(), u"&Cancelar"_qs);
}

void TestGenerators::popupDialogInserts_data()
{
    QTest::addColumn<QString>("method");
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<bool>("reminder");

    QTest::newRow("Por enlace: the link, no reminder") << u"Por enlace"_qs << DistinctLink << false;
    QTest::newRow("Al inicio: the script, then the reminder")
        << u"Al inicio"_qs << DistinctScript << true;
    QTest::newRow("Al inicio, cancelled: nothing, no reminder")
        << u"Al inicio"_qs << QString() << false;
}

void TestGenerators::popupDialogInserts()
{
    QFETCH(QString, method);
    QFETCH(QString, fragment);
    QFETCH(bool, reminder);

    EditingSurface text1;
    prepareDocument(text1);
    // The dialog leaves the insertion colour as it finds it.
    text1.setInsertionColour(colours::DarkGreen);
    FakePrompts prompts;
    PopupDialog dialog(text1, prompts);
    dialog.show();

    QTest::keyClicks(child<QLineEdit>(&dialog, "txtarchivo"), "pag.html");
    QTest::keyClicks(child<QLineEdit>(&dialog, "txtid"), "win");
    const std::pair<const char *, const char *> combos[] = {
        {"cmbtoolbar", "T"},     {"cmbstatus", "S"},    {"cmbscrollbar", "C"},  {"cmbmenubar", "M"},
        {"cmbpersonalbar", "P"}, {"cmbresizable", "R"}, {"cmbdirectories", "D"}};
    for (const auto &[name, value] : combos) {
        auto *combo = child<QComboBox>(&dialog, name);
        combo->lineEdit()->clear();
        QTest::keyClicks(combo, value);
    }
    QTest::keyClicks(child<QLineEdit>(&dialog, "txtwidth"), "300");
    QTest::keyClicks(child<QLineEdit>(&dialog, "txtheight"), "200");
    auto *methodCombo = child<QComboBox>(&dialog, "cmbapertura");
    methodCombo->setCurrentIndex(methodCombo->findText(method));

    bool openAtReminder = false;
    QString textAtReminder;
    prompts.onNotify = [&] {
        openAtReminder = dialog.isVisible();
        textAtReminder = text1.text();
    };
    click(&dialog, fragment.isEmpty() ? "btncancelar" : "btnaceptar");

    QVERIFY(!dialog.isVisible());
    if (fragment.isEmpty()) {
        QCOMPARE(text1.text(), u"<html>\r\n</html>"_qs);
        QCOMPARE(text1.selectionStart(), qint64(8));
        QVERIFY(prompts.notices.isEmpty());
        return;
    }
    const QString expected = "<html>\r\n" + fragment + "</html>";
    QCOMPARE(text1.text(), expected);
    QCOMPARE(text1.selectionStart(), text1.textLength());
    QCOMPARE(text1.colourAt(8), colours::DarkGreen);
    QCOMPARE(text1.insertionColour(), colours::DarkGreen);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    if (reminder) {
        QCOMPARE(prompts.notices,
                 QStringList{"Dentro de la etiqueta <body> debes poner esto: onLoad='popup()'"});
        QVERIFY(openAtReminder);
        QCOMPARE(textAtReminder, expected);
    } else {
        QVERIFY(prompts.notices.isEmpty());
    }
}

void TestGenerators::enterInAListAccepts()
{
    EditingSurface text1;
    FakePrompts prompts;
    PopupDialog dialog(text1, prompts);
    dialog.show();
    auto *methodCombo = child<QComboBox>(&dialog, "cmbapertura");
    methodCombo->lineEdit()->clear();
    QTest::keyClicks(methodCombo, "Por enlace");
    QTest::keyClick(methodCombo, Qt::Key_Return);
    QVERIFY(!dialog.isVisible());
    QVERIFY(text1.text().startsWith(u"<a href='#'"_qs));
    // Typed text stays typed text: it never joins the list.
    QCOMPARE(methodCombo->count(), 2);
}

void TestGenerators::metaTagsDialogGenerates()
{
    EditingSurface text1;
    prepareDocument(text1);
    MetaTagsDialog dialog;
    dialog.show();
    QCOMPARE(dialog.windowTitle(), u"  Generar Meta-Tags"_qs);
    const std::pair<const char *, int> lists[] = {
        {"cmbarea", 21}, {"cmbaudiencia", 14}, {"cmblenguaje", 9}, {"cmbcaracteres", 21}};
    for (const auto &[name, count] : lists) {
        QCOMPARE(child<QComboBox>(&dialog, name)->count(), count);
        QCOMPARE(child<QComboBox>(&dialog, name)->currentText(), u"Selecciona"_qs);
    }
    QCOMPARE(child<QComboBox>(&dialog, "cmbcaracteres")->itemText(18), u"K0I8-R"_qs);
    QCOMPARE(child<QPushButton>(&dialog, "btnaceptar")->text(), u"&Generar"_qs);
    QCOMPARE(child<QPushButton>(&dialog, "btncancelar")->text(), u"&Cancelar"_qs);

    auto *language = child<QComboBox>(&dialog, "cmblenguaje");
    language->setCurrentIndex(language->findText("Spanish"));
    QTest::keyClicks(child<QLineEdit>(&dialog, "txtautor"), "Ana");
    QTest::keyClicks(child<QLineEdit>(&dialog, "txtdias"), "7");
    auto *description = child<QPlainTextEdit>(&dialog, "txtdescripcion");
    QTest::keyClicks(description, "uno");
    QTest::keyClick(description, Qt::Key_Return);
    QTest::keyClicks(description, "dos");
    click(&dialog, "btnaceptar");

    // The block's texts are metaTagsBlock's; here, that each field reaches it, the
    // description's own break included.
    const QString prompt = u"Selecciona"_qs;
    const QString block = child<QPlainTextEdit>(&dialog, "txtmeta")->toPlainText();
    QVERIFY(block.contains(u"<META NAME=\"DESCRIPTION\" CONTENT=\"uno\ndos\">"_qs));
    QCOMPARE(block, zendral::metaTagsBlock(
                        {prompt, prompt, "Ana", prompt, "uno\r\ndos", {}, "Spanish", {}, "7"})
                        .replace(u"\r\n"_qs, u"\n"_qs));
    QCOMPARE(child<QPushButton>(&dialog, "btncancelar")->text(), u"Cerrar"_qs);
    QVERIFY(dialog.isVisible());

    click(&dialog, "btncancelar");
    QVERIFY(!dialog.isVisible());
    QCOMPARE(text1.text(), u"<html>\r\n</html>"_qs);
}

void TestGenerators::metaTagsDialogRegeneratesOneBlock()
{
    MetaTagsDialog dialog;
    dialog.show();
    click(&dialog, "btnaceptar");
    QTest::keyClicks(child<QLineEdit>(&dialog, "txtautor"), "Luis");
    click(&dialog, "btnaceptar");
    const QStringList lines = child<QPlainTextEdit>(&dialog, "txtmeta")->toPlainText().split(u'\n');
    QCOMPARE(lines.size(), 10);
    QCOMPARE(lines.at(2), u"<META NAME=\"AUTHOR\" CONTENT=\"Luis\">"_qs);
}

void TestGenerators::dbDialogInserts_data()
{
    QTest::addColumn<QString>("dsn");
    QTest::addColumn<QString>("path");

    QTest::newRow("only the DSN") << u"tienda"_qs << u""_qs;
    QTest::newRow("a blank path is not empty") << u""_qs << u" "_qs;
}

void TestGenerators::dbDialogInserts()
{
    QFETCH(QString, dsn);
    QFETCH(QString, path);

    EditingSurface text1;
    prepareDocument(text1);
    text1.setInsertionColour(colours::Red);
    DbDialog dialog(text1);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), u"  Conexión a Base de Datos"_qs);
    QTest::keyClicks(child<QLineEdit>(&dialog, "txtdsn"), dsn);
    QTest::keyClicks(child<QLineEdit>(&dialog, "txtmanual"), path);
    click(&dialog, "btnaceptar");

    QCOMPARE(text1.text(), "<html>\r\n" + zendral::databaseFragment({dsn, path}) + "</html>");
    QCOMPARE(text1.selectionStart(), text1.textLength());
    QCOMPARE(text1.colourAt(8), colours::Red);
    QCOMPARE(text1.insertionColour(), colours::Red);
    QVERIFY(!dialog.isVisible());
}

void TestGenerators::replaceDialog_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Td by td in <Td><TD>")
        << u"<Td><TD>"_qs << u"Td"_qs << u"td"_qs << u"<td><TD>"_qs;
    QTest::newRow("empty word: nothing done, the dialog stays as it was")
        << u"<p>"_qs << QString() << u"x"_qs << QString();
    QTest::newRow("word not there: text kept, colours gone")
        << u"<p>"_qs << u"div"_qs << u"x"_qs << u"<p>"_qs;
}

void TestGenerators::replaceDialog()
{
    QFETCH(QString, text);
    QFETCH(QString, keyword);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);

    EditingSurface text1;
    InsertTagText(text1, text, colours::Blue);
    text1.setSelectionStart(1);
    ReplaceDialog dialog(text1);
    dialog.show();
    QCOMPARE(dialog.windowTitle(), u"  Reemplazar"_qs);
    auto *warning = child<QLabel>(&dialog, "lbladvertencia");
    QCOMPARE(warning->text(), u"Ante posíbles resultados no deseados, te aconsejo "
                              "guardar tu archivo ántes de hacer el reemplazo de "
                              "palabras."_qs);
    QTest::keyClicks(child<QLineEdit>(&dialog, "TxtWord(0)"), keyword);
    QTest::keyClicks(child<QLineEdit>(&dialog, "TxtWord(1)"), replacement);
    click(&dialog, "cmdChange");

    if (keyword.isEmpty()) {
        QCOMPARE(text1.text(), text);
        QCOMPARE(text1.colourAt(0), colours::Blue);
        QVERIFY(!child<QPushButton>(&dialog, "cmdChange")->isHidden());
        QCOMPARE(child<QPushButton>(&dialog, "Command1")->text(), u"&Cancelar"_qs);
        return;
    }
    QCOMPARE(text1.text(), expected);
    QCOMPARE(text1.colourAt(0), colours::Black);
    QCOMPARE(warning->text(), u"Palabras reemplazadas correctamente"_qs);
    QVERIFY(child<QPushButton>(&dialog, "cmdChange")->isHidden());
    QCOMPARE(child<QPushButton>(&dialog, "Command1")->text(), u"&Cerrar"_qs);
    QVERIFY(dialog.isVisible());

    click(&dialog, "Command1");
    QVERIFY(!dialog.isVisible());
    QCOMPARE(text1.selectionStart(), text1.textLength());
}

void TestGenerators::clockInsertion()
{
    EditingSurface text1;
    text1.setText(u"<body>X</body>"_qs);
    text1.setSelectionStart(6);
    text1.setSelectionLength(1);
    text1.setInsertionColour(colours::Purple);
    FakePrompts prompts;

    insertClockScript(text1, prompts);
    QCOMPARE(text1.text(), "<body>" + clockScript() + "</body>");
    QCOMPARE(text1.selectionStart(), text1.textLength());
    QCOMPARE(text1.colourAt(6), colours::Purple);
    QCOMPARE(prompts.notices,
             QStringList{"Dentro de la etiqueta <body> debes poner esto: onLoad='hora()'"});

    text1.setSelectionStart(0);
    insertClockScript(text1, prompts);
    QCOMPARE(text1.text().count(u"<span id='liveclock'></span>"_qs), 2);
}

QTEST_MAIN(TestGenerators)
#include "tst_generators.moc"
