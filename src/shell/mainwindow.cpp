#include "mainwindow.h"

#include "aboutdialog.h"
#include "clipboard.h"
#include "clockscript.h"
#include "colouring.h"
#include "commandtable.h"
#include "documentcontroller.h"
#include "editingsurface.h"
#include "editorevents.h"
#include "encodingguard.h"
#include "fileactivation.h"
#include "filechooser.h"
#include "filepanes.h"
#include "findreplacedialog.h"
#include "findstrip.h"
#include "folderresults.h"
#include "generatordialogs.h"
#include "livespelling.h"
#include "matchingtagmarks.h"
#include "pageencoding.h"
#include "pageestimate.h"
#include "pageprinter.h"
#include "pagereviewdock.h"
#include "previewcontroller.h"
#include "previewpane.h"
#include "prompts.h"
#include "qtdesktopopener.h"
#include "recentpages.h"
#include "spellingcheck.h"
#include "tagdialogs.h"
#include "taginsertion.h"
#include "undostep.h"
#include "usersettings.h"
#include "weblinks.h"
#include "writingaids.h"

#include <QAction>
#include <QCloseEvent>
#include <QDockWidget>
#include <QDropEvent>
#include <QEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>
#include <QWheelEvent>

#include <algorithm>

// The toolbar pictures live in a static library: their resource is registered by hand.
static void initResources()
{
    Q_INIT_RESOURCE(icons);
}

namespace zendral {

namespace {

// Keeps a button's tooltip away when its command has none.
class NoToolTip : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::ToolTip; }
};

const QString StartTitle = QStringLiteral("  Zendral");
constexpr int FallbackPointSize = 10;
const QString PageTitle = QStringLiteral("Zendral - [%1]");

// The page's path in a title that names one, or an empty string.
QString pathInTitle(const QString &title)
{
    const QString prefix = PageTitle.left(PageTitle.indexOf(u'%'));
    if (!title.startsWith(prefix) || !title.endsWith(u']'))
        return QString();
    return title.mid(prefix.size(), title.size() - prefix.size() - 1);
}

// A caption as a tooltip or an accessible name shows it: without its access key.
QString withoutAccessKey(QString caption)
{
    return caption.remove(u'&');
}

// Turns Ctrl+wheel over the text into steps of zoom; a wheel without Ctrl scrolls as ever.
class WheelZoom : public QObject
{
public:
    WheelZoom(QObject *parent, std::function<void(int)> zoomBy)
        : QObject(parent), m_zoomBy(std::move(zoomBy))
    {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Wheel)
            return QObject::eventFilter(watched, event);
        const auto *wheel = static_cast<QWheelEvent *>(event);
        if (!(wheel->modifiers() & Qt::ControlModifier))
            return false;
        // Fine-grained wheels send small steps: a zoom step is one notch of a mouse wheel.
        m_pending += wheel->angleDelta().y();
        const int steps = m_pending / QWheelEvent::DefaultDeltasPerStep;
        m_pending -= steps * QWheelEvent::DefaultDeltasPerStep;
        if (steps != 0)
            m_zoomBy(steps);
        return true;
    }

private:
    std::function<void(int)> m_zoomBy;
    int m_pending = 0;
};

// The files a drag carries from the desktop; web addresses are not files.
QList<QUrl> localFiles(const QMimeData &data)
{
    QList<QUrl> files = data.urls();
    files.removeIf([](const QUrl &url) { return !url.isLocalFile(); });
    return files;
}

// The editing surface's right-click menu: the corrections of a misspelt word, the editor's own
// history and the window's clipboard commands. Ctrl+Z and Ctrl+Y reach the history as typed
// keys: the menu only shows them.
void giveContextMenu(EditingSurface &view, UndoHistory &history, LiveSpelling &spelling,
                     const QHash<QString, QAction *> &commands, QObject *owner)
{
    // Spelt as the menus spell the shortcuts of the commands beside them (Qt's translation).
    const auto shown = [](QKeyCombination key) {
        return QKeySequence(key).toString(QKeySequence::NativeText);
    };
    auto *undo = new QAction(QStringLiteral("&Deshacer\t") + shown(Qt::CTRL | Qt::Key_Z), owner);
    undo->setObjectName(QStringLiteral("menuDeshacer"));
    QObject::connect(undo, &QAction::triggered, owner, [&history] { history.DeshacerComando(); });
    auto *redo = new QAction(QStringLiteral("&Rehacer\t") + shown(Qt::CTRL | Qt::Key_Y), owner);
    redo->setObjectName(QStringLiteral("menuRehacer"));
    QObject::connect(redo, &QAction::triggered, owner, [&history] { history.RehacerComando(); });
    const QList<QAction *> editing = {undo,
                                      redo,
                                      nullptr,
                                      commands.value(QStringLiteral("mn_cortar")),
                                      commands.value(QStringLiteral("mn_copiar")),
                                      commands.value(QStringLiteral("mn_pegar"))};
    QObject::connect(&view, &EditingSurface::contextMenuOpening, owner,
                     [&view, &history, &spelling, undo, redo, editing] {
                         undo->setEnabled(history.ComandoActual() > 0);
                         redo->setEnabled(history.ComandoActual() < history.count());
                         QList<QAction *> corrections = spelling.contextActions();
                         if (!corrections.isEmpty())
                             corrections.append(nullptr);
                         view.setContextActions(corrections + editing);
                     });
    view.setContextActions(editing);
}

} // namespace

