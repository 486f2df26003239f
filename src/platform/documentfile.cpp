#include "documentfile.h"

#include "pageencoding.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <new>
#include <optional>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

namespace zendral {

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");
const QByteArray Utf16LittleBom("\xFF\xFE");
const QByteArray Utf16BigBom("\xFE\xFF");
constexpr qint64 WriteChunk = 1 << 20;
constexpr qsizetype BinaryProbe = 8192;
// Stands for a CR without LF in a binary file: the editor would take that CR for a line break.
constexpr QChar LoneCr(0x240D);
// The most links followed one after the other, as the system allows.
constexpr int MostLinks = 40;

// The words for a system error this editor explains; none for the others.
std::optional<QString> systemReason(int error)
{
    switch (error) {
    case ENOENT:
        return QStringLiteral("el archivo o la carpeta no existe");
    case EACCES:
    case EPERM:
        return QStringLiteral("no tienes permiso");
    case EROFS:
        return QStringLiteral("el disco es de solo lectura");
    case ENOSPC:
        return QStringLiteral("no queda espacio en el disco");
    case EFBIG:
        return QStringLiteral("el archivo es demasiado grande para el disco");
    case EISDIR:
        return QStringLiteral("es una carpeta");
    case ENAMETOOLONG:
        return QStringLiteral("el nombre es demasiado largo");
    case ENOTDIR:
        return QStringLiteral("una parte de la ruta no es una carpeta");
    case EIO:
        return QStringLiteral("error de entrada/salida del disco");
    case ELOOP:
        return QStringLiteral("hay un bucle de enlaces simbólicos: un enlace lleva, directamente o "
                              "a través de otros, a sí mismo");
    default:
        return std::nullopt;
    }
}

QString reasonFor(int error, QFileDevice::FileError fileError)
{
    if (std::optional<QString> reason = systemReason(error))
        return *reason;
    switch (fileError) {
    case QFileDevice::ReadError:
        return QStringLiteral("error al leer");
    case QFileDevice::WriteError:
        return QStringLiteral("error al escribir (¿disco lleno?)");
    case QFileDevice::PermissionsError:
        return QStringLiteral("no tienes permiso");
    case QFileDevice::OpenError:
        return QStringLiteral("no se pudo abrir");
    case QFileDevice::RenameError:
        return QStringLiteral("no se pudo reemplazar el archivo anterior");
    default:
        return QStringLiteral("error desconocido");
    }
}

QString readError(const QString &path, const QString &reason)
{
    return QStringLiteral("No se pudo leer el archivo \"%1\": %2.").arg(shownName(path), reason);
}

QString writeError(const QString &path, const QString &reason)
{
    return QStringLiteral("No se pudo guardar el archivo \"%1\": %2. El archivo anterior no se ha "
                          "modificado.")
        .arg(shownName(path), reason);
}

// The first line end of a text, CR LF when it has none.
QString firstLineEnd(QStringView text)
{
    const auto found =
        std::find_if(text.begin(), text.end(), [](QChar c) { return c == u'\r' || c == u'\n'; });
    const qsizetype at = found == text.end() ? -1 : found - text.begin();
    if (at < 0 || (text.at(at) == u'\r' && at + 1 < text.size() && text.at(at + 1) == u'\n'))
        return QStringLiteral("\r\n");
    return QString(text.at(at));
}

// Every line end is kept as it was read; a last line without one is ended with one of the
// page's own kind.
void endLines(QString content, DecodedDocument &document)
{
    const qsizetype size = content.size();
    const QChar *data = content.constData();
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = data[i];
        if (c != u'\r' && c != u'\n')
            continue;
        document.longestLine = std::max(document.longestLine, i - lineStart);
        if (c == u'\r' && i + 1 < size && data[i + 1] == u'\n')
            ++i;
        lineStart = i + 1;
    }
    document.longestLine = std::max(document.longestLine, size - lineStart);
    if (size > 0 && lineStart != size)
        content.append(firstLineEnd(content));
    document.text = std::move(content);
}

// Binary bytes kept as they are: only a CR without LF is held as LoneCr.
void keepLines(QString content, DecodedDocument &document)
{
    const qsizetype size = content.size();
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (content.at(i) != u'\r')
            continue;
        if (i + 1 < size && content.at(i + 1) == u'\n') {
            document.longestLine = std::max(document.longestLine, i - lineStart);
            lineStart = i + 2;
        } else {
            content[i] = LoneCr;
        }
    }
    document.longestLine = std::max(document.longestLine, size - lineStart);
    document.text = std::move(content);
}

// The text of a UTF-16 body, or a null string when the body is not valid UTF-16.
QString utf16Text(QByteArrayView body, QStringConverter::Encoding order)
{
    if (body.size() % 2 != 0)
        return QString();
    QStringDecoder decoder(order, QStringDecoder::Flag::Stateless);
    QString text = decoder.decode(body);
    QStringEncoder back(order, QStringEncoder::Flag::Stateless);
    // A lone surrogate is no character: a page holds whole code points, and such bytes are
    // kept as a binary file's.
    if (decoder.hasError() || !QStringView(text).isValidUtf16() ||
        QByteArrayView(QByteArray(back.encode(text))) != body)
        return QString();
    return text.isNull() ? QStringLiteral("") : text;
}

