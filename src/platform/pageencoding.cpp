#include "pageencoding.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <bitset>
#include <memory>

namespace zendral {

namespace {

bool isSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f';
}

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool startsWithAt(QStringView text, qsizetype at, QStringView word)
{
    return text.size() - at >= word.size() &&
           text.sliced(at, word.size()).compare(word, Qt::CaseInsensitive) == 0;
}

// One attribute of a tag as a browser's first look at a page reads it.
struct Attribute
{
    QString name; // in lower case
    qsizetype valueStart = 0;
    qsizetype valueLength = 0;
};

// The browsers' way of reading an attribute, from at; none at the tag's end.
std::optional<Attribute> nextAttribute(QStringView text, qsizetype &at)
{
    const qsizetype size = text.size();
    while (at < size && (isSpace(text[at]) || text[at] == u'/'))
        ++at;
    if (at >= size || text[at] == u'>')
        return std::nullopt;
    Attribute attribute;
    attribute.valueStart = at;
    for (;;) {
        if (at >= size)
            return attribute;
        const QChar c = text[at];
        if (c == u'=' && !attribute.name.isEmpty())
            break;
        if (isSpace(c)) {
            while (at < size && isSpace(text[at]))
                ++at;
            if (at >= size || text[at] != u'=')
                return attribute;
            break;
        }
        if (c == u'/' || c == u'>')
            return attribute;
        attribute.name += c.toLower();
        ++at;
    }
    ++at; // the "="
    while (at < size && isSpace(text[at]))
        ++at;
    if (at >= size || text[at] == u'>')
        return attribute;
    if (text[at] == u'"' || text[at] == u'\'') {
        const QChar quote = text[at++];
        attribute.valueStart = at;
        while (at < size && text[at] != quote)
            ++at;
        attribute.valueLength = at - attribute.valueStart;
        if (at < size)
            ++at;
        return attribute;
    }
    attribute.valueStart = at;
    while (at < size && !isSpace(text[at]) && text[at] != u'>')
        ++at;
    attribute.valueLength = at - attribute.valueStart;
    return attribute;
}

// The label after "charset=" in a Content-Type value (relative to the value's start).
std::optional<std::pair<qsizetype, qsizetype>> charsetInContent(QStringView value)
{
    qsizetype at = 0;
    for (;;) {
        const qsizetype found = value.indexOf(u"charset", at, Qt::CaseInsensitive);
        if (found < 0)
            return std::nullopt;
        at = found + 7;
        while (at < value.size() && isSpace(value[at]))
            ++at;
        if (at >= value.size() || value[at] != u'=')
            continue;
        ++at;
        while (at < value.size() && isSpace(value[at]))
            ++at;
        if (at >= value.size())
            return std::nullopt;
        if (value[at] == u'"' || value[at] == u'\'') {
            const qsizetype end = value.indexOf(value[at], at + 1);
            if (end < 0)
                return std::nullopt;
            return std::pair(at + 1, end - at - 1);
        }
        qsizetype end = at;
        while (end < value.size() && !isSpace(value[end]) && value[end] != u';')
            ++end;
        if (end == at)
            return std::nullopt;
        return std::pair(at, end - at);
    }
}

// A label's stretch without the blanks around it.
void trimLabel(QStringView text, qsizetype &start, qsizetype &length)
{
    while (length > 0 && isSpace(text[start])) {
        ++start;
        --length;
    }
    while (length > 0 && isSpace(text[start + length - 1]))
        --length;
}

// What a <meta> tag whose attributes start at `at` declares.
CharsetDeclaration metaDeclaration(QStringView text, qsizetype &at)
{
    QStringList seen;
    bool gotPragma = false;
    std::optional<bool> needPragma;
    CharsetDeclaration declaration;
    while (const std::optional<Attribute> attribute = nextAttribute(text, at)) {
        if (seen.contains(attribute->name))
            continue;
        seen.append(attribute->name);
        const QStringView value = text.sliced(attribute->valueStart, attribute->valueLength);
        if (attribute->name == u"http-equiv") {
            gotPragma = gotPragma || value.compare(u"content-type", Qt::CaseInsensitive) == 0;
        } else if (attribute->name == u"content" && !declaration.found()) {
            if (const auto label = charsetInContent(value)) {
                declaration.labelStart = attribute->valueStart + label->first;
                declaration.labelLength = label->second;
                needPragma = true;
            }
        } else if (attribute->name == u"charset") {
            declaration.labelStart = attribute->valueStart;
            declaration.labelLength = attribute->valueLength;
            needPragma = false;
        }
    }
    if (!needPragma || (*needPragma && !gotPragma) || !declaration.found())
        return CharsetDeclaration();
    trimLabel(text, declaration.labelStart, declaration.labelLength);
    declaration.label = text.sliced(declaration.labelStart, declaration.labelLength).toString();
    return declaration;
}

// Every character a one-byte encoding's bytes decode to.
std::bitset<65536> heldBy(const char *name)
{
    QByteArray bytes(256, Qt::Uninitialized);
    for (int i = 0; i < 256; ++i)
        bytes[i] = char(i);
    QStringDecoder decoder(name, QStringDecoder::Flag::Stateless);
    const QString characters = decoder.decode(bytes);
    std::bitset<65536> held;
    for (const QChar c : characters)
        held.set(c.unicode());
    return held;
}

qsizetype sequenceLength(QByteArrayView bytes, qsizetype at)
{
    const auto byte = [&](qsizetype i) { return i < bytes.size() ? quint8(bytes[i]) : 0; };
    const quint8 lead = byte(at);
    const auto continuation = [&](qsizetype i) { return (byte(i) & 0xC0) == 0x80; };
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return continuation(at + 1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const quint8 second = byte(at + 1);
        const bool secondOk = lead == 0xE0   ? second >= 0xA0 && second <= 0xBF
                              : lead == 0xED ? second >= 0x80 && second <= 0x9F
                                             : continuation(at + 1);
        return secondOk && continuation(at + 2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const quint8 second = byte(at + 1);
        const bool secondOk = lead == 0xF0   ? second >= 0x90 && second <= 0xBF
                              : lead == 0xF4 ? second >= 0x80 && second <= 0x8F
                                             : continuation(at + 1);
        return secondOk && continuation(at + 2) && continuation(at + 3) ? 4 : 0;
    }
    return 0;
}

} // namespace

CharsetDeclaration findCharsetDeclaration(QStringView head)
{
    const QStringView text = head.first(std::min(head.size(), DeclarationReach));
    const qsizetype size = text.size();
    qsizetype at = 0;
    while (at < size) {
        if (startsWithAt(text, at, u"<!--")) {
            const qsizetype end = text.indexOf(u"-->", at + 2);
            if (end < 0)
                break;
            at = end + 3;
        } else if (startsWithAt(text, at, u"<meta") && at + 5 < size &&
                   (isSpace(text[at + 5]) || text[at + 5] == u'/')) {
            at += 5;
            CharsetDeclaration declaration = metaDeclaration(text, at);
            if (declaration.found())
                return declaration;
        } else if (text[at] == u'<' && at + 1 < size &&
                   (isAsciiLetter(text[at + 1]) ||
                    (text[at + 1] == u'/' && at + 2 < size && isAsciiLetter(text[at + 2])))) {
            while (at < size && !isSpace(text[at]) && text[at] != u'>')
                ++at;
            while (nextAttribute(text, at)) {
            }
        } else if (startsWithAt(text, at, u"<!") || startsWithAt(text, at, u"</") ||
                   startsWithAt(text, at, u"<?")) {
            const qsizetype end = text.indexOf(u'>', at);
            if (end < 0)
                break;
            at = end + 1;
        } else {
            ++at;
        }
    }
    return CharsetDeclaration();
}

std::optional<TextEncoding> encodingForLabel(QStringView label)
{
    const QStringDecoder decoder(label.trimmed().toLatin1().constData());
    if (!decoder.isValid())
        return std::nullopt;
    const QByteArrayView name(decoder.name());
    // Browsers read ISO-8859-1 and US-ASCII as Windows-1252, which holds both; a UTF-16
    // declaration can only be read at all because the page is not UTF-16.
    if (name == "UTF-8" || name.startsWith("UTF-16"))
        return TextEncoding::Utf8;
    if (name == "windows-1252" || name == "ISO-8859-1" || name == "US-ASCII")
        return TextEncoding::Windows1252;
    if (name == "ISO-8859-15")
        return TextEncoding::Iso885915;
    return std::nullopt;
}

QString charsetName(QStringView label)
{
    const QStringDecoder decoder(label.trimmed().toLatin1().constData());
    return decoder.isValid() ? QString::fromLatin1(decoder.name()) : label.toString();
}

QString declarationLabel(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Windows1252:
    case TextEncoding::Binary:
        return QStringLiteral("windows-1252");
    case TextEncoding::Iso885915:
        return QStringLiteral("iso-8859-15");
    case TextEncoding::Utf16LittleEndian:
    case TextEncoding::Utf16BigEndian:
        return QStringLiteral("utf-16");
    case TextEncoding::Utf8:
    case TextEncoding::Utf8WithBom:
        break;
    }
    return QStringLiteral("utf-8");
}

