#include "crashrecovery.h"

#include "documentcontroller.h"
#include "pagetext.h"
#include "prompts.h"
#include "recoverystore.h"

#include <QDateTime>

namespace zendral {

namespace {
// Past this, a copy is written at the next change even while typing goes on.
constexpr qint64 LongestWait = 30000;
} // namespace

CrashRecovery::CrashRecovery(PageText &page, DocumentController &document, RecoveryStore &store,
                             Prompts &prompts, std::chrono::milliseconds pause, QObject *parent)
    : QObject(parent), m_page(page), m_document(document), m_store(store), m_prompts(prompts)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(pause);
    connect(&m_timer, &QTimer::timeout, this, &CrashRecovery::writeCopy);
    connect(&m_page, &PageText::changed, this, &CrashRecovery::textChanged);
    connect(&m_document, &DocumentController::documentChanged, this,
            [this](DocumentController::Changes changes) {
                if (changes & (DocumentController::Written | DocumentController::Replaced))
                    forgetCopy();
            });
}

QString CrashRecovery::recoverQuestion(const QString &path, const QDateTime &written)
{
    const QString page = path.isEmpty() ? QStringLiteral("una página sin nombre")
                                        : QStringLiteral("\"%1\"").arg(path);
    return QStringLiteral("Zendral no se cerró correctamente y guardó una copia de %1 con los "
                          "cambios sin guardar (%2). ¿Quieres recuperarla?")
        .arg(page, written.toString(QStringLiteral("dd/MM/yyyy HH:mm")));
}

QString CrashRecovery::discardQuestion()
{
    return QStringLiteral("Si borras la copia de recuperación, sus cambios se perderán. Si no, "
                          "se ofrecerá de nuevo la próxima vez. ¿Quieres borrarla?");
}

QString CrashRecovery::unusableQuestion(const QString &copyFile, const QString &fault)
{
    return QStringLiteral("La copia de recuperación \"%1\" no se puede abrir como página: %2. "
                          "¿Quieres borrarla?")
        .arg(copyFile, fault);
}

bool CrashRecovery::offerOrphans(const std::function<CrashRecovery &()> &anotherWindow)
{
    const QList<RecoveryCopy> copies = m_store.takeOrphans();
    bool recovered = false;
    for (const RecoveryCopy &copy : copies) {
        if (!copy.fault.isEmpty()) {
            if (m_prompts.ask(unusableQuestion(copy.copyFile, copy.fault)))
                m_store.discard(copy);
            else
                m_store.release(copy);
        } else if (recovered && !anotherWindow) {
            m_store.release(copy);
        } else if (m_prompts.ask(recoverQuestion(copy.path, copy.written))) {
            if (recovered) {
                CrashRecovery &other = anotherWindow();
                m_store.passClaim(copy, other.m_store);
                other.recover(copy);
            } else {
                recover(copy);
            }
            recovered = true;
        } else if (m_prompts.ask(discardQuestion())) {
            m_store.discard(copy);
        } else {
            // Escape answers neither question: the copy waits for the next start.
            m_store.release(copy);
        }
    }
    return recovered;
}

void CrashRecovery::recover(const RecoveryCopy &copy)
{
    m_document.recoverPage(copy.text, copy.path, copy.encoding, copy.file);
    // The page on screen is what the copy holds: it becomes this editor's copy.
    m_timer.stop();
    if (!m_store.adopt(copy))
        writeCopy();
}

void CrashRecovery::endCleanly()
{
    m_timer.stop();
    m_store.remove();
    m_store.waitForWrites();
}

void CrashRecovery::keepForNextStart()
{
    // A copy waiting for a pause lacks the latest changes; one written already holds them.
    const bool behind = m_timer.isActive();
    m_timer.stop();
    if (behind && m_document.isModified())
        writeCopyNow();
    m_store.leave();
}

void CrashRecovery::textChanged()
{
    if (!m_document.isModified())
        return;
    if (!m_timer.isActive())
        m_pending.start();
    if (m_pending.elapsed() < LongestWait)
        m_timer.start();
}

void CrashRecovery::writeCopy()
{
    if (m_document.isModified())
        writeCopyNow();
}

void CrashRecovery::writeCopyNow()
{
    // Taking the text is one copy of the document's own; encoding and writing it run on the
    // store's worker thread, so that a key pressed meanwhile never waits for a large page.
    const EstadoDocumento &state = m_document.state();
    // What the file was when the page was read or saved goes with it: after a recovery, the
    // checks before a save compare against that, not against what the file has become.
    m_store.write(PageText::Copy(m_page), state.archivoActual, state.encoding, state.diskStamp);
}

void CrashRecovery::forgetCopy()
{
    m_timer.stop();
    m_store.remove();
}

} // namespace zendral