MainWindow::MainWindow(MainWindowServices services, QWidget *parent)
    : QMainWindow(parent), m_services(services)
{
    initResources();
    setObjectName(QStringLiteral("principal"));
    setWindowTitle(StartTitle);
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
    m_document->setColouring([this] { Colorea(m_view->page(), m_tablaEtiquetas); });
    m_tablaEtiquetas = TablaEtiquetas();
    m_events = std::make_unique<EditorEvents>(m_view->page(), m_tablaEtiquetas,
                                              [this] { refreshEstimate(); });
    m_encodingGuard = std::make_unique<EncodingGuard>(
        *m_events, [this] { return m_document->state().encoding; },
        [this](const QString &note) { m_fileNotice->setText(note); });
    m_view->setTypedCharacterHandler(m_encodingGuard.get());

    buildCommands();
    buildMenus();

    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(4, 4, 4, 4);
    // Only the document tabs and the file list follow the window; the tag tabs keep their size.
    layout->addWidget(buildToolbars(), 0, Qt::AlignLeft);
    layout->addWidget(new FindStrip(*m_view, *m_services.prompts));

    m_documentTabs = new QTabWidget;
    m_documentTabs->setObjectName(QStringLiteral("SSTab1"));
    m_documentTabs->addTab(m_view, QStringLiteral("Código"));
    m_preview = new PreviewPane;
    m_documentTabs->addTab(m_preview, QStringLiteral("Previsualización"));
    m_previewController = std::make_unique<PreviewController>(
        *m_document, m_view->page(), *m_services.prompts, *m_services.opener, *m_preview);
    connect(m_documentTabs, &QTabWidget::currentChanged, this, [this](int current) {
        m_previewController->tabClicked(current);
        updateClipboardCommands();
    });
    connect(&m_view->page(), &PageText::changed, this, [this] {
        if (m_previewController)
            m_previewController->textChanged();
    });
    connect(m_preview, &PreviewPane::selectionChanged, this, &MainWindow::updateClipboardCommands);

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
    layout->addWidget(buildStatusArea());
    setCentralWidget(central);

    connectCommands();
    connect(&m_view->page(), &PageText::changed, this, [this] { m_events->onChanged(); });
    // Queued: the drop is answered before the save question holds the dragging program.
    connect(m_view, &EditingSurface::filesDropped, this, &MainWindow::filesDropped,
            Qt::QueuedConnection);
    setAcceptDrops(true);
    connect(m_document, &DocumentController::titleChanged, this, &QWidget::setWindowTitle);
    // Whatever was in front, the new page is shown as source with the keyboard in it.
    connect(m_document, &DocumentController::pageReplaced, this, [this] {
        // What was typed belongs to the page it was typed in.
        m_events->history().clear();
        m_documentTabs->setCurrentIndex(0);
        m_view->setFocus();
        m_fileNotice->clear();
    });
    connect(m_document, &DocumentController::saved, m_fileNotice, &QLabel::clear);
    connect(m_document, &DocumentController::statusMessage, m_fileNotice, &QLabel::setText);
    connect(m_view, &QPlainTextEdit::selectionChanged, this, &MainWindow::updateClipboardCommands);
    connect(m_services.clipboard, &Clipboard::changed, this, &MainWindow::updateClipboardCommands);
    giveContextMenu(*m_view, m_events->history(), *m_liveSpelling, m_commands, this);

    // Start-up: the template in blue, the caret after it, the clipboard commands disabled
    // until the selection or the clipboard says otherwise.
    m_document->startUp();
    connectPageFollowers();
    connectEncodingLabels();
    m_panes->setPattern(QStringLiteral("*.htm;*.html;*.asp;*.gif;*.jpg"));
    for (const char *name : {"mn_copiar", "mn_cortar", "mn_pegar"})
        m_commands.value(QLatin1String(name))->setEnabled(false);
    updateClipboardCommands();
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

void MainWindow::buildCommands()
{
    for (const OneClickTag &tag : oneClickTags()) {
        const auto row =
            std::find_if(commandTable().begin(), commandTable().end(),
                         [&tag](const CommandSpec &entry) { return entry.name == tag.command; });
        if (row == commandTable().end())
            qFatal("The one-click tag of %s has no command", qPrintable(tag.command));
        m_oneClickTags[std::size_t(row->command)] = &tag;
    }
    for (const CommandSpec &entry : commandTable()) {
        auto *action = new QAction(this);
        action->setObjectName(entry.name);
        action->setText(entry.caption.isEmpty() ? entry.toolTip : entry.caption);
        action->setToolTip(entry.toolTip.isEmpty() ? withoutAccessKey(entry.caption)
                                                   : entry.toolTip);
        action->setCheckable(!entry.setting.isEmpty());
        if (!entry.shortcut.isEmpty()) {
            action->setShortcut(entry.shortcut);
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (!entry.icon.isEmpty())
            action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(entry.icon)));
        // Nueva ventana waits for the window set; the rest are carried by runCommand.
        action->setEnabled(entry.command != Command::NewWindow);
        addAction(action);
        m_commands.insert(entry.name, action);
    }
}

