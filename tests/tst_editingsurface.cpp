#include "editingsurface.h"

#include <QtTest>
#include <QtWidgets>

#include <type_traits>

using namespace zendral;

// Page positions and the document's own cannot be taken for one another.
static_assert(!std::is_convertible_v<qint64, WidgetPosition>);
static_assert(!std::is_convertible_v<WidgetPosition, qint64>);
static_assert(!std::is_convertible_v<WidgetPosition, int>);

namespace {
// Keeps what is typed and swallows the control codes below 25 (Ctrl+Z among them).
// clang-format off
struct RecordingHandler : TypedCharacterHandler {
    bool characterTyped(const QString &c) override { typed.append(c); return c.at(0).unicode() > 24; }
    QStringList typed;
};
// clang-format on

// Gives the surface text and checks it is held whole: the same characters, and a line for each
// line end however the widget holds them (the gutter numbers the page's lines, not its blocks).
void holdWhole(EditingSurface &surface, const QString &text)
{
    PageText &page = surface.page();
    page.setText(text);
    QCOMPARE(page.text(), text);
    QCOMPARE(page.textLength(), text.size());
    QCOMPARE(page.lineOfBlock(surface.document()->blockCount() - 1),
             text.count(u'\n') + text.count(u'\r') - text.count(u"\r\n"));
    // Ranges that start on an LF or end after a CR take only their half of the break.
    for (qint64 i = 0; i < std::min<qint64>(text.size(), 40); ++i) {
        QCOMPARE(page.characterAt(i), text.at(i));
        QCOMPARE(page.textRange(i, 3), text.mid(i, 3));
    }
}
} // namespace

