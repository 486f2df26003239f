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
    const QStringList items = colourItems(u"Personal"_qs);
    QCOMPARE(items.size(), 18);
    QCOMPARE(items.first(), u"Aqua"_qs);
    QCOMPARE(items.at(8), u"Navy"_qs);
    QCOMPARE(items.at(15), u"Yellow"_qs);
    QCOMPARE(items.at(16), u" -- "_qs);
    QCOMPARE(items.at(CustomColourIndex), u"Personal"_qs);
}

void TestTagFragments::body_data()
{
    addColumns();
    QTest::newRow("untouched: the prompt is every colour")
        << bodyTag({})
        << u"<body bgcolor='Selecciona un color' background='' text='Selecciona un "
           "color' alink='Selecciona un color' vlink='Selecciona un color' "
           "link='Selecciona un color'>\r\n"_qs;

    BodyFields named;
    named.background.listText = u"Black"_qs;
    named.text.listText = u"White"_qs;
    named.link.listText = u"Blue"_qs;
    named.visitedLink.listText = u"Purple"_qs;
    named.activeLink.listText = u"Red"_qs;
    named.image = u"fondo.gif"_qs;
    QTest::newRow("five names and an image, attributes in tag order")
        << bodyTag(named)
        << u"<body bgcolor='Black' background='fondo.gif' text='White' "
           "alink='Red' vlink='Purple' link='Blue'>\r\n"_qs;

    BodyFields custom;
    custom.link = {u"Color personalizádo"_qs, u"#00FF00"_qs};
    custom.visitedLink = {u"Navy"_qs, u"#123456"_qs};
    custom.background.listText = u" -- "_qs;
    QTest::newRow("custom item takes its own box only; a box behind a name is ignored")
        << bodyTag(custom)
        << u"<body bgcolor=' -- ' background='' text='Selecciona un color' "
           "alink='Selecciona un color' vlink='Navy' link='#00FF00'>\r\n"_qs;

    BodyFields unaccented;
    unaccented.text = {u"Color personalizado"_qs, u"#FF0000"_qs};
    QTest::newRow("custom item compared with its accent: typed without it, it is a name")
        << bodyTag(unaccented)
        << u"<body bgcolor='Selecciona un color' background='' text='Color "
           "personalizado' alink='Selecciona un color' vlink='Selecciona un "
           "color' link='Selecciona un color'>\r\n"_qs;

    BodyFields quoted;
    quoted.image = u" a'b<c> "_qs;
    quoted.background.listText = u"Lime"_qs;
    QTest::newRow("field texts go in untrimmed and unescaped")
        << bodyTag(quoted)
        << u"<body bgcolor='Lime' background=' a'b<c> ' text='Selecciona un "
           "color' alink='Selecciona un color' vlink='Selecciona un color' "
           "link='Selecciona un color'>\r\n"_qs;
}

void TestTagFragments::link_data()
{
    addColumns();
    QTest::newRow("untouched: an empty mail link")
        << linkTag({}) << u"<a href='mailto:?subject=' class=''>"_qs;

    LinkFields page;
    page.url = u"pagina2.html"_qs;
    page.target = u"_Blanck"_qs;
    page.urlClass = u"menu"_qs;
    QTest::newRow("page link") << linkTag(page)
                               << u"<a href='pagina2.html' target='_Blanck' class='menu'>"_qs;

    LinkFields both = page;
    both.mail = u"yo@sitio.es"_qs;
    both.subject = u"Hola"_qs;
    both.mailClass = u"correo"_qs;
    QTest::newRow("both frames filled: the page link wins")
        << linkTag(both) << u"<a href='pagina2.html' target='_Blanck' class='menu'>"_qs;

    LinkFields mail = both;
    mail.url.clear();
    mail.subject = u"Hola y adiós"_qs;
    QTest::newRow("mail link, subject with blanks not encoded")
        << linkTag(mail) << u"<a href='mailto:yo@sitio.es?subject=Hola y adiós' class='correo'>"_qs;

    LinkFields blank;
    blank.url = u" "_qs;
    blank.mail = u"yo@sitio.es"_qs;
    QTest::newRow("a single blank is an address")
        << linkTag(blank) << u"<a href=' ' target='Selecciona' class=''>"_qs;
}

