#include "textcmd.h"

#include "editingsurface.h"

namespace zendral {

void TextCmd::Initialize(EditingSurface &control, const QString &newText)
{
    m_control = &control;
    m_newText = newText;
    m_start = control.selectionStart();
    m_length = control.selectionLength();
    m_oldText = control.selectedText();
}

void TextCmd::Apply()
{
    m_control->setSelectionStart(m_start);
    m_control->setSelectionLength(m_length);
    m_control->setSelectedText(m_newText);
}

void TextCmd::Undo()
{
    m_control->setSelectionStart(m_start);
    m_control->setSelectionLength(m_newText.size());
    // A lone LF of the overwritten text comes back as the LF it was, not as a line break.
    m_control->restoreSelectedText(m_oldText);
}

} // namespace zendral
