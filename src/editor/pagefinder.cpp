#include "pagefinder.h"

#include "colouring.h"
#include "pagetext.h"
#include "undostep.h"

#include <QRegularExpressionMatchIterator>

namespace zendral {

PageFinder::PageFinder(PageText &page, QObject *parent) : QObject(parent), m_page(page)
{
    // Only a flag on each change: typing with the finder about costs nothing more.
    connect(&page, &PageText::changed, this, [this] {
        if (!m_current)
            return;
        m_current = false;
        m_text = SearchText();
        m_original.clear();
    });
}

const SearchText &PageFinder::searchText()
{
    if (!m_current) {
        m_original = m_page.text();
        m_text = SearchText(m_original);
        m_current = true;
    }
    return m_text;
}

PageFinder::Stretch PageFinder::searched(std::optional<Stretch> within)
{
    const SearchText &text = searchText();
    if (!within)
        return {0, qint64(text.text().size())};
    const qint64 length = m_original.size();
    const qint64 start = std::clamp<qint64>(within->start, 0, length);
    const qint64 end = std::clamp<qint64>(within->end, start, length);
    return {text.fromOriginal(start), text.fromOriginal(end)};
}

std::pair<qint64, qint64> PageFinder::place(const SearchPattern &pattern, Stretch stretch,
                                            qint64 start)
{
    qint64 index = 0;
    qint64 total = 0;
    QRegularExpressionMatchIterator hits = pattern.expression().globalMatch(
        QStringView(m_text.text()).left(stretch.end), stretch.start);
    while (hits.hasNext()) {
        if (hits.next().capturedStart() <= start)
            ++index;
        ++total;
    }
    return {index, total};
}

std::optional<PageFinder::Found> PageFinder::find(const SearchPattern &pattern, Direction direction,
                                                  bool wrap, std::optional<Stretch> within)
{
    if (!pattern.isValid())
        return std::nullopt;
    const Stretch stretch = searched(within);
    const QString &text = m_text.text();
    const qint64 selectionStart = m_text.fromOriginal(m_page.selectionStart());
    const qint64 selectionEnd =
        m_text.fromOriginal(m_page.selectionStart() + m_page.selectionLength());
    std::optional<SearchHit> hit;
    bool wrapped = false;
    if (direction == Direction::Forward) {
        const qint64 from = std::clamp(selectionEnd, stretch.start, stretch.end);
        hit = pattern.next(text, from, stretch.end);
        // An empty hit where the caret already stands would be found again and again.
        if (hit && hit->length == 0 && hit->start == selectionStart &&
            selectionStart == selectionEnd)
            hit = from < stretch.end ? pattern.next(text, from + 1, stretch.end) : std::nullopt;
        if (!hit && wrap && from > stretch.start) {
            hit = pattern.next(text, stretch.start, stretch.end);
            wrapped = true;
        }
    } else {
        const qint64 before = std::clamp(selectionStart, stretch.start, stretch.end);
        hit = pattern.previous(text, stretch.start, before, stretch.end);
        if (!hit && wrap && before < stretch.end) {
            hit = pattern.previous(text, stretch.start, stretch.end + 1, stretch.end);
            wrapped = true;
        }
    }
    if (!hit)
        return std::nullopt;
    const auto [index, total] = place(pattern, stretch, hit->start);
    const qint64 start = m_text.toOriginal(hit->start);
    const qint64 length = m_text.toOriginal(hit->end()) - start;
    m_page.setSelectionStart(start);
    m_page.setSelectionLength(length);
    return Found{start, length, index, total, wrapped};
}

bool PageFinder::selectionIsHit(const SearchPattern &pattern, std::optional<Stretch> within)
{
    if (!pattern.isValid())
        return false;
    const Stretch stretch = searched(within);
    const qint64 start = m_text.fromOriginal(m_page.selectionStart());
    const qint64 end = m_text.fromOriginal(m_page.selectionStart() + m_page.selectionLength());
    return start >= stretch.start && end <= stretch.end &&
           pattern.matchesAt(m_text.text(), start, end - start, stretch.end);
}

bool PageFinder::replaceSelection(const SearchPattern &pattern, const QString &replacement,
                                  std::optional<Stretch> within)
{
    if (!selectionIsHit(pattern, within))
        return false;
    const Stretch stretch = searched(within);
    const qint64 start = m_text.fromOriginal(m_page.selectionStart());
    const QRegularExpressionMatch match = pattern.expression().match(
        QStringView(m_text.text()).left(stretch.end), start, QRegularExpression::NormalMatch,
        QRegularExpression::AnchorAtOffsetMatchOption);
    const QString written = pattern.replacementFor(m_text, m_original, match, replacement,
                                                   PageText::lineEndText(m_page.pageLineEnd()));
    const qint64 at = m_page.selectionStart();
    const Colour colour = at < m_page.textLength() ? m_page.colourAt(at) : colours::Black;
    UndoStep step(m_page, at, m_page.selectionLength());
    replaceStretch(at, m_page.selectionLength(), written, colour);
    return true;
}

qint64 PageFinder::replaceAll(const SearchPattern &pattern, const QString &replacement,
                              std::optional<Stretch> within)
{
    if (!pattern.isValid())
        return 0;
    const Stretch stretch = searched(within);
    const QString lineEnd = PageText::lineEndText(m_page.pageLineEnd());
    // A plain replacement is the same for every hit.
    const QString plain =
        pattern.options().regularExpression
            ? QString()
            : pattern.replacementFor(m_text, m_original, {}, replacement, lineEnd);
    const qint64 caret = m_page.selectionStart();
    qint64 caretAfter = caret;
    qint64 first = -1;
    qint64 copied = 0;
    qint64 count = 0;
    QString written;
    QRegularExpressionMatchIterator hits = pattern.expression().globalMatch(
        QStringView(m_text.text()).left(stretch.end), stretch.start);
    while (hits.hasNext()) {
        const QRegularExpressionMatch match = hits.next();
        const qint64 start = m_text.toOriginal(match.capturedStart());
        const qint64 end = m_text.toOriginal(match.capturedEnd());
        if (first < 0) {
            first = start;
            copied = start;
            written.reserve(m_original.size() - start + m_original.size() / 8);
        }
        written.append(QStringView(m_original).mid(copied, start - copied));
        const qsizetype before = written.size();
        if (pattern.options().regularExpression)
            written.append(pattern.replacementFor(m_text, m_original, match, replacement, lineEnd));
        else
            written.append(plain);
        // The caret keeps its place among the text around it; inside a hit it goes to the
        // hit's start.
        const qint64 added = written.size() - before;
        if (end <= caret)
            caretAfter += added - (end - start);
        else if (start < caret)
            caretAfter = caretAfter - (caret - start);
        copied = end;
        ++count;
    }
    if (count == 0)
        return 0;
    // Every replacement is one step back.
    UndoStep step(m_page, first, copied - first);
    // Plain text first: the colouring of the whole page then paints the tags.
    replaceStretch(first, copied - first, written, colours::Black);
    written.clear();
    Colorea(m_page, TablaEtiquetas());
    m_page.setSelectionStart(caretAfter);
    return count;
}

void PageFinder::replaceStretch(qint64 start, qint64 length, const QString &text, Colour colour)
{
    const Colour insertion = m_page.insertionColour();
    const bool bold = m_page.insertionBold();
    m_page.setInsertionColour(colour);
    m_page.setInsertionBold(false);
    m_page.setSelectionStart(start);
    m_page.setSelectionLength(length);
    // The text keeps its own line ends: the replacement wrote the page's own already.
    m_page.restoreSelectedText(text);
    m_page.setInsertionColour(insertion);
    m_page.setInsertionBold(bold);
}

} // namespace zendral
