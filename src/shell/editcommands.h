#pragma once

class QTabWidget;
class QWidget;

namespace zendral {

class Clipboard;
class CommandActions;
class EditingSurface;
class EncodingGuard;
class FindReplaceDialog;
class PreviewPane;

// Edición's commands. They act on the source only while it is in sight; with the preview in
// front, keys are the page's and Copiar copies what is selected in it.
class EditCommands
{
public:
    // tabs: the document tabs that hold view and preview; parent: the parent of the dialogs.
    EditCommands(EditingSurface &view, PreviewPane &preview, QTabWidget &tabs, Clipboard &clipboard,
                 EncodingGuard &guard, const CommandActions &actions, QWidget &parent);

    void copy();
    void cut();
    void paste();
    void replaceWords();
    void selectAll();
    // Buscar y reemplazar, made the first time it is asked for and kept open.
    void findReplace();
    // Enables each command while it can act: after what is in front, what is selected there
    // and what the clipboard holds.
    void updateEnabled();

private:
    bool sourceInFront() const;

    EditingSurface &m_view;
    PreviewPane &m_preview;
    QTabWidget &m_tabs;
    Clipboard &m_clipboard;
    EncodingGuard &m_guard;
    const CommandActions &m_actions;
    QWidget &m_parent;
    FindReplaceDialog *m_findReplace = nullptr;
};

} // namespace zendral
