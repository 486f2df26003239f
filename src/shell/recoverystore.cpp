#include "recoverystore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zendral {

namespace {

const QString CopySuffix = QStringLiteral(".recovery");
const QString LockSuffix = QStringLiteral(".lock");
std::unique_ptr<QLockFile> lockFile(const QString &path)
{
    auto lock = std::make_unique<QLockFile>(path);
    // Only a lock whose process is gone is stale, however old it is: an editor may run for
    // days.
    lock->setStaleLockTime(0);
    return lock;
}

void complain(const QString &message)
{
    QTextStream(stderr) << QStringLiteral("zendral: %1\n").arg(message);
}

// Makes folder, and checks it, without following a symbolic link in its place: a link there
// would send the user's pages wherever it leads. Returns why it cannot hold the copies, in
// Spanish, or an empty string.
QString prepareFolder(const QString &folder)
{
    const QString refused = QStringLiteral("No se guardarán copias de recuperación: la carpeta "
                                           "\"%1\" %2.")
                                .arg(folder);
    if (!QDir().mkpath(QFileInfo(folder).absolutePath()))
        return refused.arg(QStringLiteral("no se puede crear"));
    const QByteArray name = QFile::encodeName(folder);
    if (::mkdir(name.constData(), S_IRWXU) != 0 && errno != EEXIST)
        return refused.arg(QStringLiteral("no se puede crear (%1)").arg(errorReason(errno)));
    const int descriptor =
        ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (descriptor < 0) {
        struct stat status;
        if (::lstat(name.constData(), &status) == 0 && S_ISLNK(status.st_mode))
            return refused.arg(QStringLiteral("es un enlace simbólico"));
        return refused.arg(QStringLiteral("no se puede abrir (%1)").arg(errorReason(errno)));
    }
    struct stat status;
    QString problem;
    if (::fstat(descriptor, &status) != 0)
        problem = refused.arg(QStringLiteral("no se puede leer (%1)").arg(errorReason(errno)));
    else if (status.st_uid != ::geteuid())
        problem = refused.arg(QStringLiteral("pertenece a otro usuario"));
    else if (::fchmod(descriptor, S_IRWXU) != 0)
        problem =
            refused.arg(QStringLiteral("no se puede hacer privada (%1)").arg(errorReason(errno)));
    ::close(descriptor);
    return problem;
}

} // namespace

QString RecoveryStore::defaultFolder()
{
    QString state = qEnvironmentVariable("XDG_STATE_HOME");
    // XDG says a relative path there is to be ignored.
    if (state.isEmpty() || QDir::isRelativePath(state))
        state = QDir::homePath() + QStringLiteral("/.local/state");
    return state + QStringLiteral("/zendral");
}

RecoveryStore::RecoveryStore(const QString &folder)
    : m_folder(folder), m_id(QStringLiteral("%1-%2")
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(QDateTime::currentMSecsSinceEpoch()))
{
    m_worker.setMaxThreadCount(1);
    m_problem = prepareFolder(m_folder);
    if (!m_problem.isEmpty()) {
        complain(m_problem);
        return;
    }
    // Two stores that one process opens in the same millisecond must not share a name.
    while (QFileInfo::exists(lockPathOf(m_id)) || QFileInfo::exists(copyPathOf(m_id)))
        m_id += u'x';
    auto lock = lockFile(lockPathOf(m_id));
    if (!lock->tryLock(0)) {
        complain(QStringLiteral("no se puede bloquear \"%1\"; no se guardarán copias de "
                                "recuperación.")
                     .arg(lockPathOf(m_id)));
        return;
    }
    m_lock = std::move(lock);
}

RecoveryStore::~RecoveryStore()
{
    waitForWrites();
}

void RecoveryStore::leave()
{
    waitForWrites();
    m_lock.reset();
}

QString RecoveryStore::copyPath() const
{
    return copyPathOf(m_id);
}

QString RecoveryStore::copyPathOf(const QString &id) const
{
    return m_folder + u'/' + id + CopySuffix;
}

QString RecoveryStore::lockPathOf(const QString &id) const
{
    return m_folder + u'/' + id + LockSuffix;
}

