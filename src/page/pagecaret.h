#pragma once

#include <QTextCursor>

namespace zendral {

// Where a page's caret and selection live while a view shows the page: the view's own cursor,
// which the user moves. A page no view shows keeps its caret itself.
class PageCaret
{
public:
    virtual ~PageCaret() = default;
    virtual QTextCursor caretCursor() const = 0;
    virtual void setCaretCursor(const QTextCursor &cursor) = 0;
    // Gives the place of the caret the keyboard focus.
    virtual void focusCaret() = 0;
};

} // namespace zendral
