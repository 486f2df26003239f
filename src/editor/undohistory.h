#pragma once

#include "textcmd.h"

#include <memory>
#include <vector>

namespace zendral {

// The history of typed characters on the page on screen: commands 1 to ComandoActual are
// applied, the ones after it can be redone. A new command drops the redo tail.
//
// Every edit of the text is noted, the history's own included. A command follows the edits
// made since it last ran only when undo or redo reaches it, so that a keystroke costs the same
// however long the history is. A command whose characters (or the text it would put back)
// were changed by an edit it did not make is dropped, and undo or redo moves on to the next.
class UndoHistory
{
public:
    // Drops the redo tail, applies the command and makes it the current one.
    TextCmd &AgregarComando(std::unique_ptr<TextCmd> command);
    void DeshacerComando();
    void RehacerComando();
    // Forgets every command: the page they belong to is gone.
    void clear();
    // An edit of the text: from start, removed characters were replaced by added ones.
    void noteEdit(qint64 start, qint64 removed, qint64 added);

    qsizetype count() const { return qsizetype(m_comandos.size()); }
    qsizetype ComandoActual() const { return m_comandoActual; }

private:
    struct Edit
    {
        qint64 start;
        qint64 removed;
        qint64 added;
        // The command that made it, 0 for an edit the history did not make.
        quint64 serial;
    };
    struct Recorded
    {
        std::unique_ptr<TextCmd> command;
        quint64 serial;
        // The edits before this index were followed when the command last ran.
        std::size_t followed;
        std::size_t foreignAtFollowed;
    };

    // Runs the command (undo or redo), its own edit noted under its serial.
    void run(Recorded &recorded, bool undo);
    // Moves the command's place through the edits made since it last ran; false when one of
    // them changed what it would take away or put back.
    bool follow(Recorded &recorded, bool applied);

    std::vector<Recorded> m_comandos;
    qsizetype m_comandoActual = 0;
    std::vector<Edit> m_edits;
    // How many edits the history did not make.
    std::size_t m_foreignEdits = 0;
    quint64 m_running = 0;
    quint64 m_lastSerial = 0;
};

} // namespace zendral
