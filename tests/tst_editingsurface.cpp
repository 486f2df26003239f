#include "editingsurface.h"
#include <QScrollBar>

#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace zendral;

class TestEditingSurface : public QObject
{
    Q_OBJECT

private slots:
    void positionsCountLineBreaksAsTwo();
    void selectionOperations();
    void insertionColourPersists();
    void oneNotificationPerChange();
    void handlerCanSwallowCharacters();
    void menuShortcutsAreNotShadowed();
    void typingPastTheRightEdgeKeepsTheCaretInView();
    void applyColoursBatch();
    void longLinesHeldInParts_data();
    void longLinesHeldInParts();
};

void TestEditingSurface::positionsCountLineBreaksAsTwo()
{
    EditingSurface surface;
    surface.page().setText(QStringLiteral("ab\r\ncd\nef\r\n"));
    const QString text = surface.page().text();
    // Ranges that start on an LF or end after a CR take only their half of the break.
    for (qint64 i = 0; i < text.size(); ++i) {
        QCOMPARE(surface.page().characterAt(i), text.at(i));
        QCOMPARE(surface.page().textRange(i, 3), text.mid(i, 3));
    }
    QCOMPARE(surface.page().textRange(4, 100), QStringLiteral("cd\nef\r\n"));

    surface.page().setSelectionStart(4);
    QCOMPARE(surface.page().selectionStart(), 4);
    QCOMPARE(surface.textCursor().position(), 3);
    // A position between CR and LF falls back to the end of its line.
    surface.page().setSelectionStart(3);
    QCOMPARE(surface.page().selectionStart(), 2);
    surface.page().setSelectionStart(surface.page().textLength());
    QCOMPARE(surface.page().selectionStart(), text.size());
}

void TestEditingSurface::selectionOperations()
{
    EditingSurface surface;
    // Writing the selected text of an empty surface gives exactly that text.
    surface.page().setSelectedText(QStringLiteral("hola\r\nmundo"));
    QCOMPARE(surface.page().text(), QStringLiteral("hola\r\nmundo"));
    QCOMPARE(surface.page().selectionStart(), 11);

    surface.page().setSelectionStart(2);
    surface.page().setSelectionLength(6);
    QCOMPARE(surface.page().selectedText(), QStringLiteral("la\r\nmu"));
    QCOMPARE(surface.page().selectionLength(), 6);
    surface.page().setSelectedText(QStringLiteral("X"));
    QCOMPARE(surface.page().text(), QStringLiteral("hoXndo"));
    QCOMPARE(surface.page().selectionStart(), 3);
    QCOMPARE(surface.page().selectionLength(), 0);
}

void TestEditingSurface::insertionColourPersists()
{
    EditingSurface surface;
    surface.page().setSelectionColour(colours::Blue);
    surface.page().setSelectedText(QStringLiteral("<b>"));
    surface.page().setSelectionColour(colours::Black);
    surface.page().setSelectionStart(1);
    QTest::keyClicks(&surface, QStringLiteral("x"));
    QCOMPARE(surface.page().text(), QStringLiteral("<xb>"));
    QCOMPARE(surface.page().colourAt(0), colours::Blue);
    QCOMPARE(surface.page().colourAt(1), colours::Black);
    QCOMPARE(surface.page().colourAt(2), colours::Blue);

    // With a selection, the selection colour recolours it and leaves the insertion colour.
    surface.page().setSelectionStart(2);
    surface.page().setSelectionLength(2);
    surface.page().setSelectionColour(colours::Purple);
    QCOMPARE(surface.page().colourAt(2), colours::Purple);
    QCOMPARE(surface.page().colourAt(3), colours::Purple);
    QCOMPARE(surface.page().insertionColour(), colours::Black);

    // The whole-text write makes every character plain.
    surface.page().setText(surface.page().text());
    for (qint64 i = 0; i < surface.page().textLength(); ++i)
        QCOMPARE(surface.page().colourAt(i), colours::Black);
}

