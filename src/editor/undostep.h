#pragma once

#include <QtGlobal>

namespace zendral {

class PageText;
class UndoHistory;

// UndoStep: every change of the page's text while one lives is one step of the page's undo
// history, undone and redone whole, with the caret and selection put back as they were before
// and after it. Use: `{ UndoStep step(page); ...change the page... }`; name the stretch the
// changes may take away when it is not the selection (UndoStep::WholeText for a new whole
// text). Steps opened inside one join it. A page with no history attached records nothing.
class UndoStep
{
public:
    enum Reach { Selection, WholeText };

    explicit UndoStep(PageText &page, Reach reach = Selection);
    // The changes may take away characters from..from + length, or beside what they insert.
    UndoStep(PageText &page, qint64 from, qint64 length);
    ~UndoStep();
    UndoStep(const UndoStep &) = delete;
    UndoStep &operator=(const UndoStep &) = delete;

private:
    UndoHistory *m_history;
};

} // namespace zendral
