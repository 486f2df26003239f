#include "bodydialog.h"
#include "celldialog.h"
#include "colour.h"
#include "divdialog.h"
#include "editingsurface.h"
#include "fontdialog.h"
#include "iframedialog.h"
#include "linkdialog.h"
#include "tabledialog.h"
#include "tagdialogs.h"
#include "testsupport.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include <functional>
#include <memory>

using namespace zendral;
using namespace zendral::test;

namespace {

const QString StartText = u"Hola\r\nmundo\r\nfin"_qs;

std::unique_ptr<QDialog> makeDialog(const QString &name, EditingSurface &text1, QWidget *parent)
{
    if (name == u"body")
        return std::make_unique<BodyDialog>(text1, parent);
    if (name == u"link")
        return std::make_unique<LinkDialog>(text1, parent);
    if (name == u"fuente")
        return std::make_unique<FontDialog>(text1, parent);
    if (name == u"div")
        return std::make_unique<DivDialog>(text1, parent);
    if (name == u"iframe")
        return std::make_unique<IframeDialog>(text1, parent);
    if (name == u"tabla")
        return std::make_unique<TableDialog>(text1, parent);
    if (name == u"celda")
        return std::make_unique<CellDialog>(text1, parent);
    return nullptr;
}

// Does one user step, written "control:what:text": "type" types at the end of a text box or
// over the whole text of a list, "pick" chooses a list item, "clear" deletes a box's text.
void perform(QDialog &dialog, const QString &step)
{
    const QStringList parts = step.split(u':');
    const QString name = parts.value(0);
    const QString what = parts.value(1);
    const QString text = parts.mid(2).join(u':');
    if (auto *list = dialog.findChild<QComboBox *>(name)) {
        if (what == u"pick") {
            const int index = list->findText(text, Qt::MatchExactly | Qt::MatchCaseSensitive);
            QVERIFY2(index >= 0, qPrintable(step));
            list->setCurrentIndex(index);
        } else {
            list->lineEdit()->selectAll();
            typeInto(list->lineEdit(), text);
        }
        return;
    }
    auto *box = dialog.findChild<QLineEdit *>(name);
    QVERIFY2(box, qPrintable(step));
    box->setFocus();
    box->end(false);
    if (what == u"clear") {
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
    } else {
        typeInto(box, text);
    }
}

} // namespace

// The main window's part: a window holding text1 beside another control that has the focus
// when a dialog opens.
class Host : public QWidget
{
public:
    Host()
    {
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(&other);
        layout->addWidget(&text1);
        text1.setText(StartText);
        show();
        other.setFocus();
    }
    QLineEdit other;
    EditingSurface text1;
};

class TestTagDialogs : public QObject
{
    Q_OBJECT

private slots:
    void accept_data();
    void accept();
    void cancel_data();
    void cancel();
    void enterAccepts_data();
    void enterAccepts();
    void designTexts_data();
    void designTexts();
    void customBoxShowsCustomItem_data();
    void customBoxShowsCustomItem();
    void openers_data();
    void openers();
};

