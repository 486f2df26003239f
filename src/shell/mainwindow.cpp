#include "mainwindow.h"

#include "clipboard.h"
#include "colouring.h"
#include "commandactions.h"
#include "commandcontext.h"
#include "documentcontroller.h"
#include "editcommands.h"
#include "editingsurface.h"
#include "editorevents.h"
#include "encodingguard.h"
#include "fileactivation.h"
#include "filechooser.h"
#include "filepanes.h"
#include "findinfiles.h"
#include "findstrip.h"
#include "livespelling.h"
#include "matchingtagmarks.h"
#include "pageestimate.h"
#include "pagereviewdock.h"
#include "previewcontroller.h"
#include "previewpane.h"
#include "printcommands.h"
#include "prompts.h"
#include "qtdesktopopener.h"
#include "recentpages.h"
#include "recentpagesmenu.h"
#include "spellingcheck.h"
#include "statusarea.h"
#include "textcontextmenu.h"
#include "usersettings.h"
#include "windowmenu.h"
#include "writingaids.h"
#include "zoom.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QMenu>
#include <QMimeData>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

// The toolbar pictures live in a static library: their resource is registered by hand.
static void initResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace zendral {

namespace {

// The files a drag carries from the desktop; web addresses are not files.
QList<QUrl> localFiles(const QMimeData &data)
{
    QList<QUrl> files = data.urls();
    files.removeIf([](const QUrl &url) { return !url.isLocalFile(); });
    return files;
}

} // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget *parent)
    : QMainWindow(parent), m_services(services)
{
    initResources();
    setObjectName(QStringLiteral("principal"));
    setWindowIcon(QIcon(QStringLiteral(":/icons/zendral.svg")));

    if (!m_services.prompts) {
        m_ownPrompts = std::make_unique<QtPrompts>(this);
        m_services.prompts = m_ownPrompts.get();
    }
    if (!m_services.chooser) {
        m_ownChooser = std::make_unique<QtFileChooser>(this);
        m_services.chooser = m_ownChooser.get();
    }
    if (!m_services.clipboard)
        m_services.clipboard = new QtClipboard(this);
    if (!m_services.opener) {
        m_ownOpener = std::make_unique<QtDesktopOpener>();
        m_services.opener = m_ownOpener.get();
    }
    m_spelling = m_services.spelling;
    if (!m_spelling) {
        m_ownSpelling = std::make_unique<SpellingCheck>(installedDictionaries(), userWordsFile());
        m_spelling = m_ownSpelling.get();
    }

    m_view = new EditingSurface;
    m_document = new DocumentController(*m_view, *m_services.prompts, *m_services.chooser, this);
    setWindowTitle(m_document->title());
    m_document->setColouring([this] { Colorea(m_view->page(), m_tablaEtiquetas); });
    m_tablaEtiquetas = TablaEtiquetas();
    m_events = std::make_unique<EditorEvents>(m_view->page(), m_tablaEtiquetas,
                                              [this] { refreshEstimate(); });
    m_encodingGuard = std::make_unique<EncodingGuard>(
        *m_events, [this] { return m_document->state().encoding; },
        [this](const QString &note) { m_status->setFileNotice(note); });
    m_view->setTypedCharacterHandler(m_encodingGuard.get());

    m_actions = std::make_unique<CommandActions>(*this);

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    // Only the document tabs and the file list follow the window; the tag tabs keep their size.
    layout->addWidget(m_actions->buildToolbars(), 0, Qt::AlignLeft);
    layout->addWidget(new FindStrip(*m_view, *m_services.prompts));

    m_documentTabs = new QTabWidget;
    m_documentTabs->setObjectName(QStringLiteral("SSTab1"));
    m_documentTabs->addTab(m_view, QStringLiteral("Código"));
    m_preview = new PreviewPane;
    m_documentTabs->addTab(m_preview, QStringLiteral("Previsualización"));
    m_previewController = std::make_unique<PreviewController>(
        *m_document, m_view->page(), *m_services.prompts, *m_services.opener, *m_preview);
    m_editing =
        std::make_unique<EditCommands>(*m_view, *m_preview, *m_documentTabs, *m_services.clipboard,
                                       *m_encodingGuard, *m_actions, *this);
    connect(m_documentTabs, &QTabWidget::currentChanged, this, [this](int current) {
        m_previewController->tabClicked(current);
        m_editing->updateEnabled();
    });
    connect(&m_view->page(), &PageText::changed, this, [this] {
        if (m_previewController)
            m_previewController->textChanged();
    });
    const auto updateEditing = [this] { m_editing->updateEnabled(); };
    connect(m_preview, &PreviewPane::selectionChanged, this, updateEditing);

    // The panes keep their width and the tabs take the rest; within the panes only the
    // file list grows.
    m_panes = new FilePanes;
    m_fileActivation = new FileActivation(m_view->page(), *m_document, *m_services.prompts, this);
    connect(m_panes, &FilePanes::fileDoubleClicked, m_fileActivation, &FileActivation::activate);
    m_document->setPaneFolder([this] { return m_panes->folderPath(); });
    auto *body = new QHBoxLayout;
    body->addWidget(m_panes);
    body->addWidget(m_documentTabs, 1);
    layout->addLayout(body, 1);
    m_status = new StatusArea(*m_view, *m_document);
    layout->addWidget(m_status);
    setCentralWidget(central);

    connectCommands();
    connect(&m_view->page(), &PageText::changed, this, [this] { m_events->onChanged(); });
    // Queued: the drop is answered before the save question holds the dragging program.
    connect(m_view, &EditingSurface::filesDropped, this, &MainWindow::filesDropped,
            Qt::QueuedConnection);
    setAcceptDrops(true);
    // Whatever was in front, the new page is shown as source with the keyboard in it.
    connect(m_document, &DocumentController::documentChanged, this,
            [this](DocumentController::Changes changes) {
                if (!(changes & DocumentController::Replaced))
                    return;
                // What was typed belongs to the page it was typed in.
                m_events->history().clear();
                m_documentTabs->setCurrentIndex(0);
                m_view->setFocus();
                m_status->setFileNotice(QString());
            });
    connect(m_view, &QPlainTextEdit::selectionChanged, this, updateEditing);
    connect(m_services.clipboard, &Clipboard::changed, this, updateEditing);
    giveContextMenu(*m_view, m_events->history(), *m_liveSpelling, *m_actions, this);

    // Start-up: the template in blue, the caret after it, the clipboard commands disabled
    // until the selection or the clipboard says otherwise.
    m_document->startUp();
    connectPageFollowers();
    m_panes->setPattern(QStringLiteral("*.htm;*.html;*.asp;*.gif;*.jpg"));
    for (Command command : {Command::Copy, Command::Cut, Command::Paste})
        m_actions->action(command)->setEnabled(false);
    m_editing->updateEnabled();
    m_view->setFocus();
    resize(1000, 720);
}

MainWindow::~MainWindow()
{
    // The tabs report a change of tab while their pages are torn down, after the preview's
    // steps are gone.
    m_documentTabs->disconnect(this);
    m_preview->disconnect(this);
}

void MainWindow::connectCommands()
{
    m_liveSpelling =
        new LiveSpelling(*m_view, m_events->history(), *m_spelling, *m_services.prompts, this);
    m_tagPairs = new MatchingTagMarks(*m_view, this);
    m_writingAids = new WritingAids(
        *m_view, *m_events, m_tablaEtiquetas, [this] { return pageFolder(); }, this);
    m_pageReview = new PageReviewDock(
        *m_view, [this] { return pageFolder(); }, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_pageReview);
    m_pageReview->hide();
    connect(m_document, &DocumentController::documentChanged, this,
            [this](DocumentController::Changes changes) {
                if (changes & DocumentController::Replaced) {
                    m_writingAids->closeList();
                    m_pageReview->forget();
                }
            });
    m_zoom = new Zoom(*m_view);
    m_findInFiles = new FindInFiles(*this, *m_panes);
    m_printing = std::make_unique<PrintCommands>(
        m_view->page(), [this] { return m_document->displayName(); }, *this);
    m_windows = new WindowMenu(*this, *m_actions->menu(QStringLiteral("mn_ventana")),
                               *m_actions->action(Command::NewWindow));
    m_context.reset(new CommandContext{
        .window = *this,
        .view = *m_view,
        .document = *m_document,
        .printing = *m_printing,
        .prompts = *m_services.prompts,
        .opener = *m_services.opener,
        .spelling = *m_spelling,
        .history = m_events->history(),
        .preview = *m_previewController,
        .editing = *m_editing,
        .liveSpelling = *m_liveSpelling,
        .tagPairs = *m_tagPairs,
        .writingAids = *m_writingAids,
        .pageReview = *m_pageReview,
        .status = *m_status,
        .zoom = *m_zoom,
        .findInFiles = *m_findInFiles,
        .windows = *m_windows,
    });
    const std::unique_ptr<QSettings> settings = userSettings();
    for (const CommandSpec &entry : commandTable()) {
        QAction *action = m_actions->action(entry.command);
        const CommandHandler &run = entry.run;
        if (entry.setting.isEmpty()) {
            connect(action, &QAction::triggered, this, [this, &run] { run(*m_context, false); });
            continue;
        }
        // Ver's switches stay as the user last left them.
        action->setChecked(settings->value(entry.setting, entry.onByDefault).toBool());
        run(*m_context, action->isChecked());
        connect(action, &QAction::toggled, this, [this, &run, key = entry.setting](bool on) {
            run(*m_context, on);
            userSettings()->setValue(key, on);
        });
    }
}

QAction *MainWindow::command(Command command) const
{
    return m_actions->action(command);
}

QAction *MainWindow::command(const QString &name) const
{
    for (const CommandSpec &entry : commandTable()) {
        if (entry.name == name)
            return m_actions->action(entry.command);
    }
    return nullptr;
}

QString MainWindow::pageFolder() const
{
    const QString path = m_document->state().archivoActual;
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

void MainWindow::connectPageFollowers()
{
    m_status->followPage();
    connect(m_document, &DocumentController::documentChanged, this,
            [this](DocumentController::Changes changes) {
                setWindowTitle(m_document->title());
                // A page opened or saved under a name, from wherever, brings the panes to its
                // folder and comes first among the recent pages.
                const QString &path = m_document->state().archivoActual;
                if (changes & (DocumentController::Named | DocumentController::Saved) &&
                    !path.isEmpty()) {
                    m_panes->setFolderPath(QFileInfo(path).absolutePath());
                    RecentPages::add(path);
                }
            });
    new RecentPagesMenu(
        *m_actions->menu(QStringLiteral("mn_archivo")),
        *m_actions->menu(QStringLiteral("mn_recientes")), *m_services.prompts,
        [this](const QString &path) { m_document->askThenOpenPath(path); }, this);
}

void MainWindow::refreshEstimate()
{
    m_status->showEstimate(estimateFor(m_view->page().textLength()));
}

void MainWindow::filesDropped(const QList<QUrl> &files)
{
    // One document at a time: the first file dropped is the one taken.
    const QString path = files.constFirst().toLocalFile();
    if (FileActivation::isImage(path)) {
        const QFileInfo picture(path);
        m_fileActivation->activate(picture.absolutePath(), picture.fileName());
    } else if (m_document->isModified()) {
        m_document->askThenOpenPath(path);
    } else {
        m_document->openPath(path);
    }
}

void MainWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!localFiles(*event->mimeData()).isEmpty())
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent *event)
{
    const QList<QUrl> files = localFiles(*event->mimeData());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    QMetaObject::invokeMethod(
        this, [this, files] { filesDropped(files); }, Qt::QueuedConnection);
}

void MainWindow::setNewWindowCommand(std::function<void()> open)
{
    m_windows->setOpenWindow(std::move(open));
}

void MainWindow::setWindowForPage(std::function<MainWindow *()> open)
{
    m_findInFiles->setWindowForPage(std::move(open));
}

void MainWindow::setWindowList(std::function<QList<MainWindow *>()> windows)
{
    m_windows->setWindows(std::move(windows));
}

void MainWindow::bringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (m_document->PreguntarGuardar()) {
        event->accept();
        emit closed();
    } else {
        event->ignore();
    }
}

void MainWindow::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    // Queued: the check may ask, and a question is not opened inside the activation.
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        QMetaObject::invokeMethod(m_document, &DocumentController::checkFileOnDisk,
                                  Qt::QueuedConnection);
}

} // namespace zendral
