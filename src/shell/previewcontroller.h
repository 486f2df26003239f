#pragma once

#include <QString>
#include <QTimer>

namespace zendral {

class DesktopOpener;
class DocumentController;
class PageText;
class PreviewPane;
class Prompts;

// The two ways of seeing the page rendered: the preview tab of `SSTab1` and the desktop's
// browser (`btnver` / `mn_visualizar`). The desktop is handed the file on disk; the tab shows
// the saved file, or with "Previsualizar al escribir" on, the text as it stands.
class PreviewController
{
public:
    PreviewController(DocumentController &document, PageText &text, Prompts &prompts,
                      DesktopOpener &opener, PreviewPane &pane);

    // The message shown when there is no file on disk that matches the screen.
    static QString saveFirstToPreview();

    // After the current tab of `SSTab1` changed to current.
    void tabClicked(int current);
    // Writes the text to the document's file and opens that file on the desktop.
    void viewInBrowser();
    // Ver › Previsualizar al escribir turned on or off.
    void setFollowsText(bool on);
    // After every change of the text.
    void textChanged();

private:
    bool previewInFront() const;
    void showText();

    DocumentController &m_document;
    PageText &m_text;
    Prompts &m_prompts;
    DesktopOpener &m_opener;
    PreviewPane &m_pane;
    bool m_followsText = false;
    // The text or the page's name changed since the preview last showed them.
    bool m_stale = true;
    QString m_shownPath;
    QTimer m_pause;
};

} // namespace zendral
