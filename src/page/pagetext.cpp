#include "pagetext.h"

#include <QPlainTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

namespace zendral {

namespace {

// Inside the widget every line end is one paragraph separator.
constexpr QChar ParagraphSeparator = QChar::ParagraphSeparator;
// Characters the widget does not hold as themselves: U+2029 and Qt's frame markers U+FDD0 and
// U+FDD1 break a block, U+2028 is laid out as a break inside one. Inside the widget each stands
// as a lone low surrogate, a code unit no page holds: a page's text is whole code points but
// for the bytes of a UTF-8 page that are not UTF-8, each kept as a lone U+DC80 to U+DCFF
// (isKeptByte); any other lone surrogate that comes in is taken as U+FFFD. A low surrogate is a
// stand-in only where no high surrogate comes before it, since the second half of a pair may
// hold the same value.
constexpr char16_t StandInFor[][2] = {
    {0x2028, 0xDFFC}, {0x2029, 0xDFFD}, {0xFDD0, 0xDFFE}, {0xFDD1, 0xDFFF}};
constexpr char16_t FirstStandIn = 0xDFFC;

// The unit the widget holds for the page's unit at i of a text of size units.
char16_t widgetUnit(const QChar *data, qsizetype i, qsizetype size)
{
    const char16_t c = data[i].unicode();
    if (c < StandInFor[0][0])
        return c;
    if (QChar::isHighSurrogate(c))
        return i + 1 < size && data[i + 1].isLowSurrogate() ? c
                                                            : char16_t(QChar::ReplacementCharacter);
    if (QChar::isLowSurrogate(c))
        return (i > 0 && data[i - 1].isHighSurrogate()) || (c >= 0xDC80 && c <= 0xDCFF)
                   ? c
                   : char16_t(QChar::ReplacementCharacter);
    for (const auto &[held, standIn] : StandInFor) {
        if (c == held)
            return standIn;
    }
    return c;
}

// The page's character for a unit of the widget, given the unit before it (none: 0).
char16_t pageUnit(char16_t c, char16_t before)
{
    if (c < FirstStandIn || !QChar::isLowSurrogate(c) || QChar::isHighSurrogate(before))
        return c;
    return StandInFor[c - FirstStandIn][0];
}

using LineEnd = PageText::LineEnd;

struct WidgetText
{
    QString text;
    // One per line end, in order.
    std::vector<LineEnd> ends;
};

// What a break of that kind adds to a position beyond the widget's one separator character.
qint64 shiftOf(LineEnd end)
{
    switch (end) {
    case LineEnd::CrLf:
        return 1;
    case LineEnd::None:
        return -1;
    case LineEnd::Lf:
    case LineEnd::Cr:
        break;
    }
    return 0;
}

// Whether a held line that has reached column characters in its block is cut before c: never
// between the halves of a surrogate pair.
bool cutsBefore(bool held, qint64 column, QChar c)
{
    return held && column >= PageText::HeldPartLength && !c.isLowSurrogate();
}

// Where the line that starts at from ends: at its CR or LF, or at the end of the text.
qsizetype lineEndFrom(const QChar *data, qsizetype from, qsizetype size)
{
    while (from < size && data[from] != u'\r' && data[from] != u'\n')
        ++from;
    return from;
}

// Characters from U+2029 up are the only ones that widget text and document text may hold
// differently: a break, or a stand-in.
constexpr char16_t FirstMarked = std::min(ParagraphSeparator.unicode(), FirstStandIn);

// The first character from p on that may be marked, or end. Takes sixteen characters at a
// time, which the compiler turns into a few vector instructions: this walks the whole text on
// every save.
const char16_t *nextMarked(const char16_t *p, const char16_t *end)
{
    while (end - p >= 16) {
        char16_t top = 0;
        for (int i = 0; i < 16; ++i)
            top = std::max(top, p[i]);
        if (top >= FirstMarked)
            break;
        p += 16;
    }
    while (p != end && *p < FirstMarked)
        ++p;
    return p;
}

// How many breaks the widget text from p to end holds.
qsizetype breaksIn(const char16_t *p, const char16_t *end)
{
    qsizetype count = 0;
    while (end - p >= 16) {
        int some = 0;
        for (int i = 0; i < 16; ++i)
            some += p[i] == ParagraphSeparator.unicode();
        count += some;
        p += 16;
    }
    for (; p != end; ++p)
        count += *p == ParagraphSeparator.unicode();
    return count;
}

// The one stretch in which a whole new text differs from the old one: from start, removed
// characters were replaced by added ones. What both share at their start and at their end
// was left as it was.
struct Stretch
{
    qsizetype start;
    qsizetype removed;
    qsizetype added;
};

std::optional<Stretch> stretchBetween(const QString &old, const QString &now)
{
    const qsizetype shortest = std::min(old.size(), now.size());
    const auto oldBegin = old.cbegin();
    const auto nowBegin = now.cbegin();
    const qsizetype prefix =
        std::mismatch(oldBegin, oldBegin + shortest, nowBegin).first - oldBegin;
    const qsizetype suffix =
        std::mismatch(old.crbegin(), old.crbegin() + (shortest - prefix), now.crbegin()).first -
        old.crbegin();
    const qsizetype oldEnd = old.size() - suffix;
    const qsizetype nowEnd = now.size() - suffix;
    if (oldEnd == prefix && nowEnd == prefix)
        return std::nullopt;
    return Stretch{prefix, oldEnd - prefix, nowEnd - prefix};
}

// Widget text back to document text; ends holds one line end per block from the first block
// of raw on (none: every line ends in pageEnd); before is the unit the widget holds before raw
// (0: none, or a break).
QString documentText(QStringView raw, const std::vector<LineEnd> &allEnds, LineEnd pageEnd,
                     int firstBlock, qsizetype *breaksHeld, char16_t before = 0)
{
    // This runs over the whole text on every save: size the result once, copy runs whole.
    const char16_t *data = reinterpret_cast<const char16_t *>(raw.constData());
    const qsizetype size = raw.size();
    const qsizetype breaks = breaksIn(data, data + size);
    if (breaksHeld)
        *breaksHeld = breaks;
    const LineEnd *ends = allEnds.empty() ? nullptr : allEnds.data() + firstBlock;
    qsizetype crLfs = 0;
    qsizetype joins = 0;
    if (!ends) {
        crLfs = pageEnd == LineEnd::CrLf ? breaks : 0;
    } else {
        const LineEnd *last =
            ends + std::min<qsizetype>(breaks, qsizetype(allEnds.size()) - firstBlock);
        crLfs = std::count(ends, last, LineEnd::CrLf);
        joins = std::count(ends, last, LineEnd::None);
    }
    QString result(size + crLfs - joins, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    const char16_t *from = data;
    const char16_t *end = data + size;
    qsizetype line = 0;
    for (const char16_t *p = nextMarked(data, end); p != end; p = nextMarked(p + 1, end)) {
        if (*p == ParagraphSeparator.unicode()) {
            out = std::copy(from, p, out);
            switch (ends ? ends[line++] : pageEnd) {
            case LineEnd::CrLf:
                *out++ = u'\r';
                *out++ = u'\n';
                break;
            case LineEnd::Lf:
                *out++ = u'\n';
                break;
            case LineEnd::Cr:
                *out++ = u'\r';
                break;
            case LineEnd::None:
                break;
            }
        } else if (const char16_t c = pageUnit(*p, p == data ? before : p[-1]); c != *p) {
            out = std::copy(from, p, out);
            *out++ = c;
        } else {
            continue;
        }
        from = p + 1;
    }
    std::copy(from, end, out);
    return result;
}

// The document text with every line end a paragraph separator, the kinds of the ends apart;
// a long line is cut into blocks joined by separators that stand for nothing.
WidgetText toWidgetText(const QString &text)
{
    WidgetText result;
    const qsizetype size = text.size();
    // Written straight into a string of the greatest size it can take, a line at a time.
    result.text = QString(size + size / PageText::HeldPartLength + 1, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.text.data());
    char16_t *const outStart = out;
    const QChar *data = text.constData();
    for (qsizetype i = 0; i < size;) {
        const qsizetype lineEnd = lineEndFrom(data, i, size);
        if (lineEnd - i > PageText::HeldLineLimit) {
            qint64 column = 0;
            for (; i < lineEnd; ++i) {
                if (cutsBefore(true, column++, data[i])) {
                    *out++ = ParagraphSeparator.unicode();
                    result.ends.push_back(LineEnd::None);
                    column = 1;
                }
                *out++ = widgetUnit(data, i, size);
            }
        } else {
            for (; i < lineEnd; ++i)
                *out++ = widgetUnit(data, i, size);
        }
        if (i == size)
            break;
        *out++ = ParagraphSeparator.unicode();
        if (data[i] == u'\r' && i + 1 < size && data[i + 1] == u'\n') {
            result.ends.push_back(LineEnd::CrLf);
            i += 2;
        } else {
            result.ends.push_back(data[i] == u'\r' ? LineEnd::Cr : LineEnd::Lf);
            ++i;
        }
    }
    result.text.truncate(out - outStart);
    return result;
}
} // namespace

// The document's layout, which gives each line its colours just before laying it out.
class PageText::ColouredLayout : public QPlainTextDocumentLayout
{
public:
    ColouredLayout(QTextDocument *document, const PageText &page)
        : QPlainTextDocumentLayout(document), m_page(page)
    {}