void TestTagDialogs::accept_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<qint64>("selectionStart");
    QTest::addColumn<qint64>("selectionLength");
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<Colour>("colour");

    QTest::newRow("body untouched")
        << u"body"_qs << QStringList() << qint64(4) << qint64(0)
        << u"<body bgcolor='Selecciona un color' background='' text='Selecciona un "
           "color' alink='Selecciona un color' vlink='Selecciona un color' "
           "link='Selecciona un color'>\r\n"_qs
        << colours::Blue;
    QTest::newRow("body names, custom link colour, separator")
        << u"body"_qs << QStringList{"cmbbackground:pick:Black",
                                     "txtimagenfondo:type:fondo.gif",
                                     "cmbcolortexto:pick:White",
                                     "textcolorenlacepersonalizado:type:00FF00",
                                     "cmbcolorenlacevisitado:pick: -- ",
                                     "textcolorenlaceactivopersonalizado:type:FF0000",
                                     "cmbcolorenlaceactivo:pick:Red"}
        << qint64(0) << qint64(4)
        << u"<body bgcolor='Black' background='fondo.gif' text='White' alink='Red' "
           "vlink=' -- ' link='#00FF00'>\r\n"_qs
        << colours::Blue;
    QTest::newRow("link untouched is a mail link")
        << u"link"_qs << QStringList() << qint64(4) << qint64(0)
        << u"<a href='mailto:?subject=' class=''>"_qs << colours::DarkGreen;
    QTest::newRow("link to a page, mail fields ignored")
        << u"link"_qs
        << QStringList{"txturl:type:pagina2.html", "cmbtarget:pick:_Blanck",
                       "txtclassurl:type:menu", "txtmail:type:yo@sitio.es"}
        << qint64(6) << qint64(0) << u"<a href='pagina2.html' target='_Blanck' class='menu'>"_qs
        << colours::DarkGreen;
    QTest::newRow("link to a mail address")
        << u"link"_qs
        << QStringList{"txtmail:type:yo@sitio.es", "txtasunto:type:Hola y adiós",
                       "txtclassmail:type:c"}
        << qint64(4) << qint64(0)
        << u"<a href='mailto:yo@sitio.es?subject=Hola y adiós' class='c'>"_qs << colours::DarkGreen;
    QTest::newRow("font untouched")
        << u"fuente"_qs << QStringList() << qint64(4) << qint64(0)
        << u"<font face='Selecciona un grupo de tipografías' color='Selecciona un "
           "color' size='Selecciona'>"_qs
        << colours::Blue;
    QTest::newRow("font custom face and colour typed")
        << u"fuente"_qs
        << QStringList{"txtfuente:type:Tahoma", "cmbtamano:pick:3", "txtcolor:type:336699"}
        << qint64(4) << qint64(0) << u"<font face='Tahoma' color='#336699' size='3'>"_qs
        << colours::Blue;
    QTest::newRow("font group picked after typing a face")
        << u"fuente"_qs
        << QStringList{"txtfuente:type:Tahoma",
                       "cmbgrupo:pick:Verdana, Arial, Helvetica, sans-serif", "cmbcolor:pick:Navy",
                       "cmbtamano:pick:2"}
        << qint64(4) << qint64(0)
        << u"<font face='Verdana, Arial, Helvetica, sans-serif' color='Navy' size='2'>"_qs
        << colours::Blue;
    QTest::newRow("div layer") << u"div"_qs
                               << QStringList{"cmbalign:pick:Center", "cmbposicion:pick:Absolute",
                                              "txttop:type:10px",     "txtleft:type:20px",
                                              "txtzindex:type:1",     "txtheight:type:100px",
                                              "txtwidth:type:200px"}
                               << qint64(4) << qint64(0)
                               << u"<div style='position:Absolute; top:10px; left:20px; z-index:1; "
                                  "height:100px; width:200px;'>"_qs
                               << colours::Blue;
    QTest::newRow("div position typed into the list")
        << u"div"_qs << QStringList{"cmbposicion:type:fixed"} << qint64(4) << qint64(0)
        << u"<div style='position:fixed; top:; left:; z-index:; height:; width:;'>"_qs
        << colours::Blue;
    const QString iframeRun =
        u"marco' id='marco1' src='pagina.html' noresize scroll='No' hspace='0' vspace='0' "
        "frameborder='0' marginheight='5' marginwidht='5' widht='300' height='200'>"_qs;
    QTest::newRow("iframe every field")
        << u"iframe"_qs << QStringList{"txtnombre:type:marco",
                                       "txtid:type:marco1",
                                       "txtarchivo:type:pagina.html",
                                       "cmbscroll:pick:No",
                                       "txthspace:type:0",
                                       "txtvspace:type:0",
                                       "txtborde:type:0",
                                       "txtmarginheight:type:5",
                                       "txtmarginwidht:type:5",
                                       "txtwidht:type:300",
                                       "txtheight:type:200"}
        << qint64(4) << qint64(0)
        << u"<iframe name='"_qs + iframeRun + u"<ilayer name='"_qs + iframeRun +
               u"</ilayer></iframe>\r\n"_qs
        << colours::Blue;
    QTest::newRow("table untouched")
        << u"tabla"_qs << QStringList() << qint64(4) << qint64(0)
        << u"<table border='0' width='' height='' cellspacing='0' cellpadding='0' "
           "align='Selecciona' class='' bgcolor='' background=''>\r\n<tr>"_qs
        << colours::DarkGreen;
    QTest::newRow("table over a selection, colour typed, zeros cleared")
        << u"tabla"_qs
        << QStringList{"cmbalign:type:Justify", "txtcellspacing:clear:", "txtborder:type:1",
                       "txtclass:type:t",       "txtancho:type:100%",    "txtalto:type:50",
                       "txtcolor:type:FF0000",  "txtimagen:type:f.jpg"}
        << qint64(6) << qint64(5)
        << u"<table border='01' width='100%' height='50' cellspacing='' "
           "cellpadding='0' align='Justify' class='t' bgcolor='#FF0000' "
           "background='f.jpg'>\r\n<tr>"_qs
        << colours::DarkGreen;
    QTest::newRow("table custom item picked without typing")
        << u"tabla"_qs << QStringList{"cmbcolor:pick:Personal"} << qint64(4) << qint64(0)
        << u"<table border='0' width='' height='' cellspacing='0' cellpadding='0' "
           "align='Selecciona' class='' bgcolor='#' background=''>\r\n<tr>"_qs
        << colours::DarkGreen;
    QTest::newRow("cell untouched")
        << u"celda"_qs << QStringList() << qint64(4) << qint64(0)
        << u"<td width='' height='' align='Selecciona' valign='Selecciona' "
           "class='' bgcolor='' background=''>\r\n"_qs
        << colours::DarkGreen;
    QTest::newRow("cell every field")
        << u"celda"_qs
        << QStringList{"txtclass:type:c",     "cmbalign:pick:Center", "cmbvalign:pick:Middle",
                       "txtancho:type:10",    "txtalto:type:20",      "cmbcolor:pick:Teal",
                       "txtimagen:type:i.gif"}
        << qint64(StartText.size()) << qint64(0)
        << u"<td width='10' height='20' align='Center' valign='Middle' class='c' "
           "bgcolor='Teal' background='i.gif'>\r\n"_qs
        << colours::DarkGreen;
}

