#pragma once

#include "documentfile.h"
#include "documentstate.h"
#include "pagetext.h"
#include "recoverycopy.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QLockFile>
#include <QString>
#include <QThreadPool>

#include <atomic>
#include <memory>

namespace zendral {

// The recovery copies of unsaved pages, in a folder that every running editor shares.
//
// Each editor writes one copy, named after its process and start time, beside a lock file it
// holds while it runs. A copy is orphaned, and may be taken by another editor, only once its
// lock is free: its editor ended without removing it. Writes and removals run in order on a
// worker thread, so that a large page is never written on the thread that takes keystrokes.
class RecoveryStore
{
public:
    // The user's state folder for the editor: $XDG_STATE_HOME/zendral, by default
    // ~/.local/state/zendral.
    static QString defaultFolder();

    explicit RecoveryStore(const QString &folder = defaultFolder());
    // Copies larger than this are not read: the page they hold could not be shown anyway.
    static constexpr qint64 LargestCopy = LargestRecoveryCopy;
    // Waits for queued writes; the copy stays if remove() was not called, as after a crash.
    ~RecoveryStore();

    // Where this editor's copy goes.
    QString copyPath() const;
    // Why no copies can be kept, in Spanish (the folder cannot be made, is a symbolic link or
    // another user's); empty when they can.
    QString problem() const { return m_problem; }

    // Queues a write of this editor's copy, replacing the one before it atomically; returns at
    // once. The page's text is taken at once; the worker thread turns it into the page's text,
    // a piece at a time. A write that a later write or removal supersedes before it starts is
    // skipped. file is what the page's file was when the page was last read or saved.
    void write(PageText::Copy text, const QString &path, TextEncoding encoding,
               const FileStamp &file = {});
    // Queues the removal of this editor's copy after the writes before it.
    void remove();
    // Waits until every queued write and removal is done.
    void waitForWrites();
    // Waits for the writes and lets go of this editor's copy, so that the next start offers it
    // at once, as after a crash.
    void leave();

    // The copies left by editors that no longer run. Each one returned is claimed (its lock
    // taken) until adopt(), discard() or release(), so that no other editor offers it too.
    // A copy that cannot be shown as a page comes with its fault, so that the user may
    // delete it.
    QList<RecoveryCopy> takeOrphans();
    // Makes the claimed copy this editor's own copy: the page it held is now on screen. When
    // it cannot, the copy is released and false returned.
    bool adopt(const RecoveryCopy &copy);
    // Deletes the claimed copy.
    void discard(const RecoveryCopy &copy);
    // Leaves the claimed copy for a later start.
    void release(const RecoveryCopy &copy);
    // Passes the claim on the copy to another store of this editor, to be adopted there.
    void passClaim(const RecoveryCopy &copy, RecoveryStore &to);

private:
    QString copyPathOf(const QString &id) const;
    QString lockPathOf(const QString &id) const;
    void write(const TextPieces &text, const QString &path, TextEncoding encoding,
               const FileStamp &file);
    // Queues work that runs unless a later write or removal was queued before it started.
    void queue(std::function<void()> work);

    QString m_folder;
    QString m_problem;
    QString m_id;
    std::unique_ptr<QLockFile> m_lock;
    QHash<QString, std::shared_ptr<QLockFile>> m_claimed;
    QThreadPool m_worker;
    std::atomic<quint64> m_generation = 0;
};

} // namespace zendral
