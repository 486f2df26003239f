#include "pagetext.h"

#include <QTextDocument>

#include <algorithm>

namespace zendral {

void PageText::applyColours(const std::vector<ColourSpan> &spans)
{
    Painter painter(*this);
    for (const ColourSpan &span : spans)
        painter.paint(span);
}

PageText::Painter::Painter(PageText &page) : m_page(page) {}

void PageText::Painter::paint(const ColourSpan &span)
{
    if (span.length <= 0)
        return;
    if (m_firstNumber < 0) {
        m_block = m_page.document()->findBlock(m_page.toWidgetPosition(span.start).value());
        m_firstNumber = m_number = m_block.blockNumber();
        m_widgetStart = m_block.position();
        m_start = m_page.m_map.blockStart(m_number);
    }
    const qint64 from = widgetPosition(span.start).value();
    QTextBlock line = m_block;
    int lineNumber = m_number;
    qint64 lineStart = m_widgetStart;
    const qint64 to = widgetPosition(span.start + span.length).value();
    for (;;) {
        if (lineNumber != m_partsNumber) {
            flush();
            m_partsBlock = line;
            m_partsNumber = lineNumber;
        }
        const qint64 length = line.length();
        const qint64 partFrom = std::max(from, lineStart) - lineStart;
        const qint64 partTo = std::min(to, lineStart + length) - lineStart;
        if (partTo > partFrom)
            m_parts.push_back({partFrom, partTo, span.colour});
        if (lineNumber == m_number)
            break;
        lineStart += length;
        line = line.next();
        ++lineNumber;
    }
}

WidgetPosition PageText::Painter::widgetPosition(qint64 position)
{
    // Counted along as the blocks go by: asking a block for its number or position searches
    // the block tree, on every line of a page.
    while (m_block.next().isValid()) {
        const qint64 next = m_start + m_block.length() + shiftOf(m_page.lineEndOf(m_number));
        if (next > position)
            break;
        m_widgetStart += m_block.length();
        m_start = next;
        m_block = m_block.next();
        ++m_number;
    }
    return WidgetPosition(
        int(m_widgetStart + std::min<qint64>(position - m_start, m_block.length() - 1)));
}

void PageText::Painter::flush()
{
    if (!m_parts.empty())
        m_page.m_colours.recolourLine(m_partsBlock, m_partsNumber, m_parts);
    m_parts.clear();
}

PageText::Painter::~Painter()
{
    if (m_firstNumber < 0)
        return;
    const bool oneLine = m_partsBlock.isValid() && m_partsNumber == m_firstNumber;
    flush();
    // One line (a typed tag) is laid out again at once and repaints alone; after more, only the
    // lines on screen are laid out again, when painted.
    if (oneLine)
        m_page.m_colours.showColours(m_partsBlock);
    else
        emit m_page.recoloured();
}

} // namespace zendral
