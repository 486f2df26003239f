#pragma once

#include "documentfile.h"

#include <QString>

#include <functional>
#include <optional>

namespace zendral {

// Browsers look for a page's declared character set only this far into it (bytes; a page's
// first characters when looking into its text).
constexpr qsizetype DeclarationReach = 1024;

// The character set a page declares, where a browser finds it: `<meta charset=…>` or
// `<meta http-equiv="Content-Type" content="…; charset=…">`, any case, quoted or not, outside
// comments.
struct CharsetDeclaration
{
    qsizetype labelStart = -1; // where the label stands in the text looked into
    qsizetype labelLength = 0;
    QString label; // as written

    bool found() const { return labelStart >= 0; }
};

// Looks into the start of a page (bytes read one per character, or the page's text); only
// the first DeclarationReach characters are looked at.
CharsetDeclaration findCharsetDeclaration(QStringView head);

// The encoding a label names, as browsers take it (the WHATWG Encoding Standard): the names
// come from Qt and ICU, and as browsers do, "iso-8859-1", "latin1" and "us-ascii" (with their
// aliases) are Windows-1252 and UTF-16 declared in a page's text is UTF-8. None for a label no
// one knows, and for one this editor cannot write.
std::optional<TextEncoding> encodingForLabel(QStringView label);
// The label's standard name ("ISO-8859-2"), or the label itself when no one knows it.
QString charsetName(QStringView label);
// What a page declares to be read in encoding, as written into its text.
QString declarationLabel(TextEncoding encoding);
// The encoding's name in the status area: "UTF-8", "UTF-8 con BOM", "Windows-1252", …
QString encodingCaption(TextEncoding encoding);

// Whether an encoding can hold a character. Only the one-byte encodings (Windows-1252,
// ISO-8859-15 and Binary) lack any; a lone surrogate is one of the bytes that were kept
// from a UTF-8 page because they were not UTF-8, and only UTF-8 writes it back.
bool canHold(TextEncoding encoding, char16_t character);

// The first character of a text that an encoding cannot hold, and its line (0-based).
struct Unencodable
{
    QString character; // a whole character, both halves of a surrogate pair
    qint64 line = 0;
};
std::optional<Unencodable> firstUnencodable(const TextPieces &text, TextEncoding encoding);
// Whether the text holds a character outside ASCII.
bool holdsNonAscii(const TextPieces &text);

// The bytes of a UTF-8 page that are not UTF-8 (a stray Windows-1252 letter, a cut sequence).
struct InvalidUtf8
{
    qsizetype count = 0;
    qint64 firstLine = 0; // 0-based
    // Valid sequences of two or more bytes: where there are more of them than invalid bytes,
    // the page is UTF-8 but for a few bytes.
    qsizetype multibyte = 0;
};
InvalidUtf8 checkUtf8(QByteArrayView bytes);
// UTF-8 decoded with each byte that is not UTF-8 kept as the lone surrogate U+DC80 + (byte -
// 0x80), which the UTF-8 writer turns back into that byte.
QString decodeUtf8KeepingBytes(QByteArrayView bytes);
// Whether a character stands for such a kept byte (a lone surrogate from DC80 to DCFF).
inline bool isKeptByte(QStringView text, qsizetype at)
{
    const char16_t c = text.at(at).unicode();
    return c >= 0xDC80 && c <= 0xDCFF && (at == 0 || !text.at(at - 1).isHighSurrogate());
}

// Whether a browser reads the page file at path as Windows-1252 for want of a declaration
// while it holds bytes outside ASCII: no byte-order mark, no declared character set.
bool readAsWindows1252ForWantOfDeclaration(const QString &path);

} // namespace zendral