    // The width grows in steps of a few dozen characters: every key typed on the widest line
    // would otherwise change the horizontal scroll bar's range, which repaints the bar.
    QSizeF documentSize() const override
    {
        constexpr qreal Step = 256;
        QSizeF size = QPlainTextDocumentLayout::documentSize();
        size.setWidth(std::ceil(size.width() / Step) * Step);
        return size;
    }

    QRectF blockBoundingRect(const QTextBlock &block) const override
    {
        const size_t number = size_t(block.blockNumber());
        if (block.isValid() && number < m_page.m_lines.size() && !m_page.m_lines[number].shown)
            m_page.showColours(block);
        return QPlainTextDocumentLayout::blockBoundingRect(block);
    }

protected:
    // New colours are reported as the whole line removed and added again (and, set during an
    // edit, merged with it into a stretch that starts at the line yet keeps the edit's length
    // past it), which the base layout reads as a change reaching over the lines after it: it
    // throws their layouts away and repaints the whole view at each key. A change known to
    // stay on one line is told as that line alone.
    void documentChanged(int from, int removed, int added) override
    {
        const int line = std::exchange(m_page.m_oneLineChange, -1);
        const QTextBlock block = document()->findBlock(from);
        if (line >= 0 && block.blockNumber() == line) {
            // At most the line twice over: anything longer is some other change.
            const int end = std::max(from + removed, from + added);
            // New colours have dropped the line's layout, which the base layout would redo
            // twice (once to learn the old height): the count of its lines is the old height.
            if (end <= block.position() + block.length() * 2) {
                const int lines = block.lineCount();
                // Laid out again whatever it holds: an edit that left the colours as they were
                // has not dropped the line's old layout.
                block.layout()->clearLayout();
                ensureBlockLayout(block);
                if (block.lineCount() == lines) {
                    emit updateBlock(block);
                    return;
                }
            }
        }
        QPlainTextDocumentLayout::documentChanged(from, removed, added);
    }

private:
    const PageText &m_page;
};

PageText::Operation::Operation(PageText &page) : m_page(page)
{
    ++m_page.m_operationDepth;
}

PageText::Operation::~Operation()
{
    if (--m_page.m_operationDepth == 0 && m_page.m_textChanged) {
        m_page.m_textChanged = false;
        emit m_page.changed();
    }
}

PageText::PageText(QObject *parent) : QObject(parent), m_document(new QTextDocument(this))
{
    m_document->setDocumentLayout(new ColouredLayout(m_document, *this));
    m_document->setUndoRedoEnabled(false);
    m_cursor = QTextCursor(m_document);
    connect(m_document, &QTextDocument::contentsChange, this, &PageText::onContentsChange);
}

QTextCursor PageText::textCursor() const
{
    return m_caret ? m_caret->caretCursor() : m_cursor;
}

void PageText::setTextCursor(const QTextCursor &cursor)
{
    if (m_caret)
        m_caret->setCaretCursor(cursor);
    else
        m_cursor = cursor;
}

void PageText::setCaret(PageCaret *caret)
{
    if (!caret)
        m_cursor = textCursor();
    m_caret = caret;
}

void PageText::focus()
{
    if (m_caret)
        m_caret->focusCaret();
}

void PageText::onContentsChange(int position, int removed, int added)
{
    if (removed == 0 && added == 0)
        return;
    if (!m_replacingText) {
        const QTextDocument *doc = document();
        // The document's closing separator is not text, though Qt may count it in both.
        const int excess = std::max(0, position + added - (doc->characterCount() - 1));
        const int widgetAdded = added - excess;
        const int widgetRemoved = std::max(0, removed - excess);
        const int first = doc->findBlock(position).blockNumber();
        const int breaksAdded = doc->findBlock(position + widgetAdded).blockNumber() - first;
        const int breaksRemoved = breaksAdded - (doc->blockCount() - m_blockCount);
        const int oldBlockCount = m_blockCount;
        m_blockCount = doc->blockCount();
        // The new line ends are those the page's own insertion announced; any other (none
        // of Qt's own edits adds one) takes the page's kind.
        std::vector<LineEnd> newEnds(size_t(std::max(0, breaksAdded)), m_pageEnd);
        const size_t announced = std::min(newEnds.size(), m_pendingEnds.size());
        std::copy(m_pendingEnds.begin(), m_pendingEnds.begin() + qsizetype(announced),
                  newEnds.begin());
        m_pendingEnds.erase(m_pendingEnds.begin(), m_pendingEnds.begin() + qsizetype(announced));
        const auto shift = [](auto from, auto to) {
            qint64 sum = 0;
            for (; from != to; ++from)
                sum += shiftOf(*from);
            return sum;
        };
        const bool sameKind = std::all_of(newEnds.begin(), newEnds.end(),
                                          [this](LineEnd end) { return end == m_pageEnd; });
        qint64 removedShift = 0;
        if (m_ends.empty() && sameKind) {
            removedShift = m_pageEnd == LineEnd::CrLf ? breaksRemoved : 0;
        } else {
            // The removed blocks' ends go, the last of them keeping the end of the block the
            // removal reached (as Qt keeps that block's data); the new ends come in their place.
            if (m_ends.empty())
                m_ends.assign(size_t(oldBlockCount), m_pageEnd);
            const auto from = m_ends.begin() + first;
            removedShift = shift(from, from + breaksRemoved);
            m_ends.erase(from, from + breaksRemoved);
            m_ends.insert(m_ends.begin() + first, newEnds.begin(), newEnds.end());
            // The table follows the ends alone: a keystroke inside a line leaves it valid.
            if (breaksRemoved > 0 || !newEnds.empty())
                m_crLfValid = std::min(m_crLfValid, size_t(first) + 1);
        }
        followEdit(first, breaksRemoved, breaksAdded, position, widgetAdded);
        const qint64 documentRemoved = widgetRemoved + removedShift;
        const qint64 documentAdded = widgetAdded + shift(newEnds.begin(), newEnds.end());
        // Only a join of a held line went or came: the text is what it was.
        if (documentRemoved + documentAdded == 0)
            return;
        emit textEdited(qint64(position) + crLfBefore(first), documentRemoved, documentAdded);
    }
    if (m_operationDepth > 0) {
        m_textChanged = true;
        return;
    }
    // A change from outside the page's own operations: report it at once.
    emit changed();
}

QString PageText::lineEndText(LineEnd end)
{
    switch (end) {
    case LineEnd::Lf:
        return QStringLiteral("\n");
    case LineEnd::Cr:
        return QStringLiteral("\r");
    case LineEnd::None:
        return QString();
    case LineEnd::CrLf:
        break;
    }
    return QStringLiteral("\r\n");
}

qint64 PageText::crLfBefore(int blockNumber) const
{
    if (m_ends.empty())
        return m_pageEnd == LineEnd::CrLf ? blockNumber : 0;
    const size_t wanted = size_t(blockNumber) + 1;
    if (m_crLfCounts.size() < m_ends.size() + 1) {
        m_crLfCounts.resize(m_ends.size() + 1);
        m_joinCounts.resize(m_ends.size() + 1);
    }
    if (m_crLfValid == 0) {
        m_crLfCounts[0] = 0;
        m_joinCounts[0] = 0;
        m_crLfValid = 1;
    }
    for (size_t i = m_crLfValid; i < wanted; ++i) {
        m_crLfCounts[i] = m_crLfCounts[i - 1] + shiftOf(m_ends[i - 1]);
        m_joinCounts[i] = m_joinCounts[i - 1] + (m_ends[i - 1] == LineEnd::None);
    }
    m_crLfValid = std::max(m_crLfValid, wanted);
    return m_crLfCounts[size_t(blockNumber)];
}

int PageText::lineOfBlock(int blockNumber) const
{
    if (m_ends.empty() || blockNumber <= 0)
        return std::max(blockNumber, 0);
    blockNumber = std::min(blockNumber, int(m_ends.size()) - 1);
    crLfBefore(blockNumber);
    return blockNumber - m_joinCounts[size_t(blockNumber)];
}

int PageText::firstBlockOfLine(int line) const
{
    int low = 0;
    int high = document()->blockCount() - 1;
    // The first block whose line is at or after line.
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (lineOfBlock(middle) >= line)
            high = middle;
        else
            low = middle + 1;
    }
    return low;
}

qint64 PageText::lineStart(int line) const
{
    return blockStart(firstBlockOfLine(line));
}

QString PageText::fromWidgetText(QStringView raw, int firstBlock, qsizetype *breaksHeld,
                                 char16_t before) const
{
    return documentText(raw, m_ends, m_pageEnd, firstBlock, breaksHeld, before);
}

char16_t PageText::unitBefore(int widgetPosition) const
{
    return widgetPosition > 0 ? document()->characterAt(widgetPosition - 1).unicode() : 0;
}

QString PageText::text() const
{
    return fromWidgetText(document()->toRawText(), 0);
}

void PageText::forEachPiece(const std::function<bool(QStringView piece)> &take) const
{
    // The document's own text is one flat copy; walking its blocks would look each one up in
    // the block tree and copy it again, several times the cost of the whole save.
    Copy copy(*this);
    while (!copy.atEnd()) {
        if (!take(copy.next(qsizetype(1) << 20)))
            return;
    }
}

PageText::Copy::Copy(const PageText &page)
    : m_raw(page.document()->toRawText()), m_ends(page.m_ends), m_pageEnd(page.m_pageEnd)
{}

QString PageText::Copy::next(qsizetype length)
{
    const QStringView all(m_raw);
    qsizetype to = all.size();
    if (m_from + length < to) {
        // Just after a break; held lines have one every few hundred characters.
        const qsizetype next = all.indexOf(ParagraphSeparator, m_from + length);
        if (next >= 0)
            to = next + 1;
    }
    qsizetype breaks = 0;
    const QString piece =
        documentText(all.mid(m_from, to - m_from), m_ends, m_pageEnd, m_block, &breaks);
    m_block += int(breaks);
    m_from = to;
    if (atEnd())
        m_raw = QString();
    return piece;
}

void PageText::setText(QString text)
{
    Operation operation(*this);
    // Reported once at the end, as one stretch. Each copy of the text goes as soon as it has
    // served: a big page's copies are what opening it costs at its peak.
    const std::optional<Stretch> replaced = stretchBetween(this->text(), text);
    m_replacingText = true;
    WidgetText widget = toWidgetText(text);
    text = QString();
    emit linesComing(int(std::count_if(widget.ends.begin(), widget.ends.end(),
                                       [](LineEnd end) { return end != LineEnd::None; })) +
                     1);
    // The tables beside the document describe the new text before the document holds it: the
    // document announces the caret's move (and lays lines out) from inside setPlainText, and
    // whatever reads the page then must find tables and document in agreement.
    m_blockCount = int(widget.ends.size()) + 1;
    m_lines.assign(size_t(m_blockCount), Line());
    m_pendingEnds.clear();
    const auto firstEnd = std::find_if(widget.ends.begin(), widget.ends.end(),
                                       [](LineEnd end) { return end != LineEnd::None; });
    m_pageEnd = firstEnd == widget.ends.end() ? LineEnd::CrLf : *firstEnd;
    m_crLfValid = 0;
    if (std::all_of(widget.ends.begin(), widget.ends.end(),
                    [this](LineEnd end) { return end == m_pageEnd; })) {
        m_ends.clear();
        m_ends.shrink_to_fit();
        m_crLfCounts.clear();
        m_crLfCounts.shrink_to_fit();
        m_joinCounts.clear();
        m_joinCounts.shrink_to_fit();
    } else {
        m_ends = std::move(widget.ends);
        m_ends.push_back(m_pageEnd); // the last block's, which ends nothing
    }
    document()->setPlainText(std::exchange(widget.text, QString()));
    if (document()->blockCount() != m_blockCount) {
        m_blockCount = document()->blockCount();
        m_lines.resize(size_t(m_blockCount));
    }
    // An empty text is still a change when the old one was not.
    m_textChanged = true;
    QTextCursor start(document());
    setTextCursor(start);
    m_replacingText = false;
    if (replaced)
        emit textEdited(replaced->start, replaced->removed, replaced->added);
}

qint64 PageText::textLength() const
{
    const QTextDocument *doc = document();
    const int lastBlock = doc->blockCount() - 1;
    return qint64(doc->characterCount() - 1) + crLfBefore(lastBlock);
}

qint64 PageText::blockStart(int blockNumber) const
{
    return qint64(document()->findBlockByNumber(blockNumber).position()) + crLfBefore(blockNumber);
}

qint64 PageText::toWidgetPosition(qint64 position) const
{
    if (position <= 0)
        return 0;
    const QTextDocument *doc = document();
    // No CR LF before position: the widget counts as the document does.
    if (m_ends.empty() && m_pageEnd != LineEnd::CrLf)
        return std::min<qint64>(position, doc->characterCount() - 1);
    int low = 0;
    int high = doc->blockCount() - 1;
    // The last block whose start is at or before position.
    while (low < high) {
        const int middle = low + (high - low + 1) / 2;
        if (blockStart(middle) <= position)
            low = middle;
        else
            high = middle - 1;
    }
    const QTextBlock block = doc->findBlockByNumber(low);
    const qint64 offset = position - blockStart(low);
    const qint64 lineLength = block.length() - 1;
    // Between the CR and the LF of a break, or past the end: the end of the line.
    return block.position() + std::min(offset, lineLength);
}

qint64 PageText::fromWidgetPosition(qint64 widgetPosition) const
{
    if (m_ends.empty() && m_pageEnd != LineEnd::CrLf)
        return widgetPosition;
    const QTextBlock block = document()->findBlock(int(widgetPosition));
    return widgetPosition +
           crLfBefore(block.isValid() ? block.blockNumber() : document()->blockCount() - 1);
}

QTextCursor PageText::cursorOver(qint64 from, qint64 to) const
{
    QTextCursor cursor(m_document);
    cursor.setPosition(int(toWidgetPosition(from)));
    cursor.setPosition(int(toWidgetPosition(to)), QTextCursor::KeepAnchor);
    return cursor;
}

qint64 PageText::positionOf(const QTextCursor &cursor) const
{
    return fromWidgetPosition(cursor.selectionStart());
}

qint64 PageText::selectionStart() const
{
    return fromWidgetPosition(textCursor().selectionStart());
}

qint64 PageText::selectionLength() const
{
    const QTextCursor cursor = textCursor();
    return fromWidgetPosition(cursor.selectionEnd()) - fromWidgetPosition(cursor.selectionStart());
}

int PageText::caretPlace(qint64 position) const
{
    const int widget = int(toWidgetPosition(std::clamp<qint64>(position, 0, textLength())));
    // Between the halves of a surrogate pair is no place: what was typed or pasted there would
    // leave two halves that are no character.
    const QTextDocument *doc = document();
    return widget > 0 && doc->characterAt(widget - 1).isHighSurrogate() &&
                   doc->characterAt(widget).isLowSurrogate()
               ? widget - 1
               : widget;
}

void PageText::setSelectionStart(qint64 position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(caretPlace(position));
    setTextCursor(cursor);
}

void PageText::setSelectionLength(qint64 length)
{
    const qint64 start = selectionStart();
    QTextCursor cursor = textCursor();
    cursor.setPosition(caretPlace(start));
    cursor.setPosition(caretPlace(start + std::max<qint64>(length, 0)), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString PageText::selectedText() const
{
    const QTextCursor cursor = textCursor();
    return fromWidgetText(cursor.selectedText(),
                          document()->findBlock(cursor.selectionStart()).blockNumber(), nullptr,
                          unitBefore(cursor.selectionStart()));
}

void PageText::insertPlain(const QString &text, bool keepEnds)
{
    QTextCursor cursor = textCursor();
    // The document's text stays in one format, its colours are the runs'.
    const QTextCharFormat format;
    // The text as the widget holds it, every break a paragraph separator: each line end, and a
    // join between the parts of a line that the insertion makes longer than the limit within
    // its block (typing into a part already held only lengthens it). The kinds of the breaks
    // are recorded in order for the change notification.
    m_pendingEnds.clear();
    const qsizetype size = text.size();
    QString widget;
    widget.reserve(size + size / HeldPartLength + 1);
    const int at = cursor.selectionStart();
    const QTextBlock startBlock = document()->findBlock(at);
    qint64 column = at - startBlock.position();
    const QTextBlock endBlock = document()->findBlock(cursor.selectionEnd());
    const qint64 after = endBlock.position() + endBlock.length() - 1 - cursor.selectionEnd();
    const QChar *data = text.constData();
    qsizetype lineEnd = -1;
    bool held = false;
    for (qsizetype i = 0; i < size; ++i) {
        if (i > lineEnd) {
            lineEnd = lineEndFrom(data, i, size);
            // What stands in the block before and after the insertion belongs to its first
            // and last lines.
            const qint64 length =
                (lineEnd - i) + (i == 0 ? column : 0) + (lineEnd == size ? after : 0);
            held = length > HeldLineLimit;
        }
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            const bool crLf = c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n';
            if (!keepEnds)
                m_pendingEnds.push_back(m_pageEnd);
            else
                m_pendingEnds.push_back(crLf         ? LineEnd::CrLf
                                        : c == u'\r' ? LineEnd::Cr
                                                     : LineEnd::Lf);
            i += crLf;
            widget.append(ParagraphSeparator);
            column = 0;
            continue;
        }
        if (cutsBefore(held, column++, c)) {
            widget.append(ParagraphSeparator);
            m_pendingEnds.push_back(LineEnd::None);
            column = 1;
        }
        widget.append(QChar(widgetUnit(data, i, size)));
    }
    cursor.beginEditBlock();
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    qsizetype from = 0;
    for (qsizetype i = 0; i <= widget.size(); ++i) {
        const bool end = i == widget.size();
        if (!end && widget.at(i) != ParagraphSeparator)
            continue;
        if (i > from)
            cursor.insertText(widget.mid(from, i - from), format);
        if (!end)
            cursor.insertBlock(cursor.blockFormat(), format);
        from = i + 1;
    }
    cursor.endEditBlock();
    m_pendingEnds.clear();
    setTextCursor(cursor);
}

void PageText::setSelectedText(const QString &text)
{
    Operation operation(*this);
    insertPlain(text);
}

void PageText::restoreSelectedText(const QString &text)
{
    Operation operation(*this);
    insertPlain(text, true);
}

void PageText::setSelectionColour(Colour colour)
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        m_insertionColour = colour;
        return;
    }
    recolour(cursor.selectionStart(), cursor.selectionEnd(), colour);
    emit recoloured();
}

