#include "colouring.h"
#include "editorevents.h"
#include "testsupport.h"

#include <QTest>

using namespace zendral;
using namespace zendral::test;

namespace {

// One letter per character: '.' untouched (black), B blue, G green, O orange, P purple,
// L light grey, D dark red, W brown.
Colour colourOf(QChar letter)
{
    switch (letter.unicode()) {
    case 'B':
        return 0xFF0000;
    case 'G':
        return 0x008000;
    case 'O':
        return 0x0080FF;
    case 'P':
        return 0xC000C0;
    case 'L':
        return 0xC0C0C0;
    case 'D':
        return 0x0000C0;
    case 'W':
        return 0x0040C0;
    default:
        return colours::Black;
    }
}

QString coloursOf(const PageText &page)
{
    QString letters;
    const QString text = page.text();
    for (qint64 i = 0; i < text.size(); ++i) {
        const Colour colour = page.colourAt(i);
        const char *names = ".BGOPLDW";
        QChar letter = u'?';
        for (const char *name = names; *name; ++name) {
            if (colourOf(QLatin1Char(*name)) == colour)
                letter = QLatin1Char(*name);
        }
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
    void wholeText_data();
    void wholeText();
    void wholeTextLeavesTheLastTagSelected();
    void live_data();
    void live();
    void laterChangesColourAgainAfterGreaterThan();
};

void TestColouring::wholeText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    // clang-format off
    QTest::newRow("bold pair: names blue, brackets and text untouched")
        << QStringLiteral("<b>x</b>")                 << QStringLiteral(".B...BB.");
    QTest::newRow("link with attributes is green")
        << QStringLiteral("<a href=x>")               << QStringLiteral(".GGGGGGGG.");
    QTest::newRow("table, td, textarea, title, applet are green through <T and <A")
        << QStringLiteral("<table><td><textarea><title><applet>")
        << QStringLiteral(".GGGGG..GG..GGGGGGGG..GGGGG..GGGGGG.");
    QTest::newRow("select, closing form, form and input are orange")
        << QStringLiteral("<select></form><form><input>")
        << QStringLiteral(".OOOOOO..OOOOO..OOOO..OOOOO.");
    QTest::newRow("img purple, meta dark red, script brown, comment grey")
        << QStringLiteral("<img><meta><script></script><!-- c -->")
        << QStringLiteral(".PPP..DDDD..WWWWWW..WWWWWWW..LLLLLLLL.");
    QTest::newRow("li and center get no colour from the whole-text pass")
        << QStringLiteral("<li><center>")             << QStringLiteral("............");
    QTest::newRow("unclosed < is left alone")
        << QStringLiteral("a < b")                    << QStringLiteral(".....");
    QTest::newRow("inner < is not examined again: <x <b> is one blue tag")
        << QStringLiteral("<x <b>")                   << QStringLiteral(".BBBB.");
    QTest::newRow("server script a<b colours through <B")
        << QStringLiteral("<% if a<b then %>")        << QStringLiteral(".BBBBBBBBBBBBBBB.");
    QTest::newRow("mixed case colours the same")
        << QStringLiteral("<TaBlE>")                  << QStringLiteral(".GGGGG.");
    QTest::newRow("tags across lines")
        << QStringLiteral("<p\r\nclass=x>\r\n<img>")  << QStringLiteral(".B..BBBBBBB....PPP.");
    // clang-format on
}

void TestColouring::wholeText()
{
    QFETCH(QString, text);
    QFETCH(QString, expected);
    PageText page;
    page.setText(text);
    Colorea(page, TablaEtiquetas());
    QCOMPARE(page.text(), text);
    QCOMPARE(coloursOf(page), expected);
}

void TestColouring::wholeTextLeavesTheLastTagSelected()
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

void TestColouring::live_data()
{
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("typed bold tag is blue")
        << QStringLiteral("") << QStringLiteral("<b>") << QStringLiteral(".B.");
    QTest::newRow("typed link is green")
        << QStringLiteral("x") << QStringLiteral("<a href=y>") << QStringLiteral("..GGGGGGGG.");
    QTest::newRow("typed img is purple")
        << QStringLiteral("") << QStringLiteral("<img src=a>") << QStringLiteral(".PPPPPPPPP.");
    QTest::newRow("typed li is blue through <LI>")
        << QStringLiteral("") << QStringLiteral("<li>") << QStringLiteral(".BB.");
    QTest::newRow("typed comment end colours from after <")
        << QStringLiteral("") << QStringLiteral("<!-- x -->") << QStringLiteral(".LLLLLLLL.");
    QTest::newRow("> with no < before it colours nothing")
        << QStringLiteral("abc") << QStringLiteral(">") << QStringLiteral("....");
    // Upper-casing made "ß" and "ﬁ" two letters each and slid the windows after them.
    QTest::newRow("tag typed right after ß and ﬁ is blue")
        << QStringLiteral("ﬁ ß") << QStringLiteral("<b>") << QStringLiteral("....B.");
    QTest::newRow("img typed across the cut of a long line is purple")
        << QString(4093, u'x') << QStringLiteral("<img>")
        << QString(4093, u'.') + QStringLiteral(".PPP.");
    // The look-back is bounded: it read back megabytes to the nearest "<" on every ">".
    QTest::newRow("a < 70,000 characters back is too far to colour")
        << QStringLiteral("<b") + QString(70000, u'x') << QStringLiteral(">")
        << QString(70003, u'.');
}

void TestColouring::live()
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

void TestColouring::laterChangesColourAgainAfterGreaterThan()
{
    // After a typed ">", an insertion colours the tag nearest before the caret.
    Live live;
    live.type(QStringLiteral("<p>"));
    live.page.setSelectedText(QStringLiteral("<b>  </b>"));
    QCOMPARE(coloursOf(live.page), QStringLiteral(".B.......BB."));
}

QTEST_MAIN(TestColouring)
#include "tst_colouring.moc"
