#include "textcontextmenu.h"

#include "commandactions.h"
#include "editingsurface.h"
#include "livespelling.h"
#include "undohistory.h"

#include <QAction>

namespace zendral {

// Ctrl+Z and Ctrl+Y reach the history as typed keys: the menu only shows them.
void giveContextMenu(EditingSurface &view, UndoHistory &history, LiveSpelling &spelling,
                     const CommandActions &commands, QObject *owner)
{
    // Spelt as the menus spell the shortcuts of the commands beside them (Qt's translation).
    const auto shown = [](QKeyCombination key) {
        return QKeySequence(key).toString(QKeySequence::NativeText);
    };
    auto *undo = new QAction(QStringLiteral("&Deshacer\t") + shown(Qt::CTRL | Qt::Key_Z), owner);
    undo->setObjectName(QStringLiteral("menuDeshacer"));
    QObject::connect(undo, &QAction::triggered, owner, [&history] { history.DeshacerComando(); });
    auto *redo = new QAction(QStringLiteral("&Rehacer\t") + shown(Qt::CTRL | Qt::Key_Y), owner);
    redo->setObjectName(QStringLiteral("menuRehacer"));
    QObject::connect(redo, &QAction::triggered, owner, [&history] { history.RehacerComando(); });
    const QList<QAction *> editing = {undo,
                                      redo,
                                      nullptr,
                                      commands.action(Command::Cut),
                                      commands.action(Command::Copy),
                                      commands.action(Command::Paste)};
    QObject::connect(&view, &EditingSurface::contextMenuOpening, owner,
                     [&view, &history, &spelling, undo, redo, editing] {
                         undo->setEnabled(history.ComandoActual() > 0);
                         redo->setEnabled(history.ComandoActual() < history.count());
                         QList<QAction *> corrections = spelling.contextActions();
                         if (!corrections.isEmpty())
                             corrections.append(nullptr);
                         view.setContextActions(corrections + editing);
                     });
    view.setContextActions(editing);
}

} // namespace zendral
