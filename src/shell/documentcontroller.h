#pragma once

#include "documentstate.h"
#include "filewatch.h"
#include "pageformat.h"
#include "pagetext.h"

#include <QObject>
#include <QString>

#include "pageencoding.h"

#include <functional>
#include <optional>

namespace zendral {

class EditingSurface;
class PageText;
class FileChooser;
class Prompts;

// The document's life: start-up, New, Open, Save, Save As, the save question and closing, and
// the file on disk changing under the editor. Every failure to read or write is told to the
// user and leaves the document as it was.
class DocumentController : public QObject
{
    Q_OBJECT

public:
    // What a documentChanged says changed.
    enum Change {
        // The text became another page: New, a page read from anywhere, a recovered page.
        Replaced = 0x1,
        // The page took a name or lost it: opened or recovered, made new, written under a
        // name it did not carry.
        Named = 0x2,
        // The page's file was written: by a save, or before the desktop opens it.
        Written = 0x4,
        // Guardar, Guardar como or the save question wrote the page's file, which now
        // matches the screen.
        Saved = 0x8,
        // The first change of the text since it was loaded, saved or made new.
        Edited = 0x10,
        // The encoding the page is written in changed.
        Recoded = 0x20,
    };
    Q_DECLARE_FLAGS(Changes, Change)

    DocumentController(EditingSurface &view, Prompts &prompts, FileChooser &chooser,
                       QObject *parent = nullptr);

    // The start-up and New page templates, every line ended by CR LF.
    static QString PlantillaInicio(); // fixed name
    static QString PlantillaNueva();  // fixed name
    // The file dialogs' filter: description|pattern pairs.
    static QString Filter();

    // Read-only: the state changes only through the verbs below, each change told by one
    // documentChanged.
    const EstadoDocumento &state() const { return m_state; }
    // The window's title: the page's path, or the program's name alone for a page never saved.
    QString title() const;
    // The page's file name as the user reads it, or "Sin título".
    QString displayName() const;

    // The whole-text colouring that runs after a page is loaded.
    void setColouring(std::function<void()> colourWhole) { m_colourWhole = std::move(colourWhole); }

    // The folder the panes show, where the save dialog starts for a page never saved.
    void setPaneFolder(std::function<QString()> paneFolder)
    {
        m_paneFolder = std::move(paneFolder);
    }

    // The text changed since it was loaded, saved or made new.
    bool isModified() const { return m_state.modified; }

    // Puts the start-up template in blue with the caret after it.
    void startUp();
    void newPage();
    void open();
    // The page named on the command line: opened as Open opens a chosen file, without the
    // save question or the dialog.
    void openPath(const QString &path);
    // A page dropped on the window or picked from the recent pages: the save question, then
    // opened as Open opens it.
    void askThenOpenPath(const QString &path);
    // A page double-clicked in the file pane, whose folder list shows folder: the save
    // question, then opened as Open opens it, with folder as the document's folder.
    void openFromPane(const QString &folder, const QString &path);
    // Shows text as an unsaved page carrying path as its file name, as after Open. file is
    // what path was when the page was last read or saved: a later Save checks against it, so
    // that a change made meanwhile is not overwritten unseen (without it: the file as it is now).
    void recoverPage(const QString &text, const QString &path, TextEncoding encoding,
                     const std::optional<FileStamp> &file = std::nullopt);
    void save();
    void saveAs();
    // The question asked before the page is replaced or the window closes. False when the
    // command must stop: the user backed out of the question or of the save dialog, or the
    // save failed.
    bool PreguntarGuardar(); // fixed name
    // Compares the document's file with what was read or saved last; the window calls it
    // when it becomes active. Unchanged text is read again in place; changed text is kept
    // unless the user chooses to read the file again.
    void checkFileOnDisk();

    // Writes the whole text to path; tells the user and returns false on failure. Before
    // overwriting the document's own file changed by another program it asks, and it never
    // writes through a symbolic link put in that file's place.
    bool EscribirDocumento(const QString &path); // fixed name
    // Replaces the text with the lines of the file; tells the user and returns false on
    // failure, leaving the text untouched. With as, the file is read in that encoding.
    bool LeerDocumento(const QString &path, // fixed name
                       std::optional<TextEncoding> as = std::nullopt);

    // Archivo › Codificación › Volver a abrir como: the page's file read again in encoding,
    // after a question when that drops unsaved changes.
    void reopenAs(TextEncoding encoding);
    // Archivo › Codificación › Guardar como: the page written in encoding from now on, its
    // declaration changed with it, then saved.
    void saveIn(TextEncoding encoding);
    // Archivo › Codificación › Finales de línea: every line end of the page becomes end.
    void convertLineEnds(PageText::LineEnd end);

    // The path less its final file name, trailing separator kept.
    static QString folderPart(const QString &path);

signals:
    // The page's identity changed, once everything the change touches is in place.
    void documentChanged(DocumentController::Changes changes);
    // A line for the status area.
    void statusMessage(const QString &message);

private:
    enum class Source { Chosen, Pane, Reload };
    // Holds the check of the file on disk back while a command runs: the command's own
    // dialogs give the window back its activation half-way through.
    class Busy
    {
    public:
        explicit Busy(DocumentController &document);
        ~Busy();

    private:
        DocumentController &m_document;
    };

    // Every write of the page comes through here; changes say whether it is a save.
    bool write(const QString &path, Changes changes);
    // Every page read from disk comes through here, whatever its source.
    bool loadPage(const QString &given, Source source, const QString &paneFolder = QString(),
                  std::optional<TextEncoding> as = std::nullopt);
    // The caret at the start with nothing selected, the top of the page in view.
    void showFromTop();
    QString chooseSaveName(bool confirmOverwrite);
    void colour();
    // The whole text coloured again as a loaded page is, the author left where they were.
    void colourInPlace();

    EditingSurface &m_view;
    PageText &m_page;
    Prompts &m_prompts;
    FileChooser &m_chooser;
    EstadoDocumento m_state;
    std::function<void()> m_colourWhole;
    std::function<QString()> m_paneFolder;
    PageFormat m_format;
    FileWatch m_watch;
    // Records the document's file as it was just read or written, its bytes' digest given.
    void recordDiskState(const QString &path, const FileStamp &stamp, quint64 digest);
    // The text changed: it no longer matches its file.
    void edited();
    // The digest of the bytes LeerDocumento read last.
    quint64 m_lastDigest = 0;
    int m_busy = 0;
    bool m_checkPending = false;
    // What the last reading has to tell, for the status area once the page is on show.
    QString m_readNotice;
};

} // namespace zendral

Q_DECLARE_OPERATORS_FOR_FLAGS(zendral::DocumentController::Changes)
