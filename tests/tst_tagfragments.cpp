#include "colourchoice.h"
#include "tagfragments.h"

#include <QTest>

using namespace zendral;

// Each row builds its fragment from fields as a dialog would hand them over; a default-built
// struct is the dialog as it opens.
class TestTagFragments : public QObject
{
    Q_OBJECT

private slots:
    void colourList();
    void body_data();
    void body() { compareFragments(); }
    void link_data();
    void link() { compareFragments(); }
    void font_data();
    void font() { compareFragments(); }
    void div_data();
    void div() { compareFragments(); }
    void iframe_data();
    void iframe() { compareFragments(); }
    void table_data();
    void table() { compareFragments(); }
    void cell_data();
    void cell() { compareFragments(); }

private:
    static void addColumns();
    static void compareFragments();
};

void TestTagFragments::addColumns()
{
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QString>("expected");
}

void TestTagFragments::compareFragments()
{
    QFETCH(QString, fragment);
    QFETCH(QString, expected);
    QCOMPARE(fragment, expected);
}

void TestTagFragments::colourList()
{
    const QStringList items = colourItems(QStringLiteral("Personal"));
    QCOMPARE(items.size(), 18);
    QCOMPARE(items.first(), QStringLiteral("Aqua"));
    QCOMPARE(items.at(8), QStringLiteral("Navy"));
    QCOMPARE(items.at(15), QStringLiteral("Yellow"));
    QCOMPARE(items.at(16), QStringLiteral(" -- "));
    QCOMPARE(items.at(CustomColourIndex), QStringLiteral("Personal"));
}

void TestTagFragments::body_data()
{
    addColumns();
    QTest::newRow("untouched: the prompt is every colour")
        << bodyTag({})
        << QStringLiteral("<body bgcolor='Selecciona un color' background='' text='Selecciona un "
                          "color' alink='Selecciona un color' vlink='Selecciona un color' "
                          "link='Selecciona un color'>\r\n");

    BodyFields named;
    named.background.listText = QStringLiteral("Black");
    named.text.listText = QStringLiteral("White");
    named.link.listText = QStringLiteral("Blue");
    named.visitedLink.listText = QStringLiteral("Purple");
    named.activeLink.listText = QStringLiteral("Red");
    named.image = QStringLiteral("fondo.gif");
    QTest::newRow("five names and an image, attributes in tag order")
        << bodyTag(named)
        << QStringLiteral("<body bgcolor='Black' background='fondo.gif' text='White' "
                          "alink='Red' vlink='Purple' link='Blue'>\r\n");

    BodyFields custom;
    custom.link = {QStringLiteral("Color personalizádo"), QStringLiteral("#00FF00")};
    custom.visitedLink = {QStringLiteral("Navy"), QStringLiteral("#123456")};
    custom.background.listText = QStringLiteral(" -- ");
    QTest::newRow("custom item takes its own box only; a box behind a name is ignored")
        << bodyTag(custom)
        << QStringLiteral("<body bgcolor=' -- ' background='' text='Selecciona un color' "
                          "alink='Selecciona un color' vlink='Navy' link='#00FF00'>\r\n");

    BodyFields unaccented;
    unaccented.text = {QStringLiteral("Color personalizado"), QStringLiteral("#FF0000")};
    QTest::newRow("custom item compared with its accent: typed without it, it is a name")
        << bodyTag(unaccented)
        << QStringLiteral("<body bgcolor='Selecciona un color' background='' text='Color "
                          "personalizado' alink='Selecciona un color' vlink='Selecciona un "
                          "color' link='Selecciona un color'>\r\n");

    BodyFields quoted;
    quoted.image = QStringLiteral(" a'b<c> ");
    quoted.background.listText = QStringLiteral("Lime");
    QTest::newRow("field texts go in untrimmed and unescaped")
        << bodyTag(quoted)
        << QStringLiteral("<body bgcolor='Lime' background=' a'b<c> ' text='Selecciona un "
                          "color' alink='Selecciona un color' vlink='Selecciona un color' "
                          "link='Selecciona un color'>\r\n");
}