void TestTagFragments::font_data()
{
    addColumns();
    QTest::newRow("untouched")
        << fontTag({})
        << u"<font face='Selecciona un grupo de tipografías' color='Selecciona un "
           "color' size='Selecciona'>"_qs;

    FontFields picked;
    picked.group = u"Verdana, Arial, Helvetica, sans-serif"_qs;
    picked.colour.listText = u"Navy"_qs;
    picked.size = u"2"_qs;
    QTest::newRow("group, name and size")
        << fontTag(picked)
        << u"<font face='Verdana, Arial, Helvetica, sans-serif' color='Navy' size='2'>"_qs;

    FontFields custom;
    custom.group = u"Fuente personalizáda"_qs;
    custom.customFace = u"Tahoma"_qs;
    custom.colour = {u"Color personalizádo"_qs, u"#"_qs};
    custom.size = u"7"_qs;
    QTest::newRow("custom face and untouched custom colour box")
        << fontTag(custom) << u"<font face='Tahoma' color='#' size='7'>"_qs;

    FontFields groupWins = custom;
    groupWins.group = u"Courier New, Courier, mono"_qs;
    QTest::newRow("a group picked after typing a face wins")
        << fontTag(groupWins) << u"<font face='Courier New, Courier, mono' color='#' size='7'>"_qs;
}

void TestTagFragments::div_data()
{
    addColumns();
    QTest::newRow("untouched") << divTag({}) << u"<div align='Selecciona'>"_qs;

    DivFields centred;
    centred.align = u"Center"_qs;
    centred.top = u"10px"_qs;
    QTest::newRow("align only, layer boxes ignored")
        << divTag(centred) << u"<div align='Center'>"_qs;

    DivFields layer;
    layer.position = u"Absolute"_qs;
    layer.align = u"Right"_qs;
    layer.top = u"10px"_qs;
    layer.left = u"20px"_qs;
    layer.zIndex = u"1"_qs;
    layer.height = u"100px"_qs;
    layer.width = u"200px"_qs;
    QTest::newRow("layer, alignment ignored")
        << divTag(layer)
        << u"<div style='position:Absolute; top:10px; left:20px; z-index:1; "
           "height:100px; width:200px;'>"_qs;

    DivFields empty;
    empty.position = u"Relative"_qs;
    QTest::newRow("layer with empty boxes")
        << divTag(empty)
        << u"<div style='position:Relative; top:; left:; z-index:; height:; width:;'>"_qs;

    DivFields typed;
    typed.position = u"selecciona"_qs;
    QTest::newRow("position compared case-sensitively")
        << divTag(typed)
        << u"<div style='position:selecciona; top:; left:; z-index:; height:; width:;'>"_qs;
}

void TestTagFragments::iframe_data()
{
    addColumns();
    const QString emptyRun =
        u"' id='' src='' noresize scroll='Selecciona' hspace='' vspace='' frameborder='' "
        "marginheight='' marginwidht='' widht='' height=''>"_qs;
    QTest::newRow("untouched") << iframeTag({})
                               << u"<iframe name='"_qs + emptyRun + u"<ilayer name='"_qs +
                                      emptyRun + u"</ilayer></iframe>\r\n"_qs;

    IframeFields frame;
    frame.name = u"marco"_qs;
    frame.id = u"marco1"_qs;
    frame.file = u"pagina.html"_qs;
    frame.scroll = u"No"_qs;
    frame.hspace = frame.vspace = frame.border = u"0"_qs;
    frame.marginHeight = frame.marginWidth = u"5"_qs;
    frame.width = u"300"_qs;
    frame.height = u"200"_qs;
    const QString run =
        u"marco' id='marco1' src='pagina.html' noresize scroll='No' hspace='0' vspace='0' "
        "frameborder='0' marginheight='5' marginwidht='5' widht='300' height='200'>"_qs;
    QTest::newRow("every field, layer repeats the frame")
        << iframeTag(frame)
        << u"<iframe name='"_qs + run + u"<ilayer name='"_qs + run + u"</ilayer></iframe>\r\n"_qs;
}

