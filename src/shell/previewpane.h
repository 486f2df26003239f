#pragma once

#include <QWidget>

class QWebEngineProfile;
class QWebEngineView;

namespace zendral {

class FolderRequestInterceptor;

// The preview tab's page. It holds the embedded browser `browser`, built the first time it
// has something to show so that Chromium only starts for a user who previews.
class PreviewPane : public QWidget
{
    Q_OBJECT

public:
    explicit PreviewPane(QWidget *parent = nullptr);
    ~PreviewPane() override;

    // Shows the file at path; an empty path shows a blank page.
    void navigate(const QString &path);
    // The browser, or null while nothing has been shown.
    QWebEngineView *browser() const { return m_browser; }

private:
    void createBrowser();

    QWebEngineProfile *m_profile = nullptr;
    FolderRequestInterceptor *m_interceptor = nullptr;
    QWebEngineView *m_browser = nullptr;
};

} // namespace zendral