QChar PageText::characterAt(qint64 position) const
{
    if (position < 0 || position >= textLength())
        return QChar();
    const qint64 widget = toWidgetPosition(position);
    const QChar c = document()->characterAt(int(widget));
    // The LF of a CR LF maps onto the end of its line, where its CR is.
    const bool second = fromWidgetPosition(widget) != position;
    if (c == ParagraphSeparator) {
        switch (lineEndOf(document()->findBlock(int(widget)).blockNumber())) {
        case LineEnd::CrLf:
            return second ? QChar(u'\n') : QChar(u'\r');
        case LineEnd::Lf:
            return QChar(u'\n');
        case LineEnd::Cr:
            return QChar(u'\r');
        case LineEnd::None:
            break;
        }
    }
    if (second)
        return QChar(u'\n');
    return QChar(pageUnit(c.unicode(), unitBefore(int(widget))));
}

qint64 PageText::lastIndexOf(QChar c, qint64 from, qint64 to) const
{
    const qint64 stop = toWidgetPosition(from);
    qint64 end = toWidgetPosition(to);
    QTextBlock block = m_document->findBlock(int(end));
    while (block.isValid() && end > stop) {
        const qint64 start = std::max<qint64>(block.position(), stop);
        // The block's own text, not a cursor's selection: a cursor lays out each line it is
        // put in, and the look-back may pass through many.
        const QString line = block.text();
        const qsizetype found =
            QStringView(line).mid(start - block.position(), end - start).lastIndexOf(c);
        if (found >= 0)
            return fromWidgetPosition(start + found);
        block = block.previous();
        if (block.isValid())
            end = block.position() + block.length() - 1;
    }
    return -1;
}