void TestTagDialogs::accept()
{
    QFETCH(QString, dialog);
    QFETCH(QStringList, steps);
    QFETCH(qint64, selectionStart);
    QFETCH(qint64, selectionLength);
    QFETCH(QString, fragment);
    QFETCH(Colour, colour);

    Host host;
    host.text1.setSelectionStart(selectionStart);
    host.text1.setSelectionLength(selectionLength);
    auto form = makeDialog(dialog, host.text1, &host);
    form->show();
    for (const QString &step : steps)
        perform(*form, step);
    click(form.get(), u"btnaceptar"_qs);

    QCOMPARE(form->result(), int(QDialog::Accepted));
    QVERIFY(!form->isVisible());
    QString expected = StartText;
    expected.replace(selectionStart, selectionLength, fragment);
    QCOMPARE(host.text1.text(), expected);
    for (qint64 position = 0; position < expected.size(); ++position) {
        const QChar character = expected.at(position);
        // Line breaks carry no colour of their own.
        if (character == u'\r' || character == u'\n')
            continue;
        const bool inFragment =
            position >= selectionStart && position < selectionStart + fragment.size();
        QCOMPARE(host.text1.colourAt(position), inFragment ? colour : colours::Black);
    }
    QCOMPARE(host.text1.selectionStart(), host.text1.textLength());
    QCOMPARE(host.text1.selectionLength(), qint64(0));
    QCOMPARE(host.text1.insertionColour(), colours::Black);
    QCOMPARE(host.focusWidget(), &host.text1);
}

