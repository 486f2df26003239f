#pragma once

#include <QString>
#include <QWidget>

class QLabel;
class QWebEngineProfile;
class QWebEngineView;

namespace zendral {

class FolderRequestInterceptor;

// The preview tab's page. It holds the embedded browser `browser`, built the first time it
// has something to show so that Chromium only starts for a user who previews, and above it
// a one-line note shown when the page is previewed without its scripts.
class PreviewPane : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewPane(QWidget *parent = nullptr);
    ~PreviewPane() override;

    // The note shown above a page whose scripts do not run because its folder is folder.
    static QString SinScripts(const QString &folder);
    // The note shown above a page that browsers read as Windows-1252 once it is served, for want
    // of a declaration (from the disk, they guess its encoding, and so does this preview).
    static QString SinCodificacion();
    // Whether a page in folder is previewed without scripts: a page may read its folder's
    // whole tree, and from the root or the home folder that is everything the user has.
    static bool folderTooWide(const QString &folder);

    // Shows the file at path; an empty path shows a blank page.
    void navigate(const QString &path);
    // The browser, or null while nothing has been shown.
    QWebEngineView *browser() const { return m_browser; }

private:
    void createBrowser();

    QLabel *m_note = nullptr;
    QWebEngineProfile *m_profile = nullptr;
    FolderRequestInterceptor *m_interceptor = nullptr;
    QWebEngineView *m_browser = nullptr;
};

} // namespace zendral
