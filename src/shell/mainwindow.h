#pragma once

#include "commandtable.h"

#include <QHash>
#include <QMainWindow>
#include <QStringList>
#include <QUrl>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QPrinter;
class QLabel;
class QTabWidget;
class QTimer;
class QToolButton;

namespace zendral {

class Clipboard;
class DesktopOpener;
class DocumentController;
class EditorEvents;
class EditingSurface;
class EncodingGuard;
class FileActivation;
class FileChooser;
class FilePanes;
class FindReplaceDialog;
class FolderResults;
class LiveSpelling;
class MatchingTagMarks;
class PageReviewDock;
class WritingAids;
struct OneClickTag;
class PreviewController;
class PreviewPane;
class Prompts;
class SpellingCheck;

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
    PreviewPane &preview() { return *m_preview; }
    WritingAids &writingAids() { return *m_writingAids; }
    PageReviewDock &pageReview() { return *m_pageReview; }
    Prompts &prompts() { return *m_services.prompts; }
    // The command's action by its name (`mn_…`, or `btn…` for toolbar-only commands).
    QAction *command(const QString &name) const { return m_commands.value(name); }
    // Archivo › Nueva ventana runs open; without one it stays disabled.
    void setNewWindowCommand(std::function<void()> open);
    // A hit of Buscar en archivos chosen with Ctrl opens its page in the window open gives;
    // without one, in this window.
    void setWindowForPage(std::function<MainWindow *()> open) { m_windowForPage = std::move(open); }
    // The program's windows in the order they opened, which Ventana lists and Ctrl+Tab goes
    // through; without it the window lists itself alone.
    void setWindowList(std::function<QList<MainWindow *>()> windows);
    // The page's name as Ventana lists it: its file name, or "Sin título".
    QString pageName() const;
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
    void buildCommands();
    void buildMenus();
    QWidget *buildToolbars();
    QWidget *buildStatusArea();
    // Every command carried by runCommand; Ver's switches and the zoom as the user last left
    // them.
    void connectCommands();
    // on: whether a switch of Ver is now on.
    void runCommand(Command command, bool on = false);
    void zoomBy(int steps);
    void applyZoom(int steps);
    // Runs a file command, then names the page in the title, the panes and the recent pages
    // after what it did: a save names it, a New takes the start-up title back.
    void runFileCommand(const std::function<void()> &command);
    // The page now carries path: the title names it and the panes show its folder.
    void pageNamed(const QString &path);
    // The status area's word for unsaved changes, and the panes following the page.
    void connectPageFollowers();
    // Archivo › Páginas recientes, rebuilt from the user's settings.
    void fillRecentPages();
    void openRecentPage(const QString &path);
    // Archivo › Imprimir... and Vista previa de impresión share one printer kept for the session.
    QPrinter &printer();
    void printTo(QPrinter &printer);
    // Whether `text1` is in front, not the preview.
    bool sourceInFront() const;
    void updateClipboardCommands();
    void refreshEstimate();
    // The page's encoding, line ends and caret position in the status area. The position is
    // worked out from the block tree alone once the caret rests; a page with mixed line ends
    // has them counted a moment after its last change.
    void connectEncodingLabels();
    void showEncoding();
    void showLineEnds(bool counted);
    void showPosition();
    // A page dropped anywhere is opened as Open opens it; a picture is inserted at the caret
    // as a double-click on it in the file list inserts it.
    void filesDropped(const QList<QUrl> &files);
    void showFolderResults();
    // Opens the page of a hit of Buscar en archivos, here after the save question or in a new
    // window, and selects the hit.
    void openHit(const QString &path, qint64 start, qint64 length, bool inNewWindow);
    QList<MainWindow *> windowList() const;
    // Ventana's entries for the windows, rebuilt as it opens.
    void fillWindowList();
    // The window step places after this one in the list, round the end.
    void goToWindow(int step);

    MainWindowServices m_services;
    std::unique_ptr<Prompts> m_ownPrompts;
    std::unique_ptr<FileChooser> m_ownChooser;
    std::unique_ptr<DesktopOpener> m_ownOpener;
    std::unique_ptr<SpellingCheck> m_ownSpelling;
    SpellingCheck *m_spelling = nullptr;
    std::function<void()> m_openWindow;
    std::function<QList<MainWindow *>()> m_windowList;
    QList<QAction *> m_windowEntries;
    EditingSurface *m_view = nullptr;
    DocumentController *m_document = nullptr;
    QStringList m_tablaEtiquetas;
    std::unique_ptr<EditorEvents> m_events;
    std::unique_ptr<EncodingGuard> m_encodingGuard;
    QTabWidget *m_documentTabs = nullptr;
    FilePanes *m_panes = nullptr;
    FileActivation *m_fileActivation = nullptr;
    PreviewPane *m_preview = nullptr;
    std::unique_ptr<PreviewController> m_previewController;
    QHash<QString, QAction *> m_commands;
    QHash<QString, QToolButton *> m_buttons;
    QLabel *m_size = nullptr;
    QLabel *m_modem = nullptr;
    QLabel *m_adsl = nullptr;
    QLabel *m_fileNotice = nullptr;
    std::unique_ptr<QPrinter> m_printer;
    QLabel *m_modifiedNotice = nullptr;
    QLabel *m_encodingLabel = nullptr;
    QLabel *m_lineEndsLabel = nullptr;
    QLabel *m_positionLabel = nullptr;
    QTimer *m_lineEndsCount = nullptr;
    QTimer *m_positionShown = nullptr;
    LiveSpelling *m_liveSpelling = nullptr;
    MatchingTagMarks *m_tagPairs = nullptr;
    WritingAids *m_writingAids = nullptr;
    PageReviewDock *m_pageReview = nullptr;
    // The folder of the page, empty while it has never been saved.
    QString pageFolder() const;
    // The fragment each one-click command inserts, by command.
    std::array<const OneClickTag *, CommandCount> m_oneClickTags = {};
    // Edición › Buscar y reemplazar, made the first time it is asked for and kept open.
    FindReplaceDialog *m_findReplace = nullptr;
    // Edición › Buscar en archivos: the dock `resultadosbusqueda`, made when first asked for.
    FolderResults *m_folderResults = nullptr;
    std::function<MainWindow *()> m_windowForPage;
    int m_normalFontSize = 0;
    int m_zoom = 0;
};

} // namespace zendral