void RecoveryStore::queue(std::function<void()> work)
{
    // Without its lock held, this editor's copy would look orphaned to every other editor.
    if (!m_lock)
        return;
    const quint64 generation = ++m_generation;
    m_worker.start([this, generation, work = std::move(work)] {
        if (generation == m_generation.load())
            work();
    });
}

void RecoveryStore::write(PageText::Copy text, const QString &path, TextEncoding encoding,
                          const FileStamp &file)
{
    // Turned into the page's text here, on the worker thread, a piece at a time.
    auto copy = std::make_shared<PageText::Copy>(std::move(text));
    write(
        [copy](const PieceTaker &take) {
            while (!copy->atEnd()) {
                if (!take(copy->next(qsizetype(1) << 20)))
                    return;
            }
        },
        path, encoding, file);
}

void RecoveryStore::write(const TextPieces &text, const QString &path, TextEncoding encoding,
                          const FileStamp &file)
{
    queue([this, text, path, encoding, file] {
        if (!writeRecoveryCopy(copyPath(), text, path, encoding, file))
            complain(QStringLiteral("no se pudo escribir la copia de recuperación \"%1\".")
                         .arg(copyPath()));
    });
}

void RecoveryStore::remove()
{
    queue([this] { QFile::remove(copyPath()); });
}

void RecoveryStore::waitForWrites()
{
    m_worker.waitForDone();
}

QList<RecoveryCopy> RecoveryStore::takeOrphans()
{
    QList<RecoveryCopy> found;
    // The copies in a folder that was refused are no one's to offer.
    if (!m_problem.isEmpty())
        return found;
    const QDir folder(m_folder);
    QStringList ids;
    for (const QString &name :
         folder.entryList({u'*' + CopySuffix, u'*' + LockSuffix}, QDir::Files | QDir::Hidden)) {
        const QString id = name.left(name.lastIndexOf(u'.'));
        if (id != m_id && !ids.contains(id) && !m_claimed.contains(id))
            ids.append(id);
    }
    for (const QString &id : ids) {
        std::shared_ptr<QLockFile> lock = lockFile(lockPathOf(id));
        if (!lock->tryLock(0))
            continue; // its editor is running, or another editor is offering it
        // A write cut short by the end of its editor leaves a temporary file beside the copy.
        for (const QString &partial :
             folder.entryList({id + CopySuffix + QStringLiteral(".*")}, QDir::Files | QDir::Hidden))
            QFile::remove(folder.filePath(partial));
        RecoveryCopy copy;
        copy.id = id;
        copy.copyFile = copyPathOf(id);
        copy.written = QFileInfo(copy.copyFile).lastModified();
        if (!readRecoveryCopy(copy.copyFile, copy))
            continue; // no copy: the page had no unsaved changes
        found.append(copy);
        m_claimed.insert(id, lock);
    }
    std::sort(found.begin(), found.end(),
              [](const RecoveryCopy &a, const RecoveryCopy &b) { return a.written > b.written; });
    return found;
}

bool RecoveryStore::adopt(const RecoveryCopy &copy)
{
    if (!m_claimed.contains(copy.id))
        return false;
    bool adopted = false;
    queue([this, &adopted, from = copyPathOf(copy.id)] {
        // rename() replaces this editor's copy in one step.
        adopted = std::rename(QFile::encodeName(from).constData(),
                              QFile::encodeName(copyPath()).constData()) == 0;
    });
    waitForWrites();
    if (!adopted) {
        // The old copy stays, to be offered again should this editor end before it writes its
        // own.
        release(copy);
        return false;
    }
    m_claimed.remove(copy.id);
    return true;
}

void RecoveryStore::discard(const RecoveryCopy &copy)
{
    // The lock is let go only once the copy is gone, so that no editor can take it meanwhile.
    const std::shared_ptr<QLockFile> lock = m_claimed.take(copy.id);
    if (lock)
        QFile::remove(copyPathOf(copy.id));
}

void RecoveryStore::release(const RecoveryCopy &copy)
{
    m_claimed.remove(copy.id);
}

void RecoveryStore::passClaim(const RecoveryCopy &copy, RecoveryStore &to)
{
    if (const std::shared_ptr<QLockFile> lock = m_claimed.take(copy.id))
        to.m_claimed.insert(copy.id, lock);
}

} // namespace zendral
