#include "linemap.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace zendral {

QString lineEndText(LineEnd end)
{
    switch (end) {
    case LineEnd::Lf:
        return QStringLiteral("\n");
    case LineEnd::Cr:
        return QStringLiteral("\r");
    case LineEnd::None:
        return QString();
    case LineEnd::CrLf:
        break;
    }
    return QStringLiteral("\r\n");
}

qint64 shiftOf(LineEnd end)
{
    switch (end) {
    case LineEnd::CrLf:
        return 1;
    case LineEnd::None:
        return -1;
    case LineEnd::Lf:
    case LineEnd::Cr:
        break;
    }
    return 0;
}

bool LineMap::isJoin(WidgetPosition position) const
{
    if (m_ends.empty())
        return false;
    const QTextBlock block = m_document.findBlock(position.value());
    if (!block.isValid())
        return false;
    const bool atEnd = position.value() == block.position() + block.length() - 1;
    return (atEnd && block.next().isValid() && endOf(block.blockNumber()) == LineEnd::None) ||
           (position.value() == block.position() && continuesLine(block.blockNumber()));
}

WidgetPosition LineMap::pastJoins(WidgetPosition position, bool forward) const
{
    if (m_ends.empty())
        return position;
    int at = position.value();
    QTextBlock block = m_document.findBlock(at);
    if (forward) {
        while (block.isValid() && at == block.position() + block.length() - 1 &&
               block.next().isValid() && endOf(block.blockNumber()) == LineEnd::None) {
            block = block.next();
            at = block.position();
        }
    } else {
        while (block.isValid() && at == block.position() && continuesLine(block.blockNumber())) {
            block = block.previous();
            at = block.position() + block.length() - 1;
        }
    }
    return WidgetPosition(at);
}

qint64 LineMap::crLfBefore(int blockNumber) const
{
    if (m_ends.empty())
        return m_pageEnd == LineEnd::CrLf ? blockNumber : 0;
    const size_t wanted = size_t(blockNumber) + 1;
    if (m_crLfCounts.size() < m_ends.size() + 1) {
        m_crLfCounts.resize(m_ends.size() + 1);
        m_joinCounts.resize(m_ends.size() + 1);
    }
    if (m_crLfValid == 0) {
        m_crLfCounts[0] = 0;
        m_joinCounts[0] = 0;
        m_crLfValid = 1;
    }
    for (size_t i = m_crLfValid; i < wanted; ++i) {
        m_crLfCounts[i] = m_crLfCounts[i - 1] + shiftOf(m_ends[i - 1]);
        m_joinCounts[i] = m_joinCounts[i - 1] + (m_ends[i - 1] == LineEnd::None);
    }
    m_crLfValid = std::max(m_crLfValid, wanted);
    return m_crLfCounts[size_t(blockNumber)];
}

int LineMap::lineOfBlock(int blockNumber) const
{
    if (m_ends.empty() || blockNumber <= 0)
        return std::max(blockNumber, 0);
    blockNumber = std::min(blockNumber, int(m_ends.size()) - 1);
    crLfBefore(blockNumber);
    return blockNumber - m_joinCounts[size_t(blockNumber)];
}

int LineMap::firstBlockOfLine(int line) const
{
    int low = 0;
    int high = m_document.blockCount() - 1;
    // The first block whose line is at or after line.
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (lineOfBlock(middle) >= line)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

qint64 LineMap::textLength() const
{
    const int lastBlock = m_document.blockCount() - 1;
    return qint64(m_document.characterCount() - 1) + crLfBefore(lastBlock);
}

qint64 LineMap::blockStart(int blockNumber) const
{
    return qint64(m_document.findBlockByNumber(blockNumber).position()) + crLfBefore(blockNumber);
}

WidgetPosition LineMap::toWidget(qint64 position) const
{
    if (position <= 0)
        return WidgetPosition(0);
    // No CR LF before position: the widget counts as the document does.
    if (m_ends.empty() && m_pageEnd != LineEnd::CrLf)
        return WidgetPosition(int(std::min<qint64>(position, m_document.characterCount() - 1)));
    int low = 0;
    int high = m_document.blockCount() - 1;
    // The last block whose start is at or before position.
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (blockStart(middle) <= position)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = m_document.findBlockByNumber(low);
    const qint64 offset = position - blockStart(low);
    const qint64 lineLength = block.length() - 1;
    // Between the CR and the LF of a break, or past the end: the end of the line.
    return WidgetPosition(int(block.position() + std::min(offset, lineLength)));
}

qint64 LineMap::fromWidget(WidgetPosition position) const
{
    if (m_ends.empty() && m_pageEnd != LineEnd::CrLf)
        return position.value();
    const QTextBlock block = m_document.findBlock(position.value());
    return position.value() +
           crLfBefore(block.isValid() ? block.blockNumber() : m_document.blockCount() - 1);
}

void LineMap::reset(std::vector<LineEnd> ends)
{
    const auto firstEnd =
        std::find_if(ends.begin(), ends.end(), [](LineEnd end) { return end != LineEnd::None; });
    m_pageEnd = firstEnd == ends.end() ? LineEnd::CrLf : *firstEnd;
    m_crLfValid = 0;
    if (std::all_of(ends.begin(), ends.end(), [this](LineEnd end) { return end == m_pageEnd; })) {
        m_ends.clear();
        m_ends.shrink_to_fit();
        m_crLfCounts.clear();
        m_crLfCounts.shrink_to_fit();
        m_joinCounts.clear();
        m_joinCounts.shrink_to_fit();
    } else {
        m_ends = std::move(ends);
        m_ends.push_back(m_pageEnd); // the last block's, which ends nothing
    }
}

qint64 LineMap::replaceEnds(int first, int breaksRemoved, const std::vector<LineEnd> &newEnds,
                            int oldBlockCount)
{
    const bool sameKind = std::all_of(newEnds.begin(), newEnds.end(),
                                      [this](LineEnd end) { return end == m_pageEnd; });
    if (m_ends.empty() && sameKind)
        return m_pageEnd == LineEnd::CrLf ? breaksRemoved : 0;
    // The removed blocks' ends go, the last of them keeping the end of the block the removal
    // reached (as Qt keeps that block's data); the new ends come in their place.
    if (m_ends.empty())
        m_ends.assign(size_t(oldBlockCount), m_pageEnd);
    const auto from = m_ends.begin() + first;
    qint64 removedShift = 0;
    for (auto end = from; end != from + breaksRemoved; ++end)
        removedShift += shiftOf(*end);
    m_ends.erase(from, from + breaksRemoved);
    m_ends.insert(m_ends.begin() + first, newEnds.begin(), newEnds.end());
    // The table follows the ends alone: a keystroke inside a line leaves it valid.
    if (breaksRemoved > 0 || !newEnds.empty())
        m_crLfValid = std::min(m_crLfValid, size_t(first) + 1);
    return removedShift;
}

} // namespace zendral
