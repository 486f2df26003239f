#include "editcommands.h"

#include "clipboard.h"
#include "commandactions.h"
#include "editingsurface.h"
#include "encodingguard.h"
#include "findreplacedialog.h"
#include "previewpane.h"
#include "tagdialogs.h"
#include "undostep.h"

#include <QAction>
#include <QTabWidget>

namespace zendral {

EditCommands::EditCommands(EditingSurface &view, PreviewPane &preview, QTabWidget &tabs,
                           Clipboard &clipboard, EncodingGuard &guard,
                           const CommandActions &actions, QWidget &parent)
    : m_view(view), m_preview(preview), m_tabs(tabs), m_clipboard(clipboard), m_guard(guard),
      m_actions(actions), m_parent(parent)
{}

void EditCommands::copy()
{
    m_clipboard.setText(sourceInFront() ? m_view.page().selectedText() : m_preview.selectedText());
}

void EditCommands::cut()
{
    if (!sourceInFront())
        return;
    PageText &page = m_view.page();
    m_clipboard.setText(page.selectedText());
    UndoStep step(page);
    page.setSelectedText(QString());
}

void EditCommands::paste()
{
    if (!sourceInFront())
        return;
    const QString text = m_clipboard.hasText() ? m_clipboard.text() : QString();
    if (m_guard.admits(text)) {
        PageText &page = m_view.page();
        UndoStep step(page);
        page.setSelectedText(text);
    }
}

void EditCommands::replaceWords()
{
    if (sourceInFront())
        showDialog<ReplaceDialog>(m_view.page(), &m_parent);
}

void EditCommands::selectAll()
{
    if (sourceInFront())
        m_view.selectAll();
}

void EditCommands::findReplace()
{
    if (!sourceInFront())
        return;
    if (!m_findReplace)
        m_findReplace = new FindReplaceDialog(m_view.page(), &m_parent);
    m_findReplace->present();
}

void EditCommands::updateEnabled()
{
    // With the preview in front the disabled commands leave their keys to the page.
    const bool source = sourceInFront();
    const bool selected =
        source ? m_view.textCursor().hasSelection() : !m_preview.selectedText().isEmpty();
    m_actions.action(Command::Paste)->setEnabled(source && m_clipboard.hasText());
    m_actions.action(Command::Copy)->setEnabled(selected);
    m_actions.action(Command::Cut)->setEnabled(source && selected);
    for (Command command : {Command::ReplaceWords, Command::SelectAll, Command::FindReplace})
        m_actions.action(command)->setEnabled(source);
}

bool EditCommands::sourceInFront() const
{
    return m_tabs.currentWidget() == &m_view;
}

} // namespace zendral
