#include "previewcontroller.h"

#include "desktopopener.h"
#include "documentcontroller.h"
#include "pagetext.h"
#include "previewpane.h"
#include "prompts.h"

#include <QUrl>

namespace zendral {

namespace {
constexpr int PreviewTab = 1;
// The pause in typing after which a preview in sight follows the text.
constexpr int PauseMilliseconds = 500;
} // namespace

PreviewController::PreviewController(DocumentController &document, PageText &text, Prompts &prompts,
                                     DesktopOpener &opener, PreviewPane &pane)
    : m_document(document), m_text(text), m_prompts(prompts), m_opener(opener), m_pane(pane)
{
    m_pause.setSingleShot(true);
    m_pause.setInterval(PauseMilliseconds);
    m_pause.callOnTimeout([this] {
        if (m_followsText && previewInFront())
            showText();
    });
}

QString PreviewController::saveFirstToPreview()
{
    return QStringLiteral("Debes guardar primero el archivo para poder visualizarlo");
}

bool PreviewController::previewInFront() const
{
    // A tab out of sight is hidden within its window, whether the window is shown or not.
    return m_pane.isVisibleTo(m_pane.window());
}

void PreviewController::tabClicked(int current)
{
    if (m_followsText) {
        // The page out of sight is left as it is, scrolled where the reader left it; nothing is
        // shown again until there is something new to show.
        if (current == PreviewTab && (m_stale || m_shownPath != m_document.state().archivoActual))
            showText();
        return;
    }
    const QString saved = m_document.state().archivoGuardado;
    // Whichever tab is now current, the browser follows the saved file and is blank without
    // one, so an edited page is never left on show as if it were saved.
    m_pane.navigate(saved);
    m_stale = true;
    if (current == PreviewTab && saved.isEmpty())
        m_prompts.notify(saveFirstToPreview());
}

void PreviewController::setFollowsText(bool on)
{
    m_followsText = on;
    m_stale = true;
    m_pause.stop();
    if (previewInFront()) {
        if (on)
            showText();
        else
            m_pane.navigate(m_document.state().archivoGuardado);
    }
}

void PreviewController::textChanged()
{
    // Typing pays for a flag: the text is read only once the preview is in sight and the
    // typing has paused.
    m_stale = true;
    if (m_followsText && previewInFront())
        m_pause.start();
}

void PreviewController::showText()
{
    m_pause.stop();
    m_stale = false;
    const EstadoDocumento &state = m_document.state();
    m_shownPath = state.archivoActual;
    if (m_pane.showText(m_text.text(), state.archivoActual))
        return;
    m_pane.navigate(state.archivoGuardado);
    m_pane.tell(PreviewPane::tooLargeNote(!state.archivoGuardado.isEmpty()));
}

void PreviewController::viewInBrowser()
{
    const QString path = m_document.state().archivoActual;
    if (path.isEmpty()) {
        m_prompts.notify(saveFirstToPreview());
        return;
    }
    // After a failed write the file on disk is not what the user sees: the failure has been
    // told, and the desktop is not handed the stale file.
    if (!m_document.EscribirDocumento(path))
        return;
    m_opener.open(QUrl::fromLocalFile(path));
}

} // namespace zendral
