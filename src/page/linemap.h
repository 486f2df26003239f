#pragma once

#include <QString>

#include <compare>
#include <vector>

class QTextDocument;

namespace zendral {

// The kinds of line end a page may hold; None joins the blocks of a held long line.
enum class LineEnd : quint8 { CrLf, Lf, Cr, None };

// The characters of a line end of that kind.
QString lineEndText(LineEnd end);
// What a break of that kind adds to a position beyond the document's one separator character.
qint64 shiftOf(LineEnd end);

// Lines of real pages, long paragraphs and most minified ones included, are shorter than
// HeldLineLimit and stay one row. A longer line is cut into parts short enough that a screen
// full of them is shaped well within a frame's time (about half a microsecond per character on
// screen, every view repaint).
constexpr qint64 HeldLineLimit = 4096;
constexpr qint64 HeldPartLength = 256;

// A position in the document a view shows, where every line end and every join of a held line
// is one character. The page's own positions (qint64) count a line end as the characters it
// holds: the two are kept apart by type, so that one cannot be taken for the other.
class WidgetPosition
{
public:
    constexpr explicit WidgetPosition(int value) : m_value(value) {}
    constexpr int value() const { return m_value; }
    constexpr auto operator<=>(const WidgetPosition &) const = default;

private:
    int m_value;
};

// The map of a page's line ends and positions. Every line end (CR LF, a lone LF or a lone CR)
// ends one of the document's blocks, and each line keeps the kind of end it was read or typed
// with. A line longer than HeldLineLimit characters is held as blocks of HeldPartLength joined
// by breaks that stand for no character: the widget lays a whole block out again on every
// keystroke, and shapes every block on screen whole on every repaint, however little of it
// shows. A page position is 0-based and counts a line end as the characters it holds: two for
// CR LF, one for a lone LF or CR, none for such a join. A page whose lines all end alike maps
// positions with no table; a page that mixes them, or holds a long line, keeps a table of what
// each block's break adds to the widget's count, rebuilt lazily from the first line an edit
// touched. Conversions go through the document's block tree: none walks the whole text.
class LineMap
{
public:
    explicit LineMap(const QTextDocument &document) : m_document(document) {}

    // The kind of line end that Enter and every inserted line break take.
    LineEnd pageEnd() const { return m_pageEnd; }
    // The line end of a block (the last block has none: its answer means nothing).
    LineEnd endOf(int blockNumber) const
    {
        return m_ends.empty() ? m_pageEnd : m_ends[size_t(blockNumber)];
    }
    // Whether every block ends in the page's own kind of line end: no join of a held line.
    bool alike() const { return m_ends.empty(); }
    // One end per block while the page mixes kinds; empty while all are the page's own.
    const std::vector<LineEnd> &ends() const { return m_ends; }
    // Whether a block continues the line of the block before it: a later part of a held line.
    bool continuesLine(int blockNumber) const
    {
        return blockNumber > 0 && !m_ends.empty() &&
               m_ends[size_t(blockNumber - 1)] == LineEnd::None;
    }
    // Whether a join of a held line stands at position: both its sides are one place of the
    // text.
    bool isJoin(WidgetPosition position) const;
    // The place a caret at position takes on the side of the joins there from which a deletion
    // forward (or backward) takes a character of the text instead of a join.
    WidgetPosition pastJoins(WidgetPosition position, bool forward) const;

    // The line of the text (0-based) that a block shows a part of, and the first block of a
    // line: blocks and lines differ once a long line is held in parts.
    int lineOfBlock(int blockNumber) const;
    int firstBlockOfLine(int line) const;
    // The page position of a block's start.
    qint64 blockStart(int blockNumber) const;
    // What a position adds to the widget's own position inside blockNumber: one for each CR LF
    // before it, minus one for each join of a held line.
    qint64 crLfBefore(int blockNumber) const;
    // Length of the whole text without building it.
    qint64 textLength() const;
    // A page position between the CR and the LF of a break, or past the end, maps onto the
    // end of its line.
    WidgetPosition toWidget(qint64 position) const;
    qint64 fromWidget(WidgetPosition position) const;

    // A new text's breaks, in order; the first that is no join decides the page's own kind of
    // line end (CR LF when none).
    void reset(std::vector<LineEnd> ends);
    // An edit from block first took breaksRemoved breaks away and put newEnds in their place,
    // in a document of oldBlockCount blocks before it. Gives what the breaks removed added to
    // positions.
    qint64 replaceEnds(int first, int breaksRemoved, const std::vector<LineEnd> &newEnds,
                       int oldBlockCount);

private:
    const QTextDocument &m_document;
    LineEnd m_pageEnd = LineEnd::CrLf;
    // One line end per block while the page mixes kinds; empty while every line ends in
    // m_pageEnd, the common case that needs no table.
    std::vector<LineEnd> m_ends;
    // What crLfBefore gives, and the joins before each block, valid for the first
    // m_crLfValid blocks.
    mutable std::vector<qint64> m_crLfCounts;
    mutable std::vector<int> m_joinCounts;
    mutable size_t m_crLfValid = 0;
};

} // namespace zendral
