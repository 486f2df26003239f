#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <functional>

namespace zendral {

class DocumentController;
class PageText;
class Prompts;
class RecoveryStore;
struct RecoveryCopy;

// Keeps a recovery copy of the page while it has unsaved changes, and offers at start-up the
// copies that editors which did not end cleanly left behind.
class CrashRecovery : public QObject
{
    Q_OBJECT

public:
    // How long typing must pause before the copy is written.
    static constexpr std::chrono::milliseconds Pause{3000};

    CrashRecovery(PageText &page, DocumentController &document, RecoveryStore &store,
                  Prompts &prompts, std::chrono::milliseconds pause = Pause,
                  QObject *parent = nullptr);

    // Offers each copy left behind, newest first, until one is recovered; returns whether one
    // was. With anotherWindow, the copies after it are offered too, each recovered in the
    // window it opens. A copy the user neither recovers nor discards is offered again at the
    // next start.
    bool offerOrphans(const std::function<CrashRecovery &()> &anotherWindow = {});
    // The program ends cleanly: whatever the user chose for the text, its copy goes.
    void endCleanly();
    // The program is being ended by another: the copy takes every change now, and stays for
    // the next start to offer.
    void keepForNextStart();

    // The question that offers a copy of the page at path (empty when untitled).
    static QString recoverQuestion(const QString &path, const QDateTime &written);
    static QString discardQuestion();
    // The question about a copy that cannot be shown as a page, for the reason given.
    static QString unusableQuestion(const QString &copyFile, const QString &fault);

private:
    // Shows the claimed copy's page and makes the copy this editor's own.
    void recover(const RecoveryCopy &copy);
    void textChanged();
    void writeCopy();
    void writeCopyNow();
    void forgetCopy();

    PageText &m_page;
    DocumentController &m_document;
    RecoveryStore &m_store;
    Prompts &m_prompts;
    QTimer m_timer;
    // Since the first change not yet in the copy: steady typing must not put the copy off
    // for ever.
    QElapsedTimer m_pending;
};

} // namespace zendral
