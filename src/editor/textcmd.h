#pragma once

#include <QString>

namespace zendral {

class EditingSurface;

// TextCmd: one undoable replacement of the selection by a typed character, remembered by its
// absolute position at the moment it was recorded.
class TextCmd
{
public:
    // Puts the selection back where it was recorded and writes back the text it replaced.
    void Undo();
    // Selects what was selected when recorded and writes the new text over it.
    void Apply();
    // Records the surface's selection and selected text, and the text that will replace them.
    void Initialize(EditingSurface &control, const QString &newText);

private:
    EditingSurface *m_control = nullptr;
    qint64 m_start = 0;
    qint64 m_length = 0;
    QString m_newText;
    QString m_oldText;
};

} // namespace zendral
