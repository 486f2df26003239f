#pragma once

#include "colour.h"

#include <QColor>
#include <QHash>
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

// A stretch of text to paint in one colour, in document positions.
struct ColourSpan
{
    qint64 start = 0;
    qint64 length = 0;
    Colour colour = colours::Black;
};

// Where a page's caret and selection live while a view shows the page: the view's own cursor,
// which the user moves. A page no view shows keeps its caret itself.
class PageCaret
{
public:
    virtual ~PageCaret() = default;
    virtual QTextCursor caretCursor() const = 0;
    virtual void setCaretCursor(const QTextCursor &cursor) = 0;
    // Gives the place of the caret the keyboard focus.
    virtual void focusCaret() = 0;
};

// The page: its text, line ends, colours, caret and selection, and the one change notification,
// apart from any view. Engines work on it, so that they need no widget.
//
// Every line end (CR LF, a lone LF or a lone CR) ends one of the document's blocks, and each
// line keeps the kind of end it was read or typed with. A line longer than HeldLineLimit
// characters is held as blocks of HeldPartLength joined by breaks that stand for no character:
// the widget lays a whole block out again on every keystroke, and shapes every block on screen
// whole on every repaint, however little of it shows. Every position it takes or gives
// is 0-based and counts a line end as the characters it holds: two for CR LF, one for a lone LF
// or CR, none for such a join. A page whose lines all end alike maps positions with no table;
// a page that mixes them, or holds a long line, keeps a table of what each block's break adds
// to the widget's count, rebuilt lazily from the first line an edit touched.
// Conversions go through the document's block tree, so no operation but text() and setText()
// walks the whole text.
class PageText : public QObject
{
    Q_OBJECT

public:
    explicit PageText(QObject *parent = nullptr);

    // The document a view shows; its blocks are the page's lines.
    QTextDocument *document() const { return m_document; }

    // The kinds of line end a page may hold; None joins the blocks of a held long line.
    enum class LineEnd : quint8 { CrLf, Lf, Cr, None };
    // Lines of real pages, long paragraphs and most minified ones included, are shorter than
    // HeldLineLimit and stay one row. A longer line is cut into parts short enough that a
    // screen full of them is shaped well within a frame's time (about half a microsecond per
    // character on screen, every view repaint).
    static constexpr qint64 HeldLineLimit = 4096;
    static constexpr qint64 HeldPartLength = 256;

    // The whole text, every line end as it was read or typed.
    QString text() const;
    // Hands the whole text to take in pieces of about a megabyte, each ending at the end of a
    // line or of a held line's block, without building it whole; stops when take returns false.
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
    LineEnd pageLineEnd() const { return m_pageEnd; }
    // The characters of a line end of that kind.
    static QString lineEndText(LineEnd end);
    // The line of the text (0-based) that a block shows a part of, and the first block of a
    // line: blocks and lines differ once a long line is held in parts.
    int lineOfBlock(int blockNumber) const;
    int firstBlockOfLine(int line) const;
    // Where a line (0-based) starts; past the last line, where the last one starts.
    qint64 lineStart(int line) const;
    // The line end of a block (the last block has none: its answer means nothing).
    LineEnd lineEndOf(int blockNumber) const
    {
        return m_ends.empty() ? m_pageEnd : m_ends[size_t(blockNumber)];
    }
    // Whether every block ends in the page's own kind of line end: no join of a held line.
    bool linesAlike() const { return m_ends.empty(); }
    // Length of the whole text without building it.
    qint64 textLength() const;

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
private:
    // A stretch of one line to paint, in offsets from the line's start.
    struct Recolouring
    {
        qint64 from;
        qint64 to;
        Colour colour;
    };

public:
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
        qint64 widgetPosition(qint64 position);
        void flush();