void TestTagDialogs::cancel_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<bool>("escape");
    QTest::addColumn<bool>("caretToEnd");

    for (const QString &name : {u"body"_qs, u"link"_qs, u"fuente"_qs, u"div"_qs, u"iframe"_qs,
                                u"tabla"_qs, u"celda"_qs}) {
        const bool toEnd = name == u"body" || name == u"link";
        QTest::addRow("%s btncancelar", qPrintable(name)) << name << false << toEnd;
        QTest::addRow("%s escape", qPrintable(name)) << name << true << toEnd;
    }
}

void TestTagDialogs::cancel()
{
    QFETCH(QString, dialog);
    QFETCH(bool, escape);
    QFETCH(bool, caretToEnd);

    Host host;
    host.text1.setSelectionStart(6);
    host.text1.setSelectionLength(2);
    auto form = makeDialog(dialog, host.text1, &host);
    form->show();
    // Something typed must not reach the page when the user backs out.
    const auto boxes = form->findChildren<QLineEdit *>();
    QTest::keyClicks(boxes.first(), u"x"_qs);
    if (escape)
        QTest::keyClick(boxes.first(), Qt::Key_Escape);
    else
        click(form.get(), u"btncancelar"_qs);

    QCOMPARE(form->result(), int(QDialog::Rejected));
    QVERIFY(!form->isVisible());
    QCOMPARE(host.text1.text(), StartText);
    for (qint64 position = 0; position < StartText.size(); ++position)
        QCOMPARE(host.text1.colourAt(position), colours::Black);
    if (caretToEnd) {
        QCOMPARE(host.text1.selectionStart(), host.text1.textLength());
        QCOMPARE(host.text1.selectionLength(), qint64(0));
        QCOMPARE(host.focusWidget(), &host.text1);
    } else {
        QCOMPARE(host.text1.selectionStart(), qint64(6));
        QCOMPARE(host.text1.selectionLength(), qint64(2));
    }
}

void TestTagDialogs::enterAccepts_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("fragment");

    QTest::newRow("in a text box")
        << u"div"_qs << u"txttop"_qs << QString() << u"<div align='Selecciona'>"_qs;
    QTest::newRow("in an untouched list")
        << u"div"_qs << u"cmbalign"_qs << QString() << u"<div align='Selecciona'>"_qs;
    QTest::newRow("in a list after typing the start of an item, not completed")
        << u"div"_qs << u"cmbalign"_qs << u"Cent"_qs << u"<div align='Cent'>"_qs;
    QTest::newRow("in a list after typing an item")
        << u"fuente"_qs << u"cmbtamano"_qs << u"3"_qs
        << u"<font face='Selecciona un grupo de tipografías' color='Selecciona un "
           "color' size='3'>"_qs;
}

void TestTagDialogs::enterAccepts()
{
    QFETCH(QString, dialog);
    QFETCH(QString, control);
    QFETCH(QString, typed);
    QFETCH(QString, fragment);

    Host host;
    host.text1.setText(QString());
    auto form = makeDialog(dialog, host.text1, &host);
    form->show();
    if (!typed.isEmpty())
        perform(*form, control + u":type:"_qs + typed);
    QWidget *widget = form->findChild<QWidget *>(control);
    auto *list = qobject_cast<QComboBox *>(widget);
    const int items = list ? list->count() : 0;
    QTest::keyClick(list ? list->lineEdit() : widget, Qt::Key_Return);

    QCOMPARE(form->result(), int(QDialog::Accepted));
    QCOMPARE(host.text1.text(), fragment);
    // Enter must not have added what was typed to the list.
    if (list)
        QCOMPARE(list->count(), items);
}