QString PageText::textRange(qint64 start, qint64 length) const
{
    start = std::clamp<qint64>(start, 0, textLength());
    const qint64 end = std::clamp<qint64>(start + std::max<qint64>(length, 0), start, textLength());
    if (end == start)
        return QString();
    const qint64 from = toWidgetPosition(start);
    const qint64 to = toWidgetPosition(end);
    // Read from the blocks, not through a cursor: a cursor lays out the line it is put in,
    // and this runs on every keystroke. No block is long: a long line is held in parts.
    QTextBlock block = document()->findBlock(int(from));
    const int firstBlock = block.blockNumber();
    QString raw;
    raw.reserve(to - from);
    for (; block.isValid() && block.position() < to; block = block.next()) {
        const qint64 blockStart = block.position();
        const qint64 textEnd = blockStart + block.length() - 1;
        const qint64 partFrom = std::max(from, blockStart);
        const qint64 partTo = std::min(to, textEnd);
        if (partTo > partFrom)
            raw.append(QStringView(block.text()).mid(partFrom - blockStart, partTo - partFrom));
        if (to > textEnd)
            raw.append(ParagraphSeparator);
    }
    QString result = fromWidgetText(raw, firstBlock, nullptr, unitBefore(int(from)));
    // A position between the CR and the LF of a break maps onto the end of its line.
    if (fromWidgetPosition(from) != start)
        result.remove(0, 1);
    if (fromWidgetPosition(to) != end)
        result.append(u'\r');
    return result;
}