        PageText &m_page;
        // The block reached, its number, its widget position and its first character's.
        QTextBlock m_block;
        int m_firstNumber = -1;
        int m_number = 0;
        qint64 m_widgetStart = 0;
        qint64 m_start = 0;
        // Each line is rewritten once, with all the stretches that fall on it.
        std::vector<Recolouring> m_parts;
        QTextBlock m_partsBlock;
        int m_partsNumber = -1;
    };
    // The colours and boldness of a line's characters, as its layout takes them.
    QList<QTextLayout::FormatRange> lineFormats(const QTextBlock &block) const;

    // Characters of one colour and boldness side by side on a line; attributes hold the
    // colour in their low 24 bits and boldness above.
    struct Run
    {
        qint32 length = 0;
        quint32 attributes = 0;
    };

    // A cursor of the document that selects from..to (page positions), for marks.
    QTextCursor cursorOver(qint64 from, qint64 to) const;
    // The page position where a cursor of the document (its selection) starts.
    qint64 positionOf(const QTextCursor &cursor) const;

    // Conversions between document positions and the document's own positions.
    qint64 toWidgetPosition(qint64 position) const;
    qint64 fromWidgetPosition(qint64 widgetPosition) const;
    // The widget position a caret at position stands at.
    int caretPlace(qint64 position) const;

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
    qint64 blockStart(int blockNumber) const;
    // What a position adds to the widget's own position inside blockNumber: one for each CR LF
    // before it, minus one for each join of a held line.
    qint64 crLfBefore(int blockNumber) const;
    // Widget text (as the document or a cursor gives it, from the start of a line or inside
    // block firstBlock) back to document text; breaksHeld, when given, learns how many breaks
    // raw holds; before is the unit the widget holds before raw (0: none).
    QString fromWidgetText(QStringView raw, int firstBlock, qsizetype *breaksHeld = nullptr,
                           char16_t before = 0) const;
    // The unit the widget holds before a position (0 at the start), which tells a stand-in
    // from the second half of a surrogate pair.
    char16_t unitBefore(int widgetPosition) const;

    // Colours and boldness, held apart from the document so that they never split its text
    // into fragments: runs per line, handed to a line's layout when it is laid out.
    struct Line
    {
        std::vector<Run> runs; // covering the line and its end; none when all plain
        bool shown = false;    // whether the line's layout has these runs
    };
    class ColouredLayout;
    quint32 attributesAt(qint64 widgetPosition) const;
    // Paints stretches of one line (block, whose number is given), in ascending order, not
    // overlapping.
    void recolourLine(const QTextBlock &block, int number, const std::vector<Recolouring> &parts);
    void recolour(qint64 widgetFrom, qint64 widgetTo, Colour colour);
    // Moves the colours along with an edit of lines first to first + removedLines, which became
    // first to first + addedLines; added characters were inserted at position.
    void followEdit(int first, int removedLines, int addedLines, qint64 position, qint64 added);
    void showColours(const QTextBlock &block) const;
    // The one format of a colour and boldness that every line's layout shares.
    const QTextCharFormat &formatOf(quint32 attributes) const;
    void keepShapes(const QTextBlock &block);

    QTextDocument *m_document = nullptr;
    PageCaret *m_caret = nullptr;
    // The caret while no view holds it.
    QTextCursor m_cursor;
    Colour m_insertionColour = colours::Black;
    bool m_insertionBold = false;
    int m_operationDepth = 0;
    bool m_textChanged = false;
    // The block count before the edit being reported, to tell how many line breaks it removed.
    int m_blockCount = 1;
    LineEnd m_pageEnd = LineEnd::CrLf;
    // One line end per block while the page mixes kinds; empty while every line ends in
    // m_pageEnd, the common case that needs no table.
    std::vector<LineEnd> m_ends;
    // What crLfBefore gives, and the joins before each block, valid for the first
    // m_crLfValid blocks.
    mutable std::vector<qint64> m_crLfCounts;
    mutable std::vector<int> m_joinCounts;
    mutable size_t m_crLfValid = 0;
    // The kinds of the line ends an insertion of the page's own is about to add, in order.
    std::vector<LineEnd> m_pendingEnds;
    // One per block.
    mutable std::vector<Line> m_lines{1};
    bool m_replacingText = false;
    // The one line whose change the layout is about to be told of, while nothing else changed;
    // -1 when unknown.
    mutable int m_oneLineChange = -1;
    // The line whose layout keeps its shapes.
    int m_shapesKept = -1;
    // By attributes: a few colours serve a whole page.
    mutable QHash<quint32, QTextCharFormat> m_formats;
};

} // namespace zendral
