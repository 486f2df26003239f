#include "bodydialog.h"
#include "clockscript.h"
#include "colour.h"
#include "colouring.h"
#include "dbdialog.h"
#include "divdialog.h"
#include "editingsurface.h"
#include "fontdialog.h"
#include "linkdialog.h"
#include "metatagsdialog.h"
#include "popupdialog.h"
#include "replacedialog.h"
#include "tabledialog.h"
#include "taginsertion.h"
#include "testsupport.h"
#include "weblinks.h"

#include <QJSEngine>

#include <memory>

using namespace zendral;
using namespace zendral::test;

namespace {

const QString StartText = QStringLiteral("Hola\r\nmundo\r\nfin");
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

template <typename Dialog> std::unique_ptr<QDialog> make(Host &host)
{
    return std::make_unique<Dialog>(host.view.page(), &host);
}

std::unique_ptr<QDialog> makeDialog(const QString &name, Host &host)
{
    if (name == u"popup")
        return std::make_unique<PopupDialog>(host.view.page(), host.prompts, &host);
    const QHash<QString, std::unique_ptr<QDialog> (*)(Host &)> makers{
        {"body", make<BodyDialog>}, {"link", make<LinkDialog>},   {"fuente", make<FontDialog>},
        {"div", make<DivDialog>},   {"tabla", make<TableDialog>}, {"db", make<DbDialog>}};
    return makers.value(name)(host);
}

// Does one user step, written "control:what:text": "type" types at the end of a text box or
// over the whole text of a list, "enter" types so and presses Enter, "pick" chooses a list
// item, "clear" deletes a box's text.
void perform(QDialog &dialog, const QString &step)
{
    const QString name = step.section(u':', 0, 0);
    const QString what = step.section(u':', 1, 1);
    const QString text = step.section(u':', 2);
    QLineEdit *box = dialog.findChild<QLineEdit *>(name);
    auto *list = dialog.findChild<QComboBox *>(name);
    if (list && what == u"pick") {
        const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
        QVERIFY2(index >= 0, qPrintable(step));
        return list->setCurrentIndex(index);
    }
    // A list keeps its items whatever is typed into it.
    const int items = list ? list->count() : 0;
    if (list)
        box = list->lineEdit();
    QVERIFY2(box, qPrintable(step));
    // Completion follows the focus, as it does for the user's own keys.
    box->setFocus();
    if (list || what == u"clear")
        box->selectAll();
    else
        box->end(false);
    if (what == u"clear")
        QTest::keyClick(box, Qt::Key_Backspace);
    typeInto(box, text);
    if (what == u"enter")
        QTest::keyClick(box, Qt::Key_Return);
    QCOMPARE(list ? list->count() : 0, items);
}

} // namespace

class TestTagDialogs : public QObject
{
    Q_OBJECT

private slots:
    void accept_data();
    void accept();
    void metaTags();
    void clockRuns();
    void replaceDialog_data();
    void replaceDialog();
};

