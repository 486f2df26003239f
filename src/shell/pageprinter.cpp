#include "pageprinter.h"

#include "pagetext.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace zendral {

namespace {

const QColor NumberColour(128, 128, 128);

// Walks the page's sheets, heading each and skipping those outside the range asked for.
class Sheets
{
public:
    Sheets(QPrinter &printer, QPainter &painter, const QString &fileName, const QFont &font)
        : m_printer(printer), m_painter(painter), m_fileName(fileName), m_font(font)
    {
        m_area = QRectF(QPointF(0, 0),
                        printer.pageLayout().paintRectPixels(printer.resolution()).size());
        if (printer.printRange() == QPrinter::PageRange) {
            m_first = printer.fromPage();
            m_last = printer.toPage();
        }
    }

    // Starts the next sheet; the y where its text begins.
    qreal next()
    {
        ++m_number;
        if (shown() && m_anyShown)
            m_printer.newPage();
        m_anyShown |= shown();
        const QFontMetricsF metrics(m_font, &m_printer);
        const qreal headerHeight = metrics.height() * 1.5;
        if (shown()) {
            m_painter.setFont(m_font);
            m_painter.setPen(Qt::black);
            const QRectF header(0, 0, m_area.width(), metrics.height());
            m_painter.drawText(header, Qt::AlignLeft | Qt::AlignVCenter, m_fileName);
            m_painter.drawText(header, Qt::AlignRight | Qt::AlignVCenter,
                               QStringLiteral("Página %1").arg(m_number));
            const qreal rule = metrics.height() * 1.2;
            m_painter.drawLine(QPointF(0, rule), QPointF(m_area.width(), rule));
        }
        return headerHeight;
    }
    bool shown() const { return m_number >= m_first && (m_last == 0 || m_number <= m_last); }
    qreal bottom() const { return m_area.height(); }
    qreal width() const { return m_area.width(); }

private:
    QPrinter &m_printer;
    QPainter &m_painter;
    QString m_fileName;
    QFont m_font;
    QRectF m_area;
    int m_number = 0;
    int m_first = 1;
    int m_last = 0;
    bool m_anyShown = false;
};

} // namespace

void printPage(const PageText &page, const QString &fileName, QPrinter &printer)
{
    const QTextDocument &source = *page.document();
    QPainter painter;
    if (!painter.begin(&printer))
        return;
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    Sheets sheets(printer, painter, fileName, font);
    const QFontMetricsF metrics(font, &printer);
    // Each line is numbered once, beside its first part when it wraps.
    const qsizetype lineCount = page.lineOfBlock(source.blockCount() - 1) + 1;
    int digits = 1;
    for (qsizetype lines = lineCount; lines >= 10; lines /= 10)
        ++digits;
    const qreal numberWidth = metrics.horizontalAdvance(u'9') * (digits + 1);
    const qreal textWidth = sheets.width() - numberWidth;

    qreal y = sheets.next();
    int number = 0;
    for (QTextBlock block = source.begin(); block.isValid(); block = block.next()) {
        const QString text = block.text();
        QTextLayout layout(text, font, &printer);
        layout.setFormats(page.lineFormats(block));
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(textWidth);
            line.setPosition(QPointF(0, 0));
        }
        layout.endLayout();
        for (int i = 0; i < layout.lineCount(); ++i) {
            const QTextLine line = layout.lineAt(i);
            if (y + line.height() > sheets.bottom())
                y = sheets.next();
            // The blocks of a held long line go on with its number.
            const int lineNumber = page.lineOfBlock(block.blockNumber()) + 1;
            const bool startsLine = line.textStart() == 0 && lineNumber != number;
            if (startsLine)
                number = lineNumber;
            if (sheets.shown()) {
                if (startsLine) {
                    painter.setFont(font);
                    painter.setPen(NumberColour);
                    painter.drawText(
                        QRectF(0, y, numberWidth - metrics.horizontalAdvance(u' '), line.height()),
                        Qt::AlignRight | Qt::AlignVCenter, QString::number(number));
                }
                line.draw(&painter, QPointF(numberWidth, y));
            }
            y += line.height();
        }
    }
    painter.end();
}

} // namespace zendral
