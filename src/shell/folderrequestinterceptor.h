#pragma once

#include <QString>
#include <QWebEngineUrlRequestInterceptor>

namespace zendral {

// Keeps a previewed page inside its own folder tree: file addresses outside it are refused,
// so a page's script cannot read the user's other files, while its own images, styles and
// scripts still load. Addresses of other kinds are left to the browser.
class FolderRequestInterceptor : public QWebEngineUrlRequestInterceptor
{
    Q_OBJECT

public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;

    // The folder whose tree may be read; an empty one refuses every file.
    void setRoot(const QString &folder);
    QString root() const { return m_root; }
    bool allows(const QString &localPath) const;

    void interceptRequest(QWebEngineUrlRequestInfo &info) override;

private:
    QString m_root;
};

} // namespace zendral
