#pragma once

#include <QString>

#include <vector>

namespace zendral {

// Where a word of the page stands, which decides how a correction must be written there.
enum class WordPlace { Text, DoubleQuotedValue, SingleQuotedValue, UnquotedValue };

// One word a reader of the page sees, as found in the page source.
struct ReadableWord
{
    // The stretch of page source the word takes, entities included.
    qint64 start = 0;
    qint64 length = 0;
    // The word as the reader sees it, entities decoded.
    QString word;
    WordPlace place = WordPlace::Text;
    // How the page wrote the word's letters: some as entities, some beyond ASCII as they are.
    bool entityLetters = false;
    bool plainNonAsciiLetters = false;
};

// The words of the text between tags and of the alt, title and value attributes, in page
// order. Markup, other attribute values, comments, script, style and server blocks, unknown
// entities, words run together with digits, and addresses (mail, web) are left out.
std::vector<ReadableWord> readableWords(const QString &page);

} // namespace zendral
