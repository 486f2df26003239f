#pragma once

#include <QWebEnginePage>

namespace zendral {

class FolderRequestInterceptor;

// The page the preview shows, kept in its place: its dialogs never open a box that would hold
// the editor's windows, and a new window it asks for (a link with a target, window.open) is
// opened in the preview itself when the folder rule lets the page read it, or refused aloud.
class PreviewPage : public QWebEnginePage
{
    Q_OBJECT

public:
    PreviewPage(QWebEngineProfile *profile, const FolderRequestInterceptor &folder,
                QObject *parent = nullptr);

signals:
    // The page called alert(message).
    void alerted(const QString &message);
    // The page asked to show address, in a new window or in place of itself, and was refused.
    void refused(const QUrl &address);

protected:
    void javaScriptAlert(const QUrl &securityOrigin, const QString &message) override;
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &message) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &message,
                          const QString &defaultValue, QString *result) override;

private:
    void windowRequested(const QUrl &address);

    const FolderRequestInterceptor &m_folder;
};

} // namespace zendral
