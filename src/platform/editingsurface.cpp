#include "editingsurface.h"

#include <QContextMenuEvent>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>

namespace zendral {

namespace {

// Inside the widget a line break is one paragraph separator and a lone LF kept inside its
// line is a line separator (drawn as a break, yet part of the line).
constexpr QChar ParagraphSeparator = QChar::ParagraphSeparator;
constexpr QChar LineSeparator = QChar::LineSeparator;
// The page's own U+2028 and U+2029 would be taken for the two above: inside the widget they
// stand as two noncharacters, which a page has no business holding, and go back as they came.
constexpr char16_t HeldLineSeparator = 0xFDD2;
// Lines longer than this may hold enough in-line LFs to make colouring them costly.
constexpr int LongLine = 4096;
constexpr char16_t HeldParagraphSeparator = 0xFDD3;

// The document text with CR LF (or a lone CR) as paragraph breaks and lone LFs kept in line.
QString toWidgetText(const QString &text)
{
    QString result;
    result.reserve(text.size());
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c == u'\r') {
            result.append(ParagraphSeparator);
            if (i + 1 < size && text.at(i + 1) == u'\n')
                ++i;
        } else if (c == u'\n') {
            result.append(LineSeparator);
        } else if (c == LineSeparator) {
            result.append(QChar(HeldLineSeparator));
        } else if (c == ParagraphSeparator) {
            result.append(QChar(HeldParagraphSeparator));
        } else {
            result.append(c);
        }
    }
    return result;
}

// The files a drag carries from the desktop; web addresses are not files.
QList<QUrl> localFiles(const QMimeData *source)
{
    QList<QUrl> files = source->urls();
    files.removeIf([](const QUrl &url) { return !url.isLocalFile(); });
    return files;
}

QString fromWidgetText(const QString &raw)
{
    // This runs over the whole text on every save: size the result once, copy runs whole.
    const char16_t *data = reinterpret_cast<const char16_t *>(raw.constData());
    const qsizetype size = raw.size();
    const qsizetype breaks = std::count(data, data + size, ParagraphSeparator.unicode());
    QString result(size + breaks, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    const char16_t *from = data;
    const char16_t *end = data + size;
    for (const char16_t *p = data; p != end; ++p) {
        if (*p < LineSeparator.unicode())
            continue;
        if (*p == ParagraphSeparator.unicode()) {
            out = std::copy(from, p, out);
            *out++ = u'\r';
            *out++ = u'\n';
        } else if (*p == LineSeparator.unicode()) {
            out = std::copy(from, p, out);
            *out++ = u'\n';
        } else if (*p == HeldLineSeparator || *p == HeldParagraphSeparator) {
            out = std::copy(from, p, out);
            *out++ =
                *p == HeldLineSeparator ? LineSeparator.unicode() : ParagraphSeparator.unicode();
        } else {
            continue;
        }
        from = p + 1;
    }
    std::copy(from, end, out);
    return result;
}

} // namespace

EditingSurface::Operation::Operation(EditingSurface &surface) : m_surface(surface)
{
    ++m_surface.m_operationDepth;
}

EditingSurface::Operation::~Operation()
{
    if (--m_surface.m_operationDepth == 0 && m_surface.m_textChanged) {
        m_surface.m_textChanged = false;
        emit m_surface.changed();
    }
}

EditingSurface::EditingSurface(QWidget *parent) : QPlainTextEdit(parent)
{
    setObjectName(QStringLiteral("text1"));
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setTabChangesFocus(false);
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    connect(document(), &QTextDocument::contentsChange, this, &EditingSurface::onContentsChange);
    setUpGutter();
}

void EditingSurface::onContentsChange(int position, int removed, int added)
{
    if (m_formatOnly > 0 || (removed == 0 && added == 0))
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
        m_blockCount = doc->blockCount();
        if (widgetRemoved + widgetAdded > 0)
            emit textEdited(qint64(position) + first, qint64(widgetRemoved) + breaksRemoved,
                            qint64(widgetAdded) + breaksAdded);
    }
    if (m_operationDepth > 0) {
        m_textChanged = true;
        return;
    }
    // A change from outside the surface's own operations: report it at once.
    emit changed();
}

