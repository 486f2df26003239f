#pragma once

#include "colour.h"
#include "linemap.h"

#include <QHash>
#include <QList>
#include <QTextCharFormat>
#include <QTextLayout>

#include <utility>
#include <vector>

class QTextBlock;
class QTextDocument;

namespace zendral {

// A stretch of text to paint in one colour, in page positions.
struct ColourSpan
{
    qint64 start = 0;
    qint64 length = 0;
    Colour colour = colours::Black;
};

// A page's colours and boldness, held apart from the document so that they never split its
// text into fragments: runs per line (per block of the document), handed to a line's layout
// when it is laid out.
class ColourRuns
{
public:
    // Characters of one colour and boldness side by side on a line; attributes hold the
    // colour in their low 24 bits and boldness above.
    struct Run
    {
        qint32 length = 0;
        quint32 attributes = 0;
    };
    // A stretch of one line to paint, in offsets from the line's start.
    struct Recolouring
    {
        qint64 from;
        qint64 to;
        Colour colour;
    };

    explicit ColourRuns(QTextDocument &document) : m_document(&document) {}

    static quint32 attributesOf(Colour colour, bool bold);
    static Colour colourOf(quint32 attributes);
    static bool boldOf(quint32 attributes);

    // Every line plain, for a new text of blockCount lines.
    void reset(int blockCount);
    // As many lines as the document holds, should it hold others than announced.
    void resize(int blockCount);
    quint32 attributesAt(WidgetPosition position) const;
    // Paints stretches of one line (block, whose number is given), in ascending order, not
    // overlapping.
    void recolourLine(const QTextBlock &block, int number, const std::vector<Recolouring> &parts);
    void recolour(WidgetPosition from, WidgetPosition to, Colour colour);
    // Moves the colours along with an edit of lines first to first + removedLines, which became
    // first to first + addedLines; added characters of the given attributes were inserted at
    // (document) position.
    void followEdit(int first, int removedLines, int addedLines, qint64 position, qint64 added,
                    quint32 attributes);
    // The colours and boldness of a line's characters, as its layout takes them.
    QList<QTextLayout::FormatRange> lineFormats(const QTextBlock &block) const;
    // Hands a line's colours to its layout.
    void showColours(const QTextBlock &block) const;
    // Whether a line's layout lacks its colours.
    bool hidden(int blockNumber) const;
    // The one line whose change the layout is about to be told of, while nothing else changed;
    // -1 when unknown. Told once.
    int takeOneLineChange() const { return std::exchange(m_oneLineChange, -1); }

private:
    struct Line
    {
        std::vector<Run> runs; // covering the line and its end; none when all plain
        bool shown = false;    // whether the line's layout has these runs
    };
    // The one format of a colour and boldness that every line's layout shares.
    const QTextCharFormat &formatOf(quint32 attributes) const;
    void keepShapes(const QTextBlock &block);

    QTextDocument *m_document;
    // One per block.
    mutable std::vector<Line> m_lines{1};
    mutable int m_oneLineChange = -1;
    // The line whose layout keeps its shapes.
    int m_shapesKept = -1;
    // By attributes: a few colours serve a whole page.
    mutable QHash<quint32, QTextCharFormat> m_formats;
};

} // namespace zendral
