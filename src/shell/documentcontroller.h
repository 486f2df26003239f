#pragma once

#include "documentstate.h"

#include <QObject>
#include <QString>

#include <functional>

namespace zendral {

class EditingSurface;
class FileChooser;
class Prompts;

// The document's life: start-up, New, Open, Save, Save As, the save prompt and closing.
// Every failure to read or write is told to the user and leaves the document as it was.
class DocumentController : public QObject
{
    Q_OBJECT

public:
    DocumentController(EditingSurface &text1, Prompts &prompts, FileChooser &chooser,
                       QObject *parent = nullptr);

    // The start-up and New page templates, every line ended by CR LF.
    static QString PlantillaInicio();
    static QString PlantillaNueva();
    // The file dialogs' filter: description|pattern pairs.
    static QString Filter();

    EstadoDocumento &state() { return m_state; }
    const EstadoDocumento &state() const { return m_state; }

    // The whole-text colouring that runs after a page is loaded.
    void setColouring(std::function<void()> colorea) { m_colorea = std::move(colorea); }

    // Puts the start-up template in blue with the caret after it.
    void startUp();
    void nuevo();
    void abrir();
    // Opens path as Open does once a file is chosen, without the save question or the
    // dialog: the page given on the command line.
    void abrirRuta(const QString &path);
    // Open's save question, then path opened as abrirRuta does: a page dropped on the window.
    void abrirRutaPreguntando(const QString &path);
    void guardar();
    void guardarComo();
    // The question asked before New, Open and opening a page from the file pane. False when
    // the user chose to save and the save failed: the caller must then leave the text alone.
    bool PreguntarGuardar();
    // Asks before the window closes; false keeps the window open (the save was cancelled or
    // failed, so closing would lose the text).
    bool confirmClose();

    // Writes the whole text to path; tells the user and returns false on failure.
    bool EscribirDocumento(const QString &path);
    // Appends the lines of the file to the text; tells the user and returns false on failure,
    // leaving the text untouched.
    bool LeerDocumento(const QString &path);

    // The path less its final file name, trailing separator kept.
    static QString folderPart(const QString &path);

    // The text changed since it was loaded, saved or made new.
    bool isModified() const { return m_modified; }
    // Shows text as an unsaved page carrying path as its file name, modified.
    void recoverPage(const QString &text, const QString &path, TextEncoding encoding);

signals:
    void titleChanged(const QString &title);
    // New, any page loaded, or a recovered page replaced the text.
    void pageReplaced();
    // The document's file was written successfully.
    void saved();

private:
    enum class PromptKind { Plain, Open };
    bool prompt(PromptKind kind);
    QString chooseSaveName(bool confirmOverwrite);
    void colour();
    // Open's steps after the choice: reads m_state.archivoActual into the emptied text, or
    // puts back the text and the name the document had (archivoAntes).
    void cargarElegido(const QString &archivoAntes);

    EditingSurface &m_text1;
    Prompts &m_prompts;
    FileChooser &m_chooser;
    EstadoDocumento m_state;
    std::function<void()> m_colorea;
    bool m_modified = false;
};

} // namespace zendral
