// The view's painting beside the text: the gutter of line numbers and the caret's line.
#include "editingsurface.h"

#include <QPaintEvent>
#include <QPainter>
#include <QTextBlock>
#include <QTextLayout>

namespace zendral {

// The strip left of the text that shows each line's number.
class EditingSurface::LineNumberGutter : public QWidget
{
public:
    explicit LineNumberGutter(EditingSurface &surface) : QWidget(&surface), m_surface(surface) {}

protected:
    void paintEvent(QPaintEvent *event) override { m_surface.paintGutter(event); }

private:
    EditingSurface &m_surface;
};

void EditingSurface::setUpGutter()
{
    m_gutter = new LineNumberGutter(*this);
    m_gutter->setObjectName(QStringLiteral("numeroslinea"));
    // It paints every pixel it is asked for: the widgets under it are not painted first, at
    // every keystroke, for nothing.
    m_gutter->setAttribute(Qt::WA_OpaquePaintEvent);
    // Only the lines on screen are repainted: the widget reports what it redraws and scrolls.
    connect(this, &QPlainTextEdit::blockCountChanged, this, &EditingSurface::updateGutterWidth);
    // Widened before a new text's lines are in, while the page's lines are still the old ones
    // (Qt lays them all out again); narrowed after, over the new ones, fewer than the old.
    connect(m_page, &PageText::linesComing, this, [this](int lineCount) {
        if (gutterWidth(lineCount) > m_appliedGutterWidth)
            fitGutter(lineCount);
    });
    connect(this, &QPlainTextEdit::updateRequest, this, &EditingSurface::updateGutter);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &EditingSurface::caretMoved);
    updateGutterWidth();
}

QColor EditingSurface::currentLineColour()
{
    return QColor(255, 250, 205);
}

int EditingSurface::gutterWidth(int lineCount) const
{
    if (!m_lineNumbersShown)
        return 0;
    int digits = 3;
    for (int lines = lineCount; lines >= 1000; lines /= 10)
        ++digits;
    return 10 + fontMetrics().horizontalAdvance(u'9') * digits;
}

void EditingSurface::updateGutterWidth()
{
    fitGutter(m_page->lineOfBlock(blockCount() - 1) + 1);
}

void EditingSurface::fitGutter(int lineCount)
{
    const int width = gutterWidth(lineCount);
    // Changing the margins lays the view out again: only when the width really changes.
    if (width == m_appliedGutterWidth)
        return;
    m_appliedGutterWidth = width;
    setViewportMargins(width, 0, 0, 0);
    placeGutter();
    m_gutter->setVisible(m_lineNumbersShown);
}

void EditingSurface::updateGutter(const QRect &rect, int dy)
{
    if (!m_lineNumbersShown)
        return;
    if (dy != 0) {
        m_gutter->scroll(0, dy);
        return;
    }
    // A strip of one line while the lines stay as many (a key typed along a line, the caret's
    // blink) shows the same numbers: lines come and go only with a repaint of all below them.
    const bool oneLine = rect.height() < 2 * blockBoundingRect(firstVisibleBlock()).height();
    if (oneLine && blockCount() == m_numberedBlocks)
        return;
    m_numberedBlocks = blockCount();
    m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
}

void EditingSurface::paintGutter(QPaintEvent *event)
{
    QPainter painter(m_gutter);
    painter.fillRect(event->rect(), QColor(240, 240, 240));
    painter.setPen(QColor(128, 128, 128));
    painter.setFont(font());
    const int right = m_gutter->width() - 5;
    const QRect area = event->rect();
    QTextBlock block = firstVisibleBlock();
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid() && top <= area.bottom()) {
        const qreal bottom = top + blockBoundingRect(block).height();
        const QTextLayout *layout = block.layout();
        // A wrapped or held line has its number once, beside its first part.
        const int number = block.blockNumber();
        if (block.isVisible() && bottom >= area.top() && layout->lineCount() > 0 &&
            !m_page->continuesLine(number)) {
            const QTextLine line = layout->lineAt(0);
            const QString digits = QString::number(m_page->lineOfBlock(number) + 1);
            painter.drawText(QRectF(0, top + line.y(), right, line.height()),
                             Qt::AlignRight | Qt::AlignVCenter, digits);
        }
        block = block.next();
        top = bottom;
    }
}

void EditingSurface::setLineNumbersShown(bool shown)
{
    m_lineNumbersShown = shown;
    updateGutterWidth();
}

void EditingSurface::setCurrentLineHighlighted(bool highlighted)
{
    m_currentLineHighlighted = highlighted;
    viewport()->update();
}

void EditingSurface::caretMoved()
{
    if (!m_currentLineHighlighted)
        return;
    // Moving along a line changes nothing painted; moving to another repaints the screen once.
    const QTextBlock block = textCursor().block();
    if (block.blockNumber() != m_caretBlock) {
        m_caretBlock = block.blockNumber();
        viewport()->update();
    }
}

QRectF EditingSurface::caretLineRect() const
{
    return blockBoundingGeometry(textCursor().block()).translated(contentOffset());
}

void EditingSurface::paintEvent(QPaintEvent *event)
{
    if (m_currentLineHighlighted) {
        QRectF line = caretLineRect();
        line.setLeft(0);
        line.setRight(viewport()->width());
        if (line.intersects(event->rect())) {
            // Painted under the text, so that the selection and the caret stay on top.
            QPainter painter(viewport());
            painter.fillRect(line, currentLineColour());
        }
    }
    QPlainTextEdit::paintEvent(event);
}

void EditingSurface::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    if (m_gutter)
        placeGutter();
}

void EditingSurface::placeGutter()
{
    // Beside the lines only: reaching down beside the horizontal scroll bar, it would be
    // repainted with the bar, at every key that widens the widest line.
    const QRect lines = viewport()->geometry();
    m_gutter->setGeometry(contentsRect().left(), lines.top(), m_appliedGutterWidth, lines.height());
}

void EditingSurface::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    // A zoom changes the width of the digits.
    if (event->type() == QEvent::FontChange && m_gutter)
        updateGutterWidth();
}

} // namespace zendral