Colour PageText::colourAt(qint64 position) const
{
    return attributesAt(toWidgetPosition(position)) & 0xFFFFFF;
}

bool PageText::boldAt(qint64 position) const
{
    return attributesAt(toWidgetPosition(position)) >> 24;
}

QColor PageText::characterColour(qint64 position) const
{
    return toQColor(colourAt(position));
}

void PageText::applyColours(const std::vector<ColourSpan> &spans)
{
    Painter painter(*this);
    for (const ColourSpan &span : spans)
        painter.paint(span);
}

PageText::Painter::Painter(PageText &page) : m_page(page) {}

void PageText::Painter::paint(const ColourSpan &span)
{
    if (span.length <= 0)
        return;
    if (m_firstNumber < 0) {
        m_block = m_page.document()->findBlock(int(m_page.toWidgetPosition(span.start)));
        m_firstNumber = m_number = m_block.blockNumber();
        m_widgetStart = m_block.position();
        m_start = m_page.blockStart(m_number);
    }
    const qint64 from = widgetPosition(span.start);
    QTextBlock line = m_block;
    int lineNumber = m_number;
    qint64 lineStart = m_widgetStart;
    const qint64 to = widgetPosition(span.start + span.length);
    for (;;) {
        if (lineNumber != m_partsNumber) {
            flush();
            m_partsBlock = line;
            m_partsNumber = lineNumber;
        }
        const qint64 length = line.length();
        const qint64 partFrom = std::max(from, lineStart) - lineStart;
        const qint64 partTo = std::min(to, lineStart + length) - lineStart;
        if (partTo > partFrom)
            m_parts.push_back({partFrom, partTo, span.colour});
        if (lineNumber == m_number)
            break;
        lineStart += length;
        line = line.next();
        ++lineNumber;
    }
}

