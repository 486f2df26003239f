#include "recoverycopy.h"

#include "pageencoding.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QStringEncoder>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zendral {

namespace {

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

} // namespace

bool readRecoveryCopy(const QString &file, RecoveryCopy &copy)
{
    const QString unreadable = QStringLiteral("no es una copia de recuperación válida");
    struct stat status;
    if (::lstat(QFile::encodeName(file).constData(), &status) != 0)
        return false; // the page had no unsaved changes
    if (!S_ISREG(status.st_mode)) {
        copy.fault = unreadable;
        return true;
    }
    if (status.st_size > LargestRecoveryCopy + LongestHeader) {
        copy.fault = QStringLiteral("es demasiado grande (%1; el límite es %2)")
                         .arg(megabytes(status.st_size), megabytes(LargestRecoveryCopy));
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
    const QByteArray text = input.read(LargestRecoveryCopy + 1);
    if (text.size() > LargestRecoveryCopy) {
        copy.fault =
            QStringLiteral("es demasiado grande (más de %1)").arg(megabytes(LargestRecoveryCopy));
        return true;
    }
    copy.text = decodeUtf8KeepingBytes(text);
    return true;
}

bool writeRecoveryCopy(const QString &file, const TextPieces &text, const QString &path,
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

} // namespace zendral