// The text of bytes in a one-byte encoding, in which every byte has its character.
QString singleByteText(QByteArrayView bytes, TextEncoding encoding)
{
    QStringDecoder decoder(encoding == TextEncoding::Iso885915 ? "ISO-8859-15" : "windows-1252",
                           QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

int lastError()
{
    return errno ? errno : EIO;
}

// What a file that is not a regular file is, for the message that refuses it.
QString kindOf(mode_t mode)
{
    if (S_ISDIR(mode))
        return QStringLiteral("una carpeta");
    if (S_ISFIFO(mode))
        return QStringLiteral("una tubería (FIFO)");
    if (S_ISSOCK(mode))
        return QStringLiteral("un socket");
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return QStringLiteral("un dispositivo");
    return QStringLiteral("un archivo especial");
}

QString notRegular(mode_t mode)
{
    return QStringLiteral("no es un archivo normal, es %1").arg(kindOf(mode));
}

// The entry of folder whose name Qt decodes as name, or name encoded when there is not
// exactly one.
QByteArray entryNamed(const QByteArray &folder, const QString &name)
{
    QByteArray found;
    int matches = 0;
    if (DIR *dir = ::opendir(folder.isEmpty() ? "." : folder.constData())) {
        while (const dirent *entry = ::readdir(dir)) {
            if (QFile::decodeName(entry->d_name) == name) {
                found = entry->d_name;
                ++matches;
            }
        }
        ::closedir(dir);
    }
    return matches == 1 ? found : QFile::encodeName(name);
}

// Where a name's bytes that are not UTF-8 stand: U+DC00 plus the byte.
constexpr char16_t ByteStandIns = 0xDC00;

// The length of the whole code point that UTF-8 bytes hold at i, or 0 when they hold none
// there (strictly: no overlong form, no surrogate, nothing past U+10FFFF, nothing cut short).
qsizetype codePointLength(QByteArrayView bytes, qsizetype i)
{
    const uchar lead = uchar(bytes[i]);
    if (lead < 0x80)
        return 1;
    qsizetype length = 0;
    uchar low = 0x80, high = 0xBF; // what the second byte may be
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > bytes.size())
        return 0;
    for (qsizetype k = 1; k < length; ++k) {
        const uchar next = uchar(bytes[i + k]);
        if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF))
            return 0;
    }
    return length;
}

// Whether the unit at i of a name stands for a byte that is not UTF-8.
bool standsForByte(QStringView name, qsizetype i)
{
    const char16_t c = name[i].unicode();
    return c >= ByteStandIns + 0x80 && c <= ByteStandIns + 0xFF &&
           (i == 0 || !name[i - 1].isHighSurrogate());
}

// A name's bytes, each stand-in back to its byte.
QByteArray bytesOf(QStringView name)
{
    QByteArray bytes;
    qsizetype run = 0;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (!standsForByte(name, i))
            continue;
        bytes += name.sliced(run, i - run).toUtf8();
        bytes += char(name[i].unicode() - ByteStandIns);
        run = i + 1;
    }
    return bytes + name.sliced(run).toUtf8();
}

// Follows symbolic links from path to the file they lead to, which need not exist; 0 or the
// system's error.
int followLinks(QByteArray &path)
{
    for (int hops = 0; hops <= MostLinks; ++hops) {
        struct stat status;
        if (::lstat(path.constData(), &status) != 0)
            return errno == ENOENT ? 0 : lastError();
        if (!S_ISLNK(status.st_mode))
            return 0;
        QByteArray target(qMax<qsizetype>(status.st_size, 255) + 1, Qt::Uninitialized);
        const ssize_t length = ::readlink(path.constData(), target.data(), target.size());
        if (length < 0 || length >= target.size())
            return length < 0 ? lastError() : ENAMETOOLONG;
        target.truncate(length);
        if (!target.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : path.first(slash + 1));
        }
        path = target;
    }
    return ELOOP;
}

// Stands for a file that holds more than LargeFile, in place of a system error.
constexpr int TooLarge = -1;

