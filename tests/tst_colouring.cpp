#include "colouring.h"
#include "editorevents.h"
#include "testsupport.h"

#include <QTest>

using namespace zendral;
using namespace zendral::test;

namespace {

// One letter per character: '.' untouched (black), B blue, G green, O orange, P purple,
// L light grey, D dark red, W brown; '?' any other colour.
QString coloursOf(const PageText &page)
{
    static const std::pair<char, Colour> letterColours[] = {
        {'.', colours::Black}, {'B', 0xFF0000}, {'G', 0x008000}, {'O', 0x0080FF},
        {'P', 0xC000C0},       {'L', 0xC0C0C0}, {'D', 0x0000C0}, {'W', 0x0040C0}};
    QString letters;
    const QString text = page.text();
    for (qint64 i = 0; i < text.size(); ++i) {
        QChar letter = u'?';
        for (const auto &[name, colour] : letterColours)
            if (colour == page.colourAt(i))
                letter = QLatin1Char(name);
        letters.append(text.at(i) == u'\r' || text.at(i) == u'\n' ? QChar(u'.') : letter);
    }
    return letters;
}

// A page coloured as the user types, its characters handed on as the view hands them.
struct Live
{
    PageText page;
    EditorEvents events{page, TablaEtiquetas(), {}};

    QMetaObject::Connection changes =
        QObject::connect(&page, &PageText::changed, [this] { events.onChanged(); });
    void type(const QString &text)
    {
        for (const QChar c : text) {
            PageText::Operation key(page);
            events.characterTyped(c);
        }
    }
};

} // namespace

class TestColouring : public QObject
{
    Q_OBJECT

private slots:
    void wholeText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("bold pair: names blue, brackets and text untouched")
            << "<b>x</b>" << ".B...BB.";
        QTest::newRow("table, td, textarea, title, applet are green through <T and <A")
            << "<table><td><textarea><title><applet>" << ".GGGGG..GG..GGGGGGGG..GGGGG..GGGGGG.";
        QTest::newRow("select, closing form, form and input are orange")
            << "<select></form><form><input>" << ".OOOOOO..OOOOO..OOOO..OOOOO.";
        QTest::newRow("img purple, meta dark red, script brown, comment grey")
            << "<img><meta><script></script><!-- c -->" << ".PPP..DDDD..WWWWWW..WWWWWWW..LLLLLLLL.";
        QTest::newRow("li and center get no colour from the whole-text pass")
            << "<li><center>" << "............";
        QTest::newRow("unclosed < is left alone") << "a < b" << ".....";
        QTest::newRow("inner < is not examined again: <x <b> is one blue tag")
            << "<x <b>" << ".BBBB.";
        QTest::newRow("server script a<b colours through <B")
            << "<% if a<b then %>" << ".BBBBBBBBBBBBBBB.";
        QTest::newRow("mixed case colours the same") << "<TaBlE>" << ".GGGGG.";
        QTest::newRow("tags across lines") << "<p\r\nclass=x>\r\n<img>" << ".B..BBBBBBB....PPP.";
        // clang-format on
        // A page is read in pieces of a megabyte; one line over a megabyte long (a minified
        // page) is cut between "<s" and "cript>" where this one is.
        QTest::newRow("script cut between two pieces of a long line")
            << QString(1044734, u'x') + "<script>" << QString(1044735, u'.') + "WWWWWW.";
    }
    void wholeText()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        PageText page;
        page.setText(text);
        Colorea(page, TablaEtiquetas());
        QCOMPARE(page.text(), text);
        QCOMPARE(coloursOf(page), expected);
    }
    void wholeTextLeavesTheLastTagSelected()
    {
        PageText page;
        page.setText(QStringLiteral("<p>hola</p>"));
        Colorea(page, TablaEtiquetas());
        QCOMPARE(page.selectedText(), QStringLiteral("/p"));
        page.setText(QStringLiteral("sin etiquetas"));
        page.setSelectionStart(3);
        Colorea(page, TablaEtiquetas());
        QCOMPARE(page.selectionLength(), 0);
    }
    void live_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");
        // clang-format off
        QTest::newRow("typed bold tag is blue") << "" << "<b>" << ".B.";
        QTest::newRow("typed link is green") << "x" << "<a href=y>" << "..GGGGGGGG.";
        QTest::newRow("typed img is purple") << "" << "<img src=a>" << ".PPPPPPPPP.";
        QTest::newRow("typed li is blue through <LI>") << "" << "<li>" << ".BB.";
        QTest::newRow("typed comment end colours from after <")
            << "" << "<!-- x -->" << ".LLLLLLLL.";
        QTest::newRow("> with no < before it colours nothing") << "abc" << ">" << "....";
        // Upper-casing made "ß" and "ﬁ" two letters each and slid the windows after them.
        QTest::newRow("tag typed right after ß and ﬁ is blue")
            << QStringLiteral("ﬁ ß") << "<b>" << "....B.";
        QTest::newRow("img typed across the cut of a long line is purple")
            << QString(4093, u'x') << "<img>" << QString(4093, u'.') + ".PPP.";
        // The look-back is bounded: it read back megabytes to the nearest "<" on every ">".
        QTest::newRow("a < 70,000 characters back is too far to colour")
            << "<b" + QString(70000, u'x') << ">" << QString(70003, u'.');
        // clang-format on
    }
    void live()
    {
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, expected);
        Live live;
        live.page.setText(before);
        live.page.setSelectionStart(live.page.textLength());
        live.type(typed);
        QCOMPARE(live.page.text(), before + typed);
        QCOMPARE(coloursOf(live.page), expected);
        // The caret stays after the ">" and the next character typed is black.
        QCOMPARE(live.page.selectionStart(), live.page.textLength());
        QCOMPARE(live.page.selectionLength(), 0);
        QCOMPARE(live.page.insertionColour(), colours::Black);
    }
    void laterChangesColourAgainAfterGreaterThan()
    {
        // After a typed ">", an insertion colours the tag nearest before the caret.
        Live live;
        live.type(QStringLiteral("<p>"));
        live.page.setSelectedText(QStringLiteral("<b>  </b>"));
        QCOMPARE(coloursOf(live.page), QStringLiteral(".B.......BB."));
    }
};

QTEST_MAIN(TestColouring)
#include "tst_colouring.moc"