QString encodingCaption(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
        return QStringLiteral("UTF-8");
    case TextEncoding::Utf8WithBom:
        return QStringLiteral("UTF-8 con BOM");
    case TextEncoding::Windows1252:
        return QStringLiteral("Windows-1252");
    case TextEncoding::Iso885915:
        return QStringLiteral("ISO-8859-15");
    case TextEncoding::Utf16LittleEndian:
        return QStringLiteral("UTF-16 LE");
    case TextEncoding::Utf16BigEndian:
        return QStringLiteral("UTF-16 BE");
    case TextEncoding::Binary:
        return QStringLiteral("Binario (Windows-1252)");
    }
    return QString();
}

bool canHold(TextEncoding encoding, char16_t character)
{
    static const std::bitset<65536> windows = heldBy("windows-1252");
    static const std::bitset<65536> latin9 = heldBy("ISO-8859-15");
    switch (encoding) {
    case TextEncoding::Windows1252:
        return windows.test(character);
    case TextEncoding::Binary:
        // U+240D stands for a CR alone on a binary page's line.
        return windows.test(character) || character == 0x240D;
    case TextEncoding::Iso885915:
        return latin9.test(character);
    default:
        return true;
    }
}

std::optional<Unencodable> firstUnencodable(const TextPieces &text, TextEncoding encoding)
{
    if (encoding != TextEncoding::Windows1252 && encoding != TextEncoding::Iso885915 &&
        encoding != TextEncoding::Binary)
        return std::nullopt;
    std::optional<Unencodable> found;
    qint64 line = 0;
    bool afterCr = false;
    text([&](QStringView piece) {
        for (qsizetype i = 0; i < piece.size(); ++i) {
            const char16_t c = piece[i].unicode();
            if (c == u'\n') {
                if (!afterCr)
                    ++line;
            } else if (c == u'\r') {
                ++line;
            } else if (!canHold(encoding, c)) {
                const bool pair = QChar::isHighSurrogate(c) && i + 1 < piece.size() &&
                                  piece[i + 1].isLowSurrogate();
                found = Unencodable{piece.sliced(i, pair ? 2 : 1).toString(), line};
                return false;
            }
            afterCr = c == u'\r';
        }
        return true;
    });
    return found;
}

