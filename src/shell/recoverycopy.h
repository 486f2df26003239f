#pragma once

#include "documentfile.h"

#include <QDateTime>
#include <QString>

namespace zendral {

// A recovery copy found at start-up: what the page held when its editor last wrote it.
struct RecoveryCopy
{
    QString id;
    QString text;
    QString path; // the page's file name; empty for an untitled page
    TextEncoding encoding = TextEncoding::Utf8;
    // The page's file as it was when the page was last read or saved; empty for a copy that
    // does not say (a later Save then asks before writing over whatever the file is now).
    FileStamp file;
    QDateTime written; // when its editor last wrote it
    QString copyFile;  // the copy's own file
    // Why the copy cannot be shown as a page (in Spanish); empty when it can.
    QString fault;
};

// Copies larger than this are not read: the page they hold could not be shown anyway.
constexpr qint64 LargestRecoveryCopy = LargeFile;

// Reads the copy in file, never more than a copy may hold. Sets copy.fault when the copy is
// not one this editor can show as a page; returns false when there is no copy to speak of.
bool readRecoveryCopy(const QString &file, RecoveryCopy &copy);
// Writes a copy atomically, readable by its owner alone: a header line (the page's path,
// encoding and file stamp, in JSON so that any path fits on one line), then the text in UTF-8,
// each byte that a UTF-8 page was read with and that was not UTF-8 as it was.
bool writeRecoveryCopy(const QString &file, const TextPieces &text, const QString &path,
                       TextEncoding encoding, const FileStamp &stamp);

} // namespace zendral
