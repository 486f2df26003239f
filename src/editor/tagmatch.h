#pragma once

#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

namespace zendral {

// One tag as the pairing sees it: from its "<" to the end of its name.
struct TagName
{
    qint64 tagStart = 0;
    qint64 nameStart = 0;
    qint64 nameLength = 0;
    bool closing = false;
};

// Whether a character may stand in a tag's name.
bool isTagNameCharacter(QChar c);
// A tag's name as the pairing compares it, case aside: each character folded alone.
QString foldedTagName(QStringView name);
// The tag whose "<" or "</" and name (empty, when nothing follows them yet) end at end of text.
std::optional<TagName> tagNameEndingAt(QStringView text, qsizetype end);
// Every "</" in text followed by a name, wherever it stands (comments and scripts included):
// no tag of text can pair with a closing tag of another name.
std::vector<TagName> closingTagNamesIn(QStringView text);

// The tag whose name holds the caret and the tag it pairs with.
struct TagPair
{
    TagName current;
    TagName partner;
};

// With the caret in a tag's name (anywhere from just after its "<" to the end of the name), the
// opening or closing tag of the same name, case aside, that pairs with it: tags of that name in
// between are counted so that nested ones pair among themselves. Comments, server blocks and
// the code of scripts and styles hold no tags. Nothing when the caret is in no tag's name, the
// tag closes itself ("<br/>"), or its pair is not in text.
// unpairedOpening, when given, tells whether the answer was nothing for an opening tag whose
// name holds the caret: an answer that hangs only on that name and on the text after it.
// What the end of a stretch of markup falls in.
enum class MarkupPlace { Text, Tag, Comment, ServerBlock, ScriptOrStyle };

// The markup just before the caret, as the pairing reads it from the text up to the caret.
struct MarkupState
{
    MarkupPlace place = MarkupPlace::Text;
    // The tag the caret is in, while place is Tag.
    TagName tagBeingWritten;
    // The innermost element opened before the caret and not closed before it: the nearest
    // opening tag that no closing tag of its name pairs with. Void elements (br, img…) and
    // tags that close themselves are never open.
    std::optional<TagName> innermostOpen;
};
MarkupState markupBefore(QStringView text);

std::optional<TagPair> matchingTag(QStringView text, qint64 caret,
                                   bool *unpairedOpening = nullptr);

} // namespace zendral