// Reads fd to its end, no further than LargeFile; 0, the system's error or TooLarge.
int readAll(int fd, QByteArray &bytes, qint64 sizeHint, ByteDigest &digest)
{
    bytes.reserve(std::min(sizeHint, LargeFile) + 1);
    QByteArray chunk(WriteChunk, Qt::Uninitialized);
    for (;;) {
        const ssize_t count = ::read(fd, chunk.data(), chunk.size());
        if (count == 0)
            return 0;
        if (count < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        if (bytes.size() + count > LargeFile)
            return TooLarge;
        bytes.append(chunk.constData(), count);
        digest.add(QByteArrayView(chunk.constData(), count));
    }
}

// A size in megabytes, or in gigabytes past ten of them, rounded up.
QString sizeText(qint64 bytes)
{
    constexpr qint64 Mega = qint64(1) << 20;
    constexpr qint64 Giga = qint64(1) << 30;
    if (bytes > 10 * Giga)
        return QStringLiteral("%1 GB").arg((bytes + Giga - 1) / Giga);
    return QStringLiteral("%1 MB").arg((bytes + Mega - 1) / Mega);
}

QString tooLarge(qint64 size)
{
    if (size > LargeFile)
        return QStringLiteral("ocupa %1, más de los %2 que el editor puede abrir")
            .arg(sizeText(size), sizeText(LargeFile));
    return QStringLiteral("ocupa más de los %1 que el editor puede abrir, aunque el sistema no "
                          "dice su tamaño")
        .arg(sizeText(LargeFile));
}

// Reads a regular file whole, no further than LargeFile, without ever waiting on a pipe;
// the reason it could not be read, in Spanish, or none.
std::optional<QString> readRegular(const QByteArray &name, QByteArray &bytes, ByteDigest &digest)
{
    struct stat status;
    if (::stat(name.constData(), &status) != 0)
        return reasonFor(lastError(), QFileDevice::OpenError);
    // Opening a pipe waits for a writer, and a device may never end: neither is opened.
    if (!S_ISREG(status.st_mode))
        return notRegular(status.st_mode);
    // Refused before anything is read: a sparse file may tell any size.
    if (status.st_size > LargeFile)
        return tooLarge(status.st_size);
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return reasonFor(lastError(), QFileDevice::OpenError);
    int error = 0;
    // What was opened is checked again: the name may have been given to a pipe meanwhile.
    if (::fstat(fd, &status) != 0) {
        error = lastError();
    } else if (!S_ISREG(status.st_mode)) {
        ::close(fd);
        return notRegular(status.st_mode);
    } else {
        error = readAll(fd, bytes, status.st_size, digest);
    }
    ::close(fd);
    if (error == TooLarge)
        return tooLarge(status.st_size);
    if (error)
        return reasonFor(error, QFileDevice::ReadError);
    return std::nullopt;
}

// Writes all of bytes to fd; 0 or the system's error.
int writeAll(int fd, QByteArrayView bytes)
{
    for (qint64 offset = 0; offset < bytes.size();) {
        const qint64 chunk = std::min<qint64>(WriteChunk, bytes.size() - offset);
        const ssize_t written = ::write(fd, bytes.constData() + offset, size_t(chunk));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return lastError();
        }
        // A short count is no error yet: the next write says why it stopped.
        offset += written;
    }
    return 0;
}

QString userName(uid_t user)
{
    const passwd *entry = ::getpwuid(user);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString::number(user);
}

QString groupName(gid_t group)
{
    const struct group *entry = ::getgrgid(group);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString::number(group);
}

QString ownerQuestion(const QString &path, const struct stat &old)
{
    return QStringLiteral("No tienes permiso para que \"%1\" siga siendo de %2:%3. Si lo guardas, "
                          "pasará a ser de %4:%5 y puede que su dueño ya no pueda usarlo. "
                          "¿Quieres guardarlo igualmente?")
        .arg(shownName(path), userName(old.st_uid), groupName(old.st_gid), userName(::geteuid()),
             groupName(::getegid()));
}

QString linksQuestion(const QString &path, nlink_t links)
{
    const QString others = links == 2
                               ? QStringLiteral("otro nombre (un enlace duro)")
                               : QStringLiteral("otros %1 nombres (enlaces duros)").arg(links - 1);
    return QStringLiteral("El archivo \"%1\" tiene %2. Si lo guardas, este nombre pasará a ser un "
                          "archivo aparte y %3 el contenido anterior. ¿Quieres guardarlo?")
        .arg(shownName(path), others,
             links == 2 ? QStringLiteral("el otro conservará")
                        : QStringLiteral("los otros conservarán"));
}

QString attributesQuestion(const QString &path)
{
    return QStringLiteral("No se pueden conservar los atributos extendidos o la lista de control "
                          "de acceso (ACL) de \"%1\". Si lo guardas, los perderá y puede que "
                          "otros usuarios ya no puedan usarlo. ¿Quieres guardarlo igualmente?")
        .arg(shownName(path));
}

// The names of a file's extended attributes, each ended by NUL; a null array when they cannot
// be listed.
QByteArray attributeNames(const QByteArray &file)
{
    for (;;) {
        const ssize_t size = ::listxattr(file.constData(), nullptr, 0);
        if (size < 0)
            return errno == ENOTSUP ? QByteArray("") : QByteArray();
        QByteArray names(size, Qt::Uninitialized);
        const ssize_t listed = ::listxattr(file.constData(), names.data(), size_t(size));
        if (listed >= 0)
            return names.first(listed);
        if (errno != ERANGE)
            return QByteArray();
    }
}

// One extended attribute's value; none when it cannot be read.
std::optional<QByteArray> attribute(const std::function<ssize_t(void *, size_t)> &get)
{
    for (;;) {
        const ssize_t size = get(nullptr, 0);
        if (size < 0)
            return std::nullopt;
        QByteArray value(size, Qt::Uninitialized);
        const ssize_t read = get(value.data(), size_t(size));
        if (read >= 0)
            return value.first(read);
        if (errno != ERANGE)
            return std::nullopt;
    }
}

