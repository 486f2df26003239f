#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

namespace zendral {

// Seals a previewed page: it may read files inside its own folder tree, its own data: and
// blob: addresses, and nothing else. Every other address is refused, whatever the browser's
// own settings would let through (a WebSocket to a server, an http image, a file outside the
// folder), so a page's script can neither read the user's other files nor send anything out.
class FolderRequestInterceptor : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT

public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    // The folder whose tree may be read; an empty one refuses every file.
    void setRoot(const QString &folder);
    QString root() const { return m_root; }
    // Whether the page may read the file at localPath.
    bool allows(const QString &localPath) const;
    // Whether the page may reach address at all.
    bool allowsAddress(const QUrl &address) const;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

signals:
    // An address the page asked for and did not get.
    void refused(const QUrl &address);
    // A page the preview was to show in place of the one it shows, refused.
    void pageRefused(const QUrl &address);

private:
    QString m_root;
};

} // namespace zendral
