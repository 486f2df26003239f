#include "previewpane.h"

#include "folderrequestinterceptor.h"

#include <QFileInfo>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>

namespace zendral {

PreviewPane::PreviewPane(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("previewPage"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

PreviewPane::~PreviewPane()
{
    // The page must go before its profile, or the profile is torn down under it.
    delete m_browser;
}

void PreviewPane::createBrowser()
{
    // A profile of its own, kept in memory only, so the folder rule binds this view alone and
    // no cookies or caches of the user's pages are left on disk.
    m_profile = new QWebEngineProfile(this);
    m_interceptor = new FolderRequestInterceptor(m_profile);
    m_profile->setUrlRequestInterceptor(m_interceptor);

    m_browser = new QWebEngineView;
    m_browser->setObjectName(QStringLiteral("browser"));
    m_browser->setPage(new QWebEnginePage(m_profile, m_browser));
    // The tab has no room for a second window: a page's window.open gets none, rather than a
    // window kept out of sight that goes on running the page's script.
    m_browser->settings()->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    layout()->addWidget(m_browser);
}

void PreviewPane::navigate(const QString &path)
{
    if (path.isEmpty()) {
        if (m_browser) {
            m_interceptor->setRoot(QString());
            m_browser->setUrl(QUrl(QStringLiteral("about:blank")));
        }
        return;
    }
    if (!m_browser)
        createBrowser();
    m_interceptor->setRoot(QFileInfo(path).absolutePath());
    // Loading by address, not by handing over the text, has no size limit.
    m_browser->setUrl(QUrl::fromLocalFile(path));
}

} // namespace zendral
