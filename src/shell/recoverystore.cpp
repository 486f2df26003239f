#include "recoverystore.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringEncoder>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace zendral {

namespace {

const QString CopySuffix = QStringLiteral(".recovery");
const QString LockSuffix = QStringLiteral(".lock");
constexpr int FormatVersion = 1;

// How a copy names the page's encoding, so that a recovered page is saved as it was read.
struct EncodingName
{
    TextEncoding encoding;
    QStringView name;
};
constexpr EncodingName EncodingNames[] = {
    {TextEncoding::Utf8, QStringView(u"utf-8")},
    {TextEncoding::Utf8WithBom, QStringView(u"utf-8-bom")},
    {TextEncoding::Windows1252, QStringView(u"windows-1252")},
    {TextEncoding::Utf16LittleEndian, QStringView(u"utf-16le")},
    {TextEncoding::Utf16BigEndian, QStringView(u"utf-16be")},
    {TextEncoding::Binary, QStringView(u"binary")},
    {TextEncoding::Iso885915, QStringView(u"iso-8859-15")},
};

QString encodingName(TextEncoding encoding)
{
    for (const EncodingName &entry : EncodingNames) {
        if (entry.encoding == encoding)
            return entry.name.toString();
    }
    return EncodingNames[0].name.toString();
}

TextEncoding encodingNamed(const QString &name)
{
    for (const EncodingName &entry : EncodingNames) {
        if (name == entry.name)
            return entry.encoding;
    }
    return TextEncoding::Utf8;
}

bool readCopy(const QString &file, RecoveryCopy &copy)
{
    QFile input(file);
    if (!QFileInfo(file).isFile() || !input.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = input.readAll();
    const qsizetype headerEnd = bytes.indexOf('\n');
    if (headerEnd < 0)
        return false;
    const QJsonObject header = QJsonDocument::fromJson(bytes.left(headerEnd)).object();
    if (header.value(QStringLiteral("version")).toInt() != FormatVersion)
        return false;
    copy.path = header.value(QStringLiteral("path")).toString();
    copy.encoding = encodingNamed(header.value(QStringLiteral("encoding")).toString());
    copy.text = QString::fromUtf8(bytes.constData() + headerEnd + 1, bytes.size() - headerEnd - 1);
    return true;
}

// A header line (the page's path and encoding, in JSON so that any path fits on one line),
// then the text in UTF-8.
bool writeCopy(const QString &file, const TextPieces &text, const QString &path,
               TextEncoding encoding)
{
    const QJsonObject header{{QStringLiteral("version"), FormatVersion},
                             {QStringLiteral("path"), path},
                             {QStringLiteral("encoding"), encodingName(encoding)}};
    QSaveFile output(file);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    // QSaveFile commits a short write as if it were whole: check every count.
    const auto put = [&output](const QByteArray &bytes) {
        return output.write(bytes) == bytes.size();
    };
    bool whole = put(QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n');
    // One encoder for all the parts: it carries a character split between two of them.
    QStringEncoder encoder(QStringConverter::Utf8);
    text([&](QStringView part) { return whole = whole && put(encoder.encode(part)); });
    if (!whole) {
        output.cancelWriting();
        return false;
    }
    return output.commit();
}

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
    // Two stores that one process opens in the same millisecond must not share a name.
    while (QFileInfo::exists(lockPathOf(m_id)) || QFileInfo::exists(copyPathOf(m_id)))
        m_id += u'x';
    if (!QDir().mkpath(m_folder) ||
        !QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner)) {
        complain(QStringLiteral("no se puede crear la carpeta de recuperación \"%1\"; no se "
                                "guardarán copias de recuperación.")
                     .arg(m_folder));
        return;
    }
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

void RecoveryStore::write(const QStringList &text, const QString &path, TextEncoding encoding)
{
    write(
        [text](const PieceTaker &take) {
            for (const QString &part : text) {
                if (!take(part))
                    return;
            }
        },
        path, encoding);
}

void RecoveryStore::write(PageText::Copy text, const QString &path, TextEncoding encoding)
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
        path, encoding);
}

void RecoveryStore::write(const TextPieces &text, const QString &path, TextEncoding encoding)
{
    queue([this, text, path, encoding] {
        if (!writeCopy(copyPath(), text, path, encoding))
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
        copy.written = QFileInfo(copyPathOf(id)).lastModified();
        if (!readCopy(copyPathOf(id), copy))
            continue; // no copy (the page had no unsaved changes), or not one this editor wrote
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
