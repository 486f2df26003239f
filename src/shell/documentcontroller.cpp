#include "documentcontroller.h"

#include "colouring.h"
#include "editingsurface.h"
#include "filechooser.h"
#include "prompts.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QTextBlock>

namespace zendral {

namespace {
const QString SaveQuestion = QStringLiteral("¿Quieres guardar el archivo actual?");
const QString SaveTitle = QStringLiteral("Guardar archivo como...");
const QString OpenTitle = QStringLiteral("Abrir archivo");
// Past this many characters a line makes every keystroke in it slow (32 ms at 200k).
constexpr qsizetype ComfortableLine = 100000;
const QString NothingToReopen =
    QStringLiteral("La página no se ha leído de ningún archivo: no hay nada que volver a abrir.");
const QString ReopenQuestion =
    QStringLiteral("¿Quieres volver a abrir \"%1\" como %2? Se perderán los cambios que no has "
                   "guardado.");
const QString ReopenedAs = QStringLiteral("Se ha vuelto a abrir \"%1\" como %2.");
const QString StartTitle = QStringLiteral("  Zendral");
const QString PageTitle = QStringLiteral("Zendral - [%1]");

} // namespace

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
    : QObject(parent), m_view(view), m_page(view.page()), m_prompts(prompts), m_chooser(chooser),
      m_format(m_page, prompts), m_watch(prompts)
{
    // Connected before anyone else can be: whoever hears of a change finds the page's state
    // already following it.
    connect(&m_page, &PageText::changed, this, &DocumentController::edited);
}

void DocumentController::edited()
{
    m_state.archivoGuardado.clear();
    m_state.untouched = false;
    if (!std::exchange(m_state.modified, true))
        emit documentChanged(Edited);
}

QString DocumentController::title() const
{
    return m_state.archivoActual.isEmpty() ? StartTitle
                                           : PageTitle.arg(shownName(m_state.archivoActual));
}

QString DocumentController::displayName() const
{
    return m_state.archivoActual.isEmpty() ? QStringLiteral("Sin título")
                                           : shownName(QFileInfo(m_state.archivoActual).fileName());
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
    m_state.modified = false;
    m_state.untouched = true;
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
    // Without it the dialog would open wherever the program was started from.
    if (m_paneFolder)
        request.folder = m_paneFolder();
    const QString name = m_chooser.choose(request);
    // Kept as the bytes it names from here on: the dialog gives a name that is not UTF-8 with
    // U+FFFD in it, which another file's name may share later.
    return name.isEmpty() ? name : nameFromSystem(systemName(name));
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
    return !name.isEmpty() && write(name, Saved);
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
    m_format.settle();
    m_state.modified = false;
    m_state.untouched = false;
    m_state.diskStamp = FileStamp();
    m_watch.forget();
    emit documentChanged(Replaced | Named);
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
    else
        colourInPlace();
}

void DocumentController::colourInPlace()
{
    // The colouring selects the last tag and brings it into view: the author's caret,
    // selection and view come back after it.
    const QTextCursor caret = m_page.textCursor();
    const int top = m_view.verticalScrollBar()->value();
    const int left = m_view.horizontalScrollBar()->value();
    colour();
    m_page.setTextCursor(caret);
    m_view.verticalScrollBar()->setValue(top);
    m_view.horizontalScrollBar()->setValue(left);
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

bool DocumentController::loadPage(const QString &given, Source source, const QString &paneFolder,
                                  std::optional<TextEncoding> as)
{
    const int line = m_page.lineOfBlock(m_view.textCursor().blockNumber());
    // Kept as the bytes it names from here on, whatever later shares its name as Qt reads it.
    const QString path = nameFromSystem(systemName(given));
    // Taken before reading: a change made while the file is read shows as a change later.
    const FileStamp stamp = FileStamp::of(path);
    if (!LeerDocumento(path, as))
        return false;
    // A page from the pane is its file, as one chosen in the dialog: Save writes it.
    recordDiskState(path, stamp, m_lastDigest);
    if (source != Source::Reload) {
        m_state.rutaAbrir = path;
        m_state.carpetaActual = source == Source::Pane ? paneFolder : folderPart(path);
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
    m_state.modified = false;
    m_state.untouched = false;
    emit documentChanged(source == Source::Reload ? Changes(Replaced) : Replaced | Named);
    if (!m_readNotice.isEmpty())
        emit statusMessage(m_readNotice);
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
                                     TextEncoding encoding, const std::optional<FileStamp> &file)
{
    m_page.setText(text);
    m_state.encoding = encoding;
    // The copy keeps the encoding the page was read with: nothing in it may change that unasked.
    m_format.settle(true);
    m_state.archivoActual = path;
    m_state.rutaAbrir = path;
    m_state.carpetaActual = folderPart(path);
    colour();
    showFromTop();
    m_state.archivoGuardado.clear();
    m_state.modified = true;
    m_state.untouched = false;
    m_state.diskStamp = path.isEmpty() ? FileStamp() : file.value_or(FileStamp::of(path));
    m_watch.forget();
    emit documentChanged(Replaced | Named);
}

void DocumentController::save()
{
    Busy busy(*this);
    if (m_state.archivoActual.isEmpty()) {
        const QString name = chooseSaveName(true);
        if (!name.isEmpty())
            write(name, Saved);
    } else {
        write(m_state.archivoActual, Saved);
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
    write(name, Saved);
}

void DocumentController::checkFileOnDisk()
{
    if (m_busy > 0) {
        m_checkPending = true;
        return;
    }
    const QString path = m_state.archivoActual;
    if (path.isEmpty())
        return;
    const FileWatch::Finding found = m_watch.check(path, m_state.diskStamp);
    if (found == FileWatch::Finding::Nothing)
        return;
    Busy busy(*this);
    if (found == FileWatch::Finding::Changed && (!m_state.modified || m_watch.mayReadAgain(path))) {
        if (loadPage(path, Source::Reload))
            emit statusMessage(FileWatch::notice(found, path));
        return;
    }
    m_state.archivoGuardado.clear();
    if (found != FileWatch::Finding::Changed)
        emit statusMessage(FileWatch::notice(found, path));
}

void DocumentController::recordDiskState(const QString &path, const FileStamp &stamp,
                                         quint64 digest)
{
    m_state.archivoActual = path;
    m_state.diskStamp = stamp;
    m_watch.recorded(stamp, digest);
}

bool DocumentController::EscribirDocumento(const QString &path)
{
    return write(path, Written);
}

bool DocumentController::write(const QString &path, Changes changes)
{
    Busy busy(*this);
    if (path == m_state.archivoActual && !m_watch.mayOverwrite(path, m_state.diskStamp))
        return false;
    const std::optional<TextEncoding> encoding = m_format.encodingToWrite(m_state.encoding, path);
    if (!encoding)
        return false;
    const WriteResult result =
        writeDocumentFile(path, m_format.pieces(), *encoding,
                          [this](const QString &question) { return m_prompts.ask(question); });
    if (!result.ok) {
        if (!result.declined)
            m_prompts.notify(result.error);
        return false;
    }
    if (path != m_state.archivoActual)
        changes |= Named;
    recordDiskState(path, FileStamp::of(path), result.digest);
    // Only a save lets the preview show the file.
    if (changes & Saved) {
        m_state.archivoGuardado = path;
        m_state.carpetaActual = folderPart(path);
    }
    m_state.modified = false;
    m_state.encoding = result.encoding;
    m_format.settle();
    emit documentChanged(changes | Written);
    return true;
}

bool DocumentController::LeerDocumento(const QString &path, std::optional<TextEncoding> as)
{
    ReadResult result = readDocumentFile(
        path, [this](const QString &question) { return m_prompts.ask(question); }, as);
    if (!result.ok) {
        if (!result.declined)
            m_prompts.notify(result.error);
        return false;
    }
    m_state.encoding = result.document.encoding;
    m_format.pageRead(result.document.declared);
    m_readNotice = result.document.notice;
    m_lastDigest = result.digest;
    m_page.setText(std::move(result.document.text));
    if (result.document.longestLine > ComfortableLine)
        m_prompts.notify(QStringLiteral("El archivo \"%1\" tiene una línea de %2 caracteres: se ha "
                                        "cargado entero, pero escribir en una línea tan larga "
                                        "será lento.")
                             .arg(shownName(path))
                             .arg(result.document.longestLine));
    return true;
}

void DocumentController::reopenAs(TextEncoding encoding)
{
    Busy busy(*this);
    const QString path = m_state.archivoActual;
    if (path.isEmpty()) {
        m_prompts.notify(NothingToReopen);
        return;
    }
    const QString caption = encodingCaption(encoding);
    if (m_state.modified && !m_prompts.ask(ReopenQuestion.arg(path, caption)))
        return;
    if (loadPage(path, Source::Reload, QString(), encoding) && m_readNotice.isEmpty())
        emit statusMessage(ReopenedAs.arg(path, encodingCaption(m_state.encoding)));
}

void DocumentController::saveIn(TextEncoding encoding)
{
    Busy busy(*this);
    const std::optional<TextEncoding> chosen = m_format.changeTo(encoding);
    if (!chosen)
        return;
    if (std::exchange(m_state.encoding, *chosen) != *chosen)
        emit documentChanged(Recoded);
    save();
}

void DocumentController::convertLineEnds(PageText::LineEnd end)
{
    Busy busy(*this);
    const int line = m_page.lineOfBlock(m_view.textCursor().blockNumber());
    if (!m_format.convertLineEnds(end, m_state.encoding))
        return;
    colour();
    m_page.setSelectionStart(0);
    m_view.setTextCursor(
        QTextCursor(m_view.document()->findBlockByNumber(m_page.firstBlockOfLine(line))));
    edited();
}

} // namespace zendral