void TestTagDialogs::designTexts_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("caption");
    // "control=its text as the dialog opens".
    QTest::addColumn<QStringList>("texts");
    // "list=item|item|…", once for each set of items.
    QTest::addColumn<QStringList>("lists");

    const QString colours = u"Aqua|Black|Blue|Fuchsia|Gray|Green|Lime|Maroon|Navy|Olive|Purple|"
                            "Red|Silver|Teal|White|Yellow| -- |"_qs;
    const QString colour = u"=Selecciona un color"_qs;
    QTest::newRow("body") << u"body"_qs << u"  Etiqueta Body"_qs
                          << QStringList{"cmbbackground" + colour,
                                         "cmbcolortexto" + colour,
                                         "cmbcolorenlace" + colour,
                                         "cmbcolorenlacevisitado" + colour,
                                         "cmbcolorenlaceactivo" + colour,
                                         "textcolorperso=#",
                                         "txtcolortexto=#",
                                         "textcolorenlacepersonalizado=#",
                                         "txtenlacevisitadopersonalizado=#",
                                         "textcolorenlaceactivopersonalizado=#",
                                         "txtimagenfondo="}
                          << QStringList{"cmbbackground=" + colours + "Color personalizádo"};
    QTest::newRow("link") << u"link"_qs << u"  Etiqueta HREF"_qs
                          << QStringList{"cmbtarget=Selecciona"}
                          << QStringList{"cmbtarget=_Blanck|_Top|_Parent|_Self"};
    QTest::newRow("font") << u"fuente"_qs << u"  Etiqueta FONT"_qs
                          << QStringList{"cmbgrupo=Selecciona un grupo de tipografías",
                                         "cmbtamano=Selecciona", "cmbcolor" + colour, "txtcolor=#"}
                          << QStringList{"cmbgrupo=Arial, Helvetica, sans-serif|Times New Roman, "
                                         "Times, serif|Courier New, Courier, mono|Georgia, Times "
                                         "New Roman, Times, serif|Verdana, Arial, Helvetica, "
                                         "sans-serif|Geneva, Arial, Helvetica, sans-serif| -- "
                                         "|Fuente personalizáda",
                                         "cmbtamano=1|2|3|4|5|6|7"};
    QTest::newRow("div") << u"div"_qs << u"  Etiqueta DIV"_qs
                         << QStringList{"cmbalign=Selecciona", "cmbposicion=Selecciona"}
                         << QStringList{"cmbalign=Left|Center|Right",
                                        "cmbposicion=Absolute|Relative"};
    QTest::newRow("iframe") << u"iframe"_qs << u"  Etiqueta IFRAME"_qs
                            << QStringList{"cmbscroll=Selecciona"}
                            << QStringList{"cmbscroll=Auto|No|Yes"};
    QTest::newRow("table") << u"tabla"_qs << u"  Definición de tabla"_qs
                           << QStringList{"txtcellspacing=0",    "txtcellpadding=0",
                                          "txtborder=0",         "cmbalign=Selecciona",
                                          "cmbcolor=Selecciona", "txtcolor=#"}
                           << QStringList{"cmbcolor=" + colours + "Personal"};
    QTest::newRow("cell") << u"celda"_qs << u"  Definición de celda"_qs
                          << QStringList{"cmbvalign=Selecciona", "cmbcolor=Selecciona"}
                          << QStringList{"cmbvalign=Top|Middle|Bottom"};
}

void TestTagDialogs::designTexts()
{
    QFETCH(QString, dialog);
    QFETCH(QString, caption);
    QFETCH(QStringList, texts);
    QFETCH(QStringList, lists);

    Host host;
    auto form = makeDialog(dialog, host.text1, &host);
    QCOMPARE(form->windowTitle(), caption);
    QCOMPARE(child<QPushButton>(form.get(), u"btnaceptar"_qs)->text(), u"&Aceptar"_qs);
    QCOMPARE(child<QPushButton>(form.get(), u"btncancelar"_qs)->text(), u"&Cancelar"_qs);
    for (const QString &entry : texts) {
        const QString name = entry.section(u'=', 0, 0);
        auto *list = form->findChild<QComboBox *>(name);
        QVERIFY2(!list || list->isEditable(), qPrintable(name));
        const QString text =
            list ? list->currentText() : child<QLineEdit>(form.get(), name)->text();
        QCOMPARE(name + u'=' + text, entry);
    }
    for (const QString &entry : lists) {
        auto *list = child<QComboBox>(form.get(), entry.section(u'=', 0, 0));
        QStringList items;
        for (int index = 0; index < list->count(); ++index)
            items << list->itemText(index);
        QCOMPARE(list->objectName() + u'=' + items.join(u'|'), entry);
    }
}