void TestTagDialogs::accept_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<qint64>("start");
    QTest::addColumn<qint64>("length");
    // What the dialog writes over the selection; "…" stands for any text.
    QTest::addColumn<QString>("fragment");
    // The reminder shown while the dialog is still up; empty: none.
    QTest::addColumn<QString>("notice");
    const auto row = [](const char *name, const char *dialog, const char *steps,
                        const char *fragment, qint64 start = 4, qint64 length = 0,
                        const char *notice = "") {
        QTest::newRow(name) << QString::fromUtf8(dialog)
                            << QString::fromUtf8(steps).split(u'|', Qt::SkipEmptyParts) << start
                            << length << QString::fromUtf8(fragment) << QString::fromUtf8(notice);
    };
    row("body untouched: lists at their prompt give empty colours", "body", "",
        "<body bgcolor='' background='' text='' alink='' vlink='' link=''>\r\n");
    row("body names, custom link colour, separator, unaccented custom item typed", "body",
        "cmbbackground:pick:Black|txtimagenfondo:type: a'b<c> |txtcolortexto:type:F00|"
        "cmbcolortexto:type:Color personalizado|textcolorenlacepersonalizado:type:00FF00|"
        "cmbcolorenlacevisitado:pick: -- |textcolorenlaceactivopersonalizado:type:FF0000|"
        "cmbcolorenlaceactivo:pick:Red",
        "<body bgcolor='Black' background=' a'b<c> ' text='Color personalizado' alink='Red' "
        "vlink=' -- ' link='#00FF00'>\r\n",
        0, 4);
    row("link to a page: _Blanck written as _blank, mail fields ignored", "link",
        "txturl:type:pagina2.html|cmbtarget:pick:_Blanck|txtclassurl:type:menu|"
        "txtmail:type:yo@sitio.es",
        "<a href='pagina2.html' target='_blank' class='menu'>", 6);
    row("link: a blank is an address, a target left at its prompt is empty", "link",
        "txturl:type: |txtmail:type:yo@sitio.es", "<a href=' ' target='' class=''>");
    row("link to a mail address, subject not encoded", "link",
        "txtmail:type:yo@sitio.es|txtasunto:type:Hola y adiós|txtclassmail:type:c",
        "<a href='mailto:yo@sitio.es?subject=Hola y adiós' class='c'>");
    // Typed over, the list must still bring the custom item back when the box changes.
    row("font face typed after the list was typed over", "fuente",
        "cmbgrupo:pick:Fuente personalizáda|cmbgrupo:type:Navy|txtfuente:type:Tahoma",
        "<font face='Tahoma' color='' size=''>");
    row("font group picked after typing a face", "fuente",
        "txtfuente:type:Tahoma|cmbgrupo:pick:Verdana, Arial, Helvetica, sans-serif|"
        "cmbcolor:pick:Navy|cmbtamano:pick:2",
        "<font face='Verdana, Arial, Helvetica, sans-serif' color='Navy' size='2'>");
    row("div: Enter in a text box accepts", "div", "txttop:enter:", "<div align=''>");
    row("div: Enter in a list after typing the start of an item, not completed", "div",
        "cmbalign:enter:Cent", "<div align='Cent'>");
    row("table over a selection, colour typed, zeros cleared", "tabla",
        "txtcellspacing:clear:|txtborder:type:1|txtcolor:type:FF0000",
        "<table border='01' width='' height='' cellspacing='' cellpadding='0' align='' class='' "
        "bgcolor='#FF0000' background=''>\r\n<tr>",
        6, 5);
    row("table colour box cleared after the list was typed over", "tabla",
        "txtcolor:type:1|cmbcolor:type:Navy|txtcolor:clear:", "<table …bgcolor='' background=''>…");
    row("popup Al inicio: the script, then the reminder", "popup",
        "txtarchivo:type:pag.html|txtid:type:win|cmbtoolbar:type:T|cmbstatus:type:S|"
        "cmbscrollbar:pick:No|txtwidth:type:300|txtheight:type:200|cmbapertura:pick:Al inicio",
        "<script languaje=javascript>…open(\"pag.html\", "
        "\"win\",\"width=300,height=200,toolbar=T,scrollbars=No\");…</script>",
        4, 0, "Dentro de la etiqueta <body> debes poner esto: onLoad='popup()'");
    row("popup method typed in another case: the script, no reminder", "popup",
        "cmbapertura:type:por enlace", "<script languaje=javascript>…</script>");
    row("db blank path wins over the DSN and creates its connection", "db",
        "txtdsn:type:tienda|txtmanual:type: ",
        "'Escribe aquí …conexion.Open\"driver={Microsoft Access Driver (*.mdb)}; ; "
        "DBQ=\"+server.mappath (\" \")\r\n…conexion.close");
}

