#pragma once

#include "documentstate.h"

#include <QString>

#include <optional>

namespace zendral {

class Prompts;

// Whether another program changed the page's file since the editor last read or wrote it: the
// check before the file is written over, and the one made as the window becomes active, which
// tells each change once.
class FileWatch
{
public:
    // What the check made as the window becomes active found.
    enum class Finding {
        Nothing, // nothing changed, or nothing the user has not been told of
        Gone,
        // A symbolic link, or something that is no ordinary file, is in the file's place:
        // reading it would show another file's content under this name.
        NotAFile,
        Changed,
    };

    explicit FileWatch(Prompts &prompts);

    // The file was just read or written and was then as stamp tells; digest is its bytes'.
    void recorded(const FileStamp &stamp, quint64 digest);
    // The page has another file, or none: no change of it has been told, no digest is kept.
    void forget();
    // Before the file at path, which was then, is written over: true when no other program
    // changed it or the user agrees to lose that change; a symbolic link put in its place is
    // refused and told.
    bool mayOverwrite(const QString &path, const FileStamp &then);
    // What became of the file at path, which was then, that the user has not been told of.
    Finding check(const QString &path, const FileStamp &then);
    // The status area's line about finding for the file at path (the page read again after
    // Changed).
    static QString notice(Finding finding, const QString &path);
    // Whether unsaved changes may be dropped to read the changed file at path again.
    bool mayReadAgain(const QString &path);

private:
    // Whether the file at path, which was then, differs from that now.
    bool changed(const QString &path, const FileStamp &then, const FileStamp &now);

    Prompts &m_prompts;
    // The digest of its bytes when last read or written, kept while its time cannot tell a
    // later change.
    std::optional<quint64> m_digest;
    // The change of that file the user was last told of, so that it is told once.
    std::optional<FileStamp> m_toldStamp;
};

} // namespace zendral