bool holdsNonAscii(const TextPieces &text)
{
    bool found = false;
    text([&found](QStringView piece) {
        found = std::any_of(piece.begin(), piece.end(), [](QChar c) { return c.unicode() > 0x7F; });
        return !found;
    });
    return found;
}

InvalidUtf8 checkUtf8(QByteArrayView bytes)
{
    InvalidUtf8 result;
    qint64 line = 0;
    for (qsizetype at = 0; at < bytes.size();) {
        const char byte = bytes[at];
        if (byte == '\n' || (byte == '\r' && (at + 1 >= bytes.size() || bytes[at + 1] != '\n')))
            ++line;
        const qsizetype length = sequenceLength(bytes, at);
        if (length == 0) {
            if (result.count++ == 0)
                result.firstLine = line;
            ++at;
            continue;
        }
        if (length > 1)
            ++result.multibyte;
        at += length;
    }
    return result;
}

QString decodeUtf8KeepingBytes(QByteArrayView bytes)
{
    QString text;
    text.reserve(bytes.size());
    const auto byte = [&](qsizetype i) { return char32_t(quint8(bytes[i])); };
    for (qsizetype at = 0; at < bytes.size();) {
        const qsizetype length = sequenceLength(bytes, at);
        char32_t code = 0;
        switch (length) {
        case 0:
            text += QChar(char16_t(0xDC00 + byte(at)));
            ++at;
            continue;
        case 1:
            code = byte(at);
            break;
        case 2:
            code = (byte(at) & 0x1F) << 6 | (byte(at + 1) & 0x3F);
            break;
        case 3:
            code = (byte(at) & 0x0F) << 12 | (byte(at + 1) & 0x3F) << 6 | (byte(at + 2) & 0x3F);
            break;
        default:
            code = (byte(at) & 0x07) << 18 | (byte(at + 1) & 0x3F) << 12 |
                   (byte(at + 2) & 0x3F) << 6 | (byte(at + 3) & 0x3F);
            break;
        }
        text += QStringView(QChar::fromUcs4(code));
        at += length;
    }
    return text;
}

bool readAsWindows1252ForWantOfDeclaration(const QString &path)
{
    // Only a regular file is opened: a pipe would hold the window until a writer came.
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(DeclarationReach);
    if (head.startsWith("\xEF\xBB\xBF") || head.startsWith("\xFF\xFE") ||
        head.startsWith("\xFE\xFF") || findCharsetDeclaration(QString::fromLatin1(head)).found())
        return false;
    const auto outsideAscii = [](QByteArrayView bytes) {
        return std::any_of(bytes.begin(), bytes.end(), [](char c) { return quint8(c) > 0x7F; });
    };
    if (outsideAscii(head))
        return true;
    for (qint64 read = head.size(); read < LargeFile;) {
        const QByteArray chunk = file.read(1 << 20);
        if (chunk.isEmpty())
            return false;
        if (outsideAscii(chunk))
            return true;
        read += chunk.size();
    }
    return false;
}

} // namespace zendral
