#pragma once

#include "mainwindow.h"
#include "recoverystore.h"
#include "spellingcheck.h"

#include <QList>
#include <QObject>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

namespace zendral {

// The program's main windows. Each has its own page, questions and recovery copy; the
// settings and the recovery folder are shared. The program ends when the last one closes.
class WindowSet : public QObject
{
    Q_OBJECT

public:
    // services gives each new window its platform services (empty members: the real ones);
    // recoveryFolder is where the windows keep their recovery copies.
    explicit WindowSet(std::function<MainWindowServices()> services = {},
                       const QString &recoveryFolder = RecoveryStore::defaultFolder(),
                       QObject *parent = nullptr);
    // Every window still open ends cleanly: its recovery copy goes.
    ~WindowSet() override;

    // The first window: the copies left by editors that did not end cleanly are offered, each
    // recovered in a window, then the pages open when the program last ended normally, each
    // in its window; then page (when not empty) is opened, in a window of its own when the
    // first holds a page already, then whatever pages arrived meanwhile.
    MainWindow *openFirst(const QString &page);
    // Archivo › Nueva ventana: another window with the start-up page, in front.
    MainWindow *openWindow();
    // A page opened from the desktop while the program runs (empty: only a window). The
    // window last in front takes it while it shows the untouched start-up page; otherwise
    // it opens in a new window.
    void openHandedOver(const QString &page);

    // The program is being ended by another (the desktop session ending): every page's
    // unsaved changes go into its recovery copy, which the next start offers, and the pages
    // open are offered after them.
    void keepCopiesForNextStart();

    // The open windows, the one last in front first.
    QList<MainWindow *> windows() const;
    // The open windows in the order they opened, as Ventana lists them.
    QList<MainWindow *> windowsInOrder() const;

    // The question that offers the pages open when the program last ended.
    static QString reopenQuestion(const QStringList &pages);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct Entry;
    Entry &open(std::unique_ptr<RecoveryStore> store);
    void windowClosed(MainWindow *window);
    // Offers the pages open at the last normal end, but asked, the page the program was
    // started with; returns whether one went into first.
    bool offerLastPages(Entry &first, const QString &asked);

    std::function<MainWindowServices()> m_services;
    QString m_recoveryFolder;
    // Taken as the program starts, so that an editor starting beside this one sees it running.
    std::unique_ptr<RecoveryStore> m_firstStore;
    // One for every window: a word the user adds in one is known in all.
    std::unique_ptr<SpellingCheck> m_spelling;
    std::vector<std::unique_ptr<Entry>> m_entries;
    // Closed windows wait here for their close to finish before they go.
    std::vector<std::unique_ptr<Entry>> m_closed;
    QStringList m_waiting;
    quint64 m_opened = 0;
    bool m_started = false;
};

} // namespace zendral
