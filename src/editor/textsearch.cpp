#include "textsearch.h"

#include "pagetext.h"
#include "prompts.h"

#include <QElapsedTimer>
#include <QTextBlock>

#include <algorithm>

namespace zendral {

namespace {

// Characters read from the page at a time while counting.
constexpr qint64 CountChunk = 16 * 1024;
// How long one slice of counting may hold the event loop.
constexpr qint64 SliceMilliseconds = 4;
// Marks drawn at most: a screen of one-letter hits, without letting a long line of them swamp
// painting.
constexpr int MostMarks = 2000;

Qt::CaseSensitivity sensitivityOf(bool matchCase)
{
    return matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive;
}

// Selects the hit, or tells the miss; true for a hit.
bool selectHit(PageText &page, Prompts &prompts, const QString &search, std::optional<qint64> hit)
{
    if (!hit) {
        prompts.notify(QStringLiteral("No se ha encontrado ") + search);
        return false;
    }
    page.setSelectionStart(*hit);
    page.setSelectionLength(search.size());
    return true;
}

} // namespace

std::optional<qint64> findFrom(const QString &text, const QString &needle, qint64 from,
                               Qt::CaseSensitivity sensitivity)
{
    if (needle.isEmpty() || from < 0 || from > text.size())
        return std::nullopt;
    const qsizetype hit = text.indexOf(needle, from, sensitivity);
    if (hit < 0)
        return std::nullopt;
    return hit;
}

std::optional<qint64> findBefore(const QString &text, const QString &needle, qint64 before,
                                 Qt::CaseSensitivity sensitivity)
{
    before = std::min<qint64>(before, text.size());
    // lastIndexOf takes -1 to mean the end of the text, so nothing before 1 may reach it.
    if (needle.isEmpty() || before < 1)
        return std::nullopt;
    const qsizetype hit = text.lastIndexOf(needle, before - 1, sensitivity);
    if (hit < 0)
        return std::nullopt;
    return hit;
}

std::optional<qint64> lineCaretPosition(const QString &text, qint64 line)
{
    if (line < 1)
        return std::nullopt;
    // Every line the user sees ends in CR LF, a lone LF (shown as a break) or a lone CR.
    const qsizetype size = text.size();
    qint64 current = 1;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        const bool crlf = c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n';
        if (current == line)
            return crlf ? i + 1 : i; // a CR LF keeps the caret between its two characters
        ++current;
        if (crlf)
            ++i;
    }
    // The last line has no break after it: its end is the end of the text.
    if (current == line)
        return size;
    return std::nullopt;
}

void BuscarTexto(PageText &page, Prompts &prompts, const QString &search, bool matchCase,
                 qint64 skip)
{
    if (search.isEmpty())
        return;
    if (selectHit(page, prompts, search,
                  findFrom(page.text(), search, skip, sensitivityOf(matchCase))))
        page.focus();
}

void findNextKeepingFocus(PageText &page, Prompts &prompts, const QString &search, bool matchCase,
                          qint64 from)
{
    if (!search.isEmpty())
        selectHit(page, prompts, search,
                  findFrom(page.text(), search, from, sensitivityOf(matchCase)));
}

void findPrevious(PageText &page, Prompts &prompts, const QString &search, bool matchCase,
                  qint64 before)
{
    if (!search.isEmpty())
        selectHit(page, prompts, search,
                  findBefore(page.text(), search, before, sensitivityOf(matchCase)));
}

QList<QTextEdit::ExtraSelection> occurrencesIn(const PageText &page, qint64 from, qint64 to,
                                               const QString &needle,
                                               Qt::CaseSensitivity sensitivity,
                                               const QTextCharFormat &format)
{
    QList<QTextEdit::ExtraSelection> marks;
    if (needle.isEmpty())
        return marks;
    const QString onScreen = page.textRange(from, to - from);
    for (qsizetype at = onScreen.indexOf(needle, 0, sensitivity);
         at >= 0 && marks.size() < MostMarks; at = onScreen.indexOf(needle, at + 1, sensitivity)) {
        QTextEdit::ExtraSelection mark;
        mark.cursor = page.cursorOver(from + at, from + at + needle.size());
        mark.format = format;
        marks.append(mark);
    }
    return marks;
}

OccurrenceCounter::OccurrenceCounter(PageText &page, QObject *parent)
    : QObject(parent), m_page(page)
{
    m_slices.setInterval(0);
    connect(&m_slices, &QTimer::timeout, this, &OccurrenceCounter::countSlice);
    connect(&page, &PageText::changed, this, [this] { start(m_needle, m_sensitivity); });
}

void OccurrenceCounter::start(const QString &needle, Qt::CaseSensitivity sensitivity)
{
    m_needle = needle;
    m_sensitivity = sensitivity;
    m_hits.clear();
    m_next = 0;
    m_complete = false;
    if (needle.isEmpty()) {
        m_hits.shrink_to_fit();
        m_slices.stop();
        return;
    }
    // The first slice waits for the event loop, so that the keystroke that asked is never held.
    m_slices.start();
}

void OccurrenceCounter::countSlice()
{
    QElapsedTimer clock;
    clock.start();
    const qint64 length = m_page.textLength();
    // A hit that starts near a chunk's end is read whole from characters after it.
    const qint64 overlap = m_needle.size() - 1;
    while (m_next < length) {
        const qint64 end = std::min(length, m_next + CountChunk);
        const QString chunk = m_page.textRange(m_next, end - m_next + overlap);
        for (qsizetype at = chunk.indexOf(m_needle, 0, m_sensitivity); at >= 0 && m_next + at < end;
             at = chunk.indexOf(m_needle, at + 1, m_sensitivity))
            m_hits.push_back(m_next + at);
        m_next = end;
        if (clock.elapsed() >= SliceMilliseconds)
            return;
    }
    m_slices.stop();
    m_complete = true;
    emit counted();
}

qint64 OccurrenceCounter::indexOf(qint64 start, qint64 length) const
{
    if (!m_complete || length != m_needle.size())
        return 0;
    const auto hit = std::lower_bound(m_hits.begin(), m_hits.end(), start);
    return hit != m_hits.end() && *hit == start ? qint64(hit - m_hits.begin()) + 1 : 0;
}

qint64 OccurrenceCounter::countFrom(qint64 position) const
{
    if (!m_complete)
        return 0;
    return qint64(m_hits.end() - std::lower_bound(m_hits.begin(), m_hits.end(), position));
}

void IrLinea(PageText &page, qint64 nLinea)
{
    const std::optional<qint64> position = lineCaretPosition(page.text(), nLinea);
    if (!position)
        return;
    page.setSelectionStart(*position);
    page.focus();
}

} // namespace zendral
