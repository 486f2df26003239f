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

namespace zendral {

namespace {

// The files a drag carries from the desktop; web addresses are not files.
QList<QUrl> localFiles(const QMimeData *source)
{
    QList<QUrl> files = source->urls();
    files.removeIf([](const QUrl &url) { return !url.isLocalFile(); });
    return files;
}

} // namespace

EditingSurface::EditingSurface(QWidget *parent) : QPlainTextEdit(parent), m_page(new PageText(this))
{
    setDocument(m_page->document());
    m_page->setCaret(this);
    setObjectName(QStringLiteral("text1"));
    setUndoRedoEnabled(false);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    // A change of the view's width lays every line of the page out again, which for a long
    // page costs more time and memory than showing it: the scroll bar appearing must not
    // narrow it, nor the line numbers widening after the lines are in (see setUpGutter).
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(false);
    QFont font(QStringLiteral("Monospace"));
    font.setStyleHint(QFont::TypeWriter);
    setFont(font);
    connect(m_page, &PageText::recoloured, this, [this] { viewport()->update(); });
    setUpGutter();
}

EditingSurface::~EditingSurface()
{
    m_page->setCaret(nullptr);
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

qint64 EditingSurface::positionAt(const QPoint &point) const
{
    return m_page->positionOf(cursorForPosition(point));
}

std::pair<qint64, qint64> EditingSurface::shownLines() const
{
    // The layout knows which lines the corners of the view show; nothing else is read.
    const QRect shown = viewport()->rect();
    const QTextBlock first = cursorForPosition(shown.topLeft()).block();
    const QTextBlock last = cursorForPosition(shown.bottomRight()).block();
    return {m_page->fromWidgetPosition(WidgetPosition(first.position())),
            m_page->fromWidgetPosition(WidgetPosition(last.position() + last.length() - 1))};
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
        m_page->insertPlain(character);
    }
}

EditingSurface::OwnEdit::OwnEdit(EditingSurface &surface, qint64 from, qint64 length)
    : m_handler(surface.m_handler)
{
    if (m_handler)
        m_handler->editStarting(from, length);
}

EditingSurface::OwnEdit::~OwnEdit()
{
    if (m_handler)
        m_handler->editEnded();
}

std::pair<qint64, qint64> EditingSurface::keyReach() const
{
    const QTextCursor cursor = textCursor();
    const QTextBlock first = document()->findBlock(cursor.selectionStart());
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    const QTextBlock before = first.previous().isValid() ? first.previous() : first;
    const QTextBlock after = last.next().isValid() ? last.next() : last;
    const qint64 from = m_page->fromWidgetPosition(WidgetPosition(before.position()));
    const qint64 to = after.next().isValid()
                          ? m_page->fromWidgetPosition(WidgetPosition(after.next().position()))
                          : m_page->textLength();
    return {from, to - from};
}

void EditingSurface::leaveJoin(bool forward)
{
    QTextCursor cursor = textCursor();
    if (cursor.hasSelection())
        return;
    const WidgetPosition place = m_page->pastJoins(WidgetPosition(cursor.position()), forward);
    if (place.value() != cursor.position()) {
        cursor.setPosition(place.value());
        setTextCursor(cursor);
    }
}

void EditingSurface::keyPressEvent(QKeyEvent *event)
{
    PageText::Operation operation(*m_page);
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
            OwnEdit edit(*this, m_page->selectionStart(), m_page->selectionLength());
            m_page->insertPlain(controlCode == u"\r" ? QStringLiteral("\r\n") : controlCode);
            ensureCursorVisible();
            event->accept();
            return;
        }
        // Backspace at the start of a held line's block takes the character before the join.
        if (key == Qt::Key_Backspace)
            leaveJoin(false);
        const auto [from, length] = keyReach();
        OwnEdit edit(*this, from, length);
        QPlainTextEdit::keyPressEvent(event);
        return;
    }

    const QString text = event->text();
    const bool printable =
        !text.isEmpty() && !control && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F;
    // Alt and a letter are for menus: when no menu takes them, they type nothing.
    if (printable && altOrMeta) {
        event->ignore();
        return;
    }
    if (printable && key != Qt::Key_Escape && key != Qt::Key_Delete) {
        typeCharacters(text);
        ensureCursorVisible();
        event->accept();
        return;
    }
    if (event->matches(QKeySequence::Delete) || event->matches(QKeySequence::DeleteEndOfWord))
        leaveJoin(true);
    const WidgetPosition before(textCursor().position());
    // The widget's own keys that change the text; the keys that only move are left alone.
    const bool edits = key == Qt::Key_Delete || key == Qt::Key_Insert ||
                       event->matches(QKeySequence::Cut) || event->matches(QKeySequence::Paste) ||
                       event->matches(QKeySequence::DeleteEndOfLine) ||
                       event->matches(QKeySequence::DeleteCompleteLine);
    if (edits) {
        const auto [from, length] = keyReach();
        OwnEdit edit(*this, from, length);
        QPlainTextEdit::keyPressEvent(event);
    } else {
        QPlainTextEdit::keyPressEvent(event);
    }
    passJoin(event, before);
}

