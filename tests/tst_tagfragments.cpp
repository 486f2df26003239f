#include "tagfragments.h"

#include <QTest>

using namespace zendral;

// Each row builds its fragment from fields as a dialog would hand them over; a default-built
// struct is the dialog as it opens. What a dialog hands over as it opens, and its fields
// wired in place, tst_tagdialogs checks through the dialogs themselves.
class TestTagFragments : public QObject
{
    Q_OBJECT

private slots:
    void fragments_data();
    void fragments();
};

void TestTagFragments::fragments_data()
{
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QString>("expected");

    BodyFields named;
    named.background.listText = u"Black"_qs;
    named.text.listText = u"White"_qs;
    named.link.listText = u"Blue"_qs;
    named.visitedLink.listText = u"Purple"_qs;
    named.activeLink.listText = u"Red"_qs;
    named.image = u"fondo.gif"_qs;
    QTest::newRow("body: five names and an image, attributes in tag order")
        << bodyTag(named)
        << u"<body bgcolor='Black' background='fondo.gif' text='White' alink='Red' "
           "vlink='Purple' link='Blue'>\r\n"_qs;

    BodyFields custom;
    custom.link = {u"Color personalizádo"_qs, u"#00FF00"_qs};
    custom.visitedLink = {u"Navy"_qs, u"#123456"_qs};
    custom.background.listText = u" -- "_qs;
    QTest::newRow("body: custom item takes its own box only; a box behind a name is ignored")
        << bodyTag(custom)
        << u"<body bgcolor=' -- ' background='' text='Selecciona un color' "
           "alink='Selecciona un color' vlink='Navy' link='#00FF00'>\r\n"_qs;

    BodyFields unaccented;
    unaccented.text = {u"Color personalizado"_qs, u"#FF0000"_qs};
    QTest::newRow("body: custom item compared with its accent: typed without it, it is a name")
        << bodyTag(unaccented)
        << u"<body bgcolor='Selecciona un color' background='' text='Color personalizado' "
           "alink='Selecciona un color' vlink='Selecciona un color' link='Selecciona un "
           "color'>\r\n"_qs;

    BodyFields quoted;
    quoted.image = u" a'b<c> "_qs;
    quoted.background.listText = u"Lime"_qs;
    QTest::newRow("body: field texts go in untrimmed and unescaped")
        << bodyTag(quoted)
        << u"<body bgcolor='Lime' background=' a'b<c> ' text='Selecciona un color' "
           "alink='Selecciona un color' vlink='Selecciona un color' link='Selecciona un "
           "color'>\r\n"_qs;

    LinkFields both;
    both.url = u"pagina2.html"_qs;
    both.target = u"_Blanck"_qs;
    both.urlClass = u"menu"_qs;
    both.mail = u"yo@sitio.es"_qs;
    both.subject = u"Hola"_qs;
    both.mailClass = u"correo"_qs;
    QTest::newRow("link: both frames filled, the page link wins")
        << linkTag(both) << u"<a href='pagina2.html' target='_Blanck' class='menu'>"_qs;

    LinkFields mail = both;
    mail.url.clear();
    mail.subject = u"Hola y adiós"_qs;
    QTest::newRow("link: mail link, subject with blanks not encoded")
        << linkTag(mail) << u"<a href='mailto:yo@sitio.es?subject=Hola y adiós' class='correo'>"_qs;

    LinkFields blank;
    blank.url = u" "_qs;
    blank.mail = u"yo@sitio.es"_qs;
    QTest::newRow("link: a single blank is an address")
        << linkTag(blank) << u"<a href=' ' target='Selecciona' class=''>"_qs;

    FontFields face;
    face.group = u"Fuente personalizáda"_qs;
    face.customFace = u"Tahoma"_qs;
    face.colour = {u"Color personalizádo"_qs, u"#"_qs};
    face.size = u"7"_qs;
    QTest::newRow("font: custom face and untouched custom colour box")
        << fontTag(face) << u"<font face='Tahoma' color='#' size='7'>"_qs;

    FontFields groupWins = face;
    groupWins.group = u"Courier New, Courier, mono"_qs;
    QTest::newRow("font: a group picked after typing a face wins")
        << fontTag(groupWins) << u"<font face='Courier New, Courier, mono' color='#' size='7'>"_qs;

    DivFields centred;
    centred.align = u"Center"_qs;
    centred.top = u"10px"_qs;
    QTest::newRow("div: align only, layer boxes ignored")
        << divTag(centred) << u"<div align='Center'>"_qs;

    DivFields typed;
    typed.position = u"selecciona"_qs;
    QTest::newRow("div: position compared case-sensitively")
        << divTag(typed)
        << u"<div style='position:selecciona; top:; left:; z-index:; height:; width:;'>"_qs;

    const QString emptyRun =
        u"' id='' src='' noresize scroll='Selecciona' hspace='' vspace='' frameborder='' "
        "marginheight='' marginwidht='' widht='' height=''>"_qs;
    QTest::newRow("iframe: untouched, the layer repeats the frame")
        << iframeTag({})
        << u"<iframe name='"_qs + emptyRun + u"<ilayer name='"_qs + emptyRun +
               u"</ilayer></iframe>\r\n"_qs;

    TableFields navy;
    navy.width = u"100%"_qs;
    navy.border = u"1"_qs;
    navy.colour.listText = u"Navy"_qs;
    QTest::newRow("table: width, border and a name")
        << tableTag(navy)
        << u"<table border='1' width='100%' height='' cellspacing='0' cellpadding='0' "
           "align='Selecciona' class='' bgcolor='Navy' background=''>\r\n<tr>"_qs;

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
    QTest::newRow("table: every field, custom colour")
        << tableTag(full)
        << u"<table border='4' width='500' height='80' cellspacing='2' cellpadding='3' "
           "align='Center' class='tabla' bgcolor='#FF0000' background='fondo.jpg'>\r\n<tr>"_qs;

    const auto withColour = [](const QString &list, const QString &custom) {
        TableFields fields;
        fields.colour = {list, custom};
        return tableTag(fields);
    };
    const auto expectColour = [](const QString &colour) {
        return u"<table border='0' width='' height='' cellspacing='0' cellpadding='0' "
               "align='Selecciona' class='' bgcolor='"_qs +
               colour + u"' background=''>\r\n<tr>"_qs;
    };
    QTest::newRow("table: separator is a colour")
        << withColour(u" -- "_qs, u"#"_qs) << expectColour(u" -- "_qs);
    QTest::newRow("table: custom box holding the prompt is no colour either")
        << withColour(u"Personal"_qs, u"Selecciona"_qs) << expectColour(QString());
    QTest::newRow("table: colour with an apostrophe ends the attribute early")
        << withColour(u"a'b"_qs, u"#"_qs) << expectColour(u"a'b"_qs);

    CellFields picked;
    picked.align = u"Center"_qs;
    picked.valign = u"Middle"_qs;
    picked.colour = {u"Personal"_qs, u"#00FF00"_qs};
    picked.className = u"celda"_qs;
    picked.width = u"50%"_qs;
    picked.height = u"20"_qs;
    picked.image = u"c.gif"_qs;
    QTest::newRow("cell: every field, custom colour")
        << cellTag(picked)
        << u"<td width='50%' height='20' align='Center' valign='Middle' class='celda' "
           "bgcolor='#00FF00' background='c.gif'>\r\n"_qs;

    CellFields untouchedCustom;
    untouchedCustom.colour.listText = u"Personal"_qs;
    QTest::newRow("cell: custom item with untouched box")
        << cellTag(untouchedCustom)
        << u"<td width='' height='' align='Selecciona' valign='Selecciona' class='' bgcolor='#' "
           "background=''>\r\n"_qs;
}

void TestTagFragments::fragments()
{
    QFETCH(QString, fragment);
    QFETCH(QString, expected);
    QCOMPARE(fragment, expected);
}

QTEST_APPLESS_MAIN(TestTagFragments)

#include "tst_tagfragments.moc"
