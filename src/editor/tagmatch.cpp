#include "tagmatch.h"

#include "markupvocabulary.h"

#include <QHash>
#include <QString>

#include <vector>

namespace zendral {

namespace {

struct Tag
{
    TagName name;
    bool selfClosing = false;
};

bool isAsciiLetter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The position after the first `end` at or after from, or the end of the text.
qint64 skipPast(QStringView text, qint64 from, QStringView end)
{
    const qint64 found = text.indexOf(end, from);
    return found < 0 ? text.size() : found + end.size();
}

// Reads the tag whose name starts at nameStart to its ">", quoted values and server blocks
// inside it taken whole, and returns where the text goes on.
qint64 tagEnd(QStringView text, qint64 nameEnd, bool *selfClosing, bool *ended)
{
    *ended = false;
    qint64 i = nameEnd;
    QChar previous;
    while (i < text.size()) {
        const QChar c = text.at(i);
        if (c == u'>') {
            *selfClosing = previous == u'/';
            *ended = true;
            return i + 1;
        }
        if (c == u'<') {
            // A "<" that is not in quotes means the tag was never closed: a new one begins.
            if (i + 1 == text.size() || text.at(i + 1) != u'%') {
                *ended = true;
                return i;
            }
            i = skipPast(text, i + 2, u"%>");
        } else if (c == u'"' || c == u'\'') {
            const qint64 close = text.indexOf(c, i + 1);
            i = close < 0 ? text.size() : close + 1;
        } else {
            ++i;
        }
        previous = c;
    }
    return i;
}

// Every tag of the text in order, with what holds no tags left out; endPlace, when given,
// learns what the end of the text falls in.
std::vector<Tag> tagsOf(QStringView text, MarkupPlace *endPlace = nullptr)
{
    std::vector<Tag> tags;
    MarkupPlace place = MarkupPlace::Text;
    // What holds no tags runs to its end marker, or to the end of the text, which it holds.
    const auto skipBlock = [&](qint64 from, QStringView end, MarkupPlace block) {
        const qint64 found = text.indexOf(end, from);
        if (found < 0)
            place = block;
        return found < 0 ? text.size() : found + end.size();
    };
    qint64 i = 0;
    while (i < text.size()) {
        i = text.indexOf(u'<', i);
        if (i < 0)
            break;
        // The character after the "<" settles most cases without comparing strings: this
        // reads every tag within reach of the caret on every keystroke in a tag's name.
        const QChar next = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (next == u'!' && text.mid(i).startsWith(u"<!--")) {
            i = skipBlock(i + 4, u"-->", MarkupPlace::Comment);
            continue;
        }
        if (next == u'%') {
            i = skipBlock(i + 2, u"%>", MarkupPlace::ServerBlock);
            continue;
        }
        const bool closing = next == u'/';
        const qint64 nameStart = i + (closing ? 2 : 1);
        if (nameStart >= text.size() || !isAsciiLetter(text.at(nameStart))) {
            ++i;
            continue;
        }
        qint64 nameEnd = nameStart;
        while (nameEnd < text.size() && isTagNameCharacter(text.at(nameEnd)))
            ++nameEnd;
        Tag tag;
        tag.name = {i, nameStart, nameEnd - nameStart, closing};
        bool ended = false;
        i = tagEnd(text, nameEnd, &tag.selfClosing, &ended);
        tags.push_back(tag);
        if (!ended) {
            place = MarkupPlace::Tag;
            break;
        }
        if (!closing) {
            // A script's or a style's code may write "<div>" in a string: it is not a tag.
            const QStringView name = text.mid(nameStart, nameEnd - nameStart);
            for (const QStringView raw : {QStringView(u"</script"), QStringView(u"</style")}) {
                if (name.size() != raw.size() - 2 ||
                    name.compare(raw.mid(2), Qt::CaseInsensitive) != 0)
                    continue;
                const qint64 close = text.indexOf(raw, i, Qt::CaseInsensitive);
                if (close < 0)
                    place = MarkupPlace::ScriptOrStyle;
                i = close < 0 ? text.size() : close;
            }
        }
    }
    if (endPlace)
        *endPlace = place;
    return tags;
}

} // namespace

bool isTagNameCharacter(QChar c)
{
    return c.isLetterOrNumber() || c == u':' || c == u'-' || c == u'_' || c == u'.';
}

QString foldedTagName(QStringView name)
{
    QString result;
    result.reserve(name.size());
    for (const char32_t c : name.toUcs4())
        result.append(QStringView(QChar::fromUcs4(QChar::toCaseFolded(c))));
    return result;
}

std::optional<TagName> tagNameEndingAt(QStringView text, qsizetype end)
{
    qsizetype start = end;
    while (start > 0 && isTagNameCharacter(text.at(start - 1)))
        --start;
    if (start == 0)
        return std::nullopt;
    if (text.at(start - 1) == u'<')
        return TagName{start - 1, start, end - start, false};
    if (text.at(start - 1) == u'/' && start > 1 && text.at(start - 2) == u'<')
        return TagName{start - 2, start, end - start, true};
    return std::nullopt;
}

std::vector<TagName> closingTagNamesIn(QStringView text)
{
    std::vector<TagName> names;
    for (qsizetype i = text.indexOf(u"</"); i >= 0; i = text.indexOf(u"</", i + 2)) {
        const qsizetype start = i + 2;
        qsizetype end = start;
        while (end < text.size() && isTagNameCharacter(text.at(end)))
            ++end;
        if (end > start)
            names.push_back({i, start, end - start, true});
    }
    return names;
}

MarkupState markupBefore(QStringView text)
{
    MarkupState state;
    std::vector<Tag> tags = tagsOf(text, &state.place);
    if (state.place == MarkupPlace::Tag) {
        state.tagBeingWritten = tags.back().name;
        tags.pop_back();
    }
    // The pairing's own rule, read backwards: a closing tag pairs with the nearest opening tag
    // of its name before it that no other closing tag of that name has taken.
    QHash<QString, int> closed;
    for (auto tag = tags.crbegin(); tag != tags.crend(); ++tag) {
        const QString name =
            text.mid(tag->name.nameStart, tag->name.nameLength).toString().toCaseFolded();
        if (tag->name.closing) {
            ++closed[name];
        } else if (!tag->selfClosing && !isVoidElement(name)) {
            int &count = closed[name];
            if (count == 0) {
                state.innermostOpen = tag->name;
                break;
            }
            --count;
        }
    }
    return state;
}

std::optional<TagPair> matchingTag(QStringView text, qint64 caret, bool *unpairedOpening)
{
    if (unpairedOpening)
        *unpairedOpening = false;
    const std::vector<Tag> tags = tagsOf(text);
    qsizetype current = -1;
    for (qsizetype k = 0; k < qsizetype(tags.size()); ++k) {
        const TagName &name = tags[size_t(k)].name;
        if (caret > name.tagStart && caret <= name.nameStart + name.nameLength) {
            current = k;
            break;
        }
    }
    if (current < 0)
        return std::nullopt;
    const TagName &here = tags[size_t(current)].name;
    if (tags[size_t(current)].selfClosing) {
        if (unpairedOpening)
            *unpairedOpening = !here.closing;
        return std::nullopt;
    }
    const QStringView name = text.mid(here.nameStart, here.nameLength);
    const qsizetype step = here.closing ? -1 : 1;
    int depth = 0;
    for (qsizetype k = current + step; k >= 0 && k < qsizetype(tags.size()); k += step) {
        const Tag &tag = tags[size_t(k)];
        if (tag.selfClosing || tag.name.nameLength != name.size() ||
            text.mid(tag.name.nameStart, tag.name.nameLength).compare(name, Qt::CaseInsensitive))
            continue;
        if (tag.name.closing == here.closing) {
            ++depth;
        } else if (depth > 0) {
            --depth;
        } else {
            return TagPair{here, tag.name};
        }
    }
    if (unpairedOpening)
        *unpairedOpening = !here.closing;
    return std::nullopt;
}

} // namespace zendral
