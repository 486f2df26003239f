#pragma once

#include "documentfile.h"

#include <QString>

namespace zendral {

// EstadoDocumento: the page's identity, which only DocumentController changes.
struct EstadoDocumento // fixed name
{
    QString archivoActual;   // fixed name: path of the current document; empty when untitled
    QString archivoGuardado; // fixed name: path whose file matches the screen; emptied by edits
    QString carpetaActual;   // fixed name: folder of the document, for relative image paths
    bool guardado = false;   // fixed name: Save has run since start-up
    QString rutaAbrir;       // fixed name: path preselected in the Open dialog
    TextEncoding encoding = TextEncoding::Utf8;
    // The text changed since it was loaded, saved or made new.
    bool modified = false;
    // Still the start-up page the window opened with: nothing typed, nothing loaded.
    bool untouched = true;
    // What archivoActual was when the text was last read from it or written to it.
    FileStamp diskStamp;
};

} // namespace zendral
