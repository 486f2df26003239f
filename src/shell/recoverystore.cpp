#include "recoverystore.h"

#include "pageencoding.h"

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
#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// The header names a path of a few kilobytes at most.
constexpr qint64 LongestHeader = 64 * 1024;

// The stamp's numbers as strings: JSON numbers are doubles, too narrow for an inode.
QJsonObject stampObject(const FileStamp &file)
{
    const auto number = [](auto value) { return QString::number(value); };
    return {{QStringLiteral("exists"), file.exists},
            {QStringLiteral("regular"), file.regular},
            {QStringLiteral("symbolicLink"), file.symbolicLink},
            {QStringLiteral("nameDevice"), number(file.nameDevice)},
            {QStringLiteral("nameInode"), number(file.nameInode)},
            {QStringLiteral("device"), number(file.device)},
            {QStringLiteral("inode"), number(file.inode)},
            {QStringLiteral("size"), number(file.size)},
            {QStringLiteral("modifiedSeconds"), number(file.modifiedSeconds)},
            {QStringLiteral("modifiedNanoseconds"), number(file.modifiedNanoseconds)}};
}

FileStamp stampFrom(const QJsonObject &object)
{
    const auto unsignedNumber = [&object](const char *key) {
        return object.value(QLatin1String(key)).toString().toULongLong();
    };
    const auto number = [&object](const char *key) {
        return object.value(QLatin1String(key)).toString().toLongLong();
    };
    FileStamp file;
    file.exists = object.value(QStringLiteral("exists")).toBool();
    file.regular = object.value(QStringLiteral("regular")).toBool();
    file.symbolicLink = object.value(QStringLiteral("symbolicLink")).toBool();
    file.nameDevice = unsignedNumber("nameDevice");
    file.nameInode = unsignedNumber("nameInode");
    file.device = unsignedNumber("device");
    file.inode = unsignedNumber("inode");
    file.size = number("size");
    file.modifiedSeconds = number("modifiedSeconds");
    file.modifiedNanoseconds = number("modifiedNanoseconds");
    return file;
}

QString megabytes(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg((bytes + (1 << 20) - 1) >> 20);
}

// Reads the copy in file, never more than a copy may hold. Sets copy.fault when the copy is
// not one this editor can show as a page; returns false when there is no copy to speak of.
bool readCopy(const QString &file, RecoveryCopy &copy)
{
    const QString unreadable = QStringLiteral("no es una copia de recuperación válida");
    struct stat status;
    if (::lstat(QFile::encodeName(file).constData(), &status) != 0)
        return false; // the page had no unsaved changes
    if (!S_ISREG(status.st_mode)) {
        copy.fault = unreadable;
        return true;
    }
    if (status.st_size > RecoveryStore::LargestCopy + LongestHeader) {
        copy.fault = QStringLiteral("es demasiado grande (%1; el límite es %2)")
                         .arg(megabytes(status.st_size), megabytes(RecoveryStore::LargestCopy));
        return true;
    }
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        copy.fault = QStringLiteral("no se puede leer (%1)").arg(input.errorString());
        return true;
    }
    const QByteArray headerLine = input.readLine(LongestHeader);
    QJsonParseError error;
    const QJsonObject header = QJsonDocument::fromJson(headerLine, &error).object();
    const QJsonValue path = header.value(QStringLiteral("path"));
    if (!headerLine.endsWith('\n') || error.error != QJsonParseError::NoError ||
        header.value(QStringLiteral("version")).toInt() != FormatVersion || !path.isString()) {
        copy.fault = unreadable;
        return true;
    }
    copy.path = path.toString();
    // Saved, such a page would go wherever the program happens to be started.
    if (!copy.path.isEmpty() && QDir::isRelativePath(copy.path)) {
        copy.fault =
            QStringLiteral("nombra la página con una ruta relativa (\"%1\")").arg(copy.path);
        return true;
    }
    copy.encoding = encodingNamed(header.value(QStringLiteral("encoding")).toString());
    copy.file = stampFrom(header.value(QStringLiteral("file")).toObject());
    // Bounded even though the size was checked: the file may have grown since.
    const QByteArray text = input.read(RecoveryStore::LargestCopy + 1);
    if (text.size() > RecoveryStore::LargestCopy) {
        copy.fault = QStringLiteral("es demasiado grande (más de %1)")
                         .arg(megabytes(RecoveryStore::LargestCopy));
        return true;
    }
    copy.text = decodeUtf8KeepingBytes(text);
    return true;
}

// A header line (the page's path and encoding, in JSON so that any path fits on one line),
// then the text in UTF-8.
bool writeCopy(const QString &file, const TextPieces &text, const QString &path,
               TextEncoding encoding, const FileStamp &stamp)
{
    const QJsonObject header{{QStringLiteral("version"), FormatVersion},
                             {QStringLiteral("path"), path},
                             {QStringLiteral("encoding"), encodingName(encoding)},
                             {QStringLiteral("file"), stampObject(stamp)}};
    QSaveFile output(file);
    if (!output.open(QIODevice::WriteOnly))
        return false;
    // The page's text is for its author's eyes only, whatever the umask says.
    if (::fchmod(output.handle(), S_IRUSR | S_IWUSR) != 0) {
        output.cancelWriting();
        return false;
    }
    // QSaveFile commits a short write as if it were whole: check every count.
    const auto put = [&output](const QByteArray &bytes) {
        return output.write(bytes) == bytes.size();
    };
    bool whole = put(QJsonDocument(header).toJson(QJsonDocument::Compact) + '\n');
    // One encoder for all the parts: it carries a character split between two of them. The
    // bytes a UTF-8 page was read with that were not UTF-8 go as they were, as saving writes
    // them, and come back as the same characters.
    QStringEncoder encoder(QStringConverter::Utf8);
    bool afterHighHalf = false;
    text([&](QStringView part) {
        qsizetype from = 0;
        for (qsizetype i = 0; i < part.size() && whole; ++i) {
            const char16_t c = part[i].unicode();
            const bool paired = i == 0 ? afterHighHalf : part[i - 1].isHighSurrogate();
            if (c < 0xDC80 || c > 0xDCFF || paired)
                continue;
            whole = put(encoder.encode(part.sliced(from, i - from))) &&
                    put(QByteArray(1, char(c - 0xDC00)));
            from = i + 1;
        }
        whole = whole && put(encoder.encode(part.sliced(from)));
        afterHighHalf = !part.isEmpty() && part.back().isHighSurrogate();
        return whole;
    });
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
        if (!writeCopy(copyPath(), text, path, encoding, file))
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
        if (!readCopy(copy.copyFile, copy))
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
