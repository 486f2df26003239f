#include "completion.h"

#include "characterreferences.h"
#include "markupvocabulary.h"
#include "pagetext.h"
#include "tagmatch.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace zendral {

namespace {

// The list of a folder is cut there: a list the author cannot read through helps nobody.
constexpr qsizetype MostFiles = 500;
// How far back a blank is looked at for the "<" or ">" that tells whether it is in a tag.
constexpr qint64 TagLookBack = 2048;

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool isAttributeCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u'-' || c == u':' || c == u'_' || c == u'.';
}

// Where the end of a tag being written stands.
struct TagReading
{
    enum Where { Name, Between, AttributeName, AfterEquals, Value } where = Name;
    QString element;
    QString attribute;
    QChar quote;
    qsizetype valueLength = 0;
};

// Reads a tag from its "<" to the caret.
TagReading readTag(QStringView tag)
{
    TagReading reading;
    qsizetype i = 1;
    if (i < tag.size() && tag.at(i) == u'/')
        ++i;
    const qsizetype nameStart = i;
    while (i < tag.size() && isAttributeCharacter(tag.at(i)))
        ++i;
    reading.element = tag.mid(nameStart, i - nameStart).toString();
    for (; i < tag.size(); ++i) {
        const QChar c = tag.at(i);
        if (c == u'<' && i + 1 < tag.size() && tag.at(i + 1) == u'%') {
            // A server block writes part of the tag: it holds no attribute of its own.
            const qsizetype close = tag.indexOf(u"%>", i + 2);
            if (close < 0)
                return TagReading{TagReading::Value, {}, {}, {}, 0};
            i = close + 1;
            continue;
        }
        switch (reading.where) {
        case TagReading::Value:
            if (reading.quote.isNull() ? c.isSpace() : c == reading.quote) {
                reading.where = TagReading::Between;
            } else {
                ++reading.valueLength;
            }
            break;
        case TagReading::AfterEquals:
            if (c.isSpace())
                break;
            reading.where = TagReading::Value;
            reading.valueLength = 0;
            if (c == u'"' || c == u'\'') {
                reading.quote = c;
            } else {
                reading.quote = QChar();
                reading.valueLength = 1;
            }
            break;
        default:
            if (c == u'=' && !reading.attribute.isEmpty()) {
                reading.where = TagReading::AfterEquals;
            } else if (isAttributeCharacter(c)) {
                if (reading.where != TagReading::AttributeName)
                    reading.attribute.clear();
                reading.attribute.append(c);
                reading.where = TagReading::AttributeName;
            } else if (c.isSpace() || c == u'/') {
                if (reading.where == TagReading::Name || c.isSpace() ||
                    reading.where == TagReading::AttributeName)
                    reading.where = TagReading::Between;
            }
            break;
        }
    }
    return reading;
}

// The markup before position, read from a bounded stretch.
MarkupState markupAt(const PageText &page, qint64 position)
{
    const qint64 from = std::max<qint64>(0, position - SuggestionReach);
    return markupBefore(page.textRange(from, position - from));
}

// The tag the caret is writing, read from its "<"; nothing outside a tag.
std::optional<TagReading> tagAt(const PageText &page, qint64 caret)
{
    // Most blanks are in text: the nearest ">" after the nearest "<" settles them at once.
    const qint64 from = std::max<qint64>(0, caret - TagLookBack);
    const QString near = page.textRange(from, caret - from);
    if (near.lastIndexOf(u'<') <= near.lastIndexOf(u'>'))
        return std::nullopt;
    const qint64 start = std::max<qint64>(0, caret - SuggestionReach);
    const QString before = page.textRange(start, caret - start);
    const MarkupState state = markupBefore(before);
    if (state.place != MarkupPlace::Tag || state.tagBeingWritten.closing)
        return std::nullopt;
    return readTag(QStringView(before).mid(state.tagBeingWritten.tagStart));
}

bool allCapitals(const QString &typed)
{
    bool letter = false;
    for (const QChar c : typed) {
        if (c.isLower())
            return false;
        letter = letter || c.isUpper();
    }
    return letter;
}

QList<Suggestion> namesStartingWith(const QStringList &names, const QString &typed,
                                    const QString &after = {}, qint64 caretBack = 0)
{
    const bool capitals = allCapitals(typed);
    QList<Suggestion> result;
    for (const QString &name : names) {
        if (!name.startsWith(typed, Qt::CaseInsensitive))
            continue;
        const QString written = capitals ? name.toUpper() : name;
        result.append({written, written + after, caretBack});
    }
    return result;
}