qint64 PageText::Painter::widgetPosition(qint64 position)
{
    // Counted along as the blocks go by: asking a block for its number or position searches
    // the block tree, on every line of a page.
    while (m_block.next().isValid()) {
        const qint64 next = m_start + m_block.length() + shiftOf(m_page.lineEndOf(m_number));
        if (next > position)
            break;
        m_widgetStart += m_block.length();
        m_start = next;
        m_block = m_block.next();
        ++m_number;
    }
    return m_widgetStart + std::min<qint64>(position - m_start, m_block.length() - 1);
}

void PageText::Painter::flush()
{
    if (!m_parts.empty())
        m_page.recolourLine(m_partsBlock, m_partsNumber, m_parts);
    m_parts.clear();
}

PageText::Painter::~Painter()
{
    if (m_firstNumber < 0)
        return;
    const bool oneLine = m_partsBlock.isValid() && m_partsNumber == m_firstNumber;
    flush();
    // One line (a typed tag) is laid out again at once and repaints alone; after more, only the
    // lines on screen are laid out again, when painted.
    if (oneLine)
        m_page.showColours(m_partsBlock);
    else
        emit m_page.recoloured();
}

// ---- Colours, held as runs per line ----

namespace {

constexpr quint32 BoldBit = 1u << 24;

quint32 attributesOf(Colour colour, bool bold)
{
    return (colour & 0xFFFFFF) | (bold ? BoldBit : 0);
}

// Appends length characters of the given attributes, joining an equal run before them.
void appendRun(std::vector<PageText::Run> &runs, qint64 length, quint32 attributes)
{
    if (length <= 0)
        return;
    if (!runs.empty() && runs.back().attributes == attributes)
        runs.back().length += qint32(length);
    else
        runs.push_back({qint32(length), attributes});
}

// Appends the runs of characters from to to of a line (no runs: all plain).
void appendPart(std::vector<PageText::Run> &out, const std::vector<PageText::Run> &runs,
                qint64 from, qint64 to)
{
    if (runs.empty()) {
        appendRun(out, to - from, 0);
        return;
    }
    qint64 start = 0;
    for (const PageText::Run &run : runs) {
        const qint64 end = start + run.length;
        if (end > from && start < to)
            appendRun(out, std::min(end, to) - std::max(start, from), run.attributes);
        if (end >= to)
            break;
        start = end;
    }
}

qint64 lengthOf(const std::vector<PageText::Run> &runs)
{
    qint64 length = 0;
    for (const PageText::Run &run : runs)
        length += run.length;
    return length;
}

// A line all plain holds no runs.
void tidy(std::vector<PageText::Run> &runs)
{
    if (runs.size() == 1 && runs.front().attributes == 0)
        runs.clear();
    else
        runs.shrink_to_fit();
}

// Reads a line's runs once from start to end, copying them on.
class RunWalk
{
public:
    RunWalk(const std::vector<PageText::Run> &runs, qint64 length) : m_runs(runs), m_length(length)
    {}

