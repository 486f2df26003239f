#pragma once

#include <QString>

namespace zendral {

class PageText;

// TextCmd: one undoable replacement of the selection by a typed character. Its start is a
// document position that the history keeps current as other edits move the text.
class TextCmd
{
public:
    // Records the page's selection and selected text, and the text that will replace them.
    void Initialize(PageText &page, const QString &newText);
    // Puts back the text it replaced where its character stands.
    void Undo();
    // Writes its character again over the text it once replaced.
    void Apply();

    // Whether the characters at its place are the ones it would take away: its own character
    // while applied, the text it replaced while undone.
    bool isInPlace(bool applied) const;
    qint64 start() const { return m_start; }
    void setStart(qint64 start) { m_start = start; }
    // How long its place is: its character while applied, the replaced text while undone.
    qint64 length(bool applied) const { return applied ? m_newText.size() : m_oldText.size(); }

private:
    PageText *m_page = nullptr;
    qint64 m_start = 0;
    QString m_newText;
    QString m_oldText;
};

} // namespace zendral
