#pragma once

#include <QString>

namespace zendral {

class DesktopOpener;
class DocumentController;
class PreviewPane;
class Prompts;

// The two ways of seeing the page rendered: the preview tab of `SSTab1` and the desktop's
// browser (`btnver` / `mn_visualizar`). Both show the file on disk, never unsaved text.
class PreviewController
{
public:
    PreviewController(DocumentController &document, Prompts &prompts, DesktopOpener &opener,
                      PreviewPane &pane);

    // The message shown when there is no file on disk that matches the screen.
    static QString saveFirstToPreview();

    // After the current tab of `SSTab1` changed to current.
    void tabClicked(int current);
    // Writes the text to the document's file and opens that file on the desktop.
    void viewInBrowser();

private:
    DocumentController &m_document;
    Prompts &m_prompts;
    DesktopOpener &m_opener;
    PreviewPane &m_pane;
};

} // namespace zendral