void TestTagDialogs::accept()
{
    QFETCH(QString, dialog);
    QFETCH(QStringList, steps);
    QFETCH(qint64, start);
    QFETCH(qint64, length);
    QFETCH(QString, fragment);
    QFETCH(QString, notice);
    Host host;
    PageText &page = host.view.page();
    page.setSelectionStart(start);
    page.setSelectionLength(length);
    auto form = makeDialog(dialog, host);
    form->show();
    for (const QString &step : steps)
        perform(*form, step);
    // The reminder comes with the fragment already in place and the dialog still up.
    QString textAtNotice;
    host.prompts.onNotify = [&] { textAtNotice = form->isVisible() ? page.text() : "closed"; };
    if (form->isVisible()) // Enter may have accepted it already
        click(form.get(), "btnaceptar");

    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(!form->isVisible());
    const QString text = page.text();
    const qint64 end = text.size() - StartText.size() + start + length;
    QCOMPARE(text.left(start) + text.mid(end), QString(StartText).remove(start, length));
    const QString pattern = QRegularExpression::escape(fragment).replace("\\…", "[\\s\\S]*");
    QVERIFY2(QRegularExpression(QRegularExpression::anchoredPattern(pattern))
                 .match(text.mid(start, end - start))
                 .hasMatch(),
             qPrintable(text));
    // The pop-up and database dialogs write in the colour in force and leave it so; the others
    // write in their own and restore black.
    const Colour colour = dialog == u"popup" || dialog == u"db"     ? InForce
                          : dialog == u"link" || dialog == u"tabla" ? colours::DarkGreen
                                                                    : colours::Blue;
    for (qint64 position = 0; position < text.size(); ++position) {
        // Line breaks carry no colour of their own.
        if (text.at(position) != u'\r' && text.at(position) != u'\n')
            QCOMPARE(page.colourAt(position),
                     position >= start && position < end ? colour : colours::Black);
    }
    QCOMPARE(page.insertionColour(), colour == InForce ? InForce : colours::Black);
    // Right after the fragment, wherever it went, not at the end of the text.
    QCOMPARE(page.selectionStart(), end);
    QCOMPARE(page.selectionLength(), qint64(0));
    QCOMPARE(host.focusWidget(), &host.view);
    QCOMPARE(host.prompts.notices, notice.isEmpty() ? QStringList() : QStringList{notice});
    QCOMPARE(textAtNotice, notice.isEmpty() ? QString() : text);
}

// Lists left at their prompt give empty values, the days are written bare, the description's
// break is kept, and a second Generar writes the block afresh. The character set is written in
// the one form browsers honour (an HTTP-EQUIV="CHARSET" line was ignored), UTF-8 first.
void TestTagDialogs::metaTags()
{
    MetaTagsDialog dialog;
    dialog.show();
    QCOMPARE(child<QComboBox>(&dialog, "cmbcaracteres")->itemText(0), QString("UTF-8"));
    perform(dialog, "cmbcaracteres:pick:UTF-8");
    click(&dialog, "btnaceptar");
    QVERIFY(child<QPlainTextEdit>(&dialog, "txtmeta")
                ->toPlainText()
                .contains("\n<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; "
                          "charset=UTF-8\">\n"));
    click(&dialog, "btnaceptar");
    perform(dialog, "txtdias:type:7");
    auto *description = child<QPlainTextEdit>(&dialog, "txtdescripcion");
    QTest::keyClicks(description, "uno");
    QTest::keyClick(description, Qt::Key_Return);
    QTest::keyClicks(description, "dos");
    click(&dialog, "btnaceptar");
    const QString meta = child<QPlainTextEdit>(&dialog, "txtmeta")->toPlainText();
    QCOMPARE(meta.count("<META"), 10);
    // The same address as the splash, the about box and F2, not another one.
    QVERIFY(meta.contains("\"GENERATOR\" CONTENT=\"Zendral - " + weblinks::ProgramPage + "\">"));
    for (const char *line : {"\"AUDIENCE\" CONTENT=\"\">\n", "CONTENT=\"uno\ndos\">\n",
                             "\n<META NAME=\"revisit-after\" CONTENT=7>"})
        QVERIFY2(meta.contains(line), line);
    QVERIFY(dialog.isVisible());
    click(&dialog, "btncancelar");
    QVERIFY(!dialog.isVisible());
}

