#include "editorevents.h"

#include "colouring.h"

#include <utility>

namespace zendral {

EditorEvents::EditorEvents(PageText &page, QStringList table, std::function<void()> refresh)
    : m_page(page), m_table(std::move(table)), m_refresh(std::move(refresh))
{
    m_history.attach(page);
    m_edits = QObject::connect(&page, &PageText::textEdited, &page,
                               [this](qint64 start, qint64 removed, qint64 added) {
                                   m_history.noteEdit(start, removed, added);
                                   m_colouredAt = -1;
                                   // Coloured within the edit that typed its ">", the tag's
                                   // line is laid out once, not once more for its colours.
                                   if (std::exchange(m_closingTyped, false)) {
                                       colourTagBeforeCaret(m_page, m_table);
                                       m_colouredAt = m_page.selectionStart();
                                   }
                               });
}

EditorEvents::~EditorEvents()
{
    QObject::disconnect(m_edits);
}

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
    if (m_typingFollower && m_typingFollower->confirms(m_ultimaTecla))
        return true;
    auto command = std::make_unique<TextCmd>();
    command->Initialize(m_page, character);
    m_closingTyped = m_ultimaTecla == u'>';
    m_history.AgregarComando(std::move(command));
    m_closingTyped = false;
    if (m_typingFollower)
        m_typingFollower->typed(m_ultimaTecla);
    return true;
}

void EditorEvents::editStarting(qint64 from, qint64 length)
{
    m_steps.push_back(std::make_unique<UndoStep>(m_page, from, length));
}

void EditorEvents::editEnded()
{
    if (!m_steps.empty())
        m_steps.pop_back();
}

void EditorEvents::onChanged()
{
    // The last typed key stays ">" until another key is typed, so any later change colours
    // the tag before the caret too; the change that typed it has coloured it already, unless
    // the caret has moved since.
    const qint64 colouredAt = std::exchange(m_colouredAt, -1);
    const bool coloured = colouredAt >= 0 && colouredAt == m_page.selectionStart() &&
                          m_page.selectionLength() == 0;
    if (m_ultimaTecla == u'>' && !coloured)
        colourTagBeforeCaret(m_page, m_table);
    if (m_refresh)
        m_refresh();
}

} // namespace zendral
