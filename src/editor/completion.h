#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace zendral {

class PageText;

// What the writing aids can offer at the caret.
enum class SuggestionKind { Tag, ServerBlock, Attribute, Value, Reference };

// The place at the caret where a list of suggestions fits, and what has been typed of the
// entry so far: from start to the caret.
struct SuggestionPlace
{
    SuggestionKind kind = SuggestionKind::Tag;
    qint64 start = 0;
    QString typed;
    // The element whose tag holds the caret, and the attribute whose value is being typed.
    QString element;
    QString attribute;
    // The quote that opened the value being typed; none when no quote was typed.
    QChar quote;
};

// One entry of a list: what it shows, and what takes the place of the typed part.
struct Suggestion
{
    QString shown;
    QString written;
    // How far before the end of what is written the caret is left.
    qint64 caretBack = 0;
};

// The place of a list just after the author typed character: "<" and a letter (tags), "<%"
// (a server block), "&" and a letter (character references), a letter after a blank inside a
// tag (attributes), "=" or its quote inside a tag (values). Nothing anywhere else, and nothing
// inside a comment, a script, a style block or a server block. Reads a bounded stretch before
// the caret, and only after those few characters.
std::optional<SuggestionPlace> suggestionPlaceAfter(const PageText &page, char32_t character);

// Whether c can go on with what is being typed at a place of that kind.
bool continuesEntry(const SuggestionPlace &place, QChar c);

// The entries of a place for what has been typed: names starting with it, case aside (the
// character references' case counts), written in capitals when the typed part is all
// capitals. Values of an attribute that names a file are the files and folders of folder, or
// of the folder the typed part names within it.
QList<Suggestion> suggestionsFor(const SuggestionPlace &place, const QString &folder);

// How far before the caret a place is looked for: a tag longer than this is not followed.
inline constexpr qint64 SuggestionReach = 1 << 16;

} // namespace zendral
