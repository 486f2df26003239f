#include "textcmd.h"

#include "editingsurface.h"

namespace zendral {

void TextCmd::Initialize(EditingSurface &control, const QString &newText)
{
    m_control = &control;
    m_newText = newText;
    m_start = control.selectionStart();
    m_oldText = control.selectedText();
}

void TextCmd::Apply()
{
    m_control->setSelectionStart(m_start);
    m_control->setSelectionLength(m_oldText.size());
    m_control->setSelectedText(m_newText);
}

void TextCmd::Undo()
{
    m_control->setSelectionStart(m_start);
    m_control->setSelectionLength(m_newText.size());
    // A lone LF of the overwritten text comes back as the LF it was, not as a line break.
    m_control->restoreSelectedText(m_oldText);
}

bool TextCmd::isInPlace(bool applied) const
{
    const QString &expected = applied ? m_newText : m_oldText;
    return m_start >= 0 && m_start + expected.size() <= m_control->textLength() &&
           m_control->textRange(m_start, expected.size()) == expected;
}

} // namespace zendral
