#pragma once

#include "documentfile.h"

#include <QString>

namespace zendral {

// EstadoDocumento: what the main window knows of its one document.
struct EstadoDocumento
{
    QString archivoActual;   // path of the current document; empty when untitled
    QString archivoGuardado; // path whose file matches the screen; emptied by every edit
    QString carpetaActual;   // folder of the document, used for relative image paths
    bool guardado = false;   // Save has run since start-up
    QString rutaAbrir;       // path preselected in the Open dialog
    TextEncoding encoding = TextEncoding::Utf8;
};

// What a file on disk was at one moment: enough to tell that another program wrote it,
// replaced it, removed it or put a symbolic link in its place.
struct FileStamp
{
    bool exists = false;
    bool regular = false;      // what the name leads to is an ordinary file
    bool symbolicLink = false; // the name itself is a symbolic link
    // The name's own identity (the link's, for a link) and the identity of what it leads to.
    quint64 nameDevice = 0;
    quint64 nameInode = 0;
    quint64 device = 0;
    quint64 inode = 0;
    qint64 size = 0;
    qint64 modifiedSeconds = 0;
    qint64 modifiedNanoseconds = 0;

    // The file at path now (a name as nameFromSystem keeps it).
    static FileStamp of(const QString &path);
    // Whether another write could leave every field as it is: the file system keeps its times
    // to whole seconds (FAT to two) and the file was written within that time of when.
    bool timeMayHideChange(qint64 whenSeconds) const
    {
        constexpr qint64 CoarsestTime = 2;
        return regular && modifiedNanoseconds == 0 && whenSeconds < modifiedSeconds + CoarsestTime;
    }
    // Whether path has become a symbolic link other than the one (if any) that was there.
    bool isNewLinkSince(const FileStamp &before) const
    {
        return symbolicLink && !(before.symbolicLink && before.nameDevice == nameDevice &&
                                 before.nameInode == nameInode);
    }
    bool operator==(const FileStamp &) const = default;
};

} // namespace zendral
