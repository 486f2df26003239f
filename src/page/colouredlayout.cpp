#include "colouredlayout.h"

#include "colourruns.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <cmath>

namespace zendral {

ColouredLayout::ColouredLayout(QTextDocument *document, const ColourRuns &colours)
    : QPlainTextDocumentLayout(document), m_colours(colours)
{}

QSizeF ColouredLayout::documentSize() const
{
    // The width grows in steps of a few dozen characters: every key typed on the widest line
    // would otherwise change the horizontal scroll bar's range, which repaints the bar.
    constexpr qreal Step = 256;
    QSizeF size = QPlainTextDocumentLayout::documentSize();
    size.setWidth(std::ceil(size.width() / Step) * Step);
    return size;
}

QRectF ColouredLayout::blockBoundingRect(const QTextBlock &block) const
{
    if (block.isValid() && m_colours.hidden(block.blockNumber()))
        m_colours.showColours(block);
    return QPlainTextDocumentLayout::blockBoundingRect(block);
}

void ColouredLayout::documentChanged(int from, int removed, int added)
{
    // New colours are reported as the whole line removed and added again (and, set during an
    // edit, merged with it into a stretch that starts at the line yet keeps the edit's length
    // past it), which the base layout reads as a change reaching over the lines after it: it
    // throws their layouts away and repaints the whole view at each key. A change known to
    // stay on one line is told as that line alone.
    const int line = m_colours.takeOneLineChange();
    const QTextBlock block = document()->findBlock(from);
    if (line >= 0 && block.blockNumber() == line) {
        // At most the line twice over: anything longer is some other change.
        const int end = std::max(from + removed, from + added);
        // New colours have dropped the line's layout, which the base layout would redo
        // twice (once to learn the old height): the count of its lines is the old height.
        if (end <= block.position() + block.length() * 2) {
            const int lines = block.lineCount();
            // Laid out again whatever it holds: an edit that left the colours as they were
            // has not dropped the line's old layout.
            block.layout()->clearLayout();
            ensureBlockLayout(block);
            if (block.lineCount() == lines) {
                emit updateBlock(block);
                return;
            }
        }
    }
    QPlainTextDocumentLayout::documentChanged(from, removed, added);
}

} // namespace zendral