void TestTagFragments::link_data()
{
    addColumns();
    QTest::newRow("untouched: an empty mail link")
        << linkTag({}) << QStringLiteral("<a href='mailto:?subject=' class=''>");

    LinkFields page;
    page.url = QStringLiteral("pagina2.html");
    page.target = QStringLiteral("_Blanck");
    page.urlClass = QStringLiteral("menu");
    QTest::newRow("page link") << linkTag(page)
                               << QStringLiteral(
                                      "<a href='pagina2.html' target='_Blanck' class='menu'>");

    LinkFields both = page;
    both.mail = QStringLiteral("yo@sitio.es");
    both.subject = QStringLiteral("Hola");
    both.mailClass = QStringLiteral("correo");
    QTest::newRow("both frames filled: the page link wins")
        << linkTag(both) << QStringLiteral("<a href='pagina2.html' target='_Blanck' class='menu'>");

    LinkFields mail = both;
    mail.url.clear();
    mail.subject = QStringLiteral("Hola y adiós");
    QTest::newRow("mail link, subject with blanks not encoded")
        << linkTag(mail)
        << QStringLiteral("<a href='mailto:yo@sitio.es?subject=Hola y adiós' class='correo'>");

    LinkFields blank;
    blank.url = QStringLiteral(" ");
    blank.mail = QStringLiteral("yo@sitio.es");
    QTest::newRow("a single blank is an address")
        << linkTag(blank) << QStringLiteral("<a href=' ' target='Selecciona' class=''>");
}

void TestTagFragments::font_data()
{
    addColumns();
    QTest::newRow("untouched")
        << fontTag({})
        << QStringLiteral("<font face='Selecciona un grupo de tipografías' color='Selecciona un "
                          "color' size='Selecciona'>");

    FontFields picked;
    picked.group = QStringLiteral("Verdana, Arial, Helvetica, sans-serif");
    picked.colour.listText = QStringLiteral("Navy");
    picked.size = QStringLiteral("2");
    QTest::newRow("group, name and size")
        << fontTag(picked)
        << QStringLiteral(
               "<font face='Verdana, Arial, Helvetica, sans-serif' color='Navy' size='2'>");

    FontFields custom;
    custom.group = QStringLiteral("Fuente personalizáda");
    custom.customFace = QStringLiteral("Tahoma");
    custom.colour = {QStringLiteral("Color personalizádo"), QStringLiteral("#")};
    custom.size = QStringLiteral("7");
    QTest::newRow("custom face and untouched custom colour box")
        << fontTag(custom) << QStringLiteral("<font face='Tahoma' color='#' size='7'>");

    FontFields groupWins = custom;
    groupWins.group = QStringLiteral("Courier New, Courier, mono");
    QTest::newRow("a group picked after typing a face wins")
        << fontTag(groupWins)
        << QStringLiteral("<font face='Courier New, Courier, mono' color='#' size='7'>");
}

void TestTagFragments::div_data()
{
    addColumns();
    QTest::newRow("untouched") << divTag({}) << QStringLiteral("<div align='Selecciona'>");

    DivFields centred;
    centred.align = QStringLiteral("Center");
    centred.top = QStringLiteral("10px");
    QTest::newRow("align only, layer boxes ignored")
        << divTag(centred) << QStringLiteral("<div align='Center'>");

    DivFields layer;
    layer.position = QStringLiteral("Absolute");
    layer.align = QStringLiteral("Right");
    layer.top = QStringLiteral("10px");
    layer.left = QStringLiteral("20px");
    layer.zIndex = QStringLiteral("1");
    layer.height = QStringLiteral("100px");
    layer.width = QStringLiteral("200px");
    QTest::newRow("layer, alignment ignored")
        << divTag(layer)
        << QStringLiteral("<div style='position:Absolute; top:10px; left:20px; z-index:1; "
                          "height:100px; width:200px;'>");

    DivFields empty;
    empty.position = QStringLiteral("Relative");
    QTest::newRow("layer with empty boxes")
        << divTag(empty)
        << QStringLiteral(
               "<div style='position:Relative; top:; left:; z-index:; height:; width:;'>");

    DivFields typed;
    typed.position = QStringLiteral("selecciona");
    QTest::newRow("position compared case-sensitively")
        << divTag(typed)
        << QStringLiteral(
               "<div style='position:selecciona; top:; left:; z-index:; height:; width:;'>");
}

void TestTagFragments::iframe_data()
{
    addColumns();
    const QString emptyRun = QStringLiteral(
        "' id='' src='' noresize scroll='Selecciona' hspace='' vspace='' frameborder='' "
        "marginheight='' marginwidht='' widht='' height=''>");
    QTest::newRow("untouched") << iframeTag({})
                               << QStringLiteral("<iframe name='") + emptyRun +
                                      QStringLiteral("<ilayer name='") + emptyRun +
                                      QStringLiteral("</ilayer></iframe>\r\n");

    IframeFields frame;
    frame.name = QStringLiteral("marco");
    frame.id = QStringLiteral("marco1");
    frame.file = QStringLiteral("pagina.html");
    frame.scroll = QStringLiteral("No");
    frame.hspace = frame.vspace = frame.border = QStringLiteral("0");
    frame.marginHeight = frame.marginWidth = QStringLiteral("5");
    frame.width = QStringLiteral("300");
    frame.height = QStringLiteral("200");
    const QString run = QStringLiteral(
        "marco' id='marco1' src='pagina.html' noresize scroll='No' hspace='0' vspace='0' "
        "frameborder='0' marginheight='5' marginwidht='5' widht='300' height='200'>");
    QTest::newRow("every field, layer repeats the frame")
        << iframeTag(frame)
        << QStringLiteral("<iframe name='") + run + QStringLiteral("<ilayer name='") + run +
               QStringLiteral("</ilayer></iframe>\r\n");
}

