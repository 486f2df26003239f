#pragma once

#include "commandtable.h"

#include <QHash>

#include <array>

class QAction;
class QMainWindow;
class QMenu;
class QWidget;

namespace zendral {

// The window's commands as actions, one per row of the command table and found by its
// command, with the menus and toolbars that show them.
class CommandActions
{
public:
    // Makes the actions, owned by window, and fills its menu bar.
    explicit CommandActions(QMainWindow &window);

    QAction *action(Command command) const { return m_actions[std::size_t(command)]; }
    // The menu of the menu table that has name.
    QMenu *menu(const QString &name) const { return m_menus.value(name); }
    // Puts the main toolbar at the window's top and gives the tag toolbars, a tab each, for
    // the window to place.
    QWidget *buildToolbars();

private:
    void buildMenus();

    QMainWindow &m_window;
    std::array<QAction *, CommandCount> m_actions = {};
    QHash<QString, QMenu *> m_menus;
};

} // namespace zendral
