#pragma once

#include "colourruns.h"
#include "linemap.h"
#include "pagecaret.h"

#include <QColor>
#include <QList>
#include <QObject>
#include <QString>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

#include <functional>
#include <vector>

class QTextDocument;

namespace zendral {

// The page: its text, line ends, colours, caret and selection, and the one change notification,
// apart from any view. Engines work on it, so that they need no widget. Its positions are page
// positions (see LineMap): 0-based, a line end counted as the characters it holds. The
// document's own positions are WidgetPositions, which only the page and its view handle.
// No operation but text() and setText() walks the whole text.
class PageText : public QObject
{
    Q_OBJECT

public:
    explicit PageText(QObject *parent = nullptr);

    // The document a view shows; its blocks are the page's lines.
    QTextDocument *document() const { return m_document; }

    // The map's, named here for the page's users.
    using LineEnd = zendral::LineEnd;
    static constexpr qint64 HeldLineLimit = zendral::HeldLineLimit;
    static constexpr qint64 HeldPartLength = zendral::HeldPartLength;

    // The whole text, every line end as it was read or typed.
    QString text() const;
    // Hands the whole text to take in pieces of about 256K characters, each ending at the end
    // of a line or of a held line's block, without building it whole; stops when take returns
    // false.
    void forEachPiece(const std::function<bool(QStringView piece)> &take) const;
    // The whole text as it is now, taken at once and handed out later in pieces of about a
    // given length, each ending at the end of a line or of a held line's block, whatever the
    // page does meanwhile. Taking it copies the widget's text, the quick part; the pieces are
    // turned back into document text one at a time.
    class Copy
    {
    public:
        explicit Copy(const PageText &page);
        bool atEnd() const { return m_from >= m_raw.size(); }
        QString next(qsizetype length);

    private:
        QString m_raw;
        std::vector<LineEnd> m_ends;
        LineEnd m_pageEnd;
        qsizetype m_from = 0;
        int m_block = 0;
    };
    // Replaces the whole text; every character takes the default colour (black), the caret
    // goes to the start. CR LF, a lone LF and a lone CR each end a line and are kept as they
    // are; the first of them decides the page's own kind of line end (CR LF when none).
    void setText(QString text);
    // The kind of line end that Enter and every inserted line break take.
    LineEnd pageLineEnd() const { return m_map.pageEnd(); }
    // The characters of a line end of that kind.
    static QString lineEndText(LineEnd end) { return zendral::lineEndText(end); }
    // The line of the text (0-based) that a block shows a part of, and the first block of a
    // line: blocks and lines differ once a long line is held in parts.
    int lineOfBlock(int blockNumber) const { return m_map.lineOfBlock(blockNumber); }
    int firstBlockOfLine(int line) const { return m_map.firstBlockOfLine(line); }
    // Where a line (0-based) starts; past the last line, where the last one starts.
    qint64 lineStart(int line) const;
    // The line end of a block (the last block has none: its answer means nothing).
    LineEnd lineEndOf(int blockNumber) const { return m_map.endOf(blockNumber); }
    // Whether every block ends in the page's own kind of line end: no join of a held line.
    bool linesAlike() const { return m_map.alike(); }
    // Whether a block continues the line of the block before it: a later part of a held line.
    bool continuesLine(int blockNumber) const { return m_map.continuesLine(blockNumber); }
    // Whether a join of a held line stands at position: both its sides are one place of the
    // text.
    bool isJoin(WidgetPosition position) const { return m_map.isJoin(position); }
    // Length of the whole text without building it.
    qint64 textLength() const { return m_map.textLength(); }

    // The caret and the selection, kept by the view that shows the page (see setCaret).
    QTextCursor textCursor() const;
    void setTextCursor(const QTextCursor &cursor);
    // Hands the caret to a view (null: the page keeps it itself again).
    void setCaret(PageCaret *caret);
    // Gives the view that shows the page the keyboard focus; nothing without a view.
    void focus();

    qint64 selectionStart() const;
    // Moves the caret to position, collapsing the selection.
    void setSelectionStart(qint64 position);
    qint64 selectionLength() const;
    // Selects length characters from the selection start.
    void setSelectionLength(qint64 length);
    QString selectedText() const;
    // Replaces the selection (or inserts at the caret) in the insertion colour; CR LF, LF
    // and CR in the new text all break lines, each with the page's own kind of line end. The
    // caret ends after the new text.
    void setSelectedText(const QString &text);
    // Replaces the selection with document text as selectedText() gave it: every line end
    // keeps its own kind, so that what is put back is what was taken.
    void restoreSelectedText(const QString &text);
    // setSelectedText without a change notification of its own, for an operation under way.
    // keepEnds: every line end keeps its kind instead of taking the page's own. Only CR and LF
    // end lines: U+2028, U+2029 and every other character are kept as they are, but for a
    // lone surrogate, which is no character and comes in as U+FFFD unless it is one of the
    // kept bytes of a UTF-8 page (U+DC80 to U+DCFF).
    void insertPlain(const QString &text, bool keepEnds = false);

