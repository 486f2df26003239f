#include "editorevents.h"

#include "colouring.h"

namespace zendral {

EditorEvents::EditorEvents(EditingSurface &text1, QStringList table, std::function<void()> refresh)
    : m_text1(text1), m_table(std::move(table)), m_refresh(std::move(refresh))
{}

bool EditorEvents::characterTyped(const QString &character)
{
    m_ultimaTecla = character.toUcs4().value(0);
    if (m_ultimaTecla <= 24)
        return false; // Enter, Tab, Backspace and Ctrl+letters are the surface's own
    if (m_ultimaTecla == 25) {
        m_history.RehacerComando();
        return true;
    }
    if (m_ultimaTecla == 26) {
        m_history.DeshacerComando();
        return true;
    }
    TextCmd &command = m_history.AgregarComando(std::make_unique<TextCmd>());
    command.Initialize(m_text1, character);
    command.Apply();
    return true;
}

void EditorEvents::onChanged()
{
    // The last typed key stays ">" until another key is typed, so any later change colours
    // the tag before the caret too.
    if (m_ultimaTecla == u'>' && colourTagBeforeCaret(m_text1, m_table))
        return;
    if (m_refresh)
        m_refresh();
}

} // namespace zendral
