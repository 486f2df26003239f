#include "pagetext.h"

#include "widgettext.h"

#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>

namespace zendral {

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

QTextCursor PageText::cursorOver(qint64 from, qint64 to) const
{
    QTextCursor cursor(m_document);
    cursor.setPosition(toWidgetPosition(from).value());
    cursor.setPosition(toWidgetPosition(to).value(), QTextCursor::KeepAnchor);
    return cursor;
}

qint64 PageText::positionOf(const QTextCursor &cursor) const
{
    return fromWidgetPosition(WidgetPosition(cursor.selectionStart()));
}

qint64 PageText::selectionStart() const
{
    return positionOf(textCursor());
}

qint64 PageText::selectionLength() const
{
    const QTextCursor cursor = textCursor();
    return fromWidgetPosition(WidgetPosition(cursor.selectionEnd())) - positionOf(cursor);
}

WidgetPosition PageText::caretPlace(qint64 position) const
{
    const int widget = toWidgetPosition(std::clamp<qint64>(position, 0, textLength())).value();
    // Between the halves of a surrogate pair is no place: what was typed or pasted there would
    // leave two halves that are no character.
    const QTextDocument *doc = document();
    return WidgetPosition(widget > 0 && doc->characterAt(widget - 1).isHighSurrogate() &&
                                  doc->characterAt(widget).isLowSurrogate()
                              ? widget - 1
                              : widget);
}

void PageText::setSelectionStart(qint64 position)
{
    QTextCursor cursor = textCursor();
    cursor.setPosition(caretPlace(position).value());
    setTextCursor(cursor);
}

void PageText::setSelectionLength(qint64 length)
{
    const qint64 start = selectionStart();
    QTextCursor cursor = textCursor();
    cursor.setPosition(caretPlace(start).value());
    cursor.setPosition(caretPlace(start + std::max<qint64>(length, 0)).value(),
                       QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

QString PageText::selectedText() const
{
    const QTextCursor cursor = textCursor();
    return fromWidgetText(cursor.selectedText(),
                          document()->findBlock(cursor.selectionStart()).blockNumber(), nullptr,
                          unitBefore(WidgetPosition(cursor.selectionStart())));
}

void PageText::setSelectionColour(Colour colour)
{
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        m_insertionColour = colour;
        return;
    }
    m_colours.recolour(WidgetPosition(cursor.selectionStart()),
                       WidgetPosition(cursor.selectionEnd()), colour);
    emit recoloured();
}

WidgetPosition PageText::pastJoins(WidgetPosition position, bool forward) const
{
    return m_map.pastJoins(position, forward);
}

} // namespace zendral
