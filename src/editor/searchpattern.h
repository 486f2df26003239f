#pragma once

#include <QRegularExpression>
#include <QString>

#include <optional>

namespace zendral {

class SearchText;

// How a search reads what the author typed.
struct SearchOptions
{
    bool matchCase = false;
    // A hit must not have a letter, digit or underscore right before or after it.
    bool wholeWord = false;
    // The text is a regular expression, and the replacement may name its groups (\1 …) and
    // write line ends (\n) and tabs (\t).
    bool regularExpression = false;
};

// A stretch of a search text.
struct SearchHit
{
    qint64 start = 0;
    qint64 length = 0;
    qint64 end() const { return start + length; }
};

// What the author looks for, ready to run over a SearchText; plain text and expressions alike
// become one expression. The pattern's own line ends stand for any line end of the text.
class SearchPattern
{
public:
    SearchPattern(const QString &text, SearchOptions options);

    // Whether there is something to look for: the text is not empty and, as an expression,
    // is valid.
    bool isValid() const { return m_error.isEmpty() && !m_text.isEmpty(); }
    // Why the expression is not valid, in the author's words; empty for a valid one.
    QString error() const { return m_error; }
    const QString &text() const { return m_text; }
    const SearchOptions &options() const { return m_options; }
    const QRegularExpression &expression() const { return m_expression; }

    // The first hit that starts at from or later and ends by end.
    std::optional<SearchHit> next(const QString &text, qint64 from, qint64 end) const;
    // The hit, among those a search from begin finds one after another, that starts last
    // before `before`.
    std::optional<SearchHit> previous(const QString &text, qint64 begin, qint64 before,
                                      qint64 end) const;
    // Whether a hit starts at start and has length, in a text that ends at end.
    bool matchesAt(const QString &text, qint64 start, qint64 length, qint64 end) const;

    // What replaces a hit of the search text in the original text: a plain replacement as it
    // stands; in an expression's, \1 … \9 (and \0, the whole hit) are the groups as the
    // original text holds them, \n is lineEnd, \t a tab and \\ a backslash. Line ends
    // typed into the replacement become lineEnd too.
    QString replacementFor(const SearchText &searched, const QString &original,
                           const QRegularExpressionMatch &match, const QString &replacement,
                           const QString &lineEnd) const;

private:
    QString m_text;
    SearchOptions m_options;
    QRegularExpression m_expression;
    QString m_error;
};

} // namespace zendral
