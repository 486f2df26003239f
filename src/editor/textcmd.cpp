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
    m_control->setSelectedText(m_oldText);
}

} // namespace zendral
