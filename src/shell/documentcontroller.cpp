#include "documentcontroller.h"

#include "editingsurface.h"
#include "filechooser.h"
#include "prompts.h"

#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBlock>

#include <sys/stat.h>

namespace zendral {

namespace {
const QString SaveQuestion = QStringLiteral("¿Quieres guardar el archivo actual?");
const QString SaveTitle = QStringLiteral("Guardar archivo como...");
const QString OpenTitle = QStringLiteral("Abrir archivo");
const QString OverwriteChanged =
    QStringLiteral("El archivo \"%1\" ha cambiado en el disco desde que se abrió o se guardó: "
                   "otro programa lo ha modificado. ¿Quieres sobrescribirlo con el texto del "
                   "editor?");
const QString LinkInItsPlace =
    QStringLiteral("No se ha guardado el archivo \"%1\": desde que se abrió, en su lugar hay un "
                   "enlace simbólico a otro archivo. Usa \"Guardar como\" para elegir dónde "
                   "guardarlo.");
const QString ReadAgainQuestion =
    QStringLiteral("El archivo \"%1\" ha cambiado en el disco: otro programa lo ha modificado. "
                   "¿Quieres leerlo de nuevo? Se perderán los cambios que no has guardado.");
const QString ReadAgain =
    QStringLiteral("Se ha vuelto a leer \"%1\": otro programa lo había cambiado.");
const QString Vanished =
    QStringLiteral("El archivo \"%1\" ya no está en el disco: guarda el texto para no perderlo.");
const QString NotReadAgain =
    QStringLiteral("En el lugar del archivo \"%1\" hay ahora un enlace simbólico o algo que no "
                   "es un archivo normal: no se ha vuelto a leer.");
// Past this many characters a line makes every keystroke in it slow (32 ms at 200k).
constexpr qsizetype ComfortableLine = 100000;
} // namespace

FileStamp FileStamp::of(const QString &path)
{
    FileStamp stamp;
    const QByteArray name = QFile::encodeName(path);
    struct stat status;
    if (::lstat(name.constData(), &status) != 0)
        return stamp;
    stamp.exists = true;
    stamp.symbolicLink = S_ISLNK(status.st_mode);
    stamp.nameDevice = status.st_dev;
    stamp.nameInode = status.st_ino;
    if (stamp.symbolicLink && ::stat(name.constData(), &status) != 0)
        return stamp;
    stamp.regular = S_ISREG(status.st_mode);
    stamp.device = status.st_dev;
    stamp.inode = status.st_ino;
    stamp.size = status.st_size;
    stamp.modifiedSeconds = status.st_mtim.tv_sec;
    stamp.modifiedNanoseconds = status.st_mtim.tv_nsec;
    return stamp;
}

DocumentController::Busy::Busy(DocumentController &document) : m_document(document)
{
    ++m_document.m_busy;
}

DocumentController::Busy::~Busy()
{
    if (--m_document.m_busy == 0 && m_document.m_checkPending) {
        m_document.m_checkPending = false;
        QMetaObject::invokeMethod(&m_document, &DocumentController::checkFileOnDisk,
                                  Qt::QueuedConnection);
    }
}

QString DocumentController::PlantillaInicio()
{
    return QStringLiteral("<html>\r\n<head>\r\n<title>   </title>\r\n</head>\r\n");
}

QString DocumentController::PlantillaNueva()
{
    return QStringLiteral(
        "<html>\r\n<head>\r\n<title>ESCRÍBE AQUÍ EL TÍTULO</title>\r\n</head>\r\n");
}

QString DocumentController::Filter()
{
    return QStringLiteral("Archivos HTML (*.html)|*.html|Archivos HTM (*.htm)|*.htm|Archivos ASP "
                          "(*.asp)|*.asp");
}

DocumentController::DocumentController(EditingSurface &view, Prompts &prompts, FileChooser &chooser,
                                       QObject *parent)
    : QObject(parent), m_view(view), m_page(view.page()), m_prompts(prompts), m_chooser(chooser)
{
    connect(&m_page, &PageText::changed, this, [this] { m_modified = true; });
}

QString DocumentController::folderPart(const QString &path)
{
    if (path.isEmpty())
        return QString();
    return path.left(path.size() - QFileInfo(path).fileName().size());
}

void DocumentController::colour()
{
    if (m_colourWhole)
        m_colourWhole();
}

void DocumentController::startUp()
{
    m_page.setInsertionColour(colours::Blue);
    m_page.setSelectedText(PlantillaInicio());
    m_page.setInsertionColour(colours::Black);
    m_page.setSelectionStart(m_page.textLength());
    m_modified = false;
}

namespace {

// A file dialog's request on the document's own filter.
FileRequest fileRequest(FileRequest::Mode mode, const QString &title, const QString &fileName)
{
    FileRequest request;
    request.mode = mode;
    request.title = title;
    request.filter = DocumentController::Filter();
    request.filterIndex = 1;
    request.fileName = fileName;
    return request;
}

} // namespace

QString DocumentController::chooseSaveName(bool confirmOverwrite)
{
    FileRequest request = fileRequest(FileRequest::Mode::Save, SaveTitle, m_state.archivoActual);
    request.confirmOverwrite = confirmOverwrite;
    return m_chooser.choose(request);
}

bool DocumentController::PreguntarGuardar()
{
    Busy busy(*this);
    switch (m_prompts.question(SaveQuestion)) {
    case Prompts::Answer::Cancel:
        return false;
    case Prompts::Answer::No:
        return true;
    case Prompts::Answer::Yes:
        break;
    }
    // Asking before an overwrite here too: a silent one could destroy another file.
    const QString name = chooseSaveName(true);
    // The user asked for the text to be kept and it was not: going on would drop it.
    if (name.isEmpty() || !EscribirDocumento(name))
        return false;
    m_state.archivoActual = name;
    return true;
}

void DocumentController::newPage()
{
    Busy busy(*this);
    if (!PreguntarGuardar())
        return;
    m_page.setText(PlantillaNueva());
    m_page.setSelectionStart(m_page.textLength());
    m_state.archivoActual.clear();
    m_state.encoding = TextEncoding::Utf8;
    m_modified = false;
    m_diskPath.clear();
    m_diskStamp = FileStamp();
    m_toldStamp.reset();
    emit pageReplaced();
}

void DocumentController::open()
{
    Busy busy(*this);
    if (!PreguntarGuardar())
        return;
    // A cancelled dialog leaves the document, its name and its folder as they were.
    const QString path =
        m_chooser.choose(fileRequest(FileRequest::Mode::Open, OpenTitle, m_state.rutaAbrir));
    if (!path.isEmpty())
        loadPage(path, Source::Chosen);
}

void DocumentController::openPath(const QString &path)
{
    Busy busy(*this);
    loadPage(path, Source::Chosen);
}

void DocumentController::askThenOpenPath(const QString &path)
{
    Busy busy(*this);
    if (PreguntarGuardar())
        loadPage(path, Source::Chosen);
}

void DocumentController::openFromPane(const QString &folder, const QString &path)
{
    Busy busy(*this);
    if (PreguntarGuardar())
        loadPage(path, Source::Pane, folder);
}

bool DocumentController::loadPage(const QString &path, Source source, const QString &paneFolder)
{
    const int line = m_page.lineOfBlock(m_view.textCursor().blockNumber());
    // Taken before reading: a change made while the file is read shows as a change later.
    const FileStamp stamp = FileStamp::of(path);
    if (!LeerDocumento(path))
        return false;
    m_modified = false;
    m_diskPath = path;
    m_diskStamp = stamp;
    m_toldStamp.reset();
    const QString title = QStringLiteral("Zendral - [") + path + u']';
    switch (source) {
    case Source::Chosen:
        m_state.archivoActual = path;
        m_state.rutaAbrir = path;
        m_state.carpetaActual = folderPart(path);
        emit titleChanged(title);
        break;
    case Source::Pane:
        // The page counts as untitled, so that a later Save asks where to write it.
        m_state.archivoActual.clear();
        m_state.carpetaActual = paneFolder;
        emit titleChanged(title);
        break;
    case Source::Reload:
        break;
    }
    colour();
    if (source == Source::Reload) {
        const QTextBlock block =
            m_view.document()->findBlockByNumber(m_page.firstBlockOfLine(line));
        m_view.setTextCursor(QTextCursor(block));
    } else {
        showFromTop();
    }
    // Loading is not an edit of the user's: the page matches its file, which can be previewed.
    m_state.archivoGuardado = path;
    emit pageReplaced();
    return true;
}

void DocumentController::showFromTop()
{
    // The colouring leaves the last tag selected, where the first key typed would replace it.
    m_page.setSelectionStart(0);
    m_view.verticalScrollBar()->setValue(0);
    m_view.horizontalScrollBar()->setValue(0);
}

void DocumentController::recoverPage(const QString &text, const QString &path,
                                     TextEncoding encoding)
{
    m_page.setText(text);
    m_state.encoding = encoding;
    m_state.archivoActual = path;
    m_state.rutaAbrir = path;
    m_state.carpetaActual = folderPart(path);
    if (!path.isEmpty())
        emit titleChanged(QStringLiteral("Zendral - [") + path + u']');
    colour();
    showFromTop();
    m_state.archivoGuardado.clear();
    m_modified = true;
    // What the file holds now is what a later Save must not overwrite unseen.
    m_diskPath = path;
    m_diskStamp = path.isEmpty() ? FileStamp() : FileStamp::of(path);
    m_toldStamp.reset();
    emit pageReplaced();
}

void DocumentController::save()
{
    Busy busy(*this);
    if (m_state.archivoActual.isEmpty()) {
        const QString name = chooseSaveName(true);
        if (!name.isEmpty() && EscribirDocumento(name)) {
            m_state.archivoActual = name;
            m_state.archivoGuardado = name;
        }
    } else if (EscribirDocumento(m_state.archivoActual)) {
        m_state.archivoGuardado = m_state.archivoActual;
    }
    m_state.guardado = true;
    m_state.carpetaActual = folderPart(m_state.archivoActual);
}

void DocumentController::saveAs()
{
    Busy busy(*this);
    // A cancelled Save As changes nothing, not even the document's name; nor does a name
    // the file could not be written under.
    const QString name = chooseSaveName(true);
    if (name.isEmpty())
        return;
    if (!EscribirDocumento(name))
        return;
    m_state.archivoActual = name;
    m_state.archivoGuardado = name;
    m_state.carpetaActual = folderPart(name);
}

void DocumentController::checkFileOnDisk()
{
    if (m_busy > 0) {
        m_checkPending = true;
        return;
    }
    if (m_diskPath.isEmpty())
        return;
    const FileStamp now = FileStamp::of(m_diskPath);
    if (now == m_diskStamp || now == m_toldStamp)
        return;
    Busy busy(*this);
    m_toldStamp = now;
    const QString path = m_diskPath;
    if (!now.exists) {
        m_state.archivoGuardado.clear();
        emit statusMessage(Vanished.arg(path));
        return;
    }
    // Reading it would show another file's content under this name, and make Save write there.
    if (!now.regular || now.isNewLinkSince(m_diskStamp)) {
        m_state.archivoGuardado.clear();
        emit statusMessage(NotReadAgain.arg(path));
        return;
    }
    if (m_modified && m_prompts.question(ReadAgainQuestion.arg(path)) != Prompts::Answer::Yes) {
        m_state.archivoGuardado.clear();
        return;
    }
    if (loadPage(path, Source::Reload))
        emit statusMessage(ReadAgain.arg(path));
}

bool DocumentController::mayOverwrite(const QString &path)
{
    if (path != m_diskPath)
        return true;
    const FileStamp now = FileStamp::of(path);
    // A file that is gone loses nothing by being written again.
    if (now == m_diskStamp || !now.exists)
        return true;
    if (now.isNewLinkSince(m_diskStamp)) {
        m_prompts.notify(LinkInItsPlace.arg(path));
        return false;
    }
    return m_prompts.question(OverwriteChanged.arg(path)) == Prompts::Answer::Yes;
}

bool DocumentController::EscribirDocumento(const QString &path)
{
    Busy busy(*this);
    if (!mayOverwrite(path))
        return false;
    const WriteResult result = writeDocumentFile(
        path, TextPieces([this](const PieceTaker &take) { m_page.forEachPiece(take); }),
        m_state.encoding, [this](const QString &question) { return m_prompts.ask(question); });
    if (!result.ok) {
        if (!result.declined)
            m_prompts.notify(result.error);
        return false;
    }
    m_diskPath = path;
    m_diskStamp = FileStamp::of(path);
    m_toldStamp.reset();
    m_modified = false;
    m_state.encoding = result.encoding;
    if (result.leftOtherNames)
        m_prompts.notify(QStringLiteral("El archivo \"%1\" tenía otros nombres (enlaces duros). Se "
                                        "ha guardado como un archivo aparte: los otros nombres "
                                        "conservan el contenido anterior.")
                             .arg(path));
    if (result.fellBackToUtf8)
        m_prompts.notify(QStringLiteral("El archivo \"%1\" contiene caracteres que la codificación "
                                        "Windows-1252 no puede guardar: se ha guardado en UTF-8.")
                             .arg(path));
    emit saved();
    return true;
}

bool DocumentController::LeerDocumento(const QString &path)
{
    ReadResult result =
        readDocumentFile(path, [this](const QString &question) { return m_prompts.ask(question); });
    if (!result.ok) {
        if (!result.declined)
            m_prompts.notify(result.error);
        return false;
    }
    m_state.encoding = result.document.encoding;
    m_page.setText(std::move(result.document.text));
    if (result.document.longestLine > ComfortableLine)
        m_prompts.notify(QStringLiteral("El archivo \"%1\" tiene una línea de %2 caracteres: se ha "
                                        "cargado entero, pero escribir en una línea tan larga "
                                        "será lento.")
                             .arg(path)
                             .arg(result.document.longestLine));
    return true;
}

} // namespace zendral
