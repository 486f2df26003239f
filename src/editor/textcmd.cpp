#include "textcmd.h"

#include "pagetext.h"

namespace zendral {

void TextCmd::Initialize(PageText &page, const QString &newText)
{
    m_page = &page;
    m_newText = newText;
    m_start = page.selectionStart();
    m_oldText = page.selectedText();
}

void TextCmd::Apply()
{
    // A typed key finds the selection where it is: placing it again would have the view
    // place its caret and bring it into sight twice more per keystroke, for nothing.
    if (m_page->selectionStart() != m_start || m_page->selectionLength() != m_oldText.size()) {
        m_page->setSelectionStart(m_start);
        m_page->setSelectionLength(m_oldText.size());
    }
    m_page->setSelectedText(m_newText);
}

void TextCmd::Undo()
{
    m_page->setSelectionStart(m_start);
    m_page->setSelectionLength(m_newText.size());
    // A lone LF of the overwritten text comes back as the LF it was, not as a line break.
    m_page->restoreSelectedText(m_oldText);
}

bool TextCmd::isInPlace(bool applied) const
{
    const QString &expected = applied ? m_newText : m_oldText;
    return m_start >= 0 && m_start + expected.size() <= m_page->textLength() &&
           m_page->textRange(m_start, expected.size()) == expected;
}

} // namespace zendral
