#include "bodydialog.h"
#include "celldialog.h"
#include "clockscript.h"
#include "colour.h"
#include "colouring.h"
#include "dbdialog.h"
#include "divdialog.h"
#include "editingsurface.h"
#include "fontdialog.h"
#include "iframedialog.h"
#include "linkdialog.h"
#include "metatagsdialog.h"
#include "popupdialog.h"
#include "replacedialog.h"
#include "tabledialog.h"
#include "taginsertion.h"
#include "testsupport.h"

#include <QJSEngine>

#include <memory>

using namespace zendral;
using namespace zendral::test;

namespace {

const QString StartText = QStringLiteral("Hola\r\nmundo\r\nfin");
// The insertion colour in force when a dialog opens: the pop-up and database dialogs write in it.
constexpr Colour InForce = colours::Purple;

// The main window's part: view beside another control that has the focus when a dialog opens.
class Host : public QWidget
{
public:
    Host()
    {
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(&other);
        layout->addWidget(&view);
        view.page().setText(StartText);
        view.page().setInsertionColour(InForce);
        show();
        other.setFocus();
    }
    QLineEdit other;
    EditingSurface view;
    FakePrompts prompts;
};

std::unique_ptr<QDialog> makeDialog(const QString &name, Host &host)
{
    PageText &page = host.view.page();
    if (name == u"body")
        return std::make_unique<BodyDialog>(page, &host);
    if (name == u"link")
        return std::make_unique<LinkDialog>(page, &host);
    if (name == u"fuente")
        return std::make_unique<FontDialog>(page, &host);
    if (name == u"div")
        return std::make_unique<DivDialog>(page, &host);
    if (name == u"iframe")
        return std::make_unique<IframeDialog>(page, &host);
    if (name == u"tabla")
        return std::make_unique<TableDialog>(page, &host);
    if (name == u"celda")
        return std::make_unique<CellDialog>(page, &host);
    if (name == u"popup")
        return std::make_unique<PopupDialog>(page, host.prompts, &host);
    if (name == u"db")
        return std::make_unique<DbDialog>(page, &host);
    return std::make_unique<MetaTagsDialog>(&host);
}

// Does one user step, written "control:what:text": "type" types at the end of a text box or
// over the whole text of a list, "enter" types so and presses Enter, "pick" chooses a list
// item, "clear" deletes a box's text.
void perform(QDialog &dialog, const QString &step)
{
    const QString name = step.section(u':', 0, 0);
    const QString what = step.section(u':', 1, 1);
    const QString text = step.section(u':', 2);
    if (auto *list = dialog.findChild<QComboBox *>(name)) {
        if (what == u"pick") {
            const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
            QVERIFY2(index >= 0, qPrintable(step));
            list->setCurrentIndex(index);
        } else {
            // Completion follows the focus, as it does for the user's own keys.
            list->lineEdit()->setFocus();
            list->lineEdit()->selectAll();
            typeInto(list->lineEdit(), text);
            if (what == u"enter")
                QTest::keyClick(list->lineEdit(), Qt::Key_Return);
        }
        return;
    }
    auto *box = child<QLineEdit>(&dialog, name);
    box->setFocus();
    box->end(false);
    if (what == u"clear") {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
    } else {
        typeInto(box, text);
    }
    if (what == u"enter")
        QTest::keyClick(box, Qt::Key_Return);
}

} // namespace

class TestTagDialogs : public QObject
{
    Q_OBJECT

private slots:
    void accept_data();
    void accept();
    void listsKeepWhatIsTyped_data();
    void listsKeepWhatIsTyped();
    void metaTags();
    void clockRuns_data();
    void clockRuns();
    void replaceDialog_data();
    void replaceDialog();
};

