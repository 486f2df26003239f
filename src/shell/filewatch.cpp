#include "filewatch.h"

#include "prompts.h"

#include <QDateTime>

namespace zendral {

namespace {
const QString OverwriteChanged =
    QStringLiteral("El archivo \"%1\" ha cambiado en el disco desde que se abrió o se guardó: "
                   "otro programa lo ha modificado. ¿Quieres sobrescribirlo con el texto del "
                   "editor?");
const QString LinkInItsPlace =
    QStringLiteral("No se ha guardado el archivo \"%1\": desde que se abrió, en su lugar hay un "
                   "enlace simbólico a otro archivo. Usa \"Guardar como\" para elegir dónde "
                   "guardarlo.");
const QString ReadAgainQuestion =
    QStringLiteral("El archivo \"%1\" ha cambiado en el disco: otro programa lo ha modificado. "
                   "¿Quieres leerlo de nuevo? Se perderán los cambios que no has guardado.");
const QString ReadAgain =
    QStringLiteral("Se ha vuelto a leer \"%1\": otro programa lo había cambiado.");
const QString Vanished =
    QStringLiteral("El archivo \"%1\" ya no está en el disco: guarda el texto para no perderlo.");
const QString NotReadAgain =
    QStringLiteral("En el lugar del archivo \"%1\" hay ahora un enlace simbólico o algo que no "
                   "es un archivo normal: no se ha vuelto a leer.");
} // namespace

FileWatch::FileWatch(Prompts &prompts) : m_prompts(prompts) {}

void FileWatch::recorded(const FileStamp &stamp, quint64 digest)
{
    forget();
    if (stamp.timeMayHideChange(QDateTime::currentSecsSinceEpoch()))
        m_digest = digest;
}

void FileWatch::forget()
{
    m_digest.reset();
    m_toldStamp.reset();
}

bool FileWatch::changed(const QString &path, const FileStamp &then, const FileStamp &now)
{
    if (now != then)
        return true;
    if (!m_digest)
        return false;
    // Taken before the bytes are read: a write after it shows in the file's time.
    const qint64 checkedAt = QDateTime::currentSecsSinceEpoch();
    if (fileDigest(path) != m_digest)
        return true;
    // From now on any write changes the time: the bytes need not be read again.
    if (!now.timeMayHideChange(checkedAt))
        m_digest.reset();
    return false;
}

bool FileWatch::mayOverwrite(const QString &path, const FileStamp &then)
{
    const FileStamp now = FileStamp::of(path);
    // A file that is gone loses nothing by being written again.
    if (!now.exists || !changed(path, then, now))
        return true;
    if (now.isNewLinkSince(then)) {
        m_prompts.notify(LinkInItsPlace.arg(shownName(path)));
        return false;
    }
    return m_prompts.question(OverwriteChanged.arg(shownName(path))) == Prompts::Answer::Yes;
}

FileWatch::Finding FileWatch::check(const QString &path, const FileStamp &then)
{
    const FileStamp now = FileStamp::of(path);
    if (now == m_toldStamp || !changed(path, then, now))
        return Finding::Nothing;
    m_toldStamp = now;
    if (!now.exists)
        return Finding::Gone;
    if (!now.regular || now.isNewLinkSince(then))
        return Finding::NotAFile;
    return Finding::Changed;
}

QString FileWatch::notice(Finding finding, const QString &path)
{
    switch (finding) {
    case Finding::Nothing:
        break;
    case Finding::Gone:
        return Vanished.arg(shownName(path));
    case Finding::NotAFile:
        return NotReadAgain.arg(shownName(path));
    case Finding::Changed:
        return ReadAgain.arg(shownName(path));
    }
    return QString();
}

bool FileWatch::mayReadAgain(const QString &path)
{
    return m_prompts.question(ReadAgainQuestion.arg(shownName(path))) == Prompts::Answer::Yes;
}

} // namespace zendral
