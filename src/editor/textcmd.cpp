#include "textcmd.h"

#include "colouring.h"
#include "pagetext.h"

#include <utility>

namespace zendral {

namespace {

// How far around a restored stretch its tags are looked for: no tag of a real page is longer.
constexpr qint64 TagReach = 65536;

// Colours the stretch as the whole-text colouring would: its text black and the inside of
// every tag that reaches into it in its class's colour.
void colourStretch(PageText &page, qint64 from, qint64 length)
{
    const qint64 total = page.textLength();
    const qint64 before = std::max<qint64>(0, from - TagReach);
    const QString head = page.textRange(before, from - before);
    const qsizetype open = head.lastIndexOf(u'<');
    const qsizetype closed = head.lastIndexOf(u'>');
    // A tag still open where the stretch starts is planned from its "<".
    const qint64 planFrom = open > closed ? before + open : from;
    const qint64 end = from + length;
    const QString tail = page.textRange(end, std::min(TagReach, total - end));
    const qsizetype close = tail.indexOf(u'>');
    const qsizetype reopen = tail.indexOf(u'<');
    const qint64 planTo = close >= 0 && (reopen < 0 || close < reopen) ? end + close + 1 : end;
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