// Gives fd the extended attributes of file, its access list (system.posix_acl_access) among
// them; false when one of them could not be carried over. Set after the mode: the list sets the
// group's bits of the mode to its mask, which a later mode would overwrite.
bool copyAttributes(const QByteArray &file, int fd)
{
    const QByteArray names = attributeNames(file);
    if (names.isNull())
        return false;
    for (const QByteArray &name : names.split('\0')) {
        if (name.isEmpty())
            continue;
        const std::optional<QByteArray> value = attribute([&](void *data, size_t size) {
            return ::getxattr(file.constData(), name.constData(), data, size);
        });
        if (!value)
            return false;
        // What the new file already holds (a label the system gives) needs no permission.
        if (attribute([&](void *data, size_t size) {
                return ::fgetxattr(fd, name.constData(), data, size);
            }) == value)
            continue;
        if (::fsetxattr(fd, name.constData(), value->constData(), size_t(value->size()), 0) != 0)
            return false;
    }
    return true;
}

// The hidden name the new bytes are written under before they replace the file: the file's
// name after a dot, then a dot and six characters that mkstemp chooses. The file's name is cut
// short (at the start of a character) where the whole would be longer than a name may be.
QByteArray temporaryPrefix(const QByteArray &fileName)
{
    constexpr qsizetype Longest = NAME_MAX - 8;
    qsizetype length = std::min(fileName.size(), Longest);
    while (length > 0 && length < fileName.size() && (uchar(fileName[length]) & 0xC0) == 0x80)
        --length;
    return '.' + fileName.first(length) + '.';
}

// Removes what a killed save of the same file left in folder: a hidden file of ours under its
// temporary name that no save holds locked.
void removeLeftovers(const QByteArray &folder, const QByteArray &prefix)
{
    DIR *dir = ::opendir(folder.isEmpty() ? "." : folder.constData());
    if (!dir)
        return;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArrayView name(entry->d_name);
        if (name.size() != prefix.size() + 6 || !name.startsWith(prefix))
            continue;
        const int fd = ::openat(::dirfd(dir), entry->d_name,
                                O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat status;
        if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_uid == ::geteuid() &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

} // namespace

QString errorReason(int systemError)
{
    return systemReason(systemError)
        .value_or(QStringLiteral("error del sistema %1").arg(systemError));
}

void ByteDigest::add(QByteArrayView bytes)
{
    // Hashed a block at a time, so that where the pieces were cut makes no difference.
    constexpr qsizetype Block = qsizetype(64) << 10;
    if (!m_pending.isEmpty()) {
        const qsizetype taken = std::min(bytes.size(), Block - m_pending.size());
        m_pending.append(bytes.first(taken));
        bytes = bytes.sliced(taken);
        if (m_pending.size() < Block)
            return;
        m_hash = qHashBits(m_pending.constData(), size_t(Block), m_hash);
        m_pending.resize(0);
    }
    for (; bytes.size() >= Block; bytes = bytes.sliced(Block))
        m_hash = qHashBits(bytes.constData(), size_t(Block), m_hash);
    m_pending.append(bytes);
}

quint64 ByteDigest::result() const
{
    return qHashMulti(m_hash, m_pending.size(),
                      qHashBits(m_pending.constData(), size_t(m_pending.size()), m_hash));
}

QString nameFromSystem(const QByteArray &bytes)
{
    QString name;
    qsizetype run = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        if (const qsizetype length = codePointLength(bytes, i)) {
            i += length;
            continue;
        }
        name += QString::fromUtf8(QByteArrayView(bytes).sliced(run, i - run));
        name += QChar(char16_t(ByteStandIns + uchar(bytes[i])));
        run = ++i;
    }
    return name + QString::fromUtf8(QByteArrayView(bytes).sliced(run));
}

QByteArray systemName(const QString &name)
{
    if (!name.contains(QChar::ReplacementCharacter))
        return bytesOf(name);
    // Qt read a name that is not UTF-8 with U+FFFD in place of what it could not decode: only
    // the folder's entries tell which name that was.
    QByteArray resolved;
    const QStringList parts = name.split(u'/');
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString &part = parts.at(i);
        const QByteArray folder = resolved;
        if (i > 0)
            resolved += '/';
        resolved +=
            part.contains(QChar::ReplacementCharacter) ? entryNamed(folder, part) : bytesOf(part);
    }
    return resolved;
}

FileStamp FileStamp::of(const QString &path)
{
    FileStamp stamp;
    const QByteArray name = systemName(path);
    struct stat status;
    if (::lstat(name.constData(), &status) != 0)
        return stamp;
    stamp.exists = true;
    stamp.symbolicLink = S_ISLNK(status.st_mode);
    stamp.nameDevice = status.st_dev;
    stamp.nameInode = status.st_ino;
    if (stamp.symbolicLink && ::stat(name.constData(), &status) != 0)
        return stamp;
    stamp.regular = S_ISREG(status.st_mode);
    stamp.device = status.st_dev;
    stamp.inode = status.st_ino;
    stamp.size = status.st_size;
    stamp.modifiedSeconds = status.st_mtim.tv_sec;
    stamp.modifiedNanoseconds = status.st_mtim.tv_nsec;
    return stamp;
}

