#include "folderrequestinterceptor.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace zendral {

namespace {

// Links are followed, so that a link inside the folder cannot reach a file outside it.
QString realPath(const QString &path)
{
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

} // namespace

void FolderRequestInterceptor::setRoot(const QString &folder)
{
    m_root = folder.isEmpty() ? QString() : realPath(folder);
}

bool FolderRequestInterceptor::allows(const QString &localPath) const
{
    if (m_root.isEmpty())
        return false;
    const QString path = realPath(localPath);
    if (path == m_root)
        return true;
    const QString prefix = m_root.endsWith(u'/') ? m_root : m_root + u'/';
    return path.startsWith(prefix);
}

bool FolderRequestInterceptor::allowsAddress(const QUrl &address) const
{
    const QString scheme = address.scheme();
    if (scheme == u"file")
        return allows(address.toLocalFile());
    // Both are made by the page itself from what it already holds: nothing is fetched.
    if (scheme == u"data" || scheme == u"blob")
        return true;
    return address == QUrl(QStringLiteral("about:blank"));
}

void FolderRequestInterceptor::interceptRequest(QWebEngineUrlRequestInfo &info)
{
    const QUrl url = info.requestUrl();
    if (allowsAddress(url))
        return;
    info.block(true);
    emit refused(url);
    if (info.resourceType() == QWebEngineUrlRequestInfo::ResourceTypeMainFrame)
        emit pageRefused(url);
}

} // namespace zendral
