#pragma once

class QCoreApplication;

namespace zendral {

// Installs Qt's own Spanish translations on the application, so that the texts Qt draws
// itself (file dialogs, standard buttons, the preview's menu) speak the interface's language.
// Returns false when the system holds no Spanish translation of Qt's widgets.
bool installSpanishQtTexts(QCoreApplication &application);

} // namespace zendral
