#include "windowset.h"

#include "crashrecovery.h"
#include "documentcontroller.h"
#include "editingsurface.h"
#include "prompts.h"
#include "spelldictionary.h"
#include "usersettings.h"

#include <QEvent>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>

namespace zendral {

struct WindowSet::Entry
{
    // Declared in the order they are built: torn down the other way round, the recovery
    // before the window it watches, the store last.
    std::unique_ptr<RecoveryStore> store;
    std::unique_ptr<MainWindow> window;
    std::unique_ptr<CrashRecovery> recovery;
    quint64 opened = 0; // the how-manieth window of the program
};

namespace {

// A page named relative to where the program was started is kept by its whole path: the next
// start may be elsewhere.
QString absolute(const QString &path)
{
    return path.isEmpty() ? path : QFileInfo(path).absoluteFilePath();
}

} // namespace

WindowSet::WindowSet(std::function<MainWindowServices()> services, const QString &recoveryFolder,
                     QObject *parent)
    : QObject(parent), m_services(std::move(services)), m_recoveryFolder(recoveryFolder),
      m_firstStore(std::make_unique<RecoveryStore>(recoveryFolder)),
      m_spelling(std::make_unique<SpellingCheck>(installedDictionaries(), userWordsFile()))
{}

WindowSet::~WindowSet()
{
    for (const std::unique_ptr<Entry> &entry : m_entries) {
        entry->recovery->endCleanly();
        // A window torn down still reports losing the activation, after the list is gone.
        entry->window->removeEventFilter(this);
    }
    m_entries.clear();
    m_closed.clear();
}

MainWindow *WindowSet::openFirst(const QString &page)
{
    Entry &first = open(m_firstStore ? std::move(m_firstStore)
                                     : std::make_unique<RecoveryStore>(m_recoveryFolder));
    MainWindow *window = first.window.get();
    // Told once, by the first window: the windows share the folder, and each would fail alike.
    if (!first.store->problem().isEmpty())
        window->prompts().notify(first.store->problem());
    // A program with several windows leaves several copies: each is recovered in a window.
    const bool recovered = first.recovery->offerOrphans([this]() -> CrashRecovery & {
        return *open(std::make_unique<RecoveryStore>(m_recoveryFolder)).recovery;
    });
    const bool restored = offerLastPages(first, page);
    // A recovered page is unsaved: the page asked for gets a window of its own.
    if (!page.isEmpty() && (recovered || restored))
        openWindow()->document().openPath(page);
    else if (!page.isEmpty())
        window->document().openPath(page);
    // Pages handed over while the questions above were open wait until they are answered.
    m_started = true;
    const QStringList waiting = std::exchange(m_waiting, {});
    for (const QString &other : waiting)
        openHandedOver(other);
    return window;
}

QString WindowSet::reopenQuestion(const QStringList &pages)
{
    return QStringLiteral("La última vez que se cerró Zendral estaban abiertas estas páginas:\n%1\n"
                          "¿Quieres abrirlas de nuevo?")
        .arg(pages.join(u'\n'));
}

bool WindowSet::offerLastPages(Entry &first, const QString &asked)
{
    if (!rememberOpenPages())
        return false;
    QStringList pages;
    QStringList open{absolute(asked)};
    for (MainWindow *window : windowsInOrder())
        open.append(absolute(window->document().state().archivoActual));
    // A recovered page is open already, as the page asked for will be; one gone since would
    // only be told missing.
    for (const QString &path : takeOpenPages()) {
        if (QFileInfo(path).isFile() && !open.contains(path) && !pages.contains(path))
            pages.append(path);
    }
    if (pages.isEmpty() || !first.window->prompts().ask(reopenQuestion(pages)))
        return false;
    const auto untouched = [&first] { return first.window->document().state().untouched; };
    bool firstTaken = !untouched();
    for (const QString &path : pages) {
        MainWindow *window = firstTaken ? openWindow() : first.window.get();
        window->document().openPath(path);
        firstTaken = true;
    }
    return !untouched();
}

MainWindow *WindowSet::openWindow()
{
    return open(std::make_unique<RecoveryStore>(m_recoveryFolder)).window.get();
}

void WindowSet::openHandedOver(const QString &page)
{
    if (!m_started) {
        m_waiting.append(page);
        return;
    }
    if (!page.isEmpty() && !m_entries.empty()) {
        Entry &front = *m_entries.front();
        if (front.window->document().state().untouched) {
            front.window->document().openPath(page);
            front.window->raise();
            front.window->activateWindow();
            return;
        }
    }
    MainWindow *window = openWindow();
    if (!page.isEmpty())
        window->document().openPath(page);
}

QList<MainWindow *> WindowSet::windows() const
{
    QList<MainWindow *> result;
    for (const std::unique_ptr<Entry> &entry : m_entries)
        result.append(entry->window.get());
    return result;
}

QList<MainWindow *> WindowSet::windowsInOrder() const
{
    std::vector<const Entry *> entries;
    for (const std::unique_ptr<Entry> &entry : m_entries)
        entries.push_back(entry.get());
    std::sort(entries.begin(), entries.end(),
              [](const Entry *a, const Entry *b) { return a->opened < b->opened; });
    QList<MainWindow *> result;
    for (const Entry *entry : entries)
        result.append(entry->window.get());
    return result;
}

WindowSet::Entry &WindowSet::open(std::unique_ptr<RecoveryStore> store)
{
    auto entry = std::make_unique<Entry>();
    entry->store = std::move(store);
    entry->opened = ++m_opened;
    MainWindowServices services = m_services ? m_services() : MainWindowServices{};
    if (!services.spelling)
        services.spelling = m_spelling.get();
    entry->window = std::make_unique<MainWindow>(services);
    MainWindow *window = entry->window.get();
    entry->recovery = std::make_unique<CrashRecovery>(window->surface().page(), window->document(),
                                                      *entry->store, window->prompts());
    Entry *opened = entry.get();
    connect(window, &MainWindow::closed, this, [this, window] { windowClosed(window); });
    window->setNewWindowCommand([this] { openWindow(); });
    window->setWindowForPage([this] { return openWindow(); });
    window->setWindowList([this] { return windowsInOrder(); });
    window->installEventFilter(this);
    m_entries.insert(m_entries.begin(), std::move(entry));
    window->show();
    // Whatever had the keyboard, the window the user works in takes it over.
    window->activateWindow();
    return *opened;
}

void WindowSet::keepCopiesForNextStart()
{
    // Ended with the desktop session, the program ends normally for its user: every window's
    // page is offered again.
    if (rememberOpenPages()) {
        QStringList pages;
        for (MainWindow *window : windowsInOrder()) {
            const QString path = absolute(window->document().state().archivoActual);
            if (!path.isEmpty() && !pages.contains(path))
                pages.append(path);
        }
        keepOpenPages(pages);
    }
    for (const std::unique_ptr<Entry> &entry : m_entries)
        entry->recovery->keepForNextStart();
    if (m_firstStore)
        m_firstStore->leave();
}

void WindowSet::windowClosed(MainWindow *window)
{
    const auto found =
        std::find_if(m_entries.begin(), m_entries.end(),
                     [window](const auto &entry) { return entry->window.get() == window; });
    if (found == m_entries.end())
        return;
    // The page's question was answered: whatever the user chose for the text, its copy goes.
    (*found)->recovery->endCleanly();
    // The last window closing ends the program normally: its pages are offered at the next
    // start.
    if (m_entries.size() == 1 && rememberOpenPages()) {
        const QString path = absolute(window->document().state().archivoActual);
        keepOpenPages(path.isEmpty() ? QStringList() : QStringList{path});
    }
    m_closed.push_back(std::move(*found));
    m_entries.erase(found);
    // The window is still inside its close.
    QTimer::singleShot(0, this, [this] { m_closed.clear(); });
}

bool WindowSet::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowActivate) {
        const auto found =
            std::find_if(m_entries.begin(), m_entries.end(),
                         [watched](const auto &entry) { return entry->window.get() == watched; });
        if (found != m_entries.end())
            std::rotate(m_entries.begin(), found, found + 1);
    }
    return QObject::eventFilter(watched, event);
}

} // namespace zendral