void TestTagFragments::table_data()
{
    addColumns();
    QTest::newRow("untouched: zeros, align prompt, no colour")
        << tableTag({})
        << u"<table border='0' width='' height='' cellspacing='0' cellpadding='0' "
           "align='Selecciona' class='' bgcolor='' background=''>\r\n<tr>"_qs;

    TableFields navy;
    navy.width = u"100%"_qs;
    navy.border = u"1"_qs;
    navy.colour.listText = u"Navy"_qs;
    QTest::newRow("width, border and a name")
        << tableTag(navy)
        << u"<table border='1' width='100%' height='' cellspacing='0' "
           "cellpadding='0' align='Selecciona' class='' bgcolor='Navy' "
           "background=''>\r\n<tr>"_qs;

    TableFields full;
    full.align = u"Center"_qs;
    full.cellSpacing = u"2"_qs;
    full.cellPadding = u"3"_qs;
    full.border = u"4"_qs;
    full.className = u"tabla"_qs;
    full.width = u"500"_qs;
    full.height = u"80"_qs;
    full.colour = {u"Personal"_qs, u"#FF0000"_qs};
    full.image = u"fondo.jpg"_qs;
    QTest::newRow("every field, custom colour")
        << tableTag(full)
        << u"<table border='4' width='500' height='80' cellspacing='2' "
           "cellpadding='3' align='Center' class='tabla' bgcolor='#FF0000' "
           "background='fondo.jpg'>\r\n<tr>"_qs;

    const auto withColour = [](const QString &list, const QString &custom) {
        TableFields fields;
        fields.colour = {list, custom};
        return tableTag(fields);
    };
    const auto expectColour = [](const QString &colour) {
        return u"<table border='0' width='' height='' cellspacing='0' "
               "cellpadding='0' align='Selecciona' class='' bgcolor='"_qs +
               colour + u"' background=''>\r\n<tr>"_qs;
    };
    QTest::newRow("custom item with untouched box")
        << withColour(u"Personal"_qs, u"#"_qs) << expectColour(u"#"_qs);
    QTest::newRow("separator is a colour")
        << withColour(u" -- "_qs, u"#"_qs) << expectColour(u" -- "_qs);
    QTest::newRow("custom box holding the prompt is no colour either")
        << withColour(u"Personal"_qs, u"Selecciona"_qs) << expectColour(QString());
    QTest::newRow("colour with an apostrophe ends the attribute early")
        << withColour(u"a'b"_qs, u"#"_qs) << expectColour(u"a'b"_qs);
}

void TestTagFragments::cell_data()
{
    addColumns();
    QTest::newRow("untouched") << cellTag({})
                               << u"<td width='' height='' align='Selecciona' valign='Selecciona' "
                                  "class='' bgcolor='' background=''>\r\n"_qs;

    CellFields picked;
    picked.align = u"Center"_qs;
    picked.valign = u"Middle"_qs;
    picked.colour = {u"Personal"_qs, u"#00FF00"_qs};
    picked.className = u"celda"_qs;
    picked.width = u"50%"_qs;
    picked.height = u"20"_qs;
    picked.image = u"c.gif"_qs;
    QTest::newRow("every field, custom colour")
        << cellTag(picked)
        << u"<td width='50%' height='20' align='Center' valign='Middle' "
           "class='celda' bgcolor='#00FF00' background='c.gif'>\r\n"_qs;

    CellFields untouchedCustom;
    untouchedCustom.colour.listText = u"Personal"_qs;
    QTest::newRow("custom item with untouched box")
        << cellTag(untouchedCustom)
        << u"<td width='' height='' align='Selecciona' valign='Selecciona' "
           "class='' bgcolor='#' background=''>\r\n"_qs;
}

QTEST_APPLESS_MAIN(TestTagFragments)

#include "tst_tagfragments.moc"
