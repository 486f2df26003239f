#pragma once

#include <QKeySequence>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace zendral {

struct CommandContext;

// The commands of the editor, each the index of its row and of its action.
enum class Command {
    New,
    Open,
    Save,
    SaveAs,
    Print,
    PrintPreview,
    NewWindow,
    Quit,
    Copy,
    Cut,
    Paste,
    ReplaceWords,
    SelectAll,
    ViewInBrowser,
    Body,
    Cell,
    Italic,
    Div,
    Link,
    Space,
    Font,
    Iframe,
    Bold,
    Paragraph,
    LineBreak,
    Underline,
    Table,
    AspOpening,
    DatabaseConnection,
    JavaScriptOpening,
    PopUp,
    CurrentTime,
    LineNumbers,
    HighlightLine,
    WrapLines,
    ZoomIn,
    ZoomOut,
    NormalSize,
    SpellAsYouType,
    MatchingTag,
    Help,
    ProgramPage,
    AuthorPage,
    About,
    Spelling,
    Undo,
    Redo,
    MetaTags,
    FindReplace,
    FindInFiles,
    Suggestions,
    CloseTags,
    ReviewPage,
    ReopenUtf8,
    ReopenWindows1252,
    ReopenIso885915,
    ReopenUtf16,
    SaveInUtf8,
    SaveInWindows1252,
    SaveInIso885915,
    SaveInUtf16,
    LineEndsCrLf,
    LineEndsLf,
    NextWindow,
    PreviousWindow,
    RememberSession,
    LivePreview,
};
// One more than the last command: every command before it has its row.
inline constexpr int CommandCount = int(Command::LivePreview) + 1;

// What a command does as its action triggers; on: whether a switch of Ver is now on.
using CommandHandler = std::function<void(CommandContext &context, bool on)>;

// One command of the editor: its menu entry and its toolbar button are two faces of it.
struct CommandSpec
{
    Command command;
    QString name;    // the menu entry's name, or the button's when it has no menu entry
    QString menu;    // name of the menu holding the entry; empty without a menu entry
    QString caption; // the menu entry's caption
    QKeySequence shortcut = {};
    QString button = {}; // the toolbar button's name; empty without a button
    QString toolTip = {};
    QString icon = {}; // resource name of the button's picture
    // An entry that is on or off, kept in the user's settings under this key; empty: a plain
    // command.
    QString setting = {};
    bool onByDefault = false;
    CommandHandler run = {};
};

// A menu of the menu bar, or a sub-menu of another.
struct MenuSpec
{
    QString name;
    QString parent = {}; // empty for the menu bar
    QString caption;
    // The entry of the parent menu this sub-menu stands before; empty: after the entries.
    QString before = {};
};

// The toolbars, in the order the window shows them.
enum class Bar { Main, Html, Asp, JavaScript };

// One place on a toolbar: a command's button, or a separator (no command) between groups.
using ToolbarItem = std::optional<Command>;
inline constexpr std::nullopt_t Separator = std::nullopt;

// Menus in the order the menu bar shows them.
const std::vector<MenuSpec> &menuTable();
// Every command, menu entries in menu order, then the toolbar-only commands. A table that
// misses a command, holds one twice, leaves one without its handler or puts a command without
// a button on a toolbar stops the program the first time it is asked for.
const std::vector<CommandSpec> &commandTable();
// The row of command.
const CommandSpec &commandSpec(Command command);
// The buttons of each toolbar, in order.
const std::vector<ToolbarItem> &toolbarOrder(Bar bar);

} // namespace zendral