QString shownName(const QString &name)
{
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i) {
        if (standsForByte(name, i))
            shown[i] = QChar::ReplacementCharacter;
    }
    return shown;
}

bool looksBinary(QByteArrayView bytes)
{
    if (bytes.startsWith(Utf16LittleBom) || bytes.startsWith(Utf16BigBom))
        return false;
    return bytes.first(std::min(bytes.size(), BinaryProbe)).contains('\0');
}

DecodedDocument decodeDocument(const QByteArray &bytes)
{
    DecodedDocument result;
    const QByteArrayView whole(bytes);
    for (const auto &[mark, order, encoding] :
         {std::tuple(Utf16LittleBom, QStringConverter::Utf16LE, TextEncoding::Utf16LittleEndian),
          std::tuple(Utf16BigBom, QStringConverter::Utf16BE, TextEncoding::Utf16BigEndian)}) {
        if (!bytes.startsWith(mark))
            continue;
        const QString content = utf16Text(whole.sliced(mark.size()), order);
        if (content.isNull())
            break;
        result.encoding = encoding;
        endLines(std::move(content), result);
        return result;
    }
    if (looksBinary(bytes) || whole.startsWith(Utf16LittleBom) || whole.startsWith(Utf16BigBom)) {
        // A UTF-16 mark on what is not UTF-16 is kept with the rest, byte for byte.
        QStringDecoder windows("windows-1252", QStringDecoder::Flag::Stateless);
        result.encoding = TextEncoding::Binary;
        keepLines(windows.decode(bytes), result);
        return result;
    }
    QByteArrayView body(bytes);
    result.encoding = TextEncoding::Utf8;
    const bool marked = bytes.startsWith(Utf8Bom);
    if (marked) {
        body = body.sliced(Utf8Bom.size());
        result.encoding = TextEncoding::Utf8WithBom;
    }
    // A mark decides before any declaration, as it does for a browser.
    std::optional<TextEncoding> declared;
    if (!marked) {
        const CharsetDeclaration declaration = findCharsetDeclaration(
            QString::fromLatin1(whole.first(std::min(whole.size(), DeclarationReach))));
        result.declared = declaration.label;
        if (declaration.found()) {
            declared = encodingForLabel(declaration.label);
            if (!declared)
                result.notice = QStringLiteral("La página declara la codificación \"%1\", que "
                                               "Zendral no sabe leer ni escribir: se ha leído sin "
                                               "ella.")
                                    .arg(declaration.label);
        }
    }
    if (declared && *declared != TextEncoding::Utf8) {
        // Both one-byte encodings give every byte a character of its own.
        endLines(singleByteText(bytes, *declared), result);
        result.encoding = *declared;
        return result;
    }
    // A mark after the one taken off above is text: kept, so that it is written back.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString content = utf8.decode(body);
    // Valid UTF-8 only when it also comes back byte for byte.
    QStringEncoder back(QStringEncoder::Utf8);
    const QByteArray again = back.encode(content);
    if (utf8.hasError() || QByteArrayView(again) != body) {
        const InvalidUtf8 invalid = checkUtf8(body);
        if (declared || invalid.multibyte > invalid.count)
            result.notice =
                QStringLiteral("La página %1, pero %2 de sus bytes no son UTF-8 válido (el "
                               "primero, en la línea %3): se ha leído como Windows-1252. Para "
                               "leerla como UTF-8, conservando esos bytes tal como están, usa "
                               "Archivo > Codificación > Volver a abrir como > UTF-8.")
                    .arg(declared ? QStringLiteral("declara UTF-8")
                                  : QStringLiteral("parece UTF-8"))
                    .arg(invalid.count)
                    .arg(invalid.firstLine + 1);
        content = singleByteText(bytes, TextEncoding::Windows1252);
        result.encoding = TextEncoding::Windows1252;
    }
    endLines(std::move(content), result);
    return result;
}

std::optional<DecodedDocument> decodeDocumentAs(const QByteArray &bytes, TextEncoding encoding)
{
    DecodedDocument result;
    result.encoding = encoding;
    const QByteArrayView whole(bytes);
    switch (encoding) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithBom: {
        const bool marked = whole.startsWith(Utf8Bom);
        result.encoding = marked ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
        endLines(decodeUtf8KeepingBytes(whole.sliced(marked ? Utf8Bom.size() : 0)), result);
        break;
    }
    case TextEncoding::Utf16LittleEndian:
    case TextEncoding::Utf16BigEndian: {
        const bool big = whole.startsWith(Utf16BigBom);
        const bool marked = big || whole.startsWith(Utf16LittleBom);
        const QString content =
            utf16Text(whole.sliced(marked ? 2 : 0),
                      big ? QStringConverter::Utf16BE : QStringConverter::Utf16LE);
        if (content.isNull())
            return std::nullopt;
        result.encoding = big ? TextEncoding::Utf16BigEndian : TextEncoding::Utf16LittleEndian;
        endLines(content, result);
        break;
    }
    case TextEncoding::Windows1252:
    case TextEncoding::Iso885915:
        endLines(singleByteText(bytes, encoding), result);
        break;
    case TextEncoding::Binary:
        return decodeDocument(bytes);
    }
    result.declared = findCharsetDeclaration(result.text).label;
    return result;
}