void MainWindow::buildMenus()
{
    QHash<QString, QMenu *> menus;
    for (const MenuSpec &entry : menuTable()) {
        QMenu *menu = nullptr;
        if (entry.parent.isEmpty()) {
            menu = menuBar()->addMenu(entry.caption);
        } else {
            QMenu *parent = menus.value(entry.parent);
            menu = new QMenu(entry.caption, parent);
            parent->insertMenu(m_commands.value(entry.before), menu);
        }
        menu->setObjectName(entry.name);
        menu->menuAction()->setObjectName(entry.name);
        menus.insert(entry.name, menu);
        // Entries are added in table order, right after their menu exists.
        for (const CommandSpec &command : commandTable()) {
            if (command.menu == entry.name)
                menu->addAction(m_commands.value(command.name));
        }
    }
}

QWidget *MainWindow::buildToolbars()
{
    const auto fill = [&](QToolBar *bar, Bar which) {
        bar->setIconSize(QSize(24, 24));
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        for (const ToolbarItem &item : toolbarOrder(which)) {
            if (!item) {
                bar->addSeparator();
                continue;
            }
            const CommandSpec &entry = commandSpec(*item);
            QAction *action = m_commands.value(entry.name);
            bar->addAction(action);
            auto *widget = qobject_cast<QToolButton *>(bar->widgetForAction(action));
            widget->setObjectName(entry.button);
            widget->setAccessibleName(entry.toolTip.isEmpty() ? withoutAccessKey(entry.caption)
                                                              : entry.toolTip);
            if (entry.toolTip.isEmpty())
                widget->installEventFilter(new NoToolTip(widget));
            m_buttons.insert(entry.button, widget);
        }
    };

    auto *mainBar = new QToolBar(QStringLiteral("Principal"));
    mainBar->setObjectName(QStringLiteral("barraPrincipal"));
    mainBar->setMovable(false);
    fill(mainBar, Bar::Main);
    addToolBar(Qt::TopToolBarArea, mainBar);

    auto *tags = new QTabWidget;
    tags->setObjectName(QStringLiteral("tab1"));
    tags->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    const std::pair<QString, Bar> pages[] = {{QStringLiteral("HTML"), Bar::Html},
                                             {QStringLiteral("ASP"), Bar::Asp},
                                             {QStringLiteral("JavaScript"), Bar::JavaScript}};
    for (const auto &[caption, which] : pages) {
        auto *bar = new QToolBar(caption);
        fill(bar, which);
        tags->addTab(bar, caption);
    }
    return tags;
}

QWidget *MainWindow::buildStatusArea()
{
    auto *area = new QWidget;
    area->setObjectName(QStringLiteral("estado"));
    auto *grid = new QGridLayout(area);
    grid->setContentsMargins(2, 2, 2, 2);
    const auto label = [](const QString &text, const QString &name = QString()) {
        auto *result = new QLabel(text);
        if (!name.isEmpty())
            result->setObjectName(name);
        return result;
    };
    m_size = label(QStringLiteral(" Bytes"), QStringLiteral("lbltamano"));
    m_modem = label(QStringLiteral("Seg."), QStringLiteral("lblmodem"));
    m_adsl = label(QStringLiteral("Seg."), QStringLiteral("lbladsl"));
    grid->addWidget(label(QStringLiteral("Tamaño de archivo de texto:")), 0, 0);
    grid->addWidget(m_size, 0, 1);
    grid->addWidget(label(QStringLiteral("Tiempo apróximado de carga (Sin contar las imágenes):")),
                    0, 2, 1, 4);
    grid->addWidget(label(QStringLiteral(" Modem 56k:")), 1, 2);
    grid->addWidget(m_modem, 1, 3);
    grid->addWidget(label(QStringLiteral("ADSL 25KB:")), 1, 4);
    grid->addWidget(m_adsl, 1, 5);
    // Tells what happened to the document's file on disk; the path must not widen the window.
    m_fileNotice = label(QString(), QStringLiteral("lblarchivo"));
    m_fileNotice->setTextFormat(Qt::PlainText);
    m_fileNotice->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    grid->addWidget(m_fileNotice, 1, 6);
    grid->setColumnStretch(6, 1);
    return area;
}