// The script as a current browser runs it: document.getElementById, and a document.all that
// reads as false; noon and midnight are 12.
void TestTagDialogs::clockRuns()
{
    const QString script = clockScript();
    const qsizetype start = script.indexOf("<!--\r\n") + 6;
    QJSEngine engine;
    const QJSValue result = engine.evaluate(
        "(function() { var span = {innerHTML: ''}, timers = [], shown = [], hours;"
        " var document = {all: undefined, getElementById: function(id) {"
        "   return id == 'liveclock' ? span : null; }};"
        " var setTimeout = function(code, delay) { timers.push(code + '@' + delay); };"
        " var Date = function() { return {getHours: function() { return hours; },"
        "   getMinutes: function() { return 5; }, getSeconds: function() { return 9; }}; };" +
        script.mid(start, script.indexOf("//-->") - start) +
        "\n [12, 0, 13].forEach(function(h) { hours = h; hora(); shown.push(span.innerHTML); });"
        " return shown.join('|') + '|' + timers.join(); })()");
    QString expected;
    for (const char *shown : {"12:05:09 PM", "12:05:09 AM", "1:05:09 PM"})
        expected += "<font size='5' face='Arial'><b><font size='2'>Hora Actual:  </font>" +
                    QString::fromUtf8(shown) + "</b></font>|";
    QCOMPARE(result.toString(), expected + "hora()@1000,hora()@1000,hora()@1000");
}

void TestTagDialogs::replaceDialog_data()
{
    QTest::addColumn<QString>("keyword");
    // Empty: the text is left as it was.
    QTest::addColumn<QString>("expected");
    // Empty: the message is left as it was.
    QTest::addColumn<QString>("message");
    QTest::newRow("Td by td: capitals count, one told, tags coloured again")
        << "<Td>"
        << "<td>uno</Td><TD>dos</TD>"
        << "Palabras reemplazadas correctamente: 1 reemplazo.";
    QTest::newRow("word not there: told, text, colours and saved state kept")
        << "<table>"
        << ""
        << "No se ha encontrado \"<table>\" en el documento: no se ha cambiado nada.";
}

void TestTagDialogs::replaceDialog()
{
    QFETCH(QString, keyword);
    QFETCH(QString, expected);
    QFETCH(QString, message);
    const QString text = "<Td>uno</Td><TD>dos</TD>";
    EditingSurface view;
    InsertTagText(view.page(), text, colours::Purple);
    view.page().setSelectionStart(1);
    QSignalSpy changes(&view.page(), &PageText::changed);
    ReplaceDialog dialog(view.page());
    dialog.show();
    auto *warning = child<QLabel>(&dialog, "lbladvertencia");
    const QString warningText = warning->text();
    QTest::keyClicks(child<QLineEdit>(&dialog, "TxtWord(0)"), keyword);
    // Enter in a box runs the replacement, as "&Realizar cambio" does.
    QTest::keyClicks(child<QLineEdit>(&dialog, "TxtWord(1)"), keyword.toLower() + '\r');
    QCOMPARE(warning->text(), message.isEmpty() ? warningText : message);
    QCOMPARE(warning->textFormat(), Qt::PlainText);
    const bool replaced = !expected.isEmpty();
    QCOMPARE(view.page().text(), replaced ? expected : text);
    // A page that did not change has not changed for the saved path either.
    QCOMPARE(changes.count(), int(replaced));
    // Replaced text is coloured again as on opening; text left alone keeps its colour.
    EditingSurface opened;
    opened.page().setText(view.page().text());
    Colorea(opened.page(), TablaEtiquetas());
    for (qint64 position = 0; position < text.size(); ++position)
        QCOMPARE(view.page().colourAt(position),
                 replaced ? opened.page().colourAt(position) : colours::Purple);
    click(&dialog, "Command1");
    QVERIFY(!dialog.isVisible());
    QCOMPARE(view.page().selectionStart(), view.page().textLength());
}

QTEST_MAIN(TestTagDialogs)

#include "tst_tagdialogs.moc"
