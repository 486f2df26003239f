#include "previewpage.h"

#include "folderrequestinterceptor.h"

#include <QCoreApplication>
#include <QWebEngineNewWindowRequest>

namespace zendral {

PreviewPage::PreviewPage(QWebEngineProfile *profile, const FolderRequestInterceptor &folder,
                         QObject *parent)
    : QWebEnginePage(profile, parent), m_folder(folder)
{
    // No window is ever made for the request (createWindow stays the default, which makes
    // none): window.open hands the page's script no window to go on running in.
    connect(
        this, &QWebEnginePage::newWindowRequested, this,
        [this](QWebEngineNewWindowRequest &request) { windowRequested(request.requestedUrl()); });
}

void PreviewPage::windowRequested(const QUrl &address)
{
    // Only a page the folder rule lets this one read: a data: or blank window would be a page
    // of the script's own making, shown as if it were the author's.
    if (!address.isLocalFile() || !m_folder.allows(address.toLocalFile())) {
        emit refused(address);
        return;
    }
    // Queued: the page is not navigated from inside the browser's own request.
    QMetaObject::invokeMethod(
        this, [this, address] { setUrl(address); }, Qt::QueuedConnection);
}

void PreviewPage::javaScriptAlert(const QUrl &, const QString &message)
{
    emit alerted(message);
}

bool PreviewPage::javaScriptConfirm(const QUrl &, const QString &message)
{
    // The browser asks through here whether a page that objects to being left may be left;
    // the editor replaces the page at every update, so it always may. Any other question is
    // answered Cancel, with no box that would hold the editor's windows.
    static const QString leaving = QCoreApplication::translate(
        "QWebEnginePage",
        "Are you sure you want to leave this page? Changes that you made may not be saved.");
    return message == leaving;
}

bool PreviewPage::javaScriptPrompt(const QUrl &, const QString &, const QString &, QString *)
{
    return false;
}

} // namespace zendral