void MainWindow::connectCommands()
{
    m_liveSpelling = new LiveSpelling(*m_view, m_events->history(), *m_spelling,
                                     *m_services.prompts, this);
    m_tagPairs = new MatchingTagMarks(*m_view, this);
    m_writingAids = new WritingAids(
        *m_view, *m_events, m_tablaEtiquetas, [this] { return pageFolder(); }, this);
    m_pageReview = new PageReviewDock(
        *m_view, [this] { return pageFolder(); }, this);
    addDockWidget(Qt::BottomDockWidgetArea, m_pageReview);
    m_pageReview->hide();
    connect(m_document, &DocumentController::pageReplaced, this, [this] {
        m_writingAids->closeList();
        m_pageReview->forget();
    });
    const std::unique_ptr<QSettings> settings = userSettings();
    for (const CommandSpec &entry : commandTable()) {
        QAction *action = m_commands.value(entry.name);
        const Command command = entry.command;
        if (entry.setting.isEmpty()) {
            connect(action, &QAction::triggered, this, [this, command] { runCommand(command); });
            continue;
        }
        // Ver's switches stay as the user last left them.
        action->setChecked(settings->value(entry.setting, entry.onByDefault).toBool());
        runCommand(command, action->isChecked());
        connect(action, &QAction::toggled, this, [this, command, key = entry.setting](bool on) {
            runCommand(command, on);
            userSettings()->setValue(key, on);
        });
    }

    m_normalFontSize = m_view->font().pointSize();
    // A font sized in pixels has no point size.
    if (m_normalFontSize <= 0)
        m_normalFontSize = FallbackPointSize;
    applyZoom(settings->value(QStringLiteral("ver/zoom"), 0).toInt());
    m_view->viewport()->installEventFilter(
        new WheelZoom(this, [this](int steps) { zoomBy(steps); }));
}

