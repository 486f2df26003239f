#include "textcmd.h"

#include "colouring.h"
#include "pagetext.h"

#include <utility>

namespace zendral {

namespace {

// How far around a restored stretch its tags are looked for: no tag of a real page is longer.
constexpr qint64 TagReach = 65536;

// The nearest "<" or ">" before position (or from it on, forwards), looked for at most TagReach
// characters away: -1 for none. Read in growing pieces, as the nearest is almost always close:
// every undo colours its stretch, and reading the whole reach cost a millisecond each time.
qint64 nearestAngle(const PageText &page, qint64 position, bool forwards)
{
    const qint64 limit =
        forwards ? std::min(TagReach, page.textLength() - position) : std::min(TagReach, position);
    for (qint64 reach = 256, read = 0; read < limit; reach *= 8) {
        const qint64 length = std::min(reach, limit) - read;
        const qint64 start = forwards ? position + read : position - read - length;
        const QString piece = page.textRange(start, length);
        for (qsizetype i = 0; i < piece.size(); ++i) {
            const qsizetype at = forwards ? i : piece.size() - 1 - i;
            if (piece.at(at) == u'<' || piece.at(at) == u'>')
                return start + at;
        }
        read += length;
    }
    return -1;
}

// Colours the stretch as the whole-text colouring would: its text black and the inside of
// every tag that reaches into it in its class's colour.
void colourStretch(PageText &page, qint64 from, qint64 length)
{
    // A tag still open where the stretch starts is planned from its "<".
    const qint64 open = nearestAngle(page, from, false);
    const qint64 planFrom = open >= 0 && page.characterAt(open) == u'<' ? open : from;
    const qint64 end = from + length;
    const qint64 close = nearestAngle(page, end, true);
    const qint64 planTo = close >= 0 && page.characterAt(close) == u'>' ? close + 1 : end;
    page.applyColours({{from, length, colours::Black}});
    ColouringPlan plan = planColours(page.textRange(planFrom, planTo - planFrom), TablaEtiquetas());
    for (ColourSpan &span : plan.spans)
        span.start += planFrom;
    page.applyColours(plan.spans);
}

} // namespace

void TextCmd::Initialize(PageText &page, const QString &newText)
{
    m_page = &page;
    m_newText = newText;
    m_start = page.selectionStart();
    m_oldText = page.selectedText();
    m_before = {0, m_oldText.size()};
    m_after = {m_newText.size(), 0};
    m_fresh = true;
}

void TextCmd::Initialize(PageText &page, qint64 start, QString oldText, QString newText,
                         StepSelection before, StepSelection after)
{
    m_page = &page;
    m_start = start;
    m_oldText = std::move(oldText);
    m_newText = std::move(newText);
    m_before = before;
    m_after = after;
}

void TextCmd::Apply()
{
    if (std::exchange(m_fresh, false)) {
        // A typed key finds the selection where it is: placing it again would have the view
        // place its caret and bring it into sight twice more per keystroke, for nothing.
        if (m_page->selectionStart() != m_start || m_page->selectionLength() != m_oldText.size()) {
            m_page->setSelectionStart(m_start);
            m_page->setSelectionLength(m_oldText.size());
        }
        m_page->setSelectedText(m_newText);
        return;
    }
    replacePlace(m_oldText.size(), m_newText);
    select(m_after);
}

void TextCmd::Undo()
{
    m_fresh = false;
    replacePlace(m_newText.size(), m_oldText);
    select(m_before);
}

void TextCmd::replacePlace(qint64 placeLength, const QString &text)
{
    PageText::Operation operation(*m_page);
    m_page->setSelectionStart(m_start);
    m_page->setSelectionLength(placeLength);
    // A lone LF of the text comes back as the LF it was, not as a line break of the page's kind.
    m_page->restoreSelectedText(text);
    colourStretch(*m_page, m_start, text.size());
}

void TextCmd::select(StepSelection selection)
{
    m_page->setSelectionStart(m_start + selection.offset);
    if (selection.length > 0)
        m_page->setSelectionLength(selection.length);
}

bool TextCmd::isInPlace(bool applied) const
{
    const QString &expected = applied ? m_newText : m_oldText;
    return m_start >= 0 && m_start + expected.size() <= m_page->textLength() &&
           m_page->textRange(m_start, expected.size()) == expected;
}

} // namespace zendral
