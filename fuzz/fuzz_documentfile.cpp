// The file reader and writer: whatever bytes a file holds, opening it and saving it unchanged
// gives back those bytes, in the same encoding, but for a line end after a last line that had
// none; a binary file's bytes come back exactly.

#include "documentfile.h"
#include "pageencoding.h"
#include "fuzzsupport.h"

#include <algorithm>

using namespace zendral;
using namespace zendral::fuzz;

namespace {

const QByteArray Bom("\xEF\xBB\xBF");

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF, nothing cut short.
bool validUtf8(QByteArrayView bytes)
{
    for (qsizetype i = 0; i < bytes.size();) {
        const uchar lead = uchar(bytes[i]);
        int extra = 0;
        char32_t code = 0;
        char32_t least = 0;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, code = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, code = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, code = lead & 0x07, least = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= bytes.size())
            return false;
        for (int k = 1; k <= extra; ++k) {
            const uchar next = uchar(bytes[i + k]);
            if ((next & 0xC0) != 0x80)
                return false;
            code = (code << 6) | (next & 0x3F);
        }
        if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

// What the line reader and the writer make of the bytes, worked out on the bytes themselves:
// every line end (CR LF, a lone LF, a lone CR) comes back as it was, and a last line without
// one gets one of the page's own kind, its first line end (CR LF when it has none). In both
// encodings CR and LF are the bytes 13 and 10.
QByteArray savedBytes(QByteArrayView body)
{
    QByteArray result = body.toByteArray();
    if (!body.isEmpty() && (body.back() == '\r' || body.back() == '\n'))
        return result;
    const qsizetype first =
        std::find_if(body.begin(), body.end(), [](char c) { return c == '\r' || c == '\n'; }) -
        body.begin();
    if (first == body.size() || body.sliced(first).startsWith("\r\n"))
        return result + "\r\n";
    return result + body[first];
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = bytesOf(data, size);
    const DecodedDocument read = decodeDocument(bytes);
    const EncodedDocument written = encodeDocument(read.text, read.encoding);
    check(!written.fellBackToUtf8, "text read from a file can be written in its own encoding");
    check(written.encoding == read.encoding, "the file keeps its encoding");
    const DecodedDocument again = decodeDocument(written.bytes);
    check(again.encoding == read.encoding, "the saved file reads in the same encoding",
          QString::number(int(again.encoding)));

    check(QStringView(read.text).isValidUtf16(), "a page's text is whole code points",
          shown(read.text));
    const bool utf16Mark = bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF");
    if (read.encoding == TextEncoding::Binary) {
        check(looksBinary(bytes) || utf16Mark, "only bytes that look binary are binary");
        check(written.bytes == bytes, "a binary file's bytes come back unchanged",
              QString::fromLatin1(written.bytes.toHex(' ') + "\n" + bytes.toHex(' ')));
        check(again.text == read.text, "the saved binary file reads as the same text");
        return 0;
    }
    check(!looksBinary(bytes), "bytes that look binary are binary");
    if (read.encoding == TextEncoding::Utf16LittleEndian ||
        read.encoding == TextEncoding::Utf16BigEndian) {
        check(written.bytes.first(2) == bytes.first(2), "a UTF-16 file keeps its mark");
        check(again.text == (read.text.isEmpty() ? QStringLiteral("\r\n") : read.text),
              "the saved file reads as the same text",
              shown(again.text) + QStringLiteral("\n") + shown(read.text));
        return 0;
    }

    const bool bom = bytes.startsWith(Bom);
    const QByteArrayView body = bom ? QByteArrayView(bytes).sliced(Bom.size()) : bytes;
    TextEncoding expected = TextEncoding::Windows1252;
    if (validUtf8(body))
        expected = bom ? TextEncoding::Utf8WithBom : TextEncoding::Utf8;
    // Without a mark, a one-byte encoding the page declares decides.
    const CharsetDeclaration declaration =
        bom ? CharsetDeclaration()
            : findCharsetDeclaration(QString::fromLatin1(bytes.first(
                  std::min<qsizetype>(bytes.size(), DeclarationReach))));
    const std::optional<TextEncoding> declared =
        declaration.found() ? encodingForLabel(declaration.label) : std::nullopt;
    if (declared && *declared != TextEncoding::Utf8)
        expected = *declared;
    check(read.encoding == expected,
          "a declared one-byte encoding decides; else valid UTF-8 is read as UTF-8, anything "
          "else as Windows-1252",
          QString::number(int(read.encoding)));
    const QByteArray want = read.encoding == TextEncoding::Utf8WithBom ? Bom + savedBytes(body)
                            : read.encoding == TextEncoding::Utf8      ? savedBytes(body)
                                                                       : savedBytes(bytes);
    check(written.bytes == want, "saved bytes are the file's but for a missing last line end",
          QString::fromLatin1(written.bytes.toHex(' ') + "\n" + want.toHex(' ')));
    // Opening the saved file again gives the same text: a save never grows a page.
    check(again.text == (read.text.isEmpty() ? QStringLiteral("\r\n") : read.text),
          "the saved file reads as the same text",
          shown(again.text) + QStringLiteral("\n") + shown(read.text));
    return 0;
}
