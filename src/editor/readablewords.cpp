#include "readablewords.h"

#include "htmlentities.h"

#include <algorithm>

namespace zendral {

namespace {

// One character as the reader sees it, with the stretch of source that writes it. A
// character of 0 marks source that reads as nothing (an unknown entity, a server block).
struct Unit
{
    char32_t character = 0;
    qint64 start = 0;
    qint64 end = 0;
    bool entity = false;
};

constexpr qint64 LongestEntity = 32;

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool startsAt(const QString &page, qint64 position, QStringView what)
{
    return QStringView(page).mid(position).startsWith(what);
}

bool serverBlockAt(const QString &page, qint64 position)
{
    return startsAt(page, position, QStringView(u"<%"));
}

// The position after the first `end` at or after from, or the end of the page.
qint64 skipPast(const QString &page, qint64 from, QStringView end)
{
    const qint64 found = page.indexOf(end, from);
    return found < 0 ? page.size() : found + end.size();
}

void append(QString &text, char32_t character)
{
    if (QChar::requiresSurrogates(character)) {
        text += QChar(QChar::highSurrogate(character));
        text += QChar(QChar::lowSurrogate(character));
    } else {
        text += QChar(char16_t(character));
    }
}

bool isSpace(const Unit &unit)
{
    return unit.character != 0 && QChar::isSpace(unit.character);
}

bool isWordCharacter(const Unit &unit)
{
    return QChar::isLetter(unit.character) || QChar::isMark(unit.character);
}

// A word glued to a digit or an underscore is a code, a size or a name, not prose.
bool isCodeCharacter(const Unit &unit)
{
    return QChar::isDigit(unit.character) || unit.character == U'_';
}

bool isApostrophe(const Unit &unit)
{
    return unit.character == U'\'' || unit.character == U'\u2019';
}

std::vector<Unit> decode(const QString &page, qint64 start, qint64 end, WordPlace place)
{
    std::vector<Unit> units;
    qint64 i = start;
    while (i < end) {
        const QChar c = page.at(i);
        if (c == u'&') {
            // Looking no further than an entity can reach keeps a page full of bare "&"
            // from being scanned to its end once for each of them.
            const qint64 window = std::min(LongestEntity, end - i - 1);
            const qint64 found = QStringView(page).mid(i + 1, window).indexOf(u';');
            const qint64 semicolon = found < 0 ? -1 : i + 1 + found;
            if (semicolon > i + 1) {
                const QStringView body = QStringView(page).mid(i + 1, semicolon - i - 1);
                const bool entityLike = std::all_of(body.begin(), body.end(), [](QChar b) {
                    return b.unicode() < 128 && (b.isLetterOrNumber() || b == u'#');
                });
                if (entityLike) {
                    const std::optional<char32_t> decoded = decodeEntity(body);
                    units.push_back({decoded.value_or(0), i, semicolon + 1, true});
                    i = semicolon + 1;
                    continue;
                }
            }
        }
        // Inside a tag the quotes, not the block, end the value; between tags the caller has
        // already taken the blocks out.
        if (place != WordPlace::Text && serverBlockAt(page, i)) {
            const qint64 blockEnd = std::min(skipPast(page, i + 2, QStringView(u"%>")), end);
            units.push_back({0, i, blockEnd, false});
            i = blockEnd;
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < end && page.at(i + 1).isLowSurrogate()) {
            units.push_back({QChar::surrogateToUcs4(c, page.at(i + 1)), i, i + 2, false});
            i += 2;
            continue;
        }
        units.push_back({c.unicode(), i, i + 1, false});
        ++i;
    }
    return units;
}

// Marks the units of every blank-free stretch that reads as a mail or web address.
std::vector<bool> addresses(const std::vector<Unit> &units)
{
    std::vector<bool> marked(units.size(), false);
    size_t a = 0;
    while (a < units.size()) {
        if (isSpace(units[a])) {
            ++a;
            continue;
        }
        size_t b = a;
        QString chunk;
        while (b < units.size() && !isSpace(units[b])) {
            if (units[b].character != 0)
                append(chunk, units[b].character);
            ++b;
        }
        chunk = chunk.toLower();
        if (chunk.contains(u'@') || chunk.contains(QStringView(u"://")) ||
            chunk.startsWith(QStringView(u"www.")))
            std::fill(marked.begin() + qsizetype(a), marked.begin() + qsizetype(b), true);
        a = b;
    }
    return marked;
}

void collectWords(const QString &page, qint64 start, qint64 end, WordPlace place,
                  std::vector<ReadableWord> &words)
{
    const std::vector<Unit> units = decode(page, start, end, place);
    const std::vector<bool> inAddress = addresses(units);
    const size_t count = units.size();
    size_t a = 0;
    while (a < count) {
        if (!QChar::isLetter(units[a].character)) {
            ++a;
            continue;
        }
        size_t b = a + 1;
        while (b < count) {
            if (isWordCharacter(units[b]))
                ++b;
            else if (isApostrophe(units[b]) && b + 1 < count &&
                     QChar::isLetter(units[b + 1].character))
                b += 2;
            else
                break;
        }
        const bool glued =
            (a > 0 && isCodeCharacter(units[a - 1])) || (b < count && isCodeCharacter(units[b]));
        if (!glued && !inAddress[a]) {
            ReadableWord word;
            word.start = units[a].start;
            word.length = units[b - 1].end - units[a].start;
            word.place = place;
            for (size_t k = a; k < b; ++k) {
                append(word.word, units[k].character);
                if (units[k].entity)
                    word.entityLetters = true;
                else if (units[k].character > 127)
                    word.plainNonAsciiLetters = true;
            }
            words.push_back(std::move(word));
        }
        a = b;
    }
}

bool readableAttribute(const QString &name)
{
    return name == u"alt" || name == u"title" || name == u"value";
}

// Reads one start tag from its "<", collecting the words of its readable attributes, and
// returns where the page goes on: after the tag, or for script and style after their code.
qint64 scanTag(const QString &page, qint64 position, std::vector<ReadableWord> &words)
{
    const qint64 size = page.size();
    qint64 j = position + 1;
    while (j < size && (page.at(j).isLetterOrNumber() || page.at(j) == u':' || page.at(j) == u'-'))
        ++j;
    const QString tagName = page.mid(position + 1, j - position - 1).toLower();
    while (j < size) {
        const QChar c = page.at(j);
        if (c == u'>') {
            ++j;
            break;
        }
        if (serverBlockAt(page, j)) {
            j = skipPast(page, j + 2, QStringView(u"%>"));
            continue;
        }
        if (c.isSpace() || c == u'/' || c == u'=') {
            ++j;
            continue;
        }
        const qint64 nameStart = j;
        while (j < size && !page.at(j).isSpace() && page.at(j) != u'=' && page.at(j) != u'>' &&
               !serverBlockAt(page, j) && !startsAt(page, j, QStringView(u"/>")))
            ++j;
        const QString attribute = page.mid(nameStart, j - nameStart).toLower();
        qint64 k = j;
        while (k < size && page.at(k).isSpace())
            ++k;
        if (k >= size || page.at(k) != u'=') {
            j = k;
            continue;
        }
        ++k;
        while (k < size && page.at(k).isSpace())
            ++k;
        if (k < size && (page.at(k) == u'"' || page.at(k) == u'\'')) {
            const QChar quote = page.at(k);
            const qint64 valueStart = k + 1;
            qint64 v = valueStart;
            // A server block may hold the quote character without ending the value.
            while (v < size && page.at(v) != quote)
                v = serverBlockAt(page, v) ? skipPast(page, v + 2, QStringView(u"%>")) : v + 1;
            v = std::min(v, size);
            if (readableAttribute(attribute))
                collectWords(page, valueStart, v,
                             quote == u'"' ? WordPlace::DoubleQuotedValue
                                           : WordPlace::SingleQuotedValue,
                             words);
            j = std::min(v + 1, size);
        } else {
            const qint64 valueStart = k;
            qint64 v = valueStart;
            while (v < size && !page.at(v).isSpace() && page.at(v) != u'>')
                v = serverBlockAt(page, v) ? skipPast(page, v + 2, QStringView(u"%>")) : v + 1;
            v = std::min(v, size);
            if (readableAttribute(attribute))
                collectWords(page, valueStart, v, WordPlace::UnquotedValue, words);
            j = v;
        }
    }
    if (tagName == u"script" || tagName == u"style") {
        const qint64 close = page.indexOf(QStringLiteral("</") + tagName, j, Qt::CaseInsensitive);
        return close < 0 ? size : close;
    }
    return j;
}

} // namespace

std::vector<ReadableWord> readableWords(const QString &page)
{
    std::vector<ReadableWord> words;
    const qint64 size = page.size();
    qint64 textStart = 0;
    qint64 i = 0;
    while (i < size) {
        if (page.at(i) != u'<') {
            i = page.indexOf(u'<', i);
            if (i < 0)
                i = size;
            continue;
        }
        const QChar next = i + 1 < size ? page.at(i + 1) : QChar();
        const QChar afterNext = i + 2 < size ? page.at(i + 2) : QChar();
        enum class Markup { None, Comment, ServerBlock, StartTag, OtherTag } kind = Markup::None;
        if (startsAt(page, i, QStringView(u"<!--")))
            kind = Markup::Comment;
        else if (next == u'%')
            kind = Markup::ServerBlock;
        else if (isAsciiLetter(next))
            kind = Markup::StartTag;
        else if ((next == u'/' && isAsciiLetter(afterNext)) || next == u'!' || next == u'?')
            kind = Markup::OtherTag;
        if (kind == Markup::None) {
            // A "<" that opens nothing is text, as a browser shows it.
            ++i;
            continue;
        }
        if (i > textStart)
            collectWords(page, textStart, i, WordPlace::Text, words);
        switch (kind) {
        case Markup::Comment:
            i = skipPast(page, i + 4, QStringView(u"-->"));
            break;
        case Markup::ServerBlock:
            i = skipPast(page, i + 2, QStringView(u"%>"));
            break;
        case Markup::StartTag:
            i = scanTag(page, i, words);
            break;
        default:
            i = skipPast(page, i + 1, QStringView(u">"));
            break;
        }
        textStart = i;
    }
    if (size > textStart)
        collectWords(page, textStart, size, WordPlace::Text, words);
    return words;
}

} // namespace zendral