namespace {

// How many encoded bytes are gathered before they are handed on: under the size at which
// a buffer becomes memory of its own (memoryreturn.h), so that it is reused.
constexpr qsizetype EncodedBuffer = qsizetype(512) << 10;

// Takes encoded bytes; a system error number, or 0.
using ByteSink = std::function<int(QByteArrayView bytes)>;

struct Encoding
{
    TextEncoding encoding = TextEncoding::Utf8;
    bool fellBackToUtf8 = false;
    // The text held a character the encoding cannot hold, and nothing was to be written.
    bool unencodable = false;
    int error = 0;
};

// Encodes a text handed in pieces, gathering the bytes in a buffer of half a megabyte, so
// that no copy of the whole text or of its bytes is ever made. After the text comes a line
// end unless it already ends with one (none for Binary): of the page's own kind, its first.
class PieceEncoder
{
public:
    PieceEncoder(TextEncoding encoding, bool asUtf8, const ByteSink &sink)
        : m_binary(encoding == TextEncoding::Binary), m_sink(sink),
          m_encoder(encoderFor(encoding, asUtf8))
    {
        if (!asUtf8 && encoding == TextEncoding::Utf8WithBom)
            m_buffer = Utf8Bom;
        else if (!asUtf8 && encoding == TextEncoding::Utf16LittleEndian)
            m_buffer = Utf16LittleBom;
        else if (!asUtf8 && encoding == TextEncoding::Utf16BigEndian)
            m_buffer = Utf16BigBom;
        // Only the one-byte encodings have characters they cannot hold.
        m_checked = !asUtf8 && (encoding == TextEncoding::Windows1252 ||
                                encoding == TextEncoding::Iso885915 || m_binary);
        m_keepsBytes =
            asUtf8 || encoding == TextEncoding::Utf8 || encoding == TextEncoding::Utf8WithBom;
    }

    // False once the pieces cannot go on: an error, or a character the encoding lacks.
    bool add(QStringView piece)
    {
        if (stopped() || piece.isEmpty())
            return !stopped();
        noteLineEnds(piece);
        if (m_binary && piece.contains(LoneCr)) {
            const QString kept = piece.toString().replace(LoneCr, u'\r');
            m_buffer += QByteArray(m_encoder.encode(kept));
        } else if (m_keepsBytes && std::any_of(piece.begin(), piece.end(), [](QChar c) {
                       return c.unicode() >= 0xDC80 && c.unicode() <= 0xDCFF;
                   })) {
            addKeepingBytes(piece);
        } else {
            m_buffer += QByteArray(m_encoder.encode(piece));
        }
        if (m_checked && m_encoder.hasError()) {
            m_unencodable = true;
            return false;
        }
        if (m_buffer.size() >= EncodedBuffer)
            flush();
        return !stopped();
    }

    // Ends the text; 0, or the system error that stopped the bytes.
    int finish()
    {
        if (stopped())
            return m_error;
        if (!m_binary && m_last != u'\n' && m_last != u'\r') {
            const QString end = m_firstEnd.isEmpty()
                                    ? (m_pendingCr ? QStringLiteral("\r") : QStringLiteral("\r\n"))
                                    : m_firstEnd;
            m_buffer += QByteArray(m_encoder.encode(end));
        }
        flush();
        return m_error;
    }

    bool unencodable() const { return m_unencodable; }

private:
    static QStringEncoder encoderFor(TextEncoding encoding, bool asUtf8)
    {
        if (asUtf8)
            return QStringEncoder(QStringEncoder::Utf8);
        switch (encoding) {
        case TextEncoding::Utf16LittleEndian:
            return QStringEncoder(QStringEncoder::Utf16LE);
        case TextEncoding::Utf16BigEndian:
            return QStringEncoder(QStringEncoder::Utf16BE);
        case TextEncoding::Windows1252:
        case TextEncoding::Binary:
            return QStringEncoder("windows-1252");
        case TextEncoding::Iso885915:
            return QStringEncoder("ISO-8859-15");
        case TextEncoding::Utf8:
        case TextEncoding::Utf8WithBom:
            break;
        }
        return QStringEncoder(QStringEncoder::Utf8);
    }

    bool stopped() const { return m_unencodable || m_error != 0; }

    // The bytes a UTF-8 page was read with that were not UTF-8 go back as they were.
    void addKeepingBytes(QStringView piece)
    {
        qsizetype from = 0;
        for (qsizetype i = 0; i < piece.size(); ++i) {
            if (!isKeptByte(piece, i))
                continue;
            m_buffer += QByteArray(m_encoder.encode(piece.sliced(from, i - from)));
            m_buffer += char(piece[i].unicode() - 0xDC00);
            from = i + 1;
        }
        m_buffer += QByteArray(m_encoder.encode(piece.sliced(from)));
    }

    void flush()
    {
        if (!m_buffer.isEmpty() && m_error == 0)
            m_error = m_sink(m_buffer);
        // Kept for the next bytes: a big page's save then fills the same memory again
        // instead of asking the system for new memory after every flush.
        m_buffer.resize(0);
    }

