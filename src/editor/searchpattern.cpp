#include "searchpattern.h"

#include "searchtext.h"

namespace zendral {

namespace {

const QString InvalidExpression = QStringLiteral("Expresión regular no válida: %1 (posición %2)");

// Every kind of line end as the one '\n' a search text holds.
QString oneLineEnd(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
}

} // namespace

SearchPattern::SearchPattern(const QString &text, SearchOptions options)
    : m_text(text), m_options(options)
{
    if (text.isEmpty())
        return;
    QString pattern =
        options.regularExpression ? text : QRegularExpression::escape(oneLineEnd(text));
    QRegularExpression::PatternOptions flags =
        QRegularExpression::UseUnicodePropertiesOption | QRegularExpression::MultilineOption;
    if (!options.matchCase)
        flags |= QRegularExpression::CaseInsensitiveOption;
    if (options.regularExpression) {
        // Checked alone first, so that the position told is one in what the author typed.
        const QRegularExpression typed(pattern, flags);
        if (!typed.isValid()) {
            m_error = InvalidExpression.arg(typed.errorString()).arg(typed.patternErrorOffset());
            return;
        }
    }
    if (options.wholeWord)
        pattern = QStringLiteral("(?<!\\w)(?:%1)(?!\\w)").arg(pattern);
    m_expression = QRegularExpression(pattern, flags);
    m_expression.optimize();
}

std::optional<SearchHit> SearchPattern::next(const QString &text, qint64 from, qint64 end) const
{
    if (!isValid() || from > end)
        return std::nullopt;
    // The text is cut at end, so that a hit cannot run past it (nor look past it).
    const QRegularExpressionMatch match = m_expression.match(QStringView(text).left(end), from);
    if (!match.hasMatch())
        return std::nullopt;
    return SearchHit{match.capturedStart(), match.capturedLength()};
}

std::optional<SearchHit> SearchPattern::previous(const QString &text, qint64 begin, qint64 before,
                                                 qint64 end) const
{
    if (!isValid() || before <= begin)
        return std::nullopt;
    // Expressions only run forward: look through ever longer stretches before the place,
    // hit after hit, keeping the last that starts before it.
    const QStringView view = QStringView(text).left(end);
    for (qint64 reach = 4096;; reach *= 2) {
        const qint64 from = std::max(begin, before - reach);
        std::optional<SearchHit> last;
        QRegularExpressionMatchIterator hits = m_expression.globalMatch(view, from);
        while (hits.hasNext()) {
            const QRegularExpressionMatch match = hits.next();
            if (match.capturedStart() >= before)
                break;
            last = SearchHit{match.capturedStart(), match.capturedLength()};
        }
        if (last || from == begin)
            return last;
    }
}

bool SearchPattern::matchesAt(const QString &text, qint64 start, qint64 length, qint64 end) const
{
    if (!isValid())
        return false;
    const QRegularExpressionMatch match =
        m_expression.match(QStringView(text).left(end), start, QRegularExpression::NormalMatch,
                           QRegularExpression::AnchorAtOffsetMatchOption);
    return match.hasMatch() && match.capturedLength() == length;
}

QString SearchPattern::replacementFor(const SearchText &searched, const QString &original,
                                      const QRegularExpressionMatch &match,
                                      const QString &replacement, const QString &lineEnd) const
{
    const auto lineEnds = [&lineEnd](const QString &text) {
        return oneLineEnd(text).replace(u'\n', lineEnd);
    };
    // Line ends typed into the replacement, before its escapes are read.
    const QString written = lineEnds(replacement);
    if (!m_options.regularExpression)
        return written;
    QString result;
    const qsizetype size = written.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = written.at(i);
        if (c != u'\\' || i + 1 == size) {
            result.append(c);
            continue;
        }
        const QChar escaped = written.at(++i);
        if (escaped.isDigit() && escaped.digitValue() <= match.lastCapturedIndex()) {
            const int group = escaped.digitValue();
            // The group as the original text holds it: its CR LF stay CR LF.
            if (match.capturedStart(group) >= 0) {
                const qint64 from = searched.toOriginal(match.capturedStart(group));
                const qint64 to = searched.toOriginal(match.capturedEnd(group));
                result.append(QStringView(original).mid(from, to - from));
            }
        } else if (escaped.isDigit()) {
            // A group the expression does not have stands for nothing.
        } else if (escaped == u'n') {
            result.append(lineEnd);
        } else if (escaped == u't') {
            result.append(u'\t');
        } else if (escaped == u'\\') {
            result.append(u'\\');
        } else {
            result.append(c);
            result.append(escaped);
        }
    }
    return result;
}

} // namespace zendral
