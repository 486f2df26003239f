#pragma once

#include <QPlainTextDocumentLayout>

namespace zendral {

class ColourRuns;

// The document's layout, which gives each line its colours just before laying it out, and
// keeps an edit that stays on one line from laying out the lines after it.
class ColouredLayout : public QPlainTextDocumentLayout
{
public:
    ColouredLayout(QTextDocument *document, const ColourRuns &colours);

    QSizeF documentSize() const override;
    QRectF blockBoundingRect(const QTextBlock &block) const override;

protected:
    void documentChanged(int from, int removed, int added) override;

private:
    const ColourRuns &m_colours;
};

} // namespace zendral
