#pragma once

namespace zendral {

class DesktopOpener;
class DocumentController;
class EditCommands;
class EditingSurface;
class FindInFiles;
class LiveSpelling;
class MainWindow;
class MatchingTagMarks;
class PageReviewDock;
class PreviewController;
class PrintCommands;
class Prompts;
class SpellingCheck;
class StatusArea;
class UndoHistory;
class WindowMenu;
class WritingAids;
class Zoom;

// What the commands act on: the parts of one window, lent to a command's handler as its
// action triggers.
struct CommandContext
{
    MainWindow &window;
    EditingSurface &view;
    DocumentController &document;
    PrintCommands &printing;
    Prompts &prompts;
    DesktopOpener &opener;
    SpellingCheck &spelling;
    UndoHistory &history;
    PreviewController &preview;
    EditCommands &editing;
    LiveSpelling &liveSpelling;
    MatchingTagMarks &tagPairs;
    WritingAids &writingAids;
    PageReviewDock &pageReview;
    StatusArea &status;
    Zoom &zoom;
    FindInFiles &findInFiles;
    WindowMenu &windows;
};

} // namespace zendral