    // The page's first line end, which a missing last one copies.
    void noteLineEnds(QStringView piece)
    {
        if (m_firstEnd.isEmpty()) {
            if (m_pendingCr) {
                m_firstEnd = piece.front() == u'\n' ? QStringLiteral("\r\n") : QStringLiteral("\r");
            } else {
                const auto found = std::find_if(piece.begin(), piece.end(),
                                                [](QChar c) { return c == u'\r' || c == u'\n'; });
                if (found != piece.end()) {
                    const qsizetype at = found - piece.begin();
                    if (*found == u'\n')
                        m_firstEnd = QStringLiteral("\n");
                    else if (at + 1 < piece.size())
                        m_firstEnd = piece.at(at + 1) == u'\n' ? QStringLiteral("\r\n")
                                                               : QStringLiteral("\r");
                    else
                        m_pendingCr = true;
                }
            }
        }
        m_last = piece.back();
    }

    const bool m_binary;
    const ByteSink &m_sink;
    QStringEncoder m_encoder;
    QByteArray m_buffer;
    bool m_checked = false;
    bool m_keepsBytes = false;
    bool m_unencodable = false;
    int m_error = 0;
    QChar m_last;
    QString m_firstEnd;
    bool m_pendingCr = false;
};

// Encodes the pieces into sink; when the encoding cannot hold a character, either the result
// says so (no restart), or restart is called and the whole text goes again as UTF-8 (a binary
// document stays Binary: its lines are left as they are).
Encoding encodePieces(const TextPieces &text, TextEncoding encoding, const ByteSink &sink,
                      const std::function<int()> &restart)
{
    Encoding result;
    result.encoding = encoding;
    {
        PieceEncoder encoder(encoding, false, sink);
        text([&](QStringView piece) { return encoder.add(piece); });
        result.error = encoder.finish();
        if (!encoder.unencodable())
            return result;
    }
    if (!restart) {
        result.unencodable = true;
        return result;
    }
    // Never write a character as "?" or 0x1A: the whole file becomes UTF-8 instead.
    result.fellBackToUtf8 = true;
    result.encoding = encoding == TextEncoding::Binary ? TextEncoding::Binary : TextEncoding::Utf8;
    if ((result.error = restart()) != 0)
        return result;
    PieceEncoder encoder(encoding, true, sink);
    text([&](QStringView piece) { return encoder.add(piece); });
    result.error = encoder.finish();
    return result;
}

TextPieces wholeText(const QString &text)
{
    return [&text](const PieceTaker &take) { take(text); };
}

} // namespace

EncodedDocument encodeDocument(const QString &text, TextEncoding encoding)
{
    EncodedDocument result;
    const Encoding encoded = encodePieces(
        wholeText(text), encoding,
        [&result](QByteArrayView bytes) {
            result.bytes += bytes;
            return 0;
        },
        [&result] {
            result.bytes.clear();
            return 0;
        });
    result.encoding = encoded.encoding;
    result.fellBackToUtf8 = encoded.fellBackToUtf8;
    return result;
}

ReadResult readDocumentFile(const QString &path, const Question &ask,
                            std::optional<TextEncoding> as)
{
    ReadResult result;
    const auto fail = [&](const QString &reason) {
        result.error = readError(path, reason);
        return result;
    };
    QByteArray bytes;
    ByteDigest digest;
    try {
        if (const std::optional<QString> reason = readRegular(systemName(path), bytes, digest))
            return fail(*reason);
    } catch (const std::bad_alloc &) {
        return fail(QStringLiteral("no queda memoria para abrirlo"));
    }
    result.digest = digest.result();
    if (as) {
        std::optional<DecodedDocument> document = decodeDocumentAs(bytes, *as);
        if (!document)
            return fail(QStringLiteral("no es texto %1 válido").arg(encodingCaption(*as)));
        result.document = std::move(*document);
        result.ok = true;
        return result;
    }
    // Asked before the bytes are decoded when they show it, after when only decoding does.
    const auto binaryRefused = [&] {
        return !(ask && ask(QStringLiteral("El archivo \"%1\" no parece una página: contiene "
                                           "bytes nulos, como los archivos binarios. ¿Quieres "
                                           "abrirlo igualmente?")
                                .arg(shownName(path))));
    };
    const bool seenBinary = looksBinary(bytes);
    if (!(seenBinary && binaryRefused())) {
        result.document = decodeDocument(bytes);
        if (seenBinary || result.document.encoding != TextEncoding::Binary || !binaryRefused()) {
            result.ok = true;
            return result;
        }
    }
    result.document = DecodedDocument();
    result.declined = true;
    return result;
}

std::optional<quint64> fileDigest(const QString &path)
{
    QByteArray bytes;
    ByteDigest digest;
    try {
        if (readRegular(systemName(path), bytes, digest))
            return std::nullopt;
    } catch (const std::bad_alloc &) {
        return std::nullopt;
    }
    return digest.result();
}

WriteResult writeDocumentFile(const QString &path, const QString &text, TextEncoding encoding,
                              const Question &ask)
{
    return writeDocumentFile(path, wholeText(text), encoding, ask);
}