    // Appends the characters up to to, each one's attributes passed through change.
    template <typename Change> void take(std::vector<PageText::Run> &out, qint64 to, Change change)
    {
        to = std::min(to, m_length);
        while (m_at < to) {
            qint64 runEnd = m_length;
            quint32 attributes = 0;
            if (m_index < m_runs.size()) {
                runEnd = m_runStart + m_runs[m_index].length;
                attributes = m_runs[m_index].attributes;
            }
            const qint64 end = std::min(runEnd, to);
            appendRun(out, end - m_at, change(attributes));
            m_at = end;
            if (m_at == runEnd && m_index < m_runs.size()) {
                m_runStart = runEnd;
                ++m_index;
            }
        }
    }

private:
    const std::vector<PageText::Run> &m_runs;
    qint64 m_length;
    qint64 m_at = 0;
    qint64 m_runStart = 0;
    size_t m_index = 0;
};

} // namespace

quint32 PageText::attributesAt(qint64 widgetPosition) const
{
    const QTextBlock block = document()->findBlock(int(widgetPosition));
    if (!block.isValid() || size_t(block.blockNumber()) >= m_lines.size())
        return 0;
    const std::vector<Run> &runs = m_lines[size_t(block.blockNumber())].runs;
    qint64 offset = widgetPosition - block.position();
    for (const Run &run : runs) {
        if (offset < run.length)
            return run.attributes;
        offset -= run.length;
    }
    return 0;
}

void PageText::recolourLine(const QTextBlock &block, int number,
                            const std::vector<Recolouring> &parts)
{
    Line &line = m_lines[size_t(number)];
    const qint64 length = block.length();
    RunWalk walk(line.runs, length);
    std::vector<Run> runs;
    const auto same = [](quint32 attributes) { return attributes; };
    for (const Recolouring &part : parts) {
        const qint64 from = std::clamp<qint64>(part.from, 0, length);
        const qint64 to = std::clamp<qint64>(part.to, from, length);
        walk.take(runs, from, same);
        // Colour alone changes: each character keeps its boldness.
        walk.take(runs, to, [&part](quint32 attributes) {
            return attributesOf(part.colour, attributes & BoldBit);
        });
    }
    walk.take(runs, length, same);
    tidy(runs);
    line.runs = std::move(runs);
    line.shown = false;
}

