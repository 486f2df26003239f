#pragma once

#include <QString>

namespace zendral {

class PageText;

// A selection as the command keeps it: from the command's start, so that it moves with it.
struct StepSelection
{
    qint64 offset = 0;
    qint64 length = 0;
};

// TextCmd: one undoable replacement of a stretch of the text, a typed character over the
// selection or a whole step (see UndoStep). Its start is a document position that the history
// keeps current as other edits move the text.
class TextCmd // fixed name
{
public:
    // Records the page's selection and selected text, and the text that will replace them.
    void Initialize(PageText &page, const QString &newText); // fixed name
    // Records a step already made: from start, oldText became newText, with the selection
    // before and after it.
    void Initialize(PageText &page, qint64 start, QString oldText, QString newText,
                    StepSelection before, StepSelection after); // fixed name
    // Puts back the text it replaced, and the selection as it was before.
    void Undo(); // fixed name
    // Writes its text again over the text it once replaced, and the selection as it was after.
    void Apply(); // fixed name

    // Whether the characters at its place are the ones it would take away: its own text
    // while applied, the text it replaced while undone.
    bool isInPlace(bool applied) const;
    qint64 start() const { return m_start; }
    void setStart(qint64 start) { m_start = start; }
    // How long its place is: its text while applied, the replaced text while undone.
    qint64 length(bool applied) const { return applied ? m_newText.size() : m_oldText.size(); }

private:
    // Writes text over the place's characters, every line end of its own kind, and gives it
    // the colours opening the page would.
    void replacePlace(qint64 placeLength, const QString &text);
    void select(StepSelection selection);

    PageText *m_page = nullptr;
    qint64 m_start = 0;
    QString m_newText;
    QString m_oldText;
    StepSelection m_before;
    StepSelection m_after;
    // Typed once by the user, not yet written back by the history.
    bool m_fresh = false;
};

} // namespace zendral