void MainWindow::runCommand(Command command, bool on)
{
    EditingSurface &view = *m_view;
    PageText &page = view.page();
    Prompts &prompts = *m_services.prompts;
    switch (command) {
    case Command::New:
        runFileCommand([this] { m_document->newPage(); });
        return;
    case Command::Open:
        runFileCommand([this] { m_document->open(); });
        return;
    case Command::Save:
        runFileCommand([this] { m_document->save(); });
        return;
    case Command::SaveAs:
        runFileCommand([this] { m_document->saveAs(); });
        return;
    case Command::Print: {
        QPrintDialog dialog(&printer(), this);
        if (dialog.exec() == QDialog::Accepted)
            printTo(printer());
        return;
    }
    case Command::PrintPreview: {
        QPrintPreviewDialog preview(&printer(), this);
        connect(&preview, &QPrintPreviewDialog::paintRequested, this,
                [this](QPrinter *target) { printTo(*target); });
        preview.exec();
        return;
    }
    case Command::NewWindow:
        if (m_openWindow)
            m_openWindow();
        return;
    case Command::Quit:
        close();
        return;

    // Edición acts on the source only while it is in sight; with the preview in front, keys
    // are the page's and Copy copies what is selected in it.
    case Command::Copy:
        m_services.clipboard->setText(sourceInFront() ? page.selectedText()
                                                      : m_preview->selectedText());
        return;
    case Command::Cut: {
        if (!sourceInFront())
            return;
        m_services.clipboard->setText(page.selectedText());
        UndoStep step(page);
        page.setSelectedText(QString());
        return;
    }
    case Command::Paste: {
        if (!sourceInFront())
            return;
        const QString text =
            m_services.clipboard->hasText() ? m_services.clipboard->text() : QString();
        if (m_encodingGuard->admits(text)) {
            UndoStep step(page);
            page.setSelectedText(text);
        }
        return;
    }
    case Command::ReplaceWords:
        if (sourceInFront())
            showReplaceDialog(page, this);
        return;
    case Command::SelectAll:
        if (sourceInFront())
            view.selectAll();
        return;
    case Command::ViewInBrowser:
        m_previewController->viewInBrowser();
        return;

    case Command::Italic:
    case Command::Bold:
    case Command::Paragraph:
    case Command::LineBreak:
    case Command::Underline:
    case Command::AspOpening:
    case Command::JavaScriptOpening: {
        const OneClickTag *tag = m_oneClickTags[std::size_t(command)];
        if (!tag)
            qFatal("%s has no one-click tag", qPrintable(commandSpec(command).name));
        insertOneClickTag(page, *tag);
        return;
    }
    case Command::Space:
        insertNonBreakingSpace(page);
        return;
    case Command::Body:
        showTagDialog<BodyDialog>(page, this);
        return;
    case Command::Cell:
        showTagDialog<CellDialog>(page, this);
        return;
    case Command::Div:
        showTagDialog<DivDialog>(page, this);
        return;
    case Command::Link:
        showTagDialog<LinkDialog>(page, this);
        return;
    case Command::Font:
        showTagDialog<FontDialog>(page, this);
        return;
    case Command::Iframe:
        showTagDialog<IframeDialog>(page, this);
        return;
    case Command::Table:
        showTagDialog<TableDialog>(page, this);
        return;
    case Command::DatabaseConnection:
        showDatabaseDialog(page, this);
        return;
    case Command::PopUp:
        showPopupDialog(page, prompts, this);
        return;
    case Command::CurrentTime:
        insertClockScript(page, prompts);
        return;
    case Command::MetaTags:
        showMetaTagsDialog(this);
        return;
    case Command::FindReplace:
        if (!sourceInFront())
            return;
        if (!m_findReplace)
            m_findReplace = new FindReplaceDialog(page, this);
        m_findReplace->present();
        return;
    case Command::FindInFiles:
        showFolderResults();
        return;
    case Command::ReopenUtf8:
        return m_document->reopenAs(TextEncoding::Utf8);
    case Command::ReopenWindows1252:
        return m_document->reopenAs(TextEncoding::Windows1252);
    case Command::ReopenIso885915:
        return m_document->reopenAs(TextEncoding::Iso885915);
    case Command::ReopenUtf16:
        return m_document->reopenAs(TextEncoding::Utf16LittleEndian);
    case Command::SaveInUtf8:
        return runFileCommand([this] { m_document->saveIn(TextEncoding::Utf8); });
    case Command::SaveInWindows1252:
        return runFileCommand([this] { m_document->saveIn(TextEncoding::Windows1252); });
    case Command::SaveInIso885915:
        return runFileCommand([this] { m_document->saveIn(TextEncoding::Iso885915); });
    case Command::SaveInUtf16:
        return runFileCommand([this] { m_document->saveIn(TextEncoding::Utf16LittleEndian); });
    case Command::LineEndsCrLf:
        m_document->convertLineEnds(PageText::LineEnd::CrLf);
        return showLineEnds(false);
    case Command::LineEndsLf:
        m_document->convertLineEnds(PageText::LineEnd::Lf);
        return showLineEnds(false);
    case Command::NextWindow:
        goToWindow(1);
        return;
    case Command::PreviousWindow:
        goToWindow(-1);
        return;
    case Command::RememberSession:
        // Turned off, the pages already remembered are not offered either.
        if (!on)
            forgetOpenPages();
        return;

    case Command::LineNumbers:
        view.setLineNumbersShown(on);
        return;
    case Command::HighlightLine:
        view.setCurrentLineHighlighted(on);
        return;
    case Command::WrapLines:
        view.setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
        return;
    case Command::SpellAsYouType:
        m_liveSpelling->setEnabled(on);
        return;
    case Command::ZoomIn:
        zoomBy(1);
        return;
    case Command::ZoomOut:
        zoomBy(-1);
        return;
    case Command::NormalSize:
        zoomBy(-m_zoom);
        return;
    case Command::MatchingTag:
        m_tagPairs->goToPair();
        return;
    case Command::LivePreview:
        m_previewController->setFollowsText(on);
        return;

    case Command::Spelling:
        m_spelling->run(page, prompts, this);
        return;
    case Command::Undo:
        m_events->history().DeshacerComando();
        return;
    case Command::Redo:
        m_events->history().RehacerComando();
        return;

    case Command::Suggestions:
        m_writingAids->setSuggestionsEnabled(on);
        return;
    case Command::CloseTags:
        m_writingAids->setClosingTagsEnabled(on);
        return;
    case Command::ReviewPage:
        m_pageReview->review();
        return;

    case Command::Help:
        prompts.notify(QStringLiteral(
            "La ayuda todavía no está disponíble, pulsa la tecla F2 para visitar la web oficial de "
            "este programa, allí hay unos foros donde podrás resolver tus dudas. Disculpa las "
            "molestias."));
        return;
    case Command::ProgramPage:
        m_services.opener->open(QUrl(weblinks::ProgramPage));
        return;
    case Command::AuthorPage:
        m_services.opener->open(QUrl(weblinks::AuthorPage));
        return;
    case Command::About:
        AboutDialog(this).exec();
        return;
    }
}

