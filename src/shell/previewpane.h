#pragma once

#include <QByteArray>
#include <QPointF>
#include <QString>
#include <QUrl>
#include <QWidget>

class QLabel;
class QToolButton;
class QWebEngineProfile;
class QWebEngineView;

namespace zendral {

class FolderRequestInterceptor;
class PreviewPage;

// The preview tab's page. It holds the embedded browser `browser`, built the first time it
// has something to show so that Chromium only starts for a user who previews; above it "Atrás"
// and "Adelante" with the name of the page shown, and a one-line note that tells what the page
// is not allowed (its scripts, a window, a box) where the user can see it.
class PreviewPane : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewPane(QWidget *parent = nullptr);
    ~PreviewPane() override;

    // The note shown above a page whose scripts do not run because its folder is folder.
    static QString withoutScriptsNote(const QString &folder);
    // The note shown above a page that browsers read as Windows-1252 once it is served, for want
    // of a declaration (from the disk, they guess its encoding, and so does this preview).
    static QString undeclaredEncodingNote();
    // The note shown above a page shown from the editor that has never been saved.
    static QString noFolderNote();
    // The note for an address the page asked to show and was refused.
    static QString refusedNote(const QUrl &address);
    // The note for the page's alert(message).
    static QString alertNote(const QString &message);
    // The note for a page too big to be handed over from memory; savedShown: its saved file,
    // the same text, is shown instead.
    static QString tooLargeNote(bool savedShown);
    // Whether a page in folder is previewed without scripts: a page may read its folder's
    // whole tree, and from the root, the temporary folder, the home folder or a folder that
    // holds it, that is everything the user has or others left there.
    static bool folderTooWide(const QString &folder);

    // Shows the file at path; an empty path shows a blank page.
    void navigate(const QString &path);
    // Shows text as the page at path would show it, with path's folder as its own; an empty
    // path is a page that has no folder, which may load nothing but what it holds itself. The
    // place the reader scrolled to is kept. False, with nothing changed, when the text is too
    // big to be handed over without a file.
    bool showText(const QString &text, const QString &path);
    // Shows message in the note line.
    void tell(const QString &message);
    // The browser, or null while nothing has been shown.
    QWebEngineView *browser() const { return m_browser; }
    // The text selected in the page shown.
    QString selectedText() const;

signals:
    // The selection in the page shown changed.
    void selectionChanged();

private:
    void createBrowser();
    // Hands the text waiting to be shown to the browser.
    void handText();
    // Readies the browser for a page whose folder is folder (none: empty), and forgets the
    // history of pages the last one led to.
    void prepareFor(const QString &folder, bool hasFolder);
    void showShown(const QUrl &address);
    void loadFinished(bool ok);

    QToolButton *m_back = nullptr;
    QToolButton *m_forward = nullptr;
    QLabel *m_shown = nullptr;
    QLabel *m_note = nullptr;
    QString m_folderNote;
    QWebEngineProfile *m_profile = nullptr;
    FolderRequestInterceptor *m_interceptor = nullptr;
    PreviewPage *m_page = nullptr;
    QWebEngineView *m_browser = nullptr;
    // The address of the text shown from the editor.
    QUrl m_textAddress;
    bool m_textShown = false;
    // The text to show next and its page's path, while the page shown says where it is
    // scrolled to.
    QByteArray m_waitingText;
    QString m_waitingPath;
    bool m_asking = false;
    int m_question = 0;
    QPointF m_scroll;
    bool m_restoreScroll = false;
    bool m_forgetHistory = false;
    bool m_closing = false;
};

} // namespace zendral