void TestEditingSurface::oneNotificationPerChange()
{
    EditingSurface surface;
    surface.page().setText(QStringLiteral("abc\r\ndef"));
    QSignalSpy changed(&surface.page(), &PageText::changed);
    surface.page().setSelectionStart(1);
    surface.page().setSelectionLength(4);
    surface.page().setSelectedText(QStringLiteral("1\r\n2\r\n3"));
    QCOMPARE(changed.count(), 1);
    QTest::keyClick(&surface, Qt::Key_Return);
    QCOMPARE(changed.count(), 2);
    QTest::keyClick(&surface, Qt::Key_Backspace);
    QCOMPARE(changed.count(), 3);
    surface.page().setText(QString());
    QCOMPARE(changed.count(), 4);
    // Colour changes are not text changes.
    surface.page().setText(QStringLiteral("<p>hola</p>"));
    surface.page().setSelectionStart(1);
    surface.page().setSelectionLength(1);
    surface.page().setSelectionColour(colours::Blue);
    surface.page().applyColours({{1, 1, colours::Red}, {8, 2, colours::Blue}});
    QCOMPARE(changed.count(), 5);
}

namespace {
class RecordingHandler : public TypedCharacterHandler
{
public:
    bool characterTyped(const QString &character) override
    {
        typed.append(character);
        return character.at(0).unicode() > 24;
    }
    QStringList typed;
};
} // namespace

void TestEditingSurface::handlerCanSwallowCharacters()
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
    QCOMPARE(handler.typed, QStringList({QStringLiteral("a"), QStringLiteral("ñ"),
                                         QString(QChar(26)), QStringLiteral("\r")}));
    // Swallowed characters are not inserted; Enter (a control code) is.
    QCOMPARE(surface.page().text(), QStringLiteral("\r\n"));

    // A character committed by an input method (a dead key, compose) is typed too.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("é"));
    QCoreApplication::sendEvent(&surface, &commit);
    QCOMPARE(handler.typed.last(), QStringLiteral("é"));
}

// A fault once made: a line edited without new colours kept its old layout, so the caret
// stayed where the line had ended and the view never scrolled after it.
void TestEditingSurface::typingPastTheRightEdgeKeepsTheCaretInView()
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

void TestEditingSurface::menuShortcutsAreNotShadowed()
{
    // Ctrl+A must reach the window's shortcut instead of selecting all.
    EditingSurface surface;
    QKeyEvent override(QEvent::ShortcutOverride, Qt::Key_A, Qt::ControlModifier,
                       QStringLiteral("\x01"));
    QCoreApplication::sendEvent(&surface, &override);
    QVERIFY(!override.isAccepted());
}

void TestEditingSurface::applyColoursBatch()
{
    EditingSurface surface;
    surface.page().setText(QStringLiteral("<a>\r\n<b>x\n<i>\r\n"));
    // Spans in document positions, across CR LF breaks and a lone LF.
    surface.page().applyColours(
        {{1, 1, colours::DarkGreen}, {6, 1, colours::Blue}, {11, 1, colours::Red}});
    // A batch whose first span lies on a later line starts its walk there.
    surface.page().applyColours({{12, 1, colours::Purple}});
    QCOMPARE(surface.page().colourAt(12), colours::Purple);
    QCOMPARE(surface.page().colourAt(11), colours::Red);
    surface.page().applyColours({{12, 1, colours::Black}});
    const QString text = surface.page().text();
    for (qint64 i = 0; i < text.size(); ++i) {
        if (text.at(i) == u'\r' || text.at(i) == u'\n')
            continue;
        const Colour expected = i == 1    ? colours::DarkGreen
                                : i == 6  ? colours::Blue
                                : i == 11 ? colours::Red
                                          : colours::Black;
        QCOMPARE(surface.page().colourAt(i), expected);
    }
}

