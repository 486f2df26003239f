#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace zendral {

// How a document's bytes map to characters. A file that is valid UTF-8 is read and written
// as UTF-8 (keeping a byte-order mark it had); a file with a UTF-16 byte-order mark as UTF-16
// of that order, mark kept; any other file as Windows-1252, every byte value included, unless
// it declares its character set (see decodeDocument). ISO-8859-15 is only ever declared or
// chosen.
// A file that looks binary (see looksBinary) is Binary: one character per byte as in
// Windows-1252, its lines left as they are, so that its bytes come back unchanged.
enum class TextEncoding {
    Utf8,
    Utf8WithBom,
    Windows1252,
    Utf16LittleEndian,
    Utf16BigEndian,
    Binary,
    Iso885915
};

// Whether bytes look like something other than text: a NUL byte in their first kilobytes,
// unless they open with a UTF-16 byte-order mark.
bool looksBinary(QByteArrayView bytes);

// A Yes/No question put to the user; true for Yes.
using Question = std::function<bool(const QString &question)>;

struct DecodedDocument
{
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    // Characters in the longest line, its line end not counted.
    qsizetype longestLine = 0;
    // The character set the page declares, as written; empty when it declares none.
    QString declared;
    // What the author must be told of the reading, in Spanish: a declaration that could not be
    // followed, bytes that are not UTF-8 in a page that otherwise is. Empty when all is well.
    QString notice;
};

// Bytes to document text as the line reader sees them: a line ends at CR LF, a lone LF or a
// lone CR, each kept as it was; a last line without an end is ended with one of the page's own
// kind (its first line end, CR LF when it has none). Binary bytes are left as they are but for
// a CR without LF, which is held as U+240D and written back as CR.
// Without a byte-order mark, a character set declared in the first kilobyte decides as it
// does for a browser, unless the bytes cannot be read in it without loss (told in notice).
DecodedDocument decodeDocument(const QByteArray &bytes);
// Bytes read in the encoding the author chose. UTF-8 keeps each byte that is not UTF-8 (see
// decodeUtf8KeepingBytes), so that it is written back as it was; a UTF-8 or UTF-16 byte-order
// mark is honoured (UTF-16 without one is little-endian). None when the bytes are not UTF-16.
std::optional<DecodedDocument> decodeDocumentAs(const QByteArray &bytes, TextEncoding encoding);

struct EncodedDocument
{
    QByteArray bytes;
    TextEncoding encoding = TextEncoding::Utf8;
    // The text held characters the requested encoding cannot hold; it was encoded as UTF-8
    // (a binary document is still Binary: its lines are left as they are).
    bool fellBackToUtf8 = false;
};

// Takes one piece of a text; false when no more pieces are wanted.
using PieceTaker = std::function<bool(QStringView piece)>;
// Hands a text to take in pieces, in order, from its start (it may be asked more than once).
using TextPieces = std::function<void(const PieceTaker &take)>;

// Document text to the bytes a save writes: the text, then a line end unless it already ends
// with one (for Binary, the text alone), so that opening and saving never grows a page.
EncodedDocument encodeDocument(const QString &text, TextEncoding encoding);

// A digest of bytes handed in pieces: the same bytes give the same digest however they were
// cut. Quick rather than strong (a few milliseconds for 100 MB): it tells that another program
// changed a file, not that someone made two files agree on purpose.
class ByteDigest
{
public:
    void add(QByteArrayView bytes);
    quint64 result() const;

private:
    QByteArray m_pending; // less than a block
    size_t m_hash = 0;
};

struct ReadResult
{
    bool ok = false;
    // The user answered No to a question: nothing was read, and there is nothing to tell.
    bool declined = false;
    DecodedDocument document;
    quint64 digest = 0; // of the bytes read
    QString error;      // in Spanish, naming the file and the reason
};

struct WriteResult
{
    bool ok = false;
    // The user answered No to a question: nothing was written, and there is nothing to tell.
    bool declined = false;
    TextEncoding encoding = TextEncoding::Utf8; // what was written
    quint64 digest = 0; // of the bytes written
    QString error;      // in Spanish, naming the file and the reason
};

// The reason for a system error number, in Spanish.
QString errorReason(int systemError);

// The most a document file may hold: beyond it the editor would need several times as much
// memory, and a sparse or endless file would take it all.
constexpr qint64 LargeFile = qint64(100) << 20;

// A file's name as the system holds it, kept in a string without loss: each byte that is not
// part of UTF-8 stands as a lone surrogate, U+DC80 to U+DCFF, which no decoded name holds.
QString nameFromSystem(const QByteArray &bytes);
// The bytes the system names a file by. A name holding U+FFFD, as Qt's dialogs and folder lists
// give a name that is not UTF-8, is matched against its folder's entries, and must match one.
QByteArray systemName(const QString &name);
// A name as the user reads it: U+FFFD for each byte that is not UTF-8.
QString shownName(const QString &name);

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

// Reads a whole document file. Only a regular file is read, so that nothing can block on a
// pipe or read a device for ever; one over LargeFile is refused before it is read, and one
// whose size the system does not tell is read no further than that. Asks before opening one
// that looks binary; a null ask answers No. With as, the bytes are read in that encoding
// (decodeDocumentAs), without the question about binary files.
ReadResult readDocumentFile(const QString &path, const Question &ask = {},
                            std::optional<TextEncoding> as = std::nullopt);
// The digest of a regular file's bytes, read as readDocumentFile reads them; none when they
// cannot be read.
std::optional<quint64> fileDigest(const QString &path);

// Writes a document file atomically: the old file stays whole unless every byte of the new
// one was written. The new file keeps the old one's owner, group, mode, extended attributes
// and access list; where any of them cannot be kept, ask is put the question before the old
// file is replaced (a null ask answers No). A symbolic link keeps pointing at its target,
// which is written. A file with other names (hard links) is asked about first: it is replaced
// like any other, never rewritten in place (a failure part way through would damage it under
// every name), and only this name gets the new content. The new bytes go to a hidden file
// beside the old one; one left there by a save that was killed is removed. A text its
// encoding cannot hold is not written: nothing is ever written as "?", and no page changes
// encoding unasked.
WriteResult writeDocumentFile(const QString &path, const QString &text, TextEncoding encoding,
                              const Question &ask = {});
// The same for a text handed in pieces, encoded a few megabytes at a time.
WriteResult writeDocumentFile(const QString &path, const TextPieces &text, TextEncoding encoding,
                              const Question &ask = {});

struct PageArgument
{
    QString path;        // absolute, or empty when the command line names no page
    QStringList ignored; // what was left unused, each told in a Spanish line
};

// The program's arguments as it got them, each byte that is not UTF-8 kept (nameFromSystem).
QStringList argumentsFromSystem(int argc, char **argv);

// The page named on the command line (arguments as the program got them, its own name first).
// An argument that names an existing file is a page even when it starts with "-", and so is
// every argument after "--"; other arguments starting with "-" are options, none of which is
// known. Only the first page is taken.
PageArgument pageArgument(const QStringList &arguments);

} // namespace zendral