void TestTagDialogs::accept_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<qint64>("selectionStart");
    QTest::addColumn<qint64>("selectionLength");
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<Colour>("colour");
    // The reminder shown while the dialog is still up; empty: none.
    QTest::addColumn<QString>("notice");

    const auto row = [](const char *name, const QString &dialog, const QStringList &steps,
                        const QString &fragment, Colour colour, qint64 start = 4, qint64 length = 0,
                        const QString &notice = QString()) {
        QTest::newRow(name) << dialog << steps << start << length << fragment << colour << notice;
    };
    row("body untouched: lists at their prompt give empty colours", QStringLiteral("body"), {},
        QStringLiteral("<body bgcolor='' background='' text='' alink='' vlink='' link=''>\r\n"),
        colours::Blue);
    row("body names, custom link colour, separator, unaccented custom item typed",
        QStringLiteral("body"),
        {"cmbbackground:pick:Black", "txtimagenfondo:type: a'b<c> ", "txtcolortexto:type:F00",
         "cmbcolortexto:type:Color personalizado", "textcolorenlacepersonalizado:type:00FF00",
         "cmbcolorenlacevisitado:pick: -- ", "textcolorenlaceactivopersonalizado:type:FF0000",
         "cmbcolorenlaceactivo:pick:Red"},
        QStringLiteral(
            "<body bgcolor='Black' background=' a'b<c> ' text='Color personalizado' alink='Red' "
            "vlink=' -- ' link='#00FF00'>\r\n"),
        colours::Blue, 0, 4);
    row("link to a page: _Blanck written as _blank, mail fields ignored", QStringLiteral("link"),
        {"txturl:type:pagina2.html", "cmbtarget:pick:_Blanck", "txtclassurl:type:menu",
         "txtmail:type:yo@sitio.es"},
        QStringLiteral("<a href='pagina2.html' target='_blank' class='menu'>"), colours::DarkGreen,
        6);
    row("link: a blank is an address, a target left at its prompt is empty", QStringLiteral("link"),
        {"txturl:type: ", "txtmail:type:yo@sitio.es"},
        QStringLiteral("<a href=' ' target='' class=''>"), colours::DarkGreen);
    row("link to a mail address, subject not encoded", QStringLiteral("link"),
        {"txtmail:type:yo@sitio.es", "txtasunto:type:Hola y adiós", "txtclassmail:type:c"},
        QStringLiteral("<a href='mailto:yo@sitio.es?subject=Hola y adiós' class='c'>"),
        colours::DarkGreen);
    // Typed over, the list must still bring the custom item back when the box changes.
    row("font face typed after the list was typed over", QStringLiteral("fuente"),
        {"cmbgrupo:pick:Fuente personalizáda", "cmbgrupo:type:Navy", "txtfuente:type:Tahoma"},
        QStringLiteral("<font face='Tahoma' color='' size=''>"), colours::Blue);
    row("font group picked after typing a face", QStringLiteral("fuente"),
        {"txtfuente:type:Tahoma", "cmbgrupo:pick:Verdana, Arial, Helvetica, sans-serif",
         "cmbcolor:pick:Navy", "cmbtamano:pick:2"},
        QStringLiteral("<font face='Verdana, Arial, Helvetica, sans-serif' color='Navy' size='2'>"),
        colours::Blue);
    row("div: Enter in a text box accepts", QStringLiteral("div"), {"txttop:enter:"},
        QStringLiteral("<div align=''>"), colours::Blue);
    row("div: Enter in a list after typing the start of an item, not completed",
        QStringLiteral("div"), {"cmbalign:enter:Cent"}, QStringLiteral("<div align='Cent'>"),
        colours::Blue);
    row("div position typed, case kept", QStringLiteral("div"), {"cmbposicion:type:selecciona"},
        QStringLiteral(
            "<div style='position:selecciona; top:; left:; z-index:; height:; width:;'>"),
        colours::Blue);
    row("table over a selection, colour typed, zeros cleared", QStringLiteral("tabla"),
        {"cmbalign:type:Justify", "txtcellspacing:clear:", "txtborder:type:1", "txtclass:type:t",
         "txtancho:type:100%", "txtalto:type:50", "txtcolor:type:FF0000", "txtimagen:type:f.jpg"},
        QStringLiteral("<table border='01' width='100%' height='50' cellspacing='' cellpadding='0' "
                       "align='Justify' class='t' bgcolor='#FF0000' background='f.jpg'>\r\n<tr>"),
        colours::DarkGreen, 6, 5);
    row("table colour box cleared after the list was typed over", QStringLiteral("tabla"),
        {"txtcolor:type:1", "cmbcolor:type:Navy", "txtcolor:clear:"},
        QStringLiteral("<table border='0' width='' height='' cellspacing='0' cellpadding='0' "
                       "align='' class='' "
                       "bgcolor='' background=''>\r\n<tr>"),
        colours::DarkGreen);
    row("popup Al inicio: the script, then the reminder", QStringLiteral("popup"),
        {"txtarchivo:type:pag.html", "txtid:type:win", "cmbtoolbar:type:T", "cmbstatus:type:S",
         "cmbscrollbar:pick:No", "txtwidth:type:300", "txtheight:type:200",
         "cmbapertura:pick:Al inicio"},
        QStringLiteral("<script languaje=javascript>\r\nfunction popup() {\r\nopen(\"pag.html\", "
                       "\"win\",\"width="
                       "300,height=200,toolbar=T,scrollbars=No\");\r\n}\r\n</script>"),
        InForce, 4, 0,
        QStringLiteral("Dentro de la etiqueta <body> debes poner esto: onLoad='popup()'"));
    row("popup method typed in another case: the script, no reminder", QStringLiteral("popup"),
        {"cmbapertura:type:por enlace"},
        QStringLiteral("<script languaje=javascript>\r\nfunction popup() {\r\nopen(\"\", "
                       "\"\",\"width=,height=,"
                       "toolbar=,scrollbars=\");\r\n}\r\n</script>"),
        InForce);
    row("db blank path wins over the DSN and creates its connection", QStringLiteral("db"),
        {"txtdsn:type:tienda", "txtmanual:type: "},
        QStringLiteral(
            "'Escribe aquí la instrucción SQL necesaria para operar con la base de datos\r\nSet "
            "conexion = "
            "Server.CreateObject(\"ADODB.Connection\")\r\nconexion.Open\"driver={Microsoft "
            "Access Driver (*.mdb)}; ; DBQ=\"+server.mappath (\" \")\r\nSet "
            "tabla=Server.CreateObject("
            "\"adodb.recordset\")\r\nTabla.Open NOMBRE DE LA VARIABLE EN LA QUE GUARDAS LA "
            "INSTRUCCIÓN SQL,Conexion\r\n\r\n\r\n\r\ntabla.close\r\nconexion.close"),
        InForce);
}

