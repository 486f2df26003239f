#pragma once

class QObject;

namespace zendral {

class CommandActions;
class EditingSurface;
class LiveSpelling;
class UndoHistory;

// The editing surface's right-click menu: the corrections of a misspelt word, the editor's own
// history and the window's clipboard commands; its own entries are owned by owner.
void giveContextMenu(EditingSurface &view, UndoHistory &history, LiveSpelling &spelling,
                     const CommandActions &commands, QObject *owner);

} // namespace zendral
