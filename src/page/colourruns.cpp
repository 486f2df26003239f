#include "colourruns.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace zendral {

namespace {

constexpr quint32 BoldBit = 1u << 24;

// Appends length characters of the given attributes, joining an equal run before them.
void appendRun(std::vector<ColourRuns::Run> &runs, qint64 length, quint32 attributes)
{
    if (length <= 0)
        return;
    if (!runs.empty() && runs.back().attributes == attributes)
        runs.back().length += qint32(length);
    else
        runs.push_back({qint32(length), attributes});
}

// Appends the runs of characters from to to of a line (no runs: all plain).
void appendPart(std::vector<ColourRuns::Run> &out, const std::vector<ColourRuns::Run> &runs,
                qint64 from, qint64 to)
{
    if (runs.empty()) {
        appendRun(out, to - from, 0);
        return;
    }
    qint64 start = 0;
    for (const ColourRuns::Run &run : runs) {
        const qint64 end = start + run.length;
        if (end > from && start < to)
            appendRun(out, std::min(end, to) - std::max(start, from), run.attributes);
        if (end >= to)
            break;
        start = end;
    }
}

qint64 lengthOf(const std::vector<ColourRuns::Run> &runs)
{
    qint64 length = 0;
    for (const ColourRuns::Run &run : runs)
        length += run.length;
    return length;
}

// A line all plain holds no runs.
void tidy(std::vector<ColourRuns::Run> &runs)
{
    if (runs.size() == 1 && runs.front().attributes == 0)
        runs.clear();
    else
        runs.shrink_to_fit();
}

// Reads a line's runs once from start to end, copying them on.
class RunWalk
{
public:
    RunWalk(const std::vector<ColourRuns::Run> &runs, qint64 length)
        : m_runs(runs), m_length(length)
    {}

    // Appends the characters up to to, each one's attributes passed through change.
    template <typename Change>
    void take(std::vector<ColourRuns::Run> &out, qint64 to, Change change)
    {
        to = std::min(to, m_length);
        while (m_at < to) {
            qint64 runEnd = m_length;
            quint32 attributes = 0;
            if (m_index < m_runs.size()) {
                runEnd = m_runStart + m_runs[m_index].length;
                attributes = m_runs[m_index].attributes;
            }
            const qint64 end = std::min(runEnd, to);
            appendRun(out, end - m_at, change(attributes));
            m_at = end;
            if (m_at == runEnd && m_index < m_runs.size()) {
                m_runStart = runEnd;
                ++m_index;
            }
        }
    }

private:
    const std::vector<ColourRuns::Run> &m_runs;
    qint64 m_length;
    qint64 m_at = 0;
    qint64 m_runStart = 0;
    size_t m_index = 0;
};

} // namespace

quint32 ColourRuns::attributesOf(Colour colour, bool bold)
{
    return (colour & 0xFFFFFF) | (bold ? BoldBit : 0);
}

Colour ColourRuns::colourOf(quint32 attributes)
{
    return attributes & 0xFFFFFF;
}

bool ColourRuns::boldOf(quint32 attributes)
{
    return attributes & BoldBit;
}

void ColourRuns::reset(int blockCount)
{
    m_lines.assign(size_t(blockCount), Line());
}

void ColourRuns::resize(int blockCount)
{
    m_lines.resize(size_t(blockCount));
}

bool ColourRuns::hidden(int blockNumber) const
{
    return size_t(blockNumber) < m_lines.size() && !m_lines[size_t(blockNumber)].shown;
}

quint32 ColourRuns::attributesAt(WidgetPosition position) const
{
    const QTextBlock block = m_document->findBlock(position.value());
    if (!block.isValid() || size_t(block.blockNumber()) >= m_lines.size())
        return 0;
    const std::vector<Run> &runs = m_lines[size_t(block.blockNumber())].runs;
    qint64 offset = position.value() - block.position();
    for (const Run &run : runs) {
        if (offset < run.length)
            return run.attributes;
        offset -= run.length;
    }
    return 0;
}

void ColourRuns::recolourLine(const QTextBlock &block, int number,
                              const std::vector<Recolouring> &parts)
{
    Line &line = m_lines[size_t(number)];
    const qint64 length = block.length();
    RunWalk walk(line.runs, length);
    std::vector<Run> runs;
    const auto same = [](quint32 attributes) { return attributes; };
    for (const Recolouring &part : parts) {
        const qint64 from = std::clamp<qint64>(part.from, 0, length);
        const qint64 to = std::clamp<qint64>(part.to, from, length);
        walk.take(runs, from, same);
        // Colour alone changes: each character keeps its boldness.
        walk.take(runs, to, [&part](quint32 attributes) {
            return attributesOf(part.colour, attributes & BoldBit);
        });
    }
    walk.take(runs, length, same);
    tidy(runs);
    line.runs = std::move(runs);
    line.shown = false;
}

void ColourRuns::recolour(WidgetPosition from, WidgetPosition to, Colour colour)
{
    QTextBlock block = m_document->findBlock(from.value());
    while (block.isValid() && block.position() < to.value()) {
        recolourLine(block, block.blockNumber(),
                     {{from.value() - block.position(), to.value() - block.position(), colour}});
        block = block.next();
    }
}