QList<Suggestion> filesIn(const QString &folder, const QString &typed, QChar quote)
{
    if (folder.isEmpty())
        return {};
    const qsizetype slash = typed.lastIndexOf(u'/');
    const QString inner = typed.left(slash + 1);
    const QString start = typed.mid(slash + 1);
    const QDir dir(QDir(folder).filePath(inner));
    const QFileInfoList entries =
        dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                          QDir::Name | QDir::DirsFirst | QDir::IgnoreCase);
    const QString close = quote.isNull() ? QStringLiteral("\"") : QString(quote);
    const QString open = quote.isNull() ? QStringLiteral("\"") : QString();
    QList<Suggestion> result;
    for (const QFileInfo &entry : entries) {
        if (!entry.fileName().startsWith(start, Qt::CaseInsensitive))
            continue;
        const QString path = inner + entry.fileName();
        // A folder is written open, so that its own files come next.
        if (entry.isDir())
            result.append({path + u'/', open + path + u'/', 0});
        else
            result.append({path, open + path + close, 0});
        if (result.size() == MostFiles)
            break;
    }
    return result;
}

} // namespace

std::optional<SuggestionPlace> suggestionPlaceAfter(const PageText &page, char32_t character)
{
    const qint64 caret = page.selectionStart();
    if (page.selectionLength() != 0 || caret < 2 || character > 0xFFFF)
        return std::nullopt;
    const QChar typed{char16_t(character)};
    const QChar before = page.characterAt(caret - 2);
    SuggestionPlace place;
    if (isAsciiLetter(typed) && (before == u'<' || before == u'&')) {
        const MarkupPlace where = markupAt(page, caret - 2).place;
        if (before == u'<' && where != MarkupPlace::Text)
            return std::nullopt;
        if (before == u'&' && where != MarkupPlace::Text && where != MarkupPlace::Tag)
            return std::nullopt;
        place.kind = before == u'<' ? SuggestionKind::Tag : SuggestionKind::Reference;
        place.start = caret - 1;
        place.typed = typed;
        return place;
    }
    if (typed == u'%' && before == u'<') {
        if (markupAt(page, caret - 2).place != MarkupPlace::Text)
            return std::nullopt;
        place.kind = SuggestionKind::ServerBlock;
        place.start = caret;
        return place;
    }
    const bool attribute = isAsciiLetter(typed) && before.isSpace();
    const bool value = typed == u'=' || ((typed == u'"' || typed == u'\'') && before == u'=');
    if (!attribute && !value)
        return std::nullopt;
    const std::optional<TagReading> tag = tagAt(page, attribute ? caret - 1 : caret);
    if (!tag || tag->element.isEmpty())
        return std::nullopt;
    place.element = tag->element;
    if (attribute) {
        if (tag->where != TagReading::Between)
            return std::nullopt;
        place.kind = SuggestionKind::Attribute;
        place.start = caret - 1;
        place.typed = typed;
        return place;
    }
    const bool opened =
        tag->where == TagReading::AfterEquals ||
        (tag->where == TagReading::Value && tag->valueLength == 0 && !tag->quote.isNull());
    if (!opened || (valuesOf(tag->element, tag->attribute).isEmpty() && !namesFile(tag->attribute)))
        return std::nullopt;
    place.kind = SuggestionKind::Value;
    place.start = caret;
    place.attribute = tag->attribute;
    place.quote = tag->where == TagReading::Value ? tag->quote : QChar();
    return place;
}

bool continuesEntry(const SuggestionPlace &place, QChar c)
{
    switch (place.kind) {
    case SuggestionKind::Tag:
    case SuggestionKind::Reference:
        return c.isLetterOrNumber();
    case SuggestionKind::Attribute:
        return isAttributeCharacter(c);
    case SuggestionKind::Value:
        return !c.isSpace() && c != u'>' && c != u'"' && c != u'\'' && c != u'<';
    case SuggestionKind::ServerBlock:
        break;
    }
    return false;
}

QList<Suggestion> suggestionsFor(const SuggestionPlace &place, const QString &folder)
{
    switch (place.kind) {
    case SuggestionKind::Tag:
        return namesStartingWith(elementNames(), place.typed);
    case SuggestionKind::ServerBlock:
        return {{QStringLiteral("<% … %>"), QStringLiteral("  %>"), 3}};
    case SuggestionKind::Attribute:
        return namesStartingWith(attributesOf(place.element), place.typed, QStringLiteral("=\"\""),
                                 1);
    case SuggestionKind::Value: {
        if (namesFile(place.attribute))
            return filesIn(folder, place.typed, place.quote);
        const QString close = place.quote.isNull() ? QStringLiteral("\"") : QString(place.quote);
        QList<Suggestion> result;
        for (const QString &value : valuesOf(place.element, place.attribute)) {
            if (!value.startsWith(place.typed, Qt::CaseInsensitive))
                continue;
            const QString open = place.quote.isNull() ? QStringLiteral("\"") : QString();
            result.append({value, open + value + close, 0});
        }
        return result;
    }
    case SuggestionKind::Reference: {
        QList<Suggestion> result;
        for (const CharacterReference &reference : characterReferences()) {
            const QString name = QString::fromLatin1(reference.name);
            if (!name.startsWith(place.typed))
                continue;
            result.append({name + QStringLiteral("   ") + QString::fromUtf16(reference.text),
                           name + u';', 0});
        }
        return result;
    }
    }
    return {};
}

} // namespace zendral
