#include "undohistory.h"

#include <algorithm>

namespace zendral {

namespace {

// Where an older command's edit lay against an undone command's place when it was undone.
// Its redo lies the same way, so that the pair cancels out even where positions alone could
// not tell the sides apart (an edit that left nothing behind, at the very edge of the place).
enum class Side {
    Before,
    Inside,
    After,
    // Its characters followed the undone command's empty place at once: that place stands
    // just before them and is lost if they never come back.
    Anchor,
};

struct Pending
{
    quint64 serial;
    Side side;
};

} // namespace

TextCmd &UndoHistory::AgregarComando(std::unique_ptr<TextCmd> command)
{
    m_comandos.resize(std::size_t(m_comandoActual));
    m_comandos.push_back({std::move(command), ++m_lastSerial, 0, 0});
    m_comandoActual = count();
    run(m_comandos.back(), false);
    return *m_comandos.back().command;
}

void UndoHistory::DeshacerComando()
{
    while (m_comandoActual > 0) {
        const auto index = std::size_t(--m_comandoActual);
        if (follow(m_comandos[index], true)) {
            run(m_comandos[index], true);
            return;
        }
        m_comandos.erase(m_comandos.begin() + qsizetype(index));
    }
}

void UndoHistory::RehacerComando()
{
    while (m_comandoActual < count()) {
        const auto index = std::size_t(m_comandoActual);
        if (follow(m_comandos[index], false)) {
            ++m_comandoActual;
            run(m_comandos[index], false);
            return;
        }
        m_comandos.erase(m_comandos.begin() + qsizetype(index));
    }
}

void UndoHistory::clear()
{
    m_comandos.clear();
    m_comandoActual = 0;
    m_edits.clear();
    m_foreignEdits = 0;
}

void UndoHistory::noteEdit(qint64 start, qint64 removed, qint64 added)
{
    if (m_comandos.empty()) {
        m_edits.clear();
        return;
    }
    m_edits.push_back({start, removed, added, m_running});
    if (m_running == 0)
        ++m_foreignEdits;
}

void UndoHistory::run(Recorded &recorded, bool undo)
{
    m_running = recorded.serial;
    if (undo)
        recorded.command->Undo();
    else
        recorded.command->Apply();
    m_running = 0;
    recorded.followed = m_edits.size();
    recorded.foreignAtFollowed = m_foreignEdits;
}

bool UndoHistory::follow(Recorded &recorded, bool applied)
{
    TextCmd &command = *recorded.command;
    // Only commands ran since: each has been undone or redone back to where it was.
    if (recorded.foreignAtFollowed == m_foreignEdits)
        return command.isInPlace(applied);

    qint64 at = command.start();
    qint64 length = command.length(applied);
    // A later command typed over this one's character: it is kept with the text that command
    // replaced and comes back, at the same offset, when that command is undone.
    quint64 heldBy = 0;
    qint64 heldAt = 0;
    std::vector<Pending> pending;
    for (std::size_t i = recorded.followed; i < m_edits.size(); ++i) {
        const Edit &edit = m_edits[i];
        const qint64 end = edit.start + edit.removed;
        const qint64 shift = edit.added - edit.removed;
        if (heldBy != 0) {
            if (edit.serial == heldBy) {
                at = edit.start + heldAt;
                heldBy = 0;
            }
            continue;
        }
        // While this command is applied only later ones run; while it is undone, only older
        // ones, each undone and then redone.
        if (applied && edit.serial > recorded.serial && edit.removed > 0 && edit.start <= at &&
            at + length <= end) {
            heldBy = edit.serial;
            heldAt = at - edit.start;
            continue;
        }
        if (!applied && edit.serial != 0 && edit.serial < recorded.serial) {
            const auto undone =
                std::find_if(pending.rbegin(), pending.rend(),
                             [&](const Pending &p) { return p.serial == edit.serial; });
            Side side;
            if (undone != pending.rend()) {
                side = undone->side;
                // Anything undone after it and still pending was dropped on its way back.
                pending.erase(std::prev(undone.base()), pending.end());
            } else {
                if (length == 0 && at == edit.start)
                    side = Side::Anchor;
                else if (end <= at)
                    side = Side::Before;
                else if (edit.start >= at + length)
                    side = Side::After;
                else if (edit.start >= at && end <= at + length)
                    side = Side::Inside;
                else
                    return false;
                pending.push_back({edit.serial, side});
            }
            if (side == Side::Before)
                at += shift;
            else if (side == Side::Inside)
                length += shift;
            continue;
        }
        // An edit the history did not make: it must leave this command's characters alone
        // (an empty place, the character just after it).
        if (length == 0 ? (edit.start <= at && at < end) : (end > at && edit.start < at + length))
            return false;
        if (at >= end)
            at += shift;
    }
    if (heldBy != 0)
        return false;
    for (const Pending &p : pending) {
        // A command that changed part of this one's text, or the character its empty place
        // stood before, never came back.
        if (p.side == Side::Inside || p.side == Side::Anchor)
            return false;
    }
    command.setStart(at);
    return command.isInPlace(applied);
}

} // namespace zendral