class TestEditingSurface : public QObject
{
    Q_OBJECT

private slots:
    void pageOperations()
    {
        EditingSurface surface;
        PageText &page = surface.page();
        const QString text = QStringLiteral("ab\r\ncd\nef\r\n");
        holdWhole(surface, text);
        QCOMPARE(page.textRange(4, 100), QStringLiteral("cd\nef\r\n"));
        page.setSelectionStart(4);
        QCOMPARE(page.selectionStart(), 4);
        QCOMPARE(surface.textCursor().position(), 3);
        // A position between CR and LF falls back to the end of its line.
        page.setSelectionStart(3);
        QCOMPARE(page.selectionStart(), 2);
        page.setSelectionStart(page.textLength());
        QCOMPARE(page.selectionStart(), text.size());

        // Writing the selected text of an empty surface gives exactly that text.
        page.setText(QString());
        page.setSelectedText(QStringLiteral("hola\r\nmundo"));
        QCOMPARE(page.text(), QStringLiteral("hola\r\nmundo"));
        QCOMPARE(page.selectionStart(), 11);
        page.setSelectionStart(2);
        page.setSelectionLength(6);
        QCOMPARE(page.selectedText(), QStringLiteral("la\r\nmu"));
        QCOMPARE(page.selectionLength(), 6);
        page.setSelectedText(QStringLiteral("X"));
        QCOMPARE(page.text(), QStringLiteral("hoXndo"));
        QCOMPARE(QList<qint64>({page.selectionStart(), page.selectionLength()}),
                 QList<qint64>({3, 0}));

        page.setText(QString());
        const auto coloursFrom = [&page](qint64 from, qint64 count) {
            QList<Colour> found;
            for (qint64 i = from; i < from + count; ++i)
                found.append(page.colourAt(i));
            return found;
        };
        page.setSelectionColour(colours::Blue);
        page.setSelectedText(QStringLiteral("<b>"));
        page.setSelectionColour(colours::Black);
        page.setSelectionStart(1);
        QTest::keyClicks(&surface, QStringLiteral("x"));
        QCOMPARE(page.text(), QStringLiteral("<xb>"));
        QCOMPARE(coloursFrom(0, 3), QList<Colour>({colours::Blue, colours::Black, colours::Blue}));
        // With a selection, the selection colour recolours it and leaves the insertion colour.
        page.setSelectionStart(2);
        page.setSelectionLength(2);
        page.setSelectionColour(colours::Purple);
        QCOMPARE(coloursFrom(2, 2), QList<Colour>(2, colours::Purple));
        QCOMPARE(page.insertionColour(), colours::Black);
        // The whole-text write makes every character plain.
        page.setText(page.text());
        QCOMPARE(coloursFrom(0, 4), QList<Colour>(4, colours::Black));

        page.setText(QStringLiteral("<a>\r\n<b>x\n<i>\r\n"));
        // Spans in document positions, across CR LF breaks and a lone LF.
        page.applyColours(
            {{1, 1, colours::DarkGreen}, {6, 1, colours::Blue}, {11, 1, colours::Red}});
        // A batch whose first span lies on a later line starts its walk there.
        page.applyColours({{12, 1, colours::Purple}});
        QCOMPARE(coloursFrom(11, 2), QList<Colour>({colours::Red, colours::Purple}));
        page.applyColours({{12, 1, colours::Black}});
        QList<Colour> expected(page.textLength(), colours::Black);
        expected[1] = colours::DarkGreen;
        expected[6] = colours::Blue;
        expected[11] = colours::Red;
        QCOMPARE(coloursFrom(0, page.textLength()), expected);

        page.setText(QStringLiteral("abc\r\ndef"));
        QSignalSpy changed(&page, &PageText::changed);
        page.setSelectionStart(1);
        page.setSelectionLength(4);
        page.setSelectedText(QStringLiteral("1\r\n2\r\n3"));
        QCOMPARE(changed.count(), 1);
        QTest::keyClick(&surface, Qt::Key_Return);
        QCOMPARE(changed.count(), 2);
        QTest::keyClick(&surface, Qt::Key_Backspace);
        QCOMPARE(changed.count(), 3);
        page.setText(QString());
        QCOMPARE(changed.count(), 4);
        // Colour changes are not text changes.
        page.setText(QStringLiteral("<p>hola</p>"));
        page.setSelectionStart(1);
        page.setSelectionLength(1);
        page.setSelectionColour(colours::Blue);
        page.applyColours({{1, 1, colours::Red}, {8, 2, colours::Blue}});
        QCOMPARE(changed.count(), 5);
    }
    void typedCharactersAndShortcuts()
    {
        EditingSurface surface;
        // Neither Escape nor Alt and a letter no menu takes types anything.
        QTest::keyClick(&surface, Qt::Key_Escape);
        QTest::keyClick(&surface, Qt::Key_Q, Qt::AltModifier);
        RecordingHandler handler;
        surface.setTypedCharacterHandler(&handler);
        QTest::keyClicks(&surface, QStringLiteral("a"));
        QKeyEvent enye(QEvent::KeyPress, Qt::Key_Ntilde, Qt::NoModifier, QStringLiteral("ñ"));
        QCoreApplication::sendEvent(&surface, &enye);
        QTest::keyClick(&surface, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&surface, Qt::Key_Return);
        QCOMPARE(handler.typed.join(u'|'), QStringLiteral("a|ñ|\x1A|\r"));
        // Swallowed characters are not inserted; Enter (a control code) is.
        QCOMPARE(surface.page().text(), QStringLiteral("\r\n"));

        // A character committed by an input method (a dead key, compose) is typed too.
        QInputMethodEvent commit;
        commit.setCommitString(QStringLiteral("é"));
        QCoreApplication::sendEvent(&surface, &commit);
        QCOMPARE(handler.typed.last(), QStringLiteral("é"));
        // Ctrl+A must reach the window's shortcut instead of selecting all.
        QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_A, Qt::ControlModifier, "\x01");
        QCoreApplication::sendEvent(&surface, &override);
        QVERIFY(!override.isAccepted());
    }
    // A fault once made: a line edited without new colours kept its old layout, so the caret
    // stayed where the line had ended and the view never scrolled after it.
    void typingPastTheRightEdgeKeepsTheCaretInView()
    {
        EditingSurface surface;
        surface.resize(300, 200);
        surface.show();
        QVERIFY(QTest::qWaitForWindowExposed(&surface));
        surface.page().setText(QStringLiteral("<p>hola</p>\r\nx"));
        surface.page().setSelectionStart(11);
        surface.setFocus();
        QTest::keyClicks(&surface, QString(120, u'a'));
        QVERIFY(surface.horizontalScrollBar()->value() > 0);
        QVERIFY(surface.viewport()->rect().contains(surface.cursorRect().center()));
    }
    void everyCharacterHeld_data()
    {
        QTest::addColumn<QString>("text");
        // Qt took them for its frame markers and broke a line there: the line-end table came up
        // short and was written past its end.
        QTest::newRow("U+FDD0 and U+FDD1 in a page of mixed line ends")
            << QStringLiteral("a\uFDD0b\r\nc\uFDD1\nd\uFDD0\uFDD1\r");
        // They were the separators' stand-ins, and came back as U+2028 and U+2029.
        QTest::newRow("U+FDD2 and U+FDD3 beside the separators")
            << QStringLiteral("\uFDD2\u2028\uFDD3\u2029\n\u2029\r\n");
        QTest::newRow("pairs whose second half is a stand-in's unit")
            << QStringLiteral("\U0001FFFC\U0001FFFD\U0001FFFE\U0001FFFF\u2029\U0010FFFF\n");
        QTest::newRow("a long line of them, held in parts")
            << QStringLiteral("\uFDD0\u2029\U0001FFFFx").repeated(1500) + QStringLiteral("\n");
    }
    void everyCharacterHeld()
    {
        QFETCH(QString, text);
        EditingSurface surface;
        PageText &page = surface.page();
        holdWhole(surface, text);
        for (qint64 i = 0; i < std::min<qint64>(text.size(), 40); ++i) {
            page.setSelectionStart(i);
            page.setSelectionLength(2);
            if (!text.at(i).isLowSurrogate())
                QCOMPARE(page.selectedText(),
                         page.textRange(page.selectionStart(), page.selectionLength()));
        }
        // Pasted, typed or put back by undo, each character stays itself; only the line ends
        // pasted take the page's own kind.
        page.setText(QString());
        page.setSelectedText(text);
        QCOMPARE(page.text(), QString(text)
                                  .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                                  .replace(u'\r', u'\n')
                                  .replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
        page.setSelectionStart(0);
        page.setSelectionLength(page.textLength());
        page.restoreSelectedText(text);
        QCOMPARE(page.text(), text);
    }
    void loneSurrogatesComeInAsReplacements()
    {
        EditingSurface surface;
        PageText &page = surface.page();
        // No character: a page's text is whole code points, and stand-ins are lone surrogates.
        // The bytes of a UTF-8 page that are not UTF-8 are kept as U+DC80 to U+DCFF.
        const QString lone = QStringLiteral("a") + QChar(0xD800) + QStringLiteral("b") +
                             QChar(0xDFFE) + QStringLiteral("\r\n") + QChar(0xDC00) + QChar(0xDCE9);
        const QString replaced = QStringLiteral("a\uFFFDb\uFFFD\r\n\uFFFD") + QChar(0xDCE9);
        page.setText(lone);
        QCOMPARE(page.text(), replaced);
        page.setText(QString());
        page.setSelectedText(lone);
        QCOMPARE(page.text(), replaced);
    }
    void longLinesHeldInParts_data()
    {
        QTest::addColumn<QString>("text");
        const QString line =
            QStringLiteral("<p class=x>texto y más</p> ").repeated(3704).left(100000);
        QTest::newRow("a 100,000-character line between short ones")
            << QStringLiteral("<html>\r\n") + line + QStringLiteral("\r\n</html>\r\n");
        // The cuts would fall between the halves of the emoji; a lone CR stays inside no part.
        QTest::newRow("emoji at the cuts, LF and CR ends, several long lines")
            << QStringLiteral("x\na") + QStringLiteral("😀").repeated(4500) + QStringLiteral("\n") +
                   QStringLiteral("b😀").repeated(3000) + QStringLiteral("\r") +
                   QString(4096, u'c') + QStringLiteral("\r") + QString(4097, u'd');
    }
    void longLinesHeldInParts()
    {
        QFETCH(QString, text);
        EditingSurface surface;
        PageText &page = surface.page();
        holdWhole(surface, text);
        const QTextDocument *document = surface.document();
        // A line longer than the limit is held in parts; one of the limit stays whole. The places
        // where a line goes on in the next block are listed in document positions.
        QList<qint64> joins;
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
            QVERIFY(block.length() - 1 <= PageText::HeldLineLimit);
            const int number = block.blockNumber();
            if (number > 0 && page.lineOfBlock(number) == page.lineOfBlock(number - 1))
                joins.append(page.fromWidgetPosition(WidgetPosition(block.position())));
        }
        QVERIFY(!joins.isEmpty());
        for (const qint64 join : joins.mid(0, 3)) {
            page.setText(text);
            QCOMPARE(page.textRange(join - 2, 4), text.mid(join - 2, 4));
            QCOMPARE(page.characterAt(join), text.at(join));
            // Colours painted across a join stay on their characters.
            page.applyColours({{join - 1, 2, colours::Blue}});
            QCOMPARE(QList<Colour>(
                         {page.colourAt(join - 1), page.colourAt(join), page.colourAt(join + 1)}),
                     QList<Colour>({colours::Blue, colours::Blue, colours::Black}));
            // Each key does at and around a join what it does in the middle of a line.
            for (const qint64 caret : {join - 1, join, join + 1}) {
                if (text.at(caret).isLowSurrogate())
                    continue;
                const int forward = text.at(caret).isHighSurrogate() ? 2 : 1;
                const int backward = text.at(caret - 1).isLowSurrogate() ? 2 : 1;
                // The key, then the text, selection start and length it gives.
                // clang-format off
                const std::tuple<const char *, QString, qint64, qint64> keys[] = {
                    {"Right", text, caret + forward, 0}, {"Left", text, caret - backward, 0},
                    {"Shift+Right", text, caret, forward}, {"Del", QString(text).remove(caret, forward), caret, 0},
                    {"Backspace", QString(text).remove(caret - backward, backward), caret - backward, 0}};
                // clang-format on
                for (const auto &[key, after, start, length] : keys) {
                    page.setText(text);
                    page.setSelectionStart(caret);
                    QTest::keySequence(&surface, QKeySequence(QString::fromLatin1(key)));
                    QCOMPARE(page.text(), after);
                    QCOMPARE(QList<qint64>({page.selectionStart(), page.selectionLength()}),
                             QList<qint64>({start, length}));
                }
            }
        }
        // Long lines inserted into a short one are held in parts as well.
        page.setText(text);
        page.setSelectionStart(1);
        page.restoreSelectedText(text);
        QCOMPARE(page.text(), text.left(1) + text + text.mid(1));
        for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
            QVERIFY(block.length() - 1 <= PageText::HeldLineLimit);
    }
};

QTEST_MAIN(TestEditingSurface)
#include "tst_editingsurface.moc"
