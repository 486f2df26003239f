#pragma once

#include <QObject>
#include <QString>
#include <QTextEdit>
#include <QTimer>

#include <optional>
#include <vector>

namespace zendral {

class PageText;
class Prompts;

// Where a search for needle in text starting at from (0-based) hits, without wrapping.
std::optional<qint64> findFrom(const QString &text, const QString &needle, qint64 from,
                               Qt::CaseSensitivity sensitivity);

// Where the last hit of needle that starts before position (0-based) in text is.
std::optional<qint64> findBefore(const QString &text, const QString &needle, qint64 before,
                                 Qt::CaseSensitivity sensitivity);

// Where going to line (1-based) puts the caret: between the CR and the LF that end it, before
// the lone LF (or CR) that ends it, or at the end of the text for the last line when no line
// break follows it. Nothing for a line the text does not have.
std::optional<qint64> lineCaretPosition(const QString &text, qint64 line);

// Selects the first occurrence of search that starts at skip or later and gives the view
// the focus; a miss is told through a notice and leaves the selection alone. An empty search
// does nothing.
void BuscarTexto(PageText &page, Prompts &prompts, const QString &search, bool matchCase,
                 qint64 skip = 0); // fixed name

// Selects the last occurrence of search that starts before position, leaving the focus where
// it is; a miss is told through a notice and leaves the selection alone. An empty search does
// nothing.
void findPrevious(PageText &page, Prompts &prompts, const QString &search, bool matchCase,
                  qint64 before);

// Selects the first occurrence of search that starts at from or later, leaving the focus where
// it is; a miss is told as BuscarTexto tells it.
void findNextKeepingFocus(PageText &page, Prompts &prompts, const QString &search, bool matchCase,
                          qint64 from);

// Marks for every occurrence of needle between from and to (the lines a view shows), in
// format.
QList<QTextEdit::ExtraSelection> occurrencesIn(const PageText &page, qint64 from, qint64 to,
                                               const QString &needle,
                                               Qt::CaseSensitivity sensitivity,
                                               const QTextCharFormat &format);

// Counts the occurrences of a needle over the whole text of a page, overlapping ones
// included, in short slices between events so that typing never waits for it. Any change of the
// text starts the count again; between counts nothing runs.
class OccurrenceCounter : public QObject
{
    Q_OBJECT

public:
    explicit OccurrenceCounter(PageText &page, QObject *parent = nullptr);

    // Counts needle from the start, dropping the count under way; an empty needle stops.
    void start(const QString &needle, Qt::CaseSensitivity sensitivity);
    bool isComplete() const { return m_complete; }
    // How many occurrences the finished count found.
    qint64 count() const { return qint64(m_hits.size()); }
    // Which occurrence (1-based) the stretch from start of length is, or 0 when it is none.
    qint64 indexOf(qint64 start, qint64 length) const;
    // How many occurrences of the finished count start at position or after it.
    qint64 countFrom(qint64 position) const;

signals:
    // The count has finished.
    void counted();

private:
    void countSlice();

    PageText &m_page;
    QTimer m_slices;
    QString m_needle;
    Qt::CaseSensitivity m_sensitivity = Qt::CaseInsensitive;
    // Where each occurrence found so far starts, in ascending order.
    std::vector<qint64> m_hits;
    // Where the count goes on from.
    qint64 m_next = 0;
    bool m_complete = false;
};

// Puts the caret at the end of line nLinea and gives the view the focus; a line the text
// does not have leaves everything as it was.
void IrLinea(PageText &page, qint64 nLinea); // fixed name

} // namespace zendral
