#include "previewcontroller.h"

#include "desktopopener.h"
#include "documentcontroller.h"
#include "previewpane.h"
#include "prompts.h"

#include <QUrl>

namespace zendral {

namespace {
constexpr int PreviewTab = 1;
} // namespace

PreviewController::PreviewController(DocumentController &document, Prompts &prompts,
                                     DesktopOpener &opener, PreviewPane &pane)
    : m_document(document), m_prompts(prompts), m_opener(opener), m_pane(pane)
{}

QString PreviewController::saveFirstToPreview()
{
    return QStringLiteral("Debes guardar primero el archivo para poder visualizarlo");
}

void PreviewController::tabClicked(int current)
{
    const QString guardado = m_document.state().archivoGuardado;
    // Whichever tab is now current, the browser follows the saved file and is blank without
    // one, so an edited page is never left on show as if it were saved.
    m_pane.navigate(guardado);
    if (current == PreviewTab && guardado.isEmpty())
        m_prompts.notify(saveFirstToPreview());
}

void PreviewController::viewInBrowser()
{
    const QString archivo = m_document.state().archivoActual;
    if (archivo.isEmpty()) {
        m_prompts.notify(saveFirstToPreview());
        return;
    }
    // After a failed write the file on disk is not what the user sees: the failure has been
    // told, and the desktop is not handed the stale file.
    if (!m_document.EscribirDocumento(archivo))
        return;
    m_opener.open(QUrl::fromLocalFile(archivo));
}

} // namespace zendral