void EditingSurface::passJoin(QKeyEvent *event, WidgetPosition before)
{
    // Both sides of a held line's join are one place of the text: a key that moves by a
    // character goes on past it, and one that moves by words does not stop inside a word.
    if (m_page->linesAlike())
        return;
    const bool byCharacter = event->matches(QKeySequence::MoveToNextChar) ||
                             event->matches(QKeySequence::MoveToPreviousChar) ||
                             event->matches(QKeySequence::SelectNextChar) ||
                             event->matches(QKeySequence::SelectPreviousChar);
    const bool byWord = event->matches(QKeySequence::MoveToNextWord) ||
                        event->matches(QKeySequence::MoveToPreviousWord) ||
                        event->matches(QKeySequence::SelectNextWord) ||
                        event->matches(QKeySequence::SelectPreviousWord);
    if (!byCharacter && !byWord)
        return;
    const auto inWord = [](QChar c) { return c.isLetterOrNumber() || c == u'_'; };
    const qint64 pageBefore = m_page->fromWidgetPosition(before);
    for (;;) {
        const WidgetPosition at(textCursor().position());
        if (!m_page->isJoin(at))
            return;
        const qint64 now = m_page->fromWidgetPosition(at);
        // A key that only let a selection go leaves the caret where it was.
        const bool again =
            (now == pageBefore && at != before) ||
            (byWord && inWord(m_page->characterAt(now - 1)) && inWord(m_page->characterAt(now)));
        if (!again)
            return;
        QPlainTextEdit::keyPressEvent(event);
        if (textCursor().position() == at.value())
            return;
    }
}

void EditingSurface::inputMethodEvent(QInputMethodEvent *event)
{
    PageText::Operation operation(*m_page);
    const QString shown = textCursor().block().layout()->preeditAreaText();
    // Only the text being composed is the widget's to show: with none before or after the
    // event there is nothing to lay out.
    if (!event->preeditString().isEmpty() || !shown.isEmpty()) {
        // Composing starts in the selection's place, taken away as an edit of the text.
        if (event->preeditString() != shown && textCursor().hasSelection()) {
            OwnEdit edit(*this, m_page->selectionStart(), m_page->selectionLength());
            m_page->insertPlain(QString());
        }
        QTextCursor outer(document());
        outer.beginEditBlock();
        QInputMethodEvent preeditOnly(event->preeditString(), event->attributes());
        QPlainTextEdit::inputMethodEvent(&preeditOnly);
        // The text being composed is laid out into the caret's line, which the document would
        // report as the whole line's text, line end included, replaced: the page would take
        // it for an edit and give the line the page's kind of line end. Reported to the layout
        // alone, it stays what it is.
        const QTextBlock block = textCursor().block();
        document()->markContentsDirty(block.position(), block.length());
        outer.endEditBlock();
    }
    // Characters committed by an input method (dead keys, compose) are typed characters.
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
    PageText::Operation operation(*m_page);
    // A move takes the dragged selection away and the text lands elsewhere, told as one edit
    // from the one to the other.
    const qint64 at = positionAt(event->position().toPoint());
    const qint64 from = std::min(at, m_page->selectionStart());
    const qint64 to = std::max(at, m_page->selectionStart() + m_page->selectionLength());
    OwnEdit edit(*this, from, to - from);
    QPlainTextEdit::dropEvent(event);
}

void EditingSurface::mouseReleaseEvent(QMouseEvent *event)
{
    PageText::Operation operation(*m_page);
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
    PageText::Operation operation(*m_page);
    OwnEdit edit(*this, m_page->selectionStart(), m_page->selectionLength());
    m_page->insertPlain(source->text());
    ensureCursorVisible();
}

QMimeData *EditingSurface::createMimeDataFromSelection() const
{
    // The widget's own would break the line at every block, the joins of held lines included,
    // in what is dragged or middle-click pasted.
    auto *data = new QMimeData;
    data->setText(m_page->selectedText());
    return data;
}

} // namespace zendral
