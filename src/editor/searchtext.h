#pragma once

#include <QString>
#include <QStringView>

#include <vector>

namespace zendral {

// A text as a search sees it: every line end (CR LF, a lone LF or a lone CR) is one '\n', so
// that no match can hold half of a CR LF and a '\n' of an expression matches any line end.
// Positions convert both ways with the text's own, which count a CR LF as two characters.
class SearchText
{
public:
    SearchText() = default;
    explicit SearchText(const QString &text);

    const QString &text() const { return m_text; }
    // The text's own position of a search position.
    qint64 toOriginal(qint64 position) const;
    // The search position of a position of the text; between the CR and the LF of a line end
    // is the start of that line end, as the caret there stands at the end of its line.
    qint64 fromOriginal(qint64 position) const;

private:
    QString m_text;
    // For each CR LF, in order: where it starts in the text and in the search text.
    std::vector<qint64> m_crLfOriginal;
    std::vector<qint64> m_crLfSearch;
};

} // namespace zendral
