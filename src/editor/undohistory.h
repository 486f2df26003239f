#pragma once

#include "textcmd.h"

#include <QString>

#include <memory>
#include <vector>

namespace zendral {

class PageText;

// The history of the page on screen: typed characters one command each, every other change a
// step of its own (UndoStep). Commands 1 to ComandoActual are applied, the ones after it can
// be redone. A new command drops the redo tail.
//
// Every edit of the text is noted, the history's own included. A command follows the edits
// made since it last ran only when undo or redo reaches it, so that a keystroke costs the same
// however long the history is. A command whose characters (or the text it would put back)
// were changed by an edit it did not make is dropped, and undo or redo moves on to the next.
class UndoHistory
{
public:
    UndoHistory() = default;
    ~UndoHistory();
    UndoHistory(const UndoHistory &) = delete;
    UndoHistory &operator=(const UndoHistory &) = delete;

    // Makes this the history that the steps on page are recorded in.
    void attach(PageText &page);
    // The history attached to page, or none.
    static UndoHistory *of(const PageText &page);

    // Drops the redo tail, applies the command and makes it the current one.
    TextCmd &AgregarComando(std::unique_ptr<TextCmd> command); // fixed name
    void DeshacerComando();                                    // fixed name
    void RehacerComando();                                     // fixed name
    // Forgets every command: the page they belong to is gone.
    void clear();
    // An edit of the text: from start, removed characters were replaced by added ones.
    void noteEdit(qint64 start, qint64 removed, qint64 added);

    qsizetype count() const { return qsizetype(m_comandos.size()); }
    qsizetype ComandoActual() const { return m_comandoActual; } // fixed name

private:
    friend class UndoStep;
    // The step being made: edits of the text until closeStep are one command. The edits may
    // only take away characters of the stretch from..from + length (or of a stretch a nested
    // step names); characters inserted beside it are taken in.
    void openStep(qint64 from, qint64 length);
    void closeStep();
    // Takes the text between the stretch and from..to into it, as it stands before any edit.
    void reachStep(qint64 from, qint64 to);
    // Notes an edit made within the step; false when it took away what the step does not hold.
    bool stepEdit(qint64 start, qint64 removed, qint64 added);
    void noteForeign(qint64 start, qint64 removed, qint64 added);

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

    struct Step
    {
        int depth = 0;
        // The stretch the step may change: it starts at from, where it started before the
        // step, and held original then; it now ends at end.
        qint64 from = 0;
        qint64 end = 0;
        QString original;
        // The step took away what it does not hold: its edits are anyone's.
        bool lost = false;
        // The selection when the step opened.
        qint64 selectionStart = 0;
        qint64 selectionLength = 0;
        std::vector<Edit> edits;
    };

    PageText *m_page = nullptr;
    Step m_step;
    std::vector<Recorded> m_comandos; // fixed name
    qsizetype m_comandoActual = 0; // fixed name
    std::vector<Edit> m_edits;
    // How many edits the history did not make.
    std::size_t m_foreignEdits = 0;
    quint64 m_running = 0;
    quint64 m_lastSerial = 0;
};

} // namespace zendral
