#pragma once

#include <QByteArray>
#include <QString>

namespace zendral {

// How a document's bytes map to characters. A file that is valid UTF-8 is read and written
// as UTF-8 (keeping a byte-order mark it had); any other file as Windows-1252, every byte
// value included.
enum class TextEncoding { Utf8, Utf8WithBom, Windows1252 };

struct DecodedDocument
{
    QString text;
    TextEncoding encoding = TextEncoding::Utf8;
    // Characters in the longest line, its line break not counted (a lone LF is counted: it
    // stays in its line).
    qsizetype longestLine = 0;
};

// Bytes to document text as the line reader sees them: a line ends at CR or CR LF (a lone LF
// stays in its line) and every line, the last one included, is followed by CR LF.
DecodedDocument decodeDocument(const QByteArray &bytes);

struct EncodedDocument
{
    QByteArray bytes;
    TextEncoding encoding = TextEncoding::Utf8;
    // The text held characters the requested encoding cannot hold; it was encoded as UTF-8.
    bool fellBackToUtf8 = false;
};

// Document text to the bytes a save writes: the text, then CR LF.
EncodedDocument encodeDocument(const QString &text, TextEncoding encoding);

struct ReadResult
{
    bool ok = false;
    DecodedDocument document;
    QString error; // in Spanish, naming the file and the reason
};

struct WriteResult
{
    bool ok = false;
    TextEncoding encoding = TextEncoding::Utf8; // what was written
    bool fellBackToUtf8 = false;
    // The file had other names (hard links). The save replaced this name only: the others
    // keep the content they had.
    bool leftOtherNames = false;
    QString error; // in Spanish, naming the file and the reason
};

// The reason for a system error number, in Spanish.
QString errorReason(int systemError);

// Reads a whole document file.
ReadResult readDocumentFile(const QString &path);

// Writes a document file atomically: the old file stays whole unless every byte of the new
// one was written. A symbolic link keeps pointing at its target, which is written. A file with
// hard links is replaced like any other, never rewritten in place: a failure part way through
// would otherwise damage it under every name.
WriteResult writeDocumentFile(const QString &path, const QString &text, TextEncoding encoding);

} // namespace zendral
