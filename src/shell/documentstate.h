#pragma once

#include "documentfile.h"

#include <QString>

namespace zendral {

// EstadoDocumento: what the main window knows of its one document.
struct EstadoDocumento
{
    QString archivoActual;   // path of the current document; empty when untitled
    QString archivoGuardado; // path whose file matches the screen; emptied by every edit
    QString carpetaActual;   // folder of the document, used for relative image paths
    bool guardado = false;   // Save has run since start-up
    QString rutaAbrir;       // path preselected in the Open dialog
    TextEncoding encoding = TextEncoding::Utf8;
};

} // namespace zendral