void ColourRuns::followEdit(int first, int removedLines, int addedLines, qint64 position,
                            qint64 added, quint32 attributes)
{
    const QTextDocument *doc = m_document;
    const int blockCount = doc->blockCount();
    if (m_lines.size() != size_t(blockCount - addedLines + removedLines)) {
        // Never expected: start again plain rather than misplace colours.
        m_lines.assign(size_t(blockCount), Line());
        return;
    }
    const QTextBlock firstBlock = doc->findBlockByNumber(first);
    const QTextBlock lastBlock = doc->findBlockByNumber(first + addedLines);
    const qint64 offset = position - firstBlock.position();
    const qint64 kept = lastBlock.position() + lastBlock.length() - (position + added);
    // The lines touched become one stretch: what was before the edit on its first line, the
    // new characters in the insertion's attributes, what was after it on its last line.
    std::vector<Run> stretch;
    appendPart(stretch, m_lines[size_t(first)].runs, 0, offset);
    appendRun(stretch, added, attributes);
    const std::vector<Run> &tail = m_lines[size_t(first + removedLines)].runs;
    const qint64 tailLength = tail.empty() ? kept : lengthOf(tail);
    appendPart(stretch, tail, tailLength - kept, tailLength);
    std::vector<Line> lines(size_t(addedLines) + 1);
    qint64 start = 0;
    QTextBlock block = firstBlock;
    for (Line &line : lines) {
        const qint64 length = block.length();
        appendPart(line.runs, stretch, start, start + length);
        tidy(line.runs);
        start += length;
        block = block.next();
    }
    // The lines edited are replaced where they stand: only lines added or removed shift the
    // ones after them, so a keystroke costs the same at the top of a long page as at its end.
    const auto at = m_lines.begin() + first;
    const size_t removed = size_t(removedLines) + 1;
    const size_t common = std::min(removed, lines.size());
    std::move(lines.begin(), lines.begin() + common, at);
    if (removed > common)
        m_lines.erase(at + common, at + removed);
    else
        m_lines.insert(at + common, std::make_move_iterator(lines.begin() + common),
                       std::make_move_iterator(lines.end()));
    // A line edited in place is laid out again at once, before the view asks for it.
    if (addedLines == 0)
        showColours(firstBlock);
    if (addedLines == 0 && removedLines == 0) {
        m_oneLineChange = first;
        keepShapes(firstBlock);
    }
}

void ColourRuns::keepShapes(const QTextBlock &block)
{
    // Qt shapes a line again each time the caret is placed or drawn on it unless its layout
    // keeps the shapes; only the line being typed on keeps them, so that a long page costs no
    // more memory for it. Lines added or removed above may leave one other line keeping them
    // until it is typed on again: one line's worth.
    if (m_shapesKept != block.blockNumber()) {
        const QTextBlock previous = m_document->findBlockByNumber(m_shapesKept);
        if (previous.isValid())
            previous.layout()->setCacheEnabled(false);
        m_shapesKept = block.blockNumber();
    }
    block.layout()->setCacheEnabled(true);
}

QList<QTextLayout::FormatRange> ColourRuns::lineFormats(const QTextBlock &block) const
{
    QList<QTextLayout::FormatRange> formats;
    if (size_t(block.blockNumber()) >= m_lines.size())
        return formats;
    const std::vector<Run> &runs = m_lines[size_t(block.blockNumber())].runs;
    const int length = block.length() - 1; // the line end is not laid out
    int start = 0;
    for (const Run &run : runs) {
        if (start >= length)
            break;
        QTextLayout::FormatRange range;
        range.start = start;
        range.length = std::min(run.length, length - start);
        range.format = formatOf(run.attributes);
        formats.append(range);
        start += run.length;
    }
    return formats;
}

const QTextCharFormat &ColourRuns::formatOf(quint32 attributes) const
{
    // Shared rather than built per run: the layout compares, hashes and stores a line's
    // formats on every keystroke, and shared ones it reads once.
    auto format = m_formats.constFind(attributes);
    if (format == m_formats.cend()) {
        QTextCharFormat made;
        made.setForeground(toQColor(attributes & 0xFFFFFF));
        if (attributes & BoldBit)
            made.setFontWeight(QFont::Bold);
        format = m_formats.insert(attributes, made);
    }
    return *format;
}

void ColourRuns::showColours(const QTextBlock &block) const
{
    const size_t number = size_t(block.blockNumber());
    if (number >= m_lines.size())
        return;
    m_lines[number].shown = true;
    // New formats drop the block's lines and mark the block changed; that mark is settled at
    // once, so that it never widens the report of the next edit of the text. It is no text
    // change: the document raises no contentsChange for it.
    QList<QTextLayout::FormatRange> formats = lineFormats(block);
    // Recolouring a typed character most often gives the line the colours it has: laying it
    // out again would then be for nothing.
    if (formats == block.layout()->formats())
        return;
    block.layout()->setFormats(formats);
    // Within an edit the mark joins the edit's own, which may already be known to stay on
    // this line: that stays known.
    const int held = std::exchange(m_oneLineChange, int(number));
    m_document->markContentsDirty(block.position(), block.length());
    m_oneLineChange = held;
}

} // namespace zendral