QString MainWindow::pageFolder() const
{
    const QString path = m_document->state().archivoActual;
    return path.isEmpty() ? QString() : QFileInfo(path).absolutePath();
}

void MainWindow::applyZoom(int steps)
{
    // From 6 points to four times the normal size.
    m_zoom = std::clamp(steps, std::min(0, 6 - m_normalFontSize), 3 * m_normalFontSize);
    QFont font = m_view->font();
    font.setPointSize(m_normalFontSize + m_zoom);
    m_view->setFont(font);
}

void MainWindow::zoomBy(int steps)
{
    applyZoom(m_zoom + steps);
    userSettings()->setValue(QStringLiteral("ver/zoom"), m_zoom);
}

void MainWindow::runFileCommand(const std::function<void()> &command)
{
    bool saved = false;
    bool replaced = false;
    bool titled = false;
    const QMetaObject::Connection watches[] = {
        connect(m_document, &DocumentController::saved, this, [&saved] { saved = true; }),
        connect(m_document, &DocumentController::pageReplaced, this,
                [&replaced] { replaced = true; }),
        connect(m_document, &DocumentController::titleChanged, this, [&titled] { titled = true; }),
    };
    command();
    for (const QMetaObject::Connection &watch : watches)
        disconnect(watch);
    const QString name = m_document->state().archivoActual;
    if (replaced && !titled)
        setWindowTitle(StartTitle);
    else if (saved && !replaced && !name.isEmpty())
        pageNamed(name);
}

void MainWindow::pageNamed(const QString &path)
{
    setWindowTitle(PageTitle.arg(path));
    m_panes->setFolderPath(QFileInfo(path).absolutePath());
    RecentPages::add(path);
}

void MainWindow::fillRecentPages()
{
    auto *menu = findChild<QMenu *>(QStringLiteral("mn_recientes"));
    menu->clear();
    const QStringList pages = RecentPages::list();
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const QString path = pages.at(i);
        // 1 to 9, then 10 reached by its 0.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QAction *entry = menu->addAction(
            number + u' ' + QString(path).replace(QStringLiteral("&"), QStringLiteral("&&")));
        connect(entry, &QAction::triggered, this, [this, path] { openRecentPage(path); });
    }
    menu->menuAction()->setEnabled(!pages.isEmpty());
}

void MainWindow::openRecentPage(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        m_services.prompts->notify(
            QStringLiteral("La página \"%1\" ya no existe; se quita de las páginas recientes.")
                .arg(path));
        RecentPages::remove(path);
        return;
    }
    runFileCommand([this, path] { m_document->askThenOpenPath(path); });
}

void MainWindow::connectPageFollowers()
{
    m_modifiedNotice = new QLabel;
    m_modifiedNotice->setObjectName(QStringLiteral("lblmodificado"));
    auto *status = findChild<QWidget *>(QStringLiteral("estado"));
    static_cast<QGridLayout *>(status->layout())->addWidget(m_modifiedNotice, 0, 6);
    const auto showModified = [this] {
        m_modifiedNotice->setText(m_document->isModified() ? QStringLiteral("Modificado")
                                                           : QString());
    };
    connect(&m_view->page(), &PageText::changed, this, showModified);
    connect(m_document, &DocumentController::saved, this, showModified);
    connect(m_document, &DocumentController::pageReplaced, this, showModified);
    showModified();
    // Every page loaded with a name, from wherever, brings the panes to its folder.
    connect(m_document, &DocumentController::titleChanged, this, [this](const QString &title) {
        const QString path = pathInTitle(title);
        if (path.isEmpty())
            return;
        m_panes->setFolderPath(QFileInfo(path).absolutePath());
        RecentPages::add(path);
    });
    // Built as Archivo opens: the list may have changed in another window since, and an
    // entry is never taken away while its own command runs.
    connect(findChild<QMenu *>(QStringLiteral("mn_archivo")), &QMenu::aboutToShow, this,
            &MainWindow::fillRecentPages);
    // Built as Ventana opens, from the windows as they are then.
    connect(findChild<QMenu *>(QStringLiteral("mn_ventana")), &QMenu::aboutToShow, this,
            &MainWindow::fillWindowList);
    fillRecentPages();
}