QString EditingSurface::text() const
{
    return fromWidgetText(document()->toRawText());
}

void EditingSurface::setText(const QString &text)
{
    Operation operation(*this);
    const QString old = document()->toRawText();
    // Reported once at the end, as one stretch: the format set on the old selection here is no
    // edit at all.
    m_replacingText = true;
    QTextCursor cursor(document());
    QTextCharFormat plain;
    plain.setForeground(toQColor(colours::Black));
    cursor.setCharFormat(plain);
    setCurrentCharFormat(plain);
    const QString widgetText = toWidgetText(text);
    document()->setPlainText(widgetText);
    m_blockCount = document()->blockCount();
    // setPlainText keeps the format of the old first character: make every character plain.
    if (!widgetText.isEmpty()) {
        FormatOnly formatOnly(*this);
        cursor = QTextCursor(document());
        cursor.select(QTextCursor::Document);
        cursor.setCharFormat(plain);
    }
    // An empty text is still a change when the old one was not.
    m_textChanged = true;
    QTextCursor start(document());
    setTextCursor(start);
    m_replacingText = false;
    reportReplacement(old, widgetText);
}

void EditingSurface::reportReplacement(const QString &old, const QString &now)
{
    // What both texts share at their start and at their end was left as it was.
    const qsizetype shortest = std::min(old.size(), now.size());
    const auto oldBegin = old.cbegin();
    const auto nowBegin = now.cbegin();
    const qsizetype prefix =
        std::mismatch(oldBegin, oldBegin + shortest, nowBegin).first - oldBegin;
    const qsizetype suffix =
        std::mismatch(old.crbegin(), old.crbegin() + (shortest - prefix), now.crbegin()).first -
        old.crbegin();
    const auto breaks = [](const QString &text, qsizetype from, qsizetype to) {
        return qint64(std::count(text.cbegin() + from, text.cbegin() + to, ParagraphSeparator));
    };
    const qsizetype oldEnd = old.size() - suffix;
    const qsizetype nowEnd = now.size() - suffix;
    if (oldEnd == prefix && nowEnd == prefix)
        return;
    emit textEdited(prefix + breaks(now, 0, prefix), oldEnd - prefix + breaks(old, prefix, oldEnd),
                    nowEnd - prefix + breaks(now, prefix, nowEnd));
}

qint64 EditingSurface::textLength() const
{
    const QTextDocument *doc = document();
    return qint64(doc->characterCount() - 1) + qint64(doc->blockCount() - 1);
}

qint64 EditingSurface::blockStart(int blockNumber) const
{
    return qint64(document()->findBlockByNumber(blockNumber).position()) + blockNumber;
}