void TestTagDialogs::accept()
{
    QFETCH(QString, dialog);
    QFETCH(QStringList, steps);
    QFETCH(qint64, selectionStart);
    QFETCH(qint64, selectionLength);
    QFETCH(QString, fragment);
    QFETCH(Colour, colour);
    QFETCH(QString, notice);

    Host host;
    host.view.page().setSelectionStart(selectionStart);
    host.view.page().setSelectionLength(selectionLength);
    auto form = makeDialog(dialog, host);
    form->show();
    for (const QString &step : steps)
        perform(*form, step);
    bool openAtNotice = false;
    QString textAtNotice;
    host.prompts.onNotify = [&] {
        openAtNotice = form->isVisible();
        textAtNotice = host.view.page().text();
    };
    if (form->isVisible()) // Enter may have accepted it already
        click(form.get(), QStringLiteral("btnaceptar"));

    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(!form->isVisible());
    QString expected = StartText;
    expected.replace(selectionStart, selectionLength, fragment);
    QCOMPARE(host.view.page().text(), expected);
    for (qint64 position = 0; position < expected.size(); ++position) {
        // Line breaks carry no colour of their own.
        if (expected.at(position) == u'\r' || expected.at(position) == u'\n')
            continue;
        const bool inFragment =
            position >= selectionStart && position < selectionStart + fragment.size();
        QCOMPARE(host.view.page().colourAt(position), inFragment ? colour : colours::Black);
    }
    QCOMPARE(host.view.page().selectionStart(), host.view.page().textLength());
    QCOMPARE(host.view.page().selectionLength(), qint64(0));
    // A dialog with a colour of its own restores black; the others leave the colour in force.
    QCOMPARE(host.view.page().insertionColour(), colour == InForce ? InForce : colours::Black);
    QCOMPARE(host.focusWidget(), &host.view);
    QCOMPARE(host.prompts.notices, notice.isEmpty() ? QStringList() : QStringList{notice});
    if (!notice.isEmpty()) {
        QVERIFY(openAtNotice);
        QCOMPARE(textAtNotice, expected);
    }
}

void TestTagDialogs::listsKeepWhatIsTyped_data()
{
    QTest::addColumn<QString>("dialog");
    for (const char *name :
         {"body", "link", "fuente", "div", "iframe", "tabla", "celda", "popup", "metatags"})
        QTest::newRow(name) << QString::fromLatin1(name);
}

// Typing the start of an item leaves just what was typed, in every list of every dialog.
void TestTagDialogs::listsKeepWhatIsTyped()
{
    QFETCH(QString, dialog);

    Host host;
    auto form = makeDialog(dialog, host);
    form->show();
    QVERIFY(QTest::qWaitForWindowActive(form.get()));
    const auto lists = form->findChildren<QComboBox *>();
    QVERIFY(!lists.isEmpty());
    for (QComboBox *list : lists) {
        const int items = list->count();
        const QString typed = list->itemText(0).left(list->itemText(0).size() > 1 ? 2 : 1);
        perform(*form, list->objectName() + QStringLiteral(":type:") + typed);
        QCOMPARE(list->objectName() + u'=' + list->currentText(),
                 list->objectName() + u'=' + typed);
        QCOMPARE(list->count(), items);
    }
}

// Lists left at their prompt give empty values, the days are written bare, the description's
// break is kept, and a second Generar writes the block afresh.
void TestTagDialogs::metaTags()
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

void TestTagDialogs::clockRuns_data()
{
    QTest::addColumn<int>("hours");
    QTest::addColumn<QString>("shown");

    QTest::newRow("noon hour is PM") << 12 << QStringLiteral("12:05:09 PM");
    QTest::newRow("midnight hour is 12 AM") << 0 << QStringLiteral("12:05:09 AM");
    QTest::newRow("afternoon") << 13 << QStringLiteral("1:05:09 PM");
}

// The script as a current browser runs it: document.getElementById, and a document.all that
// reads as false.
void TestTagDialogs::clockRuns()
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

void TestTagDialogs::replaceDialog_data()
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

void TestTagDialogs::replaceDialog()
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

QTEST_MAIN(TestTagDialogs)

#include "tst_tagdialogs.moc"