WriteResult writeDocumentFile(const QString &path, const TextPieces &text, TextEncoding encoding,
                              const Question &ask)
{
    WriteResult result;
    const auto fail = [&](int error, const QString &reason = QString()) {
        result.error =
            writeError(path, reason.isEmpty() ? reasonFor(error, QFileDevice::WriteError) : reason);
        return result;
    };
    // Written through a link, so that it stays a link.
    QByteArray target = systemName(path);
    if (const int error = followLinks(target))
        return fail(error);
    struct stat old;
    const bool existed = ::stat(target.constData(), &old) == 0;
    if (!existed && errno != ENOENT)
        return fail(lastError());
    if (existed && S_ISDIR(old.st_mode))
        return fail(EISDIR);
    if (existed && !S_ISREG(old.st_mode))
        return fail(0, notRegular(old.st_mode));
    // Replacing the file needs only the folder's permission; the file's own is respected.
    if (existed && ::faccessat(AT_FDCWD, target.constData(), W_OK, AT_EACCESS) != 0)
        return fail(lastError());

    // Asked before anything is written: the save cannot keep the other names.
    if (existed && old.st_nlink > 1 && !(ask && ask(linksQuestion(path, old.st_nlink)))) {
        result.declined = true;
        return result;
    }

    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder = target.first(slash + 1);
    const QByteArray prefix = temporaryPrefix(target.sliced(slash + 1));
    removeLeftovers(folder, prefix);
    QByteArray temporary = folder + prefix + "XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0)
        return fail(lastError());
    // Held while it is written, so that the next save of the file never takes it for the
    // leftover of a killed one.
    (void)::flock(fd, LOCK_EX | LOCK_NB);
    const auto abandon = [&](int error, const QString &reason = QString()) {
        ::close(fd);
        ::unlink(temporary.constData());
        return fail(error, reason);
    };
    const auto declined = [&] {
        ::close(fd);
        ::unlink(temporary.constData());
        result.declined = true;
        return result;
    };
    mode_t mode = 0;
    if (existed) {
        bool ownerKept = true;
        struct stat made;
        if (::fstat(fd, &made) != 0)
            return abandon(lastError());
        if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) &&
            ::fchown(fd, old.st_uid, old.st_gid) != 0) {
            // Without the owner, the group alone may still be kept.
            ownerKept = false;
            if (made.st_gid != old.st_gid)
                (void)::fchown(fd, uid_t(-1), old.st_gid);
            if (!(ask && ask(ownerQuestion(path, old))))
                return declined();
        }
        // Set-user and set-group bits stay only on a file that kept its owner.
        mode = old.st_mode & (ownerKept ? 07777 : 0777);
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::fchmod(fd, mode) != 0)
        return abandon(lastError());
    if (existed && !copyAttributes(target, fd) && !(ask && ask(attributesQuestion(path))))
        return declined();
    ByteDigest digest;
    const Encoding encoded = encodePieces(
        text, encoding,
        [fd, &digest](QByteArrayView bytes) {
            digest.add(bytes);
            return writeAll(fd, bytes);
        },
        {});
    if (encoded.unencodable)
        return abandon(0, QStringLiteral("tiene caracteres que la codificación %1 no puede guardar")
                              .arg(encodingCaption(encoding)));
    if (encoded.error)
        return abandon(encoded.error);
    result.encoding = encoded.encoding;
    if (::fsync(fd) != 0)
        return abandon(lastError());
    if (::close(fd) != 0) {
        const int error = lastError();
        ::unlink(temporary.constData());
        return fail(error);
    }
    if (::rename(temporary.constData(), target.constData()) != 0) {
        const int error = lastError();
        ::unlink(temporary.constData());
        return fail(error);
    }
    result.digest = digest.result();
    result.ok = true;
    return result;
}

namespace {

bool exists(const QString &name)
{
    struct stat status;
    return ::stat(systemName(name).constData(), &status) == 0;
}

QString currentFolder()
{
    QByteArray folder(PATH_MAX, Qt::Uninitialized);
    if (!::getcwd(folder.data(), size_t(folder.size())))
        return QDir::currentPath();
    return nameFromSystem(QByteArray(folder.constData()));
}

} // namespace

QStringList argumentsFromSystem(int argc, char **argv)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(nameFromSystem(QByteArray(argv[i])));
    return arguments;
}

PageArgument pageArgument(const QStringList &arguments)
{
    PageArgument result;
    bool optionsOver = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (!optionsOver && argument == u"--") {
            optionsOver = true;
        } else if (!optionsOver && argument.size() > 1 && argument.startsWith(u'-') &&
                   !exists(argument)) {
            result.ignored.append(
                QStringLiteral("zendral: se ignora la opción desconocida \"%1\".").arg(argument));
        } else if (!result.path.isEmpty() || argument.isEmpty()) {
            result.ignored.append(
                QStringLiteral("zendral: solo se abre un archivo; se ignora \"%1\".")
                    .arg(argument));
        } else {
            // Put together as text, so that the bytes of a name that is not UTF-8 are kept.
            result.path = QDir::cleanPath(
                QDir::isAbsolutePath(argument) ? argument : currentFolder() + u'/' + argument);
        }
    }
    return result;
}

} // namespace zendral