void TestTagFragments::table_data()
{
    addColumns();
    QTest::newRow("untouched: zeros, align prompt, no colour")
        << tableTag({})
        << QStringLiteral("<table border='0' width='' height='' cellspacing='0' cellpadding='0' "
                          "align='Selecciona' class='' bgcolor='' background=''>\r\n<tr>");

    TableFields navy;
    navy.width = QStringLiteral("100%");
    navy.border = QStringLiteral("1");
    navy.colour.listText = QStringLiteral("Navy");
    QTest::newRow("width, border and a name")
        << tableTag(navy)
        << QStringLiteral("<table border='1' width='100%' height='' cellspacing='0' "
                          "cellpadding='0' align='Selecciona' class='' bgcolor='Navy' "
                          "background=''>\r\n<tr>");

    TableFields full;
    full.align = QStringLiteral("Center");
    full.cellSpacing = QStringLiteral("2");
    full.cellPadding = QStringLiteral("3");
    full.border = QStringLiteral("4");
    full.className = QStringLiteral("tabla");
    full.width = QStringLiteral("500");
    full.height = QStringLiteral("80");
    full.colour = {QStringLiteral("Personal"), QStringLiteral("#FF0000")};
    full.image = QStringLiteral("fondo.jpg");
    QTest::newRow("every field, custom colour")
        << tableTag(full)
        << QStringLiteral("<table border='4' width='500' height='80' cellspacing='2' "
                          "cellpadding='3' align='Center' class='tabla' bgcolor='#FF0000' "
                          "background='fondo.jpg'>\r\n<tr>");

    const auto withColour = [](const QString &list, const QString &custom) {
        TableFields fields;
        fields.colour = {list, custom};
        return tableTag(fields);
    };
    const auto expectColour = [](const QString &colour) {
        return QStringLiteral("<table border='0' width='' height='' cellspacing='0' "
                              "cellpadding='0' align='Selecciona' class='' bgcolor='") +
               colour + QStringLiteral("' background=''>\r\n<tr>");
    };
    QTest::newRow("custom item with untouched box")
        << withColour(QStringLiteral("Personal"), QStringLiteral("#"))
        << expectColour(QStringLiteral("#"));
    QTest::newRow("separator is a colour")
        << withColour(QStringLiteral(" -- "), QStringLiteral("#"))
        << expectColour(QStringLiteral(" -- "));
    QTest::newRow("custom box holding the prompt is no colour either")
        << withColour(QStringLiteral("Personal"), QStringLiteral("Selecciona"))
        << expectColour(QString());
    QTest::newRow("colour with an apostrophe ends the attribute early")
        << withColour(QStringLiteral("a'b"), QStringLiteral("#"))
        << expectColour(QStringLiteral("a'b"));
}

void TestTagFragments::cell_data()
{
    addColumns();
    QTest::newRow("untouched")
        << cellTag({})
        << QStringLiteral("<td width='' height='' align='Selecciona' valign='Selecciona' "
                          "class='' bgcolor='' background=''>\r\n");

    CellFields picked;
    picked.align = QStringLiteral("Center");
    picked.valign = QStringLiteral("Middle");
    picked.colour = {QStringLiteral("Personal"), QStringLiteral("#00FF00")};
    picked.className = QStringLiteral("celda");
    picked.width = QStringLiteral("50%");
    picked.height = QStringLiteral("20");
    picked.image = QStringLiteral("c.gif");
    QTest::newRow("every field, custom colour")
        << cellTag(picked)
        << QStringLiteral("<td width='50%' height='20' align='Center' valign='Middle' "
                          "class='celda' bgcolor='#00FF00' background='c.gif'>\r\n");

    CellFields untouchedCustom;
    untouchedCustom.colour.listText = QStringLiteral("Personal");
    QTest::newRow("custom item with untouched box")
        << cellTag(untouchedCustom)
        << QStringLiteral("<td width='' height='' align='Selecciona' valign='Selecciona' "
                          "class='' bgcolor='#' background=''>\r\n");
}

QTEST_APPLESS_MAIN(TestTagFragments)

#include "tst_tagfragments.moc"
