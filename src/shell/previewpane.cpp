#include "previewpane.h"

#include "folderrequestinterceptor.h"
#include "pageencoding.h"
#include "webenginesandbox.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
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
    layout->setSpacing(0);
    m_note = new QLabel;
    m_note->setObjectName(QStringLiteral("previewNote"));
    // The folder's name is data, never markup.
    m_note->setTextFormat(Qt::PlainText);
    m_note->setContentsMargins(4, 2, 4, 2);
    m_note->hide();
    layout->addWidget(m_note);
}

PreviewPane::~PreviewPane()
{
    // The page must go before its profile, or the profile is torn down under it.
    delete m_browser;
}

QString PreviewPane::SinScripts(const QString &folder)
{
    return QStringLiteral("Vista sin scripts: la página está en \"%1\", y desde ahí sus scripts "
                          "podrían leer todos los archivos de la carpeta.")
        .arg(folder);
}

QString PreviewPane::SinCodificacion()
{
    return QStringLiteral("La página tiene caracteres que no son ASCII y no declara su "
                          "codificación: servida desde un sitio web, los navegadores la leerán "
                          "como Windows-1252 y mostrarán mal esos caracteres. Añade <meta "
                          "charset=\"utf-8\"> después de <head>.");
}

bool PreviewPane::folderTooWide(const QString &folder)
{
    const QString real = QFileInfo(folder).canonicalFilePath();
    const QString home = QFileInfo(QDir::homePath()).canonicalFilePath();
    return real == QDir::rootPath() || (!home.isEmpty() && real == home);
}

void PreviewPane::createBrowser()
{
    sealWebEngineNetwork();
    // A profile of its own, kept in memory only, so the folder rule binds this view alone and
    // no cookies or caches of the user's pages are left on disk.
    m_profile = new QWebEngineProfile(this);
    m_interceptor = new FolderRequestInterceptor(m_profile);
    m_profile->setUrlRequestInterceptor(m_interceptor);

    m_browser = new QWebEngineView;
    m_browser->setObjectName(QStringLiteral("browser"));
    m_browser->setPage(new QWebEnginePage(m_profile, m_browser));
    QWebEngineSettings *settings = m_browser->settings();
    // The tab has no room for a second window: a page's window.open gets none, rather than a
    // window kept out of sight that goes on running the page's script.
    settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    // The interceptor refuses the network anyway; these keep the browser from even trying.
    settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    layout()->addWidget(m_browser);
}

void PreviewPane::navigate(const QString &path)
{
    if (path.isEmpty()) {
        m_note->hide();
        if (m_browser) {
            m_interceptor->setRoot(QString());
            m_browser->setUrl(QUrl(QStringLiteral("about:blank")));
        }
        return;
    }
    if (!m_browser)
        createBrowser();
    const QString folder = QFileInfo(path).absolutePath();
    const bool withoutScripts = folderTooWide(folder);
    m_browser->settings()->setAttribute(QWebEngineSettings::JavascriptEnabled, !withoutScripts);
    QStringList notes;
    if (withoutScripts)
        notes.append(SinScripts(folder));
    if (readAsWindows1252ForWantOfDeclaration(path))
        notes.append(SinCodificacion());
    m_note->setText(notes.join(u'\n'));
    m_note->setVisible(!notes.isEmpty());
    m_interceptor->setRoot(folder);
    // Loading by address, not by handing over the text, has no size limit.
    m_browser->setUrl(QUrl::fromLocalFile(path));
}

} // namespace zendral
