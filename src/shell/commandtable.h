#pragma once

#include <QKeySequence>
#include <QString>

#include <vector>

namespace zendral {

// Where a command's toolbar button sits.
enum class Bar { None, Main, Html, Asp, JavaScript };

// One command of the editor: its menu entry and its toolbar button are two faces of it.
struct CommandSpec
{
    QString name;    // the menu entry's name, or the button's when it has no menu entry
    QString menu;    // name of the menu holding the entry; empty without a menu entry
    QString caption; // the menu entry's caption
    QKeySequence shortcut;
    QString button; // the toolbar button's name; empty without a button
    QString toolTip;
    Bar bar = Bar::None;
    QString icon;           // resource name of the button's picture
    bool checkable = false; // an entry that is on or off
};

// A menu of the menu bar, or a sub-menu of another.
struct MenuSpec
{
    QString name;
    QString parent; // empty for the menu bar
    QString caption;
    // The entry of the parent menu this sub-menu stands before; empty: after the entries.
    QString before = {};
};

// Menus in the order the menu bar shows them.
const std::vector<MenuSpec> &menuTable();
// Every command, menu entries in menu order, then the toolbar-only commands.
const std::vector<CommandSpec> &commandTable();
// The order of the buttons on each toolbar.
std::vector<QString> toolbarOrder(Bar bar);

} // namespace zendral
