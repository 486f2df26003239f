#include "fileactivation.h"

#include "documentcontroller.h"
#include "pagetext.h"
#include "prompts.h"
#include "undostep.h"

#include <QFileInfo>
#include <QImageReader>

namespace zendral {

namespace {

const QChar Separator = u'/';
const QChar Q = u'"';

QString cannotRead(const QString &path, const QString &reason)
{
    return QStringLiteral("No se pudo leer la imagen \"%1\": %2.").arg(path, reason);
}

QString readFailure(const QString &path, QImageReader::ImageReaderError error)
{
    QString reason;
    switch (error) {
    case QImageReader::FileNotFoundError:
        reason = QStringLiteral("el archivo no existe");
        break;
    case QImageReader::DeviceError:
        reason = QStringLiteral("no se puede abrir el archivo");
        break;
    case QImageReader::UnsupportedFormatError:
        reason = QStringLiteral("no es una imagen GIF ni JPEG");
        break;
    case QImageReader::InvalidDataError:
        reason = QStringLiteral("los datos de la imagen no son válidos");
        break;
    default:
        reason = QStringLiteral("error al leer");
        break;
    }
    return cannotRead(path, reason);
}

} // namespace

FileActivation::FileActivation(PageText &page, DocumentController &document, Prompts &prompts,
                               QObject *parent)
    : QObject(parent), m_page(page), m_document(document), m_prompts(prompts)
{}

QString FileActivation::UnirRuta(const QString &folder, const QString &name)
{
    if (folder.isEmpty())
        return name;
    if (folder.endsWith(Separator))
        return folder + name;
    return folder + Separator + name;
}

bool FileActivation::isImage(const QString &path)
{
    const QString ending = path.right(4);
    return ending == u".gif" || ending == u".jpg";
}

QString FileActivation::imageSource(const QString &path, const QString &carpetaActual)
{
    if (carpetaActual.isEmpty())
        return path;
    // Only a leading folder, matched whole, is taken off: removing the folder's text wherever
    // it occurs would cut into folders that merely share its name or start.
    const QString folder =
        carpetaActual.endsWith(Separator) ? carpetaActual : carpetaActual + Separator;
    return path.startsWith(folder) ? path.mid(folder.size()) : path;
}

QString FileActivation::imageTag(const QString &source, QSize size)
{
    return QStringLiteral("<img src=") + Q + source + Q + QStringLiteral(" width=") + Q +
           QString::number(size.width()) + Q + QStringLiteral(" height=") + Q +
           QString::number(size.height()) + Q + QStringLiteral(" border=") + Q + u'0' + Q +
           QStringLiteral(" alt=") + Q + Q + u'>';
}

QString FileActivation::saveFirstToInsertImages()
{
    return QStringLiteral("Debes guardar primero el archivo para poder incluír imágenes");
}

void FileActivation::activate(const QString &folder, const QString &name)
{
    const QString path = UnirRuta(folder, name);
    if (isImage(path))
        insertImage(path);
    else
        m_document.openFromPane(folder, path);
}

void FileActivation::insertImage(const QString &path)
{
    if (!m_document.state().guardado) {
        m_prompts.notify(saveFirstToInsertImages());
        return;
    }
    // A pipe or a device named like a picture would hold the window until something wrote
    // to it.
    const QFileInfo file(path);
    if (file.exists() && !file.isFile()) {
        m_prompts.notify(cannotRead(path, QStringLiteral("no es un archivo normal")));
        return;
    }
    // The size is read from the file's header; the picture itself is never decoded.
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!size.isValid()) {
        m_prompts.notify(readFailure(path, reader.error()));
        return;
    }
    UndoStep step(m_page);
    m_page.setInsertionColour(colours::Purple);
    m_page.setSelectedText(imageTag(imageSource(path, m_document.state().carpetaActual), size));
}

} // namespace zendral