void TestEditingSurface::longLinesHeldInParts_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("a 100,000-character line between short ones")
        << QStringLiteral("<html>\r\n") +
               QStringLiteral("<p class=x>texto y más</p> ").repeated(3704).left(100000) +
               QStringLiteral("\r\n</html>\r\n");
    // The cuts would fall between the halves of the emoji; a lone CR stays inside no part.
    QTest::newRow("emoji at the cuts, LF and CR ends, several long lines")
        << QStringLiteral("x\n") + (QStringLiteral("a") + QStringLiteral("😀").repeated(4500)) +
               QStringLiteral("\n") + QStringLiteral("b😀").repeated(3000) + QStringLiteral("\r") +
               QStringLiteral("c").repeated(4096) + QStringLiteral("\r") +
               QStringLiteral("d").repeated(4097);
}

void TestEditingSurface::longLinesHeldInParts()
{
    QFETCH(QString, text);
    EditingSurface surface;
    surface.page().setText(text);
    QCOMPARE(surface.page().text(), text);
    QCOMPARE(surface.page().textLength(), text.size());
    const QTextDocument *document = surface.document();
    // A line longer than the limit is held in parts; one of the limit stays whole. The places where
    // a line goes on in the next block are listed in document positions.
    QList<qint64> joins;
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        QVERIFY(block.length() - 1 <= PageText::HeldLineLimit);
        const int number = block.blockNumber();
        if (number > 0 &&
            surface.page().lineOfBlock(number) == surface.page().lineOfBlock(number - 1))
            joins.append(surface.page().fromWidgetPosition(block.position()));
    }
    QVERIFY(!joins.isEmpty());
    // The gutter numbers the page's lines, not the widget's blocks.
    QCOMPARE(surface.page().lineOfBlock(document->blockCount() - 1) + 1,
             text.count(u'\n') + text.count(u'\r') - text.count(u"\r\n") + 1);
    for (const qint64 join : joins.mid(0, 3)) {
        surface.page().setText(text);
        QCOMPARE(surface.page().textRange(join - 2, 4), text.mid(join - 2, 4));
        QCOMPARE(surface.page().characterAt(join), text.at(join));
        // Colours painted across a join stay on their characters.
        surface.page().applyColours({{join - 1, 2, colours::Blue}});
        QCOMPARE(surface.page().colourAt(join - 1), colours::Blue);
        QCOMPARE(surface.page().colourAt(join), colours::Blue);
        QCOMPARE(surface.page().colourAt(join + 1), colours::Black);
        // Each key does at and around a join what it does in the middle of a line.
        for (const qint64 caret : {join - 1, join, join + 1}) {
            if (text.at(caret).isLowSurrogate())
                continue;
            const int forward = text.at(caret).isHighSurrogate() ? 2 : 1;
            const int backward = text.at(caret - 1).isLowSurrogate() ? 2 : 1;
            struct Expected
            {
                Qt::Key key;
                Qt::KeyboardModifiers modifiers;
                QString text;
                qint64 start;
                qint64 length;
            };
            const QList<Expected> keys = {
                {Qt::Key_Right, Qt::NoModifier, text, caret + forward, 0},
                {Qt::Key_Left, Qt::NoModifier, text, caret - backward, 0},
                {Qt::Key_Right, Qt::ShiftModifier, text, caret, forward},
                {Qt::Key_Delete, Qt::NoModifier, QString(text).remove(caret, forward), caret, 0},
                {Qt::Key_Backspace, Qt::NoModifier,
                 QString(text).remove(caret - backward, backward), caret - backward, 0},
            };
            for (const Expected &expected : keys) {
                surface.page().setText(text);
                surface.page().setSelectionStart(caret);
                QTest::keyClick(&surface, expected.key, expected.modifiers);
                QCOMPARE(surface.page().text(), expected.text);
                QCOMPARE(surface.page().selectionStart(), expected.start);
                QCOMPARE(surface.page().selectionLength(), expected.length);
            }
        }
    }
    // Long lines inserted into a short one are held in parts as well.
    surface.page().setText(text);
    surface.page().setSelectionStart(1);
    surface.page().restoreSelectedText(text);
    QCOMPARE(surface.page().text(), text.left(1) + text + text.mid(1));
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        QVERIFY(block.length() - 1 <= PageText::HeldLineLimit);
}

QTEST_MAIN(TestEditingSurface)
#include "tst_editingsurface.moc"