    // With a selection, recolours it; with none, sets the insertion colour.
    void setSelectionColour(Colour colour);
    // The colour that the next inserted or typed text takes, wherever the caret goes.
    Colour insertionColour() const { return m_insertionColour; }
    void setInsertionColour(Colour colour) { m_insertionColour = colour; }
    // Whether the next inserted text is bold (the only character attribute besides colour).
    bool insertionBold() const { return m_insertionBold; }
    void setInsertionBold(bool bold) { m_insertionBold = bold; }

    // Characters and attributes at document positions (a CR LF gives '\r' then '\n').
    QChar characterAt(qint64 position) const;
    // The last c from from to before to, or -1; read line by line back from to's line, each
    // line only as far as needed. c is no line end.
    qint64 lastIndexOf(QChar c, qint64 from, qint64 to) const;
    // Copies only the characters asked for, however long their line.
    QString textRange(qint64 start, qint64 length) const;
    Colour colourAt(qint64 position) const;
    bool boldAt(qint64 position) const;
    // The colour the character at position is painted in.
    QColor characterColour(qint64 position) const;

    // Paints many stretches in one batch: no change notification, one repaint. The spans
    // must be in ascending order and must not overlap.
    void applyColours(const std::vector<ColourSpan> &spans);
    // Paints stretches handed one at a time, as applyColours does a list of them, so that a
    // whole page's list is never gathered. One repaint when it ends.
    class Painter
    {
    public:
        explicit Painter(PageText &page);
        ~Painter();
        Painter(const Painter &) = delete;
        Painter &operator=(const Painter &) = delete;
        // After every stretch before it, apart from them.
        void paint(const ColourSpan &span);

    private:
        // Moves on to the block holding position, and gives its widget position.
        WidgetPosition widgetPosition(qint64 position);
        void flush();

        PageText &m_page;
        // The block reached, its number, its widget position and its first character's.
        QTextBlock m_block;
        int m_firstNumber = -1;
        int m_number = 0;
        qint64 m_widgetStart = 0;
        qint64 m_start = 0;
        // Each line is rewritten once, with all the stretches that fall on it.
        std::vector<ColourRuns::Recolouring> m_parts;
        QTextBlock m_partsBlock;
        int m_partsNumber = -1;
    };
    // The colours and boldness of a line's characters, as its layout takes them.
    QList<QTextLayout::FormatRange> lineFormats(const QTextBlock &block) const
    {
        return m_colours.lineFormats(block);
    }

    // A cursor of the document that selects from..to (page positions), for marks.
    QTextCursor cursorOver(qint64 from, qint64 to) const;
    // The page position where a cursor of the document (its selection) starts.
    qint64 positionOf(const QTextCursor &cursor) const;

    // Conversions between page positions and the document's own positions.
    WidgetPosition toWidgetPosition(qint64 position) const { return m_map.toWidget(position); }
    qint64 fromWidgetPosition(WidgetPosition position) const { return m_map.fromWidget(position); }
    // The place a caret at position takes on the side of the joins there from which a deletion
    // forward (or backward) takes a character of the text instead of a join.
    WidgetPosition pastJoins(WidgetPosition position, bool forward) const;

    // Holds change notifications back until the outermost operation ends, then raises one.
    class Operation
    {
    public:
        explicit Operation(PageText &page);
        ~Operation();
        Operation(const Operation &) = delete;
        Operation &operator=(const Operation &) = delete;

    private:
        PageText &m_page;
    };

signals:
    // Fires once after every change of the text, never for a change of colour only.
    void changed();
    // Fires for each edit of the text, as it happens, in document positions: from start,
    // removed characters were replaced by added ones (a whole new text gives the stretch
    // between what the old and new texts share at both ends).
    void textEdited(qint64 start, qint64 removed, qint64 added);
    // Colours changed on lines not laid out again at once: a view repaints what it shows.
    void recoloured();
    // A whole new text of lineCount lines is about to replace the page: a view sizes what
    // depends on the count now, while laying the page out again costs nothing.
    void linesComing(int lineCount);

private:
    void onContentsChange(int position, int removed, int added);
    // The widget position a caret at position stands at.
    WidgetPosition caretPlace(qint64 position) const;
    // Document text (as the document or a cursor gives it, from the start of a line or inside
    // block firstBlock) back to page text; breaksHeld, when given, learns how many breaks
    // raw holds; before is the unit the document holds before raw (0: none).
    QString fromWidgetText(QStringView raw, int firstBlock, qsizetype *breaksHeld = nullptr,
                           char16_t before = 0) const;
    // The unit the document holds before a position (0 at the start), which tells a stand-in
    // from the second half of a surrogate pair.
    char16_t unitBefore(WidgetPosition position) const;

    QTextDocument *m_document = nullptr;
    LineMap m_map;
    ColourRuns m_colours;
    PageCaret *m_caret = nullptr;
    // The caret while no view holds it.
    QTextCursor m_cursor;
    Colour m_insertionColour = colours::Black;
    bool m_insertionBold = false;
    int m_operationDepth = 0;
    bool m_textChanged = false;
    // The block count before the edit being reported, to tell how many line breaks it removed.
    int m_blockCount = 1;
    // The kinds of the line ends an insertion of the page's own is about to add, in order.
    std::vector<LineEnd> m_pendingEnds;
    bool m_replacingText = false;
};

} // namespace zendral
