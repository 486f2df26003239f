#include "documentfile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <cerrno>
#include <sys/stat.h>

namespace zendral {

namespace {

const QByteArray Utf8Bom("\xEF\xBB\xBF");
constexpr qint64 WriteChunk = 1 << 20;

QString reasonFor(int error, QFileDevice::FileError fileError)
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
    default:
        break;
    }
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
    return QStringLiteral("No se pudo leer el archivo \"%1\": %2.").arg(path, reason);
}

QString writeError(const QString &path, const QString &reason)
{
    return QStringLiteral("No se pudo guardar el archivo \"%1\": %2. El archivo anterior no se ha "
                          "modificado.")
        .arg(path, reason);
}

void normaliseLines(const QString &content, DecodedDocument &document)
{
    QString &text = document.text;
    text.reserve(content.size() + content.size() / 32 + 2);
    const qsizetype size = content.size();
    bool endsLine = false;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = content.at(i);
        if (c == u'\r') {
            document.longestLine = std::max(document.longestLine, i - lineStart);
            text.append(u"\r\n");
            if (i + 1 < size && content.at(i + 1) == u'\n')
                ++i;
            lineStart = i + 1;
            endsLine = true;
        } else {
            text.append(c);
            endsLine = false;
        }
    }
    if (size > 0 && !endsLine) {
        document.longestLine = std::max(document.longestLine, size - lineStart);
        text.append(u"\r\n");
    }
}

} // namespace

QString errorReason(int systemError)
{
    const QString reason = reasonFor(systemError, QFileDevice::NoError);
    return reason == QStringLiteral("error desconocido")
               ? QStringLiteral("error del sistema %1").arg(systemError)
               : reason;
}

DecodedDocument decodeDocument(const QByteArray &bytes)
{
    DecodedDocument result;
    QByteArrayView body(bytes);
    result.encoding = TextEncoding::Utf8;
    if (bytes.startsWith(Utf8Bom)) {
        body = body.sliced(Utf8Bom.size());
        result.encoding = TextEncoding::Utf8WithBom;
    }
    // A mark after the one taken off above is text: kept, so that it is written back.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString content = utf8.decode(body);
    // Valid UTF-8 only when it also comes back byte for byte.
    QStringEncoder back(QStringEncoder::Utf8);
    const QByteArray again = back.encode(content);
    if (utf8.hasError() || QByteArrayView(again) != body) {
        QStringDecoder windows("windows-1252", QStringDecoder::Flag::Stateless);
        content = windows.decode(bytes);
        result.encoding = TextEncoding::Windows1252;
    }
    normaliseLines(content, result);
    return result;
}

EncodedDocument encodeDocument(const QString &text, TextEncoding encoding)
{
    EncodedDocument result;
    result.encoding = encoding;
    static const QByteArray LineEnd("\r\n");
    if (encoding == TextEncoding::Windows1252) {
        QStringEncoder windows("windows-1252", QStringEncoder::Flag::Stateless);
        result.bytes = QByteArray(windows.encode(text));
        if (!windows.hasError()) {
            result.bytes.append(LineEnd);
            return result;
        }
        // Never write a character as "?" or 0x1A: the whole file becomes UTF-8 instead.
        result.fellBackToUtf8 = true;
        result.encoding = TextEncoding::Utf8;
    }
    result.bytes = text.toUtf8();
    result.bytes.append(LineEnd);
    if (result.encoding == TextEncoding::Utf8WithBom)
        result.bytes.prepend(Utf8Bom);
    return result;
}

ReadResult readDocumentFile(const QString &path)
{
    ReadResult result;
    const QFileInfo info(path);
    if (info.isDir()) {
        result.error = readError(path, reasonFor(EISDIR, QFileDevice::OpenError));
        return result;
    }
    QFile file(path);
    errno = 0;
    if (!file.open(QIODevice::ReadOnly)) {
        result.error = readError(path, reasonFor(errno, file.error()));
        return result;
    }
    errno = 0;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        result.error = readError(path, reasonFor(errno, file.error()));
        return result;
    }
    result.document = decodeDocument(bytes);
    result.ok = true;
    return result;
}

WriteResult writeDocumentFile(const QString &path, const QString &text, TextEncoding encoding)
{
    WriteResult result;
    QString target = path;
    const QFileInfo info(path);
    if (info.isSymLink()) {
        // Write through the link so that it stays a link.
        const QString linked = info.symLinkTarget();
        if (!linked.isEmpty())
            target = linked;
    }
    if (QFileInfo(target).isDir()) {
        result.error = writeError(path, reasonFor(EISDIR, QFileDevice::OpenError));
        return result;
    }
    struct stat status;
    const bool linked = ::stat(QFile::encodeName(target).constData(), &status) == 0 &&
                        S_ISREG(status.st_mode) && status.st_nlink > 1;
    const EncodedDocument encoded = encodeDocument(text, encoding);
    result.encoding = encoded.encoding;
    result.fellBackToUtf8 = encoded.fellBackToUtf8;

    QSaveFile file(target);
    errno = 0;
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        result.error = writeError(path, reasonFor(errno, file.error()));
        return result;
    }
    const QByteArray &bytes = encoded.bytes;
    for (qint64 offset = 0; offset < bytes.size();) {
        const qint64 chunk = std::min<qint64>(WriteChunk, bytes.size() - offset);
        errno = 0;
        // QSaveFile commits a short write as success: every count is checked here.
        const qint64 written = file.write(bytes.constData() + offset, chunk);
        if (written != chunk) {
            const int error = errno;
            file.cancelWriting();
            result.error = writeError(path, reasonFor(error ? error : ENOSPC, file.error()));
            return result;
        }
        offset += written;
    }
    errno = 0;
    if (!file.commit()) {
        result.error = writeError(path, reasonFor(errno, file.error()));
        return result;
    }
    result.leftOtherNames = linked;
    result.ok = true;
    return result;
}

} // namespace zendral
