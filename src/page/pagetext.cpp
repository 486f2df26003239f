#include "pagetext.h"

#include "colouredlayout.h"
#include "widgettext.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <optional>
#include <utility>

namespace zendral {

namespace {

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

} // namespace

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

PageText::PageText(QObject *parent)
    : QObject(parent), m_document(new QTextDocument(this)), m_map(*m_document),
      m_colours(*m_document)
{
    m_document->setDocumentLayout(new ColouredLayout(m_document, m_colours));
    m_document->setUndoRedoEnabled(false);
    m_cursor = QTextCursor(m_document);
    connect(m_document, &QTextDocument::contentsChange, this, &PageText::onContentsChange);
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
        std::vector<LineEnd> newEnds(size_t(std::max(0, breaksAdded)), m_map.pageEnd());
        const size_t announced = std::min(newEnds.size(), m_pendingEnds.size());
        std::copy(m_pendingEnds.begin(), m_pendingEnds.begin() + qsizetype(announced),
                  newEnds.begin());
        m_pendingEnds.erase(m_pendingEnds.begin(), m_pendingEnds.begin() + qsizetype(announced));
        const qint64 removedShift = m_map.replaceEnds(first, breaksRemoved, newEnds, oldBlockCount);
        m_colours.followEdit(first, breaksRemoved, breaksAdded, position, widgetAdded,
                             ColourRuns::attributesOf(m_insertionColour, m_insertionBold));
        qint64 addedShift = 0;
        for (const LineEnd end : newEnds)
            addedShift += shiftOf(end);
        const qint64 documentRemoved = widgetRemoved + removedShift;
        const qint64 documentAdded = widgetAdded + addedShift;
        // Only a join of a held line went or came: the text is what it was.
        if (documentRemoved + documentAdded == 0)
            return;
        emit textEdited(qint64(position) + m_map.crLfBefore(first), documentRemoved, documentAdded);
    }
    if (m_operationDepth > 0) {
        m_textChanged = true;
        return;
    }
    // A change from outside the page's own operations: report it at once.
    emit changed();
}

qint64 PageText::lineStart(int line) const
{
    return m_map.blockStart(firstBlockOfLine(line));
}

QString PageText::fromWidgetText(QStringView raw, int firstBlock, qsizetype *breaksHeld,
                                 char16_t before) const
{
    return documentText(raw, m_map.ends(), m_map.pageEnd(), firstBlock, breaksHeld, before);
}

char16_t PageText::unitBefore(WidgetPosition position) const
{
    return position.value() > 0 ? m_document->characterAt(position.value() - 1).unicode() : 0;
}

QString PageText::text() const
{
    return fromWidgetText(document()->toRawText(), 0);
}

void PageText::forEachPiece(const std::function<bool(QStringView piece)> &take) const
{
    // Pieces small enough for the heap to serve one after another from the same memory
    // (memoryreturn.h): at a million characters (two megabytes) apiece, each would be memory
    // the system hands over anew.
    constexpr qsizetype PieceLength = qsizetype(1) << 18;
    // The document's own text is one flat copy; walking its blocks would look each one up in
    // the block tree and copy it again, several times the cost of the whole save.
    Copy copy(*this);
    while (!copy.atEnd()) {
        if (!take(copy.next(PieceLength)))
            return;
    }
}

PageText::Copy::Copy(const PageText &page)
    : m_raw(page.document()->toRawText()), m_ends(page.m_map.ends()),
      m_pageEnd(page.m_map.pageEnd())
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
    m_colours.reset(m_blockCount);
    m_pendingEnds.clear();
    m_map.reset(std::move(widget.ends));
    document()->setPlainText(std::exchange(widget.text, QString()));
    if (document()->blockCount() != m_blockCount) {
        m_blockCount = document()->blockCount();
        m_colours.resize(m_blockCount);
    }
    // An empty text is still a change when the old one was not.
    m_textChanged = true;
    QTextCursor start(document());
    setTextCursor(start);
    m_replacingText = false;
    if (replaced)
        emit textEdited(replaced->start, replaced->removed, replaced->added);
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
                m_pendingEnds.push_back(m_map.pageEnd());
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

QChar PageText::characterAt(qint64 position) const
{
    if (position < 0 || position >= textLength())
        return QChar();
    const WidgetPosition widget = toWidgetPosition(position);
    const QChar c = m_document->characterAt(widget.value());
    // The LF of a CR LF maps onto the end of its line, where its CR is.
    const bool second = fromWidgetPosition(widget) != position;
    if (c == ParagraphSeparator) {
        switch (lineEndOf(m_document->findBlock(widget.value()).blockNumber())) {
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
    return QChar(pageUnit(c.unicode(), unitBefore(widget)));
}

qint64 PageText::lastIndexOf(QChar c, qint64 from, qint64 to) const
{
    const int stop = toWidgetPosition(from).value();
    int end = toWidgetPosition(to).value();
    QTextBlock block = m_document->findBlock(end);
    while (block.isValid() && end > stop) {
        const int start = std::max(block.position(), stop);
        // The block's own text, not a cursor's selection: a cursor lays out each line it is
        // put in, and the look-back may pass through many.
        const QString line = block.text();
        const qsizetype found =
            QStringView(line).mid(start - block.position(), end - start).lastIndexOf(c);
        if (found >= 0)
            return fromWidgetPosition(WidgetPosition(start + int(found)));
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
    const WidgetPosition widgetFrom = toWidgetPosition(start);
    const WidgetPosition widgetTo = toWidgetPosition(end);
    const qint64 from = widgetFrom.value();
    const qint64 to = widgetTo.value();
    // Read from the blocks, not through a cursor: a cursor lays out the line it is put in,
    // and this runs on every keystroke. No block is long: a long line is held in parts.
    QTextBlock block = m_document->findBlock(widgetFrom.value());
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
    QString result = fromWidgetText(raw, firstBlock, nullptr, unitBefore(widgetFrom));
    // A position between the CR and the LF of a break maps onto the end of its line.
    if (fromWidgetPosition(widgetFrom) != start)
        result.remove(0, 1);
    if (fromWidgetPosition(widgetTo) != end)
        result.append(u'\r');
    return result;
}

Colour PageText::colourAt(qint64 position) const
{
    return ColourRuns::colourOf(m_colours.attributesAt(toWidgetPosition(position)));
}

bool PageText::boldAt(qint64 position) const
{
    return ColourRuns::boldOf(m_colours.attributesAt(toWidgetPosition(position)));
}

QColor PageText::characterColour(qint64 position) const
{
    return toQColor(colourAt(position));
}

} // namespace zendral