qint64 EditingSurface::toWidgetPosition(qint64 position) const
{
    if (position <= 0)
        return 0;
    const QTextDocument *doc = document();
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

qint64 EditingSurface::fromWidgetPosition(qint64 widgetPosition) const
{
    const QTextBlock block = document()->findBlock(int(widgetPosition));
    return widgetPosition + (block.isValid() ? block.blockNumber() : document()->blockCount() - 1);
}

void EditingSurface::setHighlights(HighlightLayer layer,
                                   const QList<QTextEdit::ExtraSelection> &highlights)
{
    m_highlights[layer] = highlights;
    QList<QTextEdit::ExtraSelection> all;
    for (const auto &[key, marks] : m_highlights)
        all += marks;
    setExtraSelections(all);
}

qint64 EditingSurface::selectionStart() const
{
    return fromWidgetPosition(textCursor().selectionStart());
}

qint64 EditingSurface::selectionLength() const
{
    const QTextCursor cursor = textCursor();
    return fromWidgetPosition(cursor.selectionEnd()) - fromWidgetPosition(cursor.selectionStart());
}

void EditingSurface::setSelectionStart(qint64 position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(int(toWidgetPosition(std::clamp<qint64>(position, 0, textLength()))));
    setTextCursor(cursor);
}

void EditingSurface::setSelectionLength(qint64 length)
{
    const qint64 start = selectionStart();
    const qint64 end = std::clamp<qint64>(start + std::max<qint64>(length, 0), 0, textLength());
    QTextCursor cursor = textCursor();
    cursor.setPosition(int(toWidgetPosition(start)));
    cursor.setPosition(int(toWidgetPosition(end)), QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString EditingSurface::selectedText() const
{
    return fromWidgetText(textCursor().selectedText());
}

QTextCharFormat EditingSurface::insertionFormat() const
{
    QTextCharFormat format;
    format.setForeground(toQColor(m_insertionColour));
    format.setFontWeight(m_insertionBold ? QFont::Bold : QFont::Normal);
    return format;
}

void EditingSurface::insertPlain(const QString &text, bool keepLoneLf)
{
    QTextCursor cursor = textCursor();
    const QTextCharFormat format = insertionFormat();
    cursor.beginEditBlock();
    if (cursor.hasSelection())
        cursor.removeSelectedText();
    // Every kind of line end typed, pasted or inserted starts a new line.
    qsizetype from = 0;
    const qsizetype size = text.size();
    for (qsizetype i = 0; i <= size; ++i) {
        const bool end = i == size;
        const QChar c = end ? QChar() : text.at(i);
        if (end || c == u'\r' || c == u'\n' || c == ParagraphSeparator || c == LineSeparator) {
            if (i > from)
                cursor.insertText(text.mid(from, i - from), format);
            if (keepLoneLf && c == u'\n') {
                cursor.insertText(QString(LineSeparator), format);
            } else if (!end) {
                cursor.insertBlock(cursor.blockFormat(), format);
                if (c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n')
                    ++i;
            }
            from = i + 1;
        }
    }
    cursor.endEditBlock();
    setTextCursor(cursor);
}

void EditingSurface::setSelectedText(const QString &text)
{
    Operation operation(*this);
    insertPlain(text);
}

void EditingSurface::restoreSelectedText(const QString &text)
{
    Operation operation(*this);
    insertPlain(text, true);
}

void EditingSurface::setSelectionColour(Colour colour)
{
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        m_insertionColour = colour;
        return;
    }
    FormatOnly formatOnly(*this);
    QTextCharFormat format;
    format.setForeground(toQColor(colour));
    cursor.mergeCharFormat(format);
}

QChar EditingSurface::characterAt(qint64 position) const
{
    if (position < 0 || position >= textLength())
        return QChar();
    const qint64 widget = toWidgetPosition(position);
    const QChar c = document()->characterAt(int(widget));
    if (c == ParagraphSeparator)
        return fromWidgetPosition(widget) == position ? QChar(u'\r') : QChar(u'\n');
    if (c == LineSeparator)
        return QChar(u'\n');
    if (c == QChar(HeldLineSeparator))
        return LineSeparator;
    if (c == QChar(HeldParagraphSeparator))
        return ParagraphSeparator;
    // The LF of a break maps onto the end of its line.
    if (fromWidgetPosition(widget) != position)
        return QChar(u'\n');
    return c;
}

QString EditingSurface::textRange(qint64 start, qint64 length) const
{
    start = std::clamp<qint64>(start, 0, textLength());
    const qint64 end = std::clamp<qint64>(start + std::max<qint64>(length, 0), start, textLength());
    if (end == start)
        return QString();
    // A cursor's selection copies only the characters asked for, however long their line.
    const qint64 from = toWidgetPosition(start);
    const qint64 to = toWidgetPosition(end);
    QTextCursor cursor(document());
    cursor.setPosition(int(from));
    cursor.setPosition(int(to), QTextCursor::KeepAnchor);
    QString result = fromWidgetText(cursor.selectedText());
    // A position between the CR and the LF of a break maps onto the end of its line.
    if (fromWidgetPosition(from) != start)
        result.remove(0, 1);
    if (fromWidgetPosition(to) != end)
        result.append(u'\r');
    return result;
}

Colour EditingSurface::colourAt(qint64 position) const
{
    QTextCursor cursor(document());
    cursor.setPosition(int(toWidgetPosition(position)) + 1);
    return fromQColor(cursor.charFormat().foreground().color());
}

bool EditingSurface::boldAt(qint64 position) const
{
    QTextCursor cursor(document());
    cursor.setPosition(int(toWidgetPosition(position)) + 1);
    return cursor.charFormat().fontWeight() >= QFont::Bold;
}

void EditingSurface::applyColours(const std::vector<ColourSpan> &spans)
{
    if (spans.empty())
        return;
    FormatOnly formatOnly(*this);
    QTextDocument *doc = document();
    QTextCursor cursor(doc);
    QTextCharFormat format;
    Colour current = ~Colour(0);
    // The walk starts at the first span's line, found through the block tree.
    QTextBlock block = doc->findBlock(int(toWidgetPosition(spans.front().start)));
    qint64 blockPosition = blockStart(block.blockNumber()); // its first character's position
    // Walks the blocks once alongside the sorted spans instead of searching for each span.
    const auto widgetPosition = [&](qint64 position) {
        while (block.isValid() && block.next().isValid() &&
               blockPosition + block.length() + 1 <= position) {
            blockPosition += block.length() + 1;
            block = block.next();
        }
        const qint64 offset = std::min<qint64>(position - blockPosition, block.length() - 1);
        return block.position() + offset;
    };
    // A line that holds in-line LFs is laid out as many lines, and every colour change inside
    // it would walk all of them: dropping its layout first keeps a batch linear. It is laid
    // out again when next painted.
    const qint64 lastPosition = spans.back().start + spans.back().length;
    qint64 laidPosition = blockPosition;
    for (QTextBlock laid = block; laid.isValid() && laidPosition <= lastPosition;
         laid = laid.next()) {
        // Asking a short line for its layout would create one; only long ones are worth it.
        if (laid.length() > LongLine && laid.layout()->lineCount() > 1)
            laid.layout()->clearLayout();
        laidPosition += laid.length() + 1;
    }
    cursor.beginEditBlock();
    for (const ColourSpan &span : spans) {
        if (span.length <= 0)
            continue;
        const qint64 from = widgetPosition(span.start);
        const qint64 to = widgetPosition(span.start + span.length);
        if (to <= from)
            continue;
        if (span.colour != current) {
            current = span.colour;
            format.setForeground(toQColor(current));
        }
        cursor.setPosition(int(from));
        cursor.setPosition(int(to), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    cursor.endEditBlock();
}

bool EditingSurface::event(QEvent *event)
{
    // The menu's shortcuts win over the widget's own bindings (Ctrl+A opens a file here);
    // a Ctrl key that no shortcut takes still reaches keyPressEvent as a typed key.
    if (event->type() == QEvent::ShortcutOverride) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) {
            event->ignore();
            return false;
        }
    }
    return QPlainTextEdit::event(event);
}

void EditingSurface::typeCharacters(const QString &text)
{
    // One code point at a time, a surrogate pair kept whole.
    for (qsizetype i = 0; i < text.size(); ++i) {
        qsizetype length = 1;
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            length = 2;
        const QString character = text.mid(i, length);
        i += length - 1;
        if (m_handler && m_handler->characterTyped(character))
            continue;
        insertPlain(character);
    }
}

void EditingSurface::keyPressEvent(QKeyEvent *event)
{
    Operation operation(*this);
    const Qt::KeyboardModifiers modifiers = event->modifiers();
    const int key = event->key();
    const bool control = modifiers & Qt::ControlModifier;
    const bool altOrMeta = modifiers & (Qt::AltModifier | Qt::MetaModifier);

    QString controlCode;
    if (control && !altOrMeta && key >= Qt::Key_A && key <= Qt::Key_Z)
        controlCode = QChar(char16_t(key - Qt::Key_A + 1));
    else if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !control)
        controlCode = QStringLiteral("\r");
    else if (key == Qt::Key_Tab && !control && !altOrMeta)
        controlCode = QStringLiteral("\t");
    else if (key == Qt::Key_Backspace)
        controlCode = QStringLiteral("\b");

    if (!controlCode.isEmpty()) {
        if (m_handler && m_handler->characterTyped(controlCode)) {
            event->accept();
            return;
        }
        // Enter and Tab are inserted like any text, in the insertion colour.
        if (controlCode == u"\r" || controlCode == u"\t") {
            insertPlain(controlCode == u"\r" ? QStringLiteral("\r\n") : controlCode);
            ensureCursorVisible();
            event->accept();
            return;
        }
        QPlainTextEdit::keyPressEvent(event);
        return;
    }

    const QString text = event->text();
    const bool printable =
        !text.isEmpty() && !control && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F;
    if (printable && key != Qt::Key_Escape && key != Qt::Key_Delete) {
        typeCharacters(text);
        ensureCursorVisible();
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void EditingSurface::inputMethodEvent(QInputMethodEvent *event)
{
    Operation operation(*this);
    if (event->commitString().isEmpty() && event->replacementLength() == 0) {
        QPlainTextEdit::inputMethodEvent(event);
        return;
    }
    // Characters committed by an input method (dead keys, compose) are typed characters.
    QInputMethodEvent preeditOnly(event->preeditString(), event->attributes());
    QPlainTextEdit::inputMethodEvent(&preeditOnly);
    typeCharacters(event->commitString());
    event->accept();
}

void EditingSurface::dropEvent(QDropEvent *event)
{
    const QList<QUrl> files = localFiles(event->mimeData());
    if (!files.isEmpty()) {
        // The drop caret painted during the drag goes, as after a drop of text.
        QDragLeaveEvent leave;
        QPlainTextEdit::dragLeaveEvent(&leave);
        setTextCursor(cursorForPosition(event->position().toPoint()));
        event->acceptProposedAction();
        emit filesDropped(files);
        return;
    }
    Operation operation(*this);
    QPlainTextEdit::dropEvent(event);
}

void EditingSurface::mouseReleaseEvent(QMouseEvent *event)
{
    Operation operation(*this);
    QPlainTextEdit::mouseReleaseEvent(event);
}

void EditingSurface::contextMenuEvent(QContextMenuEvent *event)
{
    // The widget's stock menu would offer its own undo, which is not the editor's history,
    // and shortcuts that mean other things here.
    emit contextMenuOpening();
    QMenu menu(this);
    for (QAction *action : std::as_const(m_contextActions)) {
        if (action)
            menu.addAction(action);
        else
            menu.addSeparator();
    }
    if (!m_contextActions.isEmpty())
        menu.addSeparator();
    QAction *selectAll = menu.addAction(QStringLiteral("&Seleccionar todo"));
    selectAll->setObjectName(QStringLiteral("seleccionarTodo"));
    selectAll->setEnabled(!document()->isEmpty());
    connect(selectAll, &QAction::triggered, this, &QPlainTextEdit::selectAll);
    menu.exec(event->globalPos());
    event->accept();
}

bool EditingSurface::canInsertFromMimeData(const QMimeData *source) const
{
    // Files are accepted too, so that the drag shows where they will fall.
    return source->hasText() || !localFiles(source).isEmpty();
}

void EditingSurface::insertFromMimeData(const QMimeData *source)
{
    Operation operation(*this);
    insertPlain(source->text());
    ensureCursorVisible();
}

// The strip left of the text that shows each line's number.
class EditingSurface::LineNumberGutter : public QWidget
{
public:
    explicit LineNumberGutter(EditingSurface &surface) : QWidget(&surface), m_surface(surface) {}

protected:
    void paintEvent(QPaintEvent *event) override { m_surface.paintGutter(event); }

private:
    EditingSurface &m_surface;
};

void EditingSurface::setUpGutter()
{
    m_gutter = new LineNumberGutter(*this);
    m_gutter->setObjectName(QStringLiteral("numeroslinea"));
    // Only the lines on screen are repainted: the widget reports what it redraws and scrolls.
    connect(this, &QPlainTextEdit::blockCountChanged, this, &EditingSurface::updateGutterWidth);
    connect(this, &QPlainTextEdit::updateRequest, this, &EditingSurface::updateGutter);
    connect(this, &QPlainTextEdit::cursorPositionChanged, this, &EditingSurface::caretMoved);
    connect(document(), &QTextDocument::contentsChange, this,
            [this](int position) { forgetLinesAbove(position); });
    updateGutterWidth();
}

QColor EditingSurface::currentLineColour()
{
    return QColor(255, 250, 205);
}

int EditingSurface::gutterWidth() const
{
    if (!m_lineNumbersShown)
        return 0;
    int digits = 3;
    for (int lines = blockCount(); lines >= 1000; lines /= 10)
        ++digits;
    digits = std::max(digits, m_gutterDigits);
    return 10 + fontMetrics().horizontalAdvance(u'9') * digits;
}

void EditingSurface::updateGutterWidth()
{
    const int width = gutterWidth();
    // Changing the margins lays the view out again: only when the width really changes.
    if (width == m_appliedGutterWidth)
        return;
    m_appliedGutterWidth = width;
    setViewportMargins(width, 0, 0, 0);
    const QRect contents = contentsRect();
    m_gutter->setGeometry(contents.left(), contents.top(), width, contents.height());
    m_gutter->setVisible(m_lineNumbersShown);
}

void EditingSurface::updateGutter(const QRect &rect, int dy)
{
    if (!m_lineNumbersShown)
        return;
    if (dy != 0)
        m_gutter->scroll(0, dy);
    else
        m_gutter->update(0, rect.y(), m_gutter->width(), rect.height());
}

int EditingSurface::linesBefore(const QTextBlock &target)
{
    // Walks from the last block asked about: scrolling asks about its neighbours.
    if (m_anchorBlock >= blockCount()) {
        m_anchorBlock = 0;
        m_anchorLines = 0;
    }
    QTextBlock block = document()->findBlockByNumber(m_anchorBlock);
    int lines = m_anchorLines;
    while (block.isValid() && block.blockNumber() < target.blockNumber()) {
        lines += 1 + int(block.text().count(LineSeparator));
        block = block.next();
    }
    while (block.isValid() && block.blockNumber() > target.blockNumber()) {
        block = block.previous();
        lines -= 1 + int(block.text().count(LineSeparator));
    }
    m_anchorBlock = target.blockNumber();
    m_anchorLines = lines;
    return lines;
}

void EditingSurface::forgetLinesAbove(int position)
{
    // Lines counted before the anchor stay right unless the text before it changed.
    if (m_anchorBlock > 0 && position < document()->findBlockByNumber(m_anchorBlock).position()) {
        m_anchorBlock = 0;
        m_anchorLines = 0;
    }
}

bool EditingSurface::startsShownLine(const QTextBlock &block, const QTextLine &line) const
{
    return line.textStart() == 0 ||
           document()->characterAt(block.position() + line.textStart() - 1) == LineSeparator;
}

int EditingSurface::shownLineStarts(const QTextBlock &block, int last) const
{
    const QTextLayout *layout = block.layout();
    if (layout->lineCount() == 0)
        return int(block.text().count(LineSeparator));
    // Unwrapped, every line of the layout but the first starts after a lone LF.
    if (lineWrapMode() == NoWrap)
        return last;
    int starts = 0;
    for (int i = 1; i <= last; ++i)
        starts += startsShownLine(block, layout->lineAt(i));
    return starts;
}

void EditingSurface::paintGutter(QPaintEvent *event)
{
    QPainter painter(m_gutter);
    painter.fillRect(event->rect(), QColor(240, 240, 240));
    painter.setPen(QColor(128, 128, 128));
    painter.setFont(font());
    const int right = m_gutter->width() - 5;
    const QRect area = event->rect();
    QTextBlock block = firstVisibleBlock();
    // A lone LF kept inside a line is shown as a break: each line the user sees has its
    // number, as Ir a la línea counts them.
    int number = linesBefore(block) + 1;
    qreal top = blockBoundingGeometry(block).translated(contentOffset()).top();
    while (block.isValid() && top <= area.bottom()) {
        const qreal bottom = top + blockBoundingRect(block).height();
        const QTextLayout *layout = block.layout();
        const int lineCount = layout->lineCount();
        if (block.isVisible() && bottom >= area.top() && lineCount > 0) {
            // The layout's lines are stacked in order: find the first one in the area.
            int first = 0;
            for (int last = lineCount - 1; first < last;) {
                const int middle = (first + last) / 2;
                const QTextLine line = layout->lineAt(middle);
                if (top + line.y() + line.height() < area.top())
                    first = middle + 1;
                else
                    last = middle;
            }
            int shown = number + shownLineStarts(block, first);
            for (int i = first; i < lineCount; ++i) {
                const QTextLine line = layout->lineAt(i);
                const qreal y = top + line.y();
                if (y > area.bottom())
                    break;
                const bool starts = startsShownLine(block, line);
                if (i > first && starts)
                    ++shown;
                if (!starts)
                    continue;
                const QString digits = QString::number(shown);
                painter.drawText(QRectF(0, y, right, line.height()),
                                 Qt::AlignRight | Qt::AlignVCenter, digits);
                m_gutterDigits = std::max(m_gutterDigits, int(digits.size()));
            }
        }
        number += 1 + shownLineStarts(block, lineCount - 1);
        block = block.next();
        top = bottom;
    }
    // A page of few long lines numbers more lines than it has blocks.
    if (gutterWidth() != m_appliedGutterWidth)
        QMetaObject::invokeMethod(this, &EditingSurface::updateGutterWidth, Qt::QueuedConnection);
}

void EditingSurface::setLineNumbersShown(bool shown)
{
    m_lineNumbersShown = shown;
    updateGutterWidth();
}

void EditingSurface::setCurrentLineHighlighted(bool highlighted)
{
    m_currentLineHighlighted = highlighted;
    viewport()->update();
}

void EditingSurface::caretMoved()
{
    if (!m_currentLineHighlighted)
        return;
    // Moving along a line changes nothing painted; moving to another repaints the screen once.
    // A line holding lone LFs shows several lines, any of which the caret may move to.
    const QTextBlock block = textCursor().block();
    if (block.blockNumber() != m_caretBlock || block.layout()->lineCount() > 1) {
        m_caretBlock = block.blockNumber();
        viewport()->update();
    }
}

QRectF EditingSurface::caretLineRect() const
{
    const QTextCursor caret = textCursor();
    const QTextBlock block = caret.block();
    const QRectF bounds = blockBoundingGeometry(block).translated(contentOffset());
    const QTextLayout *layout = block.layout();
    if (layout->lineCount() <= 1)
        return bounds;
    // Only the stretch between the lone LFs around the caret.
    int first = layout->lineForTextPosition(caret.positionInBlock()).lineNumber();
    if (first < 0)
        return bounds;
    int last = first;
    while (first > 0 && !startsShownLine(block, layout->lineAt(first)))
        --first;
    while (last + 1 < layout->lineCount() && !startsShownLine(block, layout->lineAt(last + 1)))
        ++last;
    const qreal top = layout->lineAt(first).y();
    const qreal bottom = layout->lineAt(last).y() + layout->lineAt(last).height();
    return QRectF(bounds.left(), bounds.top() + top, bounds.width(), bottom - top);
}

void EditingSurface::paintEvent(QPaintEvent *event)
{
    if (m_currentLineHighlighted) {
        QRectF line = caretLineRect();
        line.setLeft(0);
        line.setRight(viewport()->width());
        if (line.intersects(event->rect())) {
            // Painted under the text, so that the selection and the caret stay on top.
            QPainter painter(viewport());
            painter.fillRect(line, currentLineColour());
        }
    }
    QPlainTextEdit::paintEvent(event);
}

void EditingSurface::resizeEvent(QResizeEvent *event)
{
    QPlainTextEdit::resizeEvent(event);
    if (!m_gutter)
        return;
    const QRect contents = contentsRect();
    m_gutter->setGeometry(contents.left(), contents.top(), m_appliedGutterWidth, contents.height());
}

void EditingSurface::changeEvent(QEvent *event)
{
    QPlainTextEdit::changeEvent(event);
    // A zoom changes the width of the digits.
    if (event->type() == QEvent::FontChange && m_gutter)
        updateGutterWidth();
}

} // namespace zendral
