#include "undostep.h"

#include "pagetext.h"
#include "undohistory.h"

namespace zendral {

UndoStep::UndoStep(PageText &page, Reach reach)
    : UndoStep(page, reach == WholeText ? 0 : page.selectionStart(),
               reach == WholeText ? page.textLength() : page.selectionLength())
{}

UndoStep::UndoStep(PageText &page, qint64 from, qint64 length) : m_history(UndoHistory::of(page))
{
    if (m_history)
        m_history->openStep(from, length);
}

UndoStep::~UndoStep()
{
    if (m_history)
        m_history->closeStep();
}

} // namespace zendral