QPrinter &MainWindow::printer()
{
    // Made when first needed: looking for printers is not part of starting up.
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

void MainWindow::printTo(QPrinter &target)
{
    // The page's name as the title shows it, also for a page opened from the panes.
    const QString path = pathInTitle(windowTitle());
    const QString name = path.isEmpty() ? QStringLiteral("Sin título") : QFileInfo(path).fileName();
    target.setDocName(name);
    printPage(m_view->page(), name, target);
}

bool MainWindow::sourceInFront() const
{
    return m_documentTabs->currentWidget() == m_view;
}

void MainWindow::updateClipboardCommands()
{
    // With the preview in front the disabled commands leave their keys to the page.
    const bool source = sourceInFront();
    const bool canPaste = m_services.clipboard->hasText();
    m_commands.value(QStringLiteral("mn_pegar"))->setEnabled(source && canPaste);
    const bool selected =
        source ? m_view->textCursor().hasSelection() : !m_preview->selectedText().isEmpty();
    m_commands.value(QStringLiteral("mn_copiar"))->setEnabled(selected);
    m_commands.value(QStringLiteral("mn_cortar"))->setEnabled(source && selected);
    m_commands.value(QStringLiteral("mn_reemplazar"))->setEnabled(source);
    m_commands.value(QStringLiteral("mn_seleccionartodo"))->setEnabled(source);
    m_commands.value(QStringLiteral("mn_buscarreemplazar"))->setEnabled(source);
}

void MainWindow::refreshEstimate()
{
    const PageEstimate estimate = estimateFor(m_view->page().textLength());
    m_size->setText(estimate.size);
    m_modem->setText(estimate.modem);
    m_adsl->setText(estimate.adsl);
    // The preview shows the saved file only while it matches the screen.
    m_document->textDiffersFromSavedFile();
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
    m_openWindow = std::move(open);
    m_commands.value(commandSpec(Command::NewWindow).name)->setEnabled(true);
}

void MainWindow::setWindowList(std::function<QList<MainWindow *>()> windows)
{
    m_windowList = std::move(windows);
}

QList<MainWindow *> MainWindow::windowList() const
{
    return m_windowList ? m_windowList() : QList<MainWindow *>{const_cast<MainWindow *>(this)};
}

QString MainWindow::pageName() const
{
    const QString path = pathInTitle(windowTitle());
    return path.isEmpty() ? QStringLiteral("Sin título") : QFileInfo(path).fileName();
}

void MainWindow::bringToFront()
{
    if (isMinimized())
        showNormal();
    raise();
    activateWindow();
}

void MainWindow::fillWindowList()
{
    auto *menu = findChild<QMenu *>(QStringLiteral("mn_ventana"));
    qDeleteAll(std::exchange(m_windowEntries, {}));
    m_windowEntries.append(menu->addSeparator());
    const QList<MainWindow *> windows = windowList();
    for (qsizetype i = 0; i < windows.size(); ++i) {
        MainWindow *window = windows.at(i);
        QString caption = window->pageName().replace(u'&', QStringLiteral("&&"));
        if (window->m_document->isModified())
            caption += QStringLiteral(" (Modificado)");
        if (i < 9)
            caption = QStringLiteral("&%1 ").arg(i + 1) + caption;
        QAction *entry = menu->addAction(caption);
        entry->setCheckable(true);
        entry->setChecked(window == this);
        // The window may have closed by the time its entry is chosen.
        connect(entry, &QAction::triggered, this, [this, target = QPointer(window)] {
            if (target && windowList().contains(target.data()))
                target->bringToFront();
        });
        m_windowEntries.append(entry);
    }
}

void MainWindow::goToWindow(int step)
{
    const QList<MainWindow *> windows = windowList();
    const qsizetype here = windows.indexOf(this);
    if (here < 0 || windows.size() < 2)
        return;
    windows.at((here + step + windows.size()) % windows.size())->bringToFront();
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

void MainWindow::showFolderResults()
{
    if (!m_folderResults) {
        auto *dock = new QDockWidget(QStringLiteral("Resultados de la búsqueda"), this);
        dock->setObjectName(QStringLiteral("resultadosbusqueda"));
        m_folderResults = new FolderResults(dock);
        dock->setWidget(m_folderResults);
        addDockWidget(Qt::BottomDockWidgetArea, dock);
        connect(m_folderResults, &FolderResults::hitChosen, this, &MainWindow::openHit);
    }
    const QString selected = m_view->page().selectedText();
    const bool oneLine = !selected.contains(u'\r') && !selected.contains(u'\n');
    m_folderResults->parentWidget()->show();
    m_folderResults->parentWidget()->raise();
    m_folderResults->prepare(m_panes->folderPath(), oneLine ? selected : QString());
}

void MainWindow::openHit(const QString &path, qint64 start, qint64 length, bool inNewWindow)
{
    MainWindow *window = this;
    if (inNewWindow && m_windowForPage) {
        window = m_windowForPage();
        window->document().openPath(path);
    } else if (m_document->isModified()) {
        m_document->askThenOpenPath(path);
    } else {
        m_document->openPath(path);
    }
    // A page not opened (the question backed out of, or the file gone) keeps its selection.
    if (QFileInfo(window->document().state().archivoActual) != QFileInfo(path))
        return;
    PageText &page = window->surface().page();
    page.setSelectionStart(start);
    page.setSelectionLength(length);
    window->activateWindow();
    window->surface().setFocus();
}

void MainWindow::connectEncodingLabels()
{
    auto *grid =
        static_cast<QGridLayout *>(findChild<QWidget *>(QStringLiteral("estado"))->layout());
    const auto label = [grid](const QString &name, int column) {
        auto *result = new QLabel;
        result->setObjectName(name);
        result->setTextFormat(Qt::PlainText);
        grid->addWidget(result, 1, column);
        return result;
    };
    m_encodingLabel = label(QStringLiteral("lblcodificacion"), 7);
    m_lineEndsLabel = label(QStringLiteral("lblfinales"), 8);
    m_positionLabel = label(QStringLiteral("lblposicion"), 9);
    m_lineEndsCount = new QTimer(this);
    m_lineEndsCount->setSingleShot(true);
    m_lineEndsCount->setInterval(250);
    connect(m_lineEndsCount, &QTimer::timeout, this, [this] { showLineEnds(true); });

    const auto pageShown = [this] {
        showEncoding();
        showLineEnds(false);
    };
    connect(m_document, &DocumentController::pageReplaced, this, pageShown);
    connect(m_document, &DocumentController::saved, this, pageShown);
    connect(&m_view->page(), &PageText::changed, this, [this] { showLineEnds(false); });
    // Shown once the caret rests: a label that changes repaints the status area, which would
    // cost every keystroke of a burst a tenth of a millisecond or more. Later is also safe: Qt
    // announces the caret's move from inside a new text's setting, before the page's own
    // tables have caught up.
    m_positionShown = new QTimer(this);
    m_positionShown->setSingleShot(true);
    m_positionShown->setInterval(150);
    connect(m_positionShown, &QTimer::timeout, this, &MainWindow::showPosition);
    connect(m_view, &QPlainTextEdit::cursorPositionChanged, m_positionShown,
            qOverload<>(&QTimer::start));
    pageShown();
    showPosition();
}

void MainWindow::showEncoding()
{
    m_encodingLabel->setText(encodingCaption(m_document->state().encoding));
}

void MainWindow::showLineEnds(bool counted)
{
    const PageText &page = m_view->page();
    const auto name = [](PageText::LineEnd end) {
        switch (end) {
        case PageText::LineEnd::Lf:
            return QStringLiteral("LF");
        case PageText::LineEnd::Cr:
            return QStringLiteral("CR");
        default:
            return QStringLiteral("CR LF");
        }
    };
    if (page.linesAlike()) {
        m_lineEndsCount->stop();
        m_lineEndsLabel->setText(name(page.pageLineEnd()));
        return;
    }
    // Only a page that mixes them, or holds a long line in parts, needs its lines counted.
    if (!counted) {
        m_lineEndsCount->start();
        return;
    }
    const int blocks = page.document()->blockCount();
    std::optional<PageText::LineEnd> seen;
    for (int block = 0; block + 1 < blocks; ++block) {
        const PageText::LineEnd end = page.lineEndOf(block);
        if (end == PageText::LineEnd::None)
            continue;
        if (seen && *seen != end) {
            m_lineEndsLabel->setText(QStringLiteral("Mixtos"));
            return;
        }
        seen = end;
    }
    m_lineEndsLabel->setText(name(seen.value_or(page.pageLineEnd())));
}

void MainWindow::showPosition()
{
    const PageText &page = m_view->page();
    const QTextCursor caret = m_view->textCursor();
    const int block = caret.blockNumber();
    int line = block;
    qint64 column = caret.positionInBlock();
    if (!page.linesAlike()) {
        // A long line is held in several blocks, joined by breaks that are no characters.
        line = page.lineOfBlock(block);
        const int first = page.firstBlockOfLine(line);
        column = caret.position() - page.document()->findBlockByNumber(first).position() -
                 (block - first);
    }
    m_positionLabel->setText(QStringLiteral("Lín %1, col %2").arg(line + 1).arg(column + 1));
}

} // namespace zendral