void PageText::recolour(qint64 widgetFrom, qint64 widgetTo, Colour colour)
{
    QTextBlock block = document()->findBlock(int(widgetFrom));
    while (block.isValid() && block.position() < widgetTo) {
        recolourLine(block, block.blockNumber(),
                     {{widgetFrom - block.position(), widgetTo - block.position(), colour}});
        block = block.next();
    }
}

void PageText::followEdit(int first, int removedLines, int addedLines, qint64 position,
                          qint64 added)
{
    const QTextDocument *doc = document();
    if (m_lines.size() != size_t(m_blockCount - addedLines + removedLines)) {
        // Never expected: start again plain rather than misplace colours.
        m_lines.assign(size_t(m_blockCount), Line());
        return;
    }
    const QTextBlock firstBlock = doc->findBlockByNumber(first);
    const QTextBlock lastBlock = doc->findBlockByNumber(first + addedLines);
    const qint64 offset = position - firstBlock.position();
    const qint64 kept = lastBlock.position() + lastBlock.length() - (position + added);
    // The lines touched become one stretch: what was before the edit on its first line, the
    // new characters in the insertion's attributes, what was after it on its last line.
    std::vector<Run> stretch;
    appendPart(stretch, m_lines[size_t(first)].runs, 0, offset);
    appendRun(stretch, added, attributesOf(m_insertionColour, m_insertionBold));
    const std::vector<Run> &tail = m_lines[size_t(first + removedLines)].runs;
    const qint64 tailLength = tail.empty() ? kept : lengthOf(tail);
    appendPart(stretch, tail, tailLength - kept, tailLength);
    std::vector<Line> lines(size_t(addedLines) + 1);
    qint64 start = 0;
    QTextBlock block = firstBlock;
    for (Line &line : lines) {
        const qint64 length = block.length();
        appendPart(line.runs, stretch, start, start + length);
        tidy(line.runs);
        start += length;
        block = block.next();
    }
    // The lines edited are replaced where they stand: only lines added or removed shift the
    // ones after them, so a keystroke costs the same at the top of a long page as at its end.
    const auto at = m_lines.begin() + first;
    const size_t removed = size_t(removedLines) + 1;
    const size_t common = std::min(removed, lines.size());
    std::move(lines.begin(), lines.begin() + common, at);
    if (removed > common)
        m_lines.erase(at + common, at + removed);
    else
        m_lines.insert(at + common, std::make_move_iterator(lines.begin() + common),
                       std::make_move_iterator(lines.end()));
    // A line edited in place is laid out again at once, before the view asks for it.
    if (addedLines == 0)
        showColours(firstBlock);
    if (addedLines == 0 && removedLines == 0) {
        m_oneLineChange = first;
        keepShapes(firstBlock);
    }
}

void PageText::keepShapes(const QTextBlock &block)
{
    // Qt shapes a line again each time the caret is placed or drawn on it unless its layout
    // keeps the shapes; only the line being typed on keeps them, so that a long page costs no
    // more memory for it. Lines added or removed above may leave one other line keeping them
    // until it is typed on again: one line's worth.
    if (m_shapesKept != block.blockNumber()) {
        const QTextBlock previous = document()->findBlockByNumber(m_shapesKept);
        if (previous.isValid())
            previous.layout()->setCacheEnabled(false);
        m_shapesKept = block.blockNumber();
    }
    block.layout()->setCacheEnabled(true);
}

QList<QTextLayout::FormatRange> PageText::lineFormats(const QTextBlock &block) const
{
    QList<QTextLayout::FormatRange> formats;
    if (size_t(block.blockNumber()) >= m_lines.size())
        return formats;
    const std::vector<Run> &runs = m_lines[size_t(block.blockNumber())].runs;
    const int length = block.length() - 1; // the line end is not laid out
    int start = 0;
    for (const Run &run : runs) {
        if (start >= length)
            break;
        QTextLayout::FormatRange range;
        range.start = start;
        range.length = std::min(run.length, length - start);
        range.format = formatOf(run.attributes);
        formats.append(range);
        start += run.length;
    }
    return formats;
}

const QTextCharFormat &PageText::formatOf(quint32 attributes) const
{
    // Shared rather than built per run: the layout compares, hashes and stores a line's
    // formats on every keystroke, and shared ones it reads once.
    auto format = m_formats.constFind(attributes);
    if (format == m_formats.cend()) {
        QTextCharFormat made;
        made.setForeground(toQColor(attributes & 0xFFFFFF));
        if (attributes & BoldBit)
            made.setFontWeight(QFont::Bold);
        format = m_formats.insert(attributes, made);
    }
    return *format;
}

void PageText::showColours(const QTextBlock &block) const
{
    const size_t number = size_t(block.blockNumber());
    if (number >= m_lines.size())
        return;
    m_lines[number].shown = true;
    // New formats drop the block's lines and mark the block changed; that mark is settled at
    // once, so that it never widens the report of the next edit of the text. It is no text
    // change: the document raises no contentsChange for it.
    QList<QTextLayout::FormatRange> formats = lineFormats(block);
    // Recolouring a typed character most often gives the line the colours it has: laying it
    // out again would then be for nothing.
    if (formats == block.layout()->formats())
        return;
    block.layout()->setFormats(formats);
    // Within an edit the mark joins the edit's own, which may already be known to stay on
    // this line: that stays known.
    const int held = std::exchange(m_oneLineChange, int(number));
    document()->markContentsDirty(block.position(), block.length());
    m_oneLineChange = held;
}

} // namespace zendral