void TestTagDialogs::customBoxShowsCustomItem_data()
{
    QTest::addColumn<QString>("dialog");
    QTest::addColumn<QString>("list");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("customItem");
    QTest::addColumn<int>("index");

    QTest::newRow("body link colour")
        << u"body"_qs << u"cmbcolorenlace"_qs << u"textcolorenlacepersonalizado"_qs
        << u"Color personalizádo"_qs << 17;
    QTest::newRow("font colour") << u"fuente"_qs << u"cmbcolor"_qs << u"txtcolor"_qs
                                 << u"Color personalizádo"_qs << 17;
    QTest::newRow("font face") << u"fuente"_qs << u"cmbgrupo"_qs << u"txtfuente"_qs
                               << u"Fuente personalizáda"_qs << 7;
    QTest::newRow("table colour") << u"tabla"_qs << u"cmbcolor"_qs << u"txtcolor"_qs
                                  << u"Personal"_qs << 17;
    QTest::newRow("cell colour") << u"celda"_qs << u"cmbcolor"_qs << u"txtcolor"_qs
                                 << u"Personal"_qs << 17;
}

void TestTagDialogs::customBoxShowsCustomItem()
{
    QFETCH(QString, dialog);
    QFETCH(QString, list);
    QFETCH(QString, box);
    QFETCH(QString, customItem);
    QFETCH(int, index);

    Host host;
    auto form = makeDialog(dialog, host.text1, &host);
    form->show();
    auto *combo = form->findChild<QComboBox *>(list);
    // The user picked the custom item, then typed over the list; the next change of the box
    // must still bring the custom item back.
    perform(*form, list + u":pick:"_qs + customItem);
    perform(*form, list + u":type:Navy"_qs);
    perform(*form, box + u":type:1"_qs);
    QCOMPARE(combo->currentIndex(), index);
    QCOMPARE(combo->currentText(), customItem);
    // Deleting counts as a change too.
    perform(*form, list + u":pick:"_qs + combo->itemText(2));
    perform(*form, box + u":clear:"_qs);
    QCOMPARE(combo->currentText(), customItem);
}

void TestTagDialogs::openers_data()
{
    QTest::addColumn<std::function<void(EditingSurface &, QWidget *)>>("open");
    QTest::addColumn<QString>("box");

    QTest::newRow("body") << std::function(showBodyDialog) << u"txtimagenfondo"_qs;
    QTest::newRow("link") << std::function(showLinkDialog) << u"txturl"_qs;
    QTest::newRow("font") << std::function(showFontDialog) << u"txtcolor"_qs;
    QTest::newRow("div") << std::function(showDivDialog) << u"txttop"_qs;
    QTest::newRow("iframe") << std::function(showIframeDialog) << u"txtid"_qs;
    QTest::newRow("table") << std::function(showTableDialog) << u"txtborder"_qs;
    QTest::newRow("cell") << std::function(showCellDialog) << u"txtalto"_qs;
}

// Each opening starts again from the design-time texts.
void TestTagDialogs::openers()
{
    using Opener = std::function<void(EditingSurface &, QWidget *)>;
    QFETCH(Opener, open);
    QFETCH(QString, box);

    Host host;
    QStringList shown;
    for (int opening = 0; opening < 2; ++opening) {
        whenModalOpens([&](QWidget &dialog) {
            auto *edit = child<QLineEdit>(&dialog, box);
            shown.append(edit->text());
            QTest::keyClicks(edit, u"zz"_qs);
            click(&dialog, u"btncancelar"_qs);
        });
        open(host.text1, &host);
    }
    QCOMPARE(shown.size(), 2);
    QCOMPARE(shown.last(), shown.first());
    QCOMPARE(host.text1.text(), StartText);
}

QTEST_MAIN(TestTagDialogs)

#include "tst_tagdialogs.moc"
