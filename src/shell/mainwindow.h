#pragma once

#include "commandtable.h"

#include <QMainWindow>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>

class QAction;
class QTabWidget;

namespace zendral {

class Clipboard;
class CommandActions;
class DesktopOpener;
class DocumentController;
class EditCommands;
class EditorEvents;
class EditingSurface;
class EncodingGuard;
class FileActivation;
class FileChooser;
class FilePanes;
class FindInFiles;
class LiveSpelling;
class MatchingTagMarks;
class PageReviewDock;
class PreviewController;
class PreviewPane;
class PrintCommands;
class Prompts;
class SpellingCheck;
class StatusArea;
class WindowMenu;
class WritingAids;
class Zoom;
struct CommandContext;

// The platform services the main window talks to; tests hand in fakes, the program the
// real adapters (null members are filled with those).
struct MainWindowServices
{
    Prompts *prompts = nullptr;
    FileChooser *chooser = nullptr;
    Clipboard *clipboard = nullptr;
    DesktopOpener *opener = nullptr;
    // The spelling check with the user's added words, which the windows of one program share.
    SpellingCheck *spelling = nullptr;
};

// The main window `principal`: the menus, toolbars, tag tabs, file panes, document tabs with
// the editing surface and the preview, and the status area. It wires each command to the engine
// that carries it.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(MainWindowServices services = {}, QWidget *parent = nullptr);
    ~MainWindow() override;

    EditingSurface &surface() { return *m_view; }
    DocumentController &document() { return *m_document; }
    EditorEvents &events() { return *m_events; }
    WritingAids &writingAids() { return *m_writingAids; }
    PageReviewDock &pageReview() { return *m_pageReview; }
    Prompts &prompts() { return *m_services.prompts; }
    QAction *command(Command command) const;
    // The command's action by its name (`mn_…`, or `btn…` for toolbar-only commands), as
    // scripts and tests reach it.
    QAction *command(const QString &name) const;
    // Archivo › Nueva ventana runs open; without one it stays disabled.
    void setNewWindowCommand(std::function<void()> open);
    // A hit of Buscar en archivos chosen with Ctrl opens its page in the window open gives;
    // without one, in this window.
    void setWindowForPage(std::function<MainWindow *()> open);
    // The program's windows in the order they opened, which Ventana lists and Ctrl+Tab goes
    // through; without it the window lists itself alone.
    void setWindowList(std::function<QList<MainWindow *>()> windows);
    // Brings the window in front of the others, with the keyboard.
    void bringToFront();

signals:
    // The window closed, its page's question answered.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void changeEvent(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    // The engines the commands act on, and each command wired to its handler; Ver's switches
    // as the user last left them.
    void connectCommands();
    // The title and the status area following the page, and the panes and recent pages
    // following its name.
    void connectPageFollowers();
    void refreshEstimate();
    // A page dropped anywhere is opened as Open opens it; a picture is inserted at the caret
    // as a double-click on it in the file list inserts it.
    void filesDropped(const QList<QUrl> &files);
    // The folder of the page, empty while it has never been saved.
    QString pageFolder() const;

    MainWindowServices m_services;
    std::unique_ptr<Prompts> m_ownPrompts;
    std::unique_ptr<FileChooser> m_ownChooser;
    std::unique_ptr<DesktopOpener> m_ownOpener;
    std::unique_ptr<SpellingCheck> m_ownSpelling;
    SpellingCheck *m_spelling = nullptr;
    EditingSurface *m_view = nullptr;
    DocumentController *m_document = nullptr;
    QStringList m_tablaEtiquetas; // fixed name
    std::unique_ptr<EditorEvents> m_events;
    std::unique_ptr<EncodingGuard> m_encodingGuard;
    std::unique_ptr<CommandActions> m_actions;
    QTabWidget *m_documentTabs = nullptr;
    FilePanes *m_panes = nullptr;
    FileActivation *m_fileActivation = nullptr;
    PreviewPane *m_preview = nullptr;
    std::unique_ptr<PreviewController> m_previewController;
    std::unique_ptr<EditCommands> m_editing;
    StatusArea *m_status = nullptr;
    std::unique_ptr<PrintCommands> m_printing;
    LiveSpelling *m_liveSpelling = nullptr;
    MatchingTagMarks *m_tagPairs = nullptr;
    WritingAids *m_writingAids = nullptr;
    PageReviewDock *m_pageReview = nullptr;
    Zoom *m_zoom = nullptr;
    WindowMenu *m_windows = nullptr;
    std::unique_ptr<CommandContext> m_context;
    FindInFiles *m_findInFiles = nullptr;
};

} // namespace zendral
