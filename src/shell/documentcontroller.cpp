#include "documentcontroller.h"

#include "colouring.h"
#include "editingsurface.h"
#include "filechooser.h"
#include "prompts.h"
#include "undostep.h"

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QScrollBar>
#include <QTextBlock>

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
const QString CannotHold =
    QStringLiteral("La página tiene caracteres que la codificación %1 no puede guardar (el "
                   "primero, \"%2\", en la línea %3). ¿Quieres guardarla en UTF-8 y cambiar su "
                   "declaración a UTF-8? Si respondes No, no se guarda nada.");
const QString CannotWriteDeclared =
    QStringLiteral("La página declara la codificación \"%1\", que Zendral no sabe escribir. "
                   "¿Quieres guardarla en UTF-8 y cambiar su declaración a UTF-8? Si respondes "
                   "No, no se guarda nada.");
const QString AddDeclaration =
    QStringLiteral("La página tiene caracteres que no son ASCII (letras con tilde, la ñ…) y no "
                   "declara su codificación: los navegadores la leerían como Windows-1252 y los "
                   "mostrarían mal. ¿Quieres añadir <meta charset=\"utf-8\"> después de "
                   "<head>?");
const QString BinaryCannotHold =
    QStringLiteral("No se ha guardado el archivo \"%1\": es un archivo binario, y el carácter "
                   "\"%2\" de la línea %3 no cabe en sus bytes.");
const QString NothingToReopen =
    QStringLiteral("La página no se ha leído de ningún archivo: no hay nada que volver a abrir.");
const QString ReopenQuestion =
    QStringLiteral("¿Quieres volver a abrir \"%1\" como %2? Se perderán los cambios que no has "
                   "guardado.");
const QString ReopenedAs = QStringLiteral("Se ha vuelto a abrir \"%1\" como %2.");
const QString BinaryLines =
    QStringLiteral("Es un archivo binario: sus finales de línea se dejan como están.");
const QString Utf8Declaration = QStringLiteral("<meta charset=\"utf-8\">");
const QString StartTitle = QStringLiteral("  Zendral");
const QString PageTitle = QStringLiteral("Zendral - [%1]");

bool hasByteOrderMark(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8WithBom || encoding == TextEncoding::Utf16LittleEndian ||
           encoding == TextEncoding::Utf16BigEndian;
}

QString settled(const CharsetDeclaration &declaration)
{
    return declaration.label.trimmed().toLower();
}

// Where a declaration goes: right after <head>; without one, after a leading doctype (a tag
// before it would put the page in quirks mode); else at the top. Only where browsers look.
qsizetype declarationPlace(QStringView head)
{
    for (qsizetype at = head.indexOf(u"<head", 0, Qt::CaseInsensitive); at >= 0;
         at = head.indexOf(u"<head", at + 1, Qt::CaseInsensitive)) {
        const qsizetype after = at + 5;
        if (after < head.size() && (head[after] == u'>' || head[after].isSpace())) {
            const qsizetype close = head.indexOf(u'>', after);
            if (close >= 0)
                return close + 1;
        }
    }
    if (head.trimmed().startsWith(u"<!doctype", Qt::CaseInsensitive)) {
        const qsizetype close = head.indexOf(u'>');
        if (close >= 0)
            return close + 1;
    }
    return 0;
}
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
    : QObject(parent), m_view(view), m_page(view.page()), m_prompts(prompts), m_chooser(chooser)
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
    declarationSettled();
    m_state.modified = false;
    m_state.untouched = false;
    m_state.diskStamp = FileStamp();
    m_diskDigest.reset();
    m_toldStamp.reset();
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
    declarationSettled();
    m_declarationAsked = false;
    m_state.archivoActual = path;
    m_state.rutaAbrir = path;
    m_state.carpetaActual = folderPart(path);
    colour();
    showFromTop();
    m_state.archivoGuardado.clear();
    m_state.modified = true;
    m_state.untouched = false;
    m_state.diskStamp = path.isEmpty() ? FileStamp() : file.value_or(FileStamp::of(path));
    m_diskDigest.reset();
    m_toldStamp.reset();
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
    if (m_state.archivoActual.isEmpty())
        return;
    const FileStamp now = FileStamp::of(m_state.archivoActual);
    if (now == m_toldStamp || !changedOnDisk(now))
        return;
    Busy busy(*this);
    m_toldStamp = now;
    const QString path = shownName(m_state.archivoActual);
    if (!now.exists) {
        m_state.archivoGuardado.clear();
        emit statusMessage(Vanished.arg(path));
        return;
    }
    // Reading it would show another file's content under this name, and make Save write there.
    if (!now.regular || now.isNewLinkSince(m_state.diskStamp)) {
        m_state.archivoGuardado.clear();
        emit statusMessage(NotReadAgain.arg(path));
        return;
    }
    if (m_state.modified &&
        m_prompts.question(ReadAgainQuestion.arg(path)) != Prompts::Answer::Yes) {
        m_state.archivoGuardado.clear();
        return;
    }
    if (loadPage(m_state.archivoActual, Source::Reload))
        emit statusMessage(ReadAgain.arg(path));
}

bool DocumentController::mayOverwrite(const QString &path)
{
    if (path != m_state.archivoActual)
        return true;
    const FileStamp now = FileStamp::of(path);
    // A file that is gone loses nothing by being written again.
    if (!now.exists || !changedOnDisk(now))
        return true;
    if (now.isNewLinkSince(m_state.diskStamp)) {
        m_prompts.notify(LinkInItsPlace.arg(shownName(path)));
        return false;
    }
    return m_prompts.question(OverwriteChanged.arg(shownName(path))) == Prompts::Answer::Yes;
}

bool DocumentController::changedOnDisk(const FileStamp &now)
{
    if (now != m_state.diskStamp)
        return true;
    if (!m_diskDigest)
        return false;
    // Taken before the bytes are read: a write after it shows in the file's time.
    const qint64 checkedAt = QDateTime::currentSecsSinceEpoch();
    if (fileDigest(m_state.archivoActual) != m_diskDigest)
        return true;
    // From now on any write changes the time: the bytes need not be read again.
    if (!now.timeMayHideChange(checkedAt))
        m_diskDigest.reset();
    return false;
}

void DocumentController::recordDiskState(const QString &path, const FileStamp &stamp,
                                         quint64 digest)
{
    m_state.archivoActual = path;
    m_state.diskStamp = stamp;
    m_toldStamp.reset();
    m_diskDigest.reset();
    if (stamp.timeMayHideChange(QDateTime::currentSecsSinceEpoch()))
        m_diskDigest = digest;
}

bool DocumentController::EscribirDocumento(const QString &path)
{
    return write(path, Written);
}

bool DocumentController::write(const QString &path, Changes changes)
{
    Busy busy(*this);
    if (!mayOverwrite(path))
        return false;
    const std::optional<TextEncoding> encoding = encodingToWrite(path);
    if (!encoding)
        return false;
    const WriteResult result =
        writeDocumentFile(path, pieces(), *encoding,
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
    declarationSettled();
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
    m_settledDeclaration = result.document.declared.trimmed().toLower();
    m_declarationAsked = false;
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

TextPieces DocumentController::pieces() const
{
    return [this](const PieceTaker &take) { m_page.forEachPiece(take); };
}

CharsetDeclaration DocumentController::declaration() const
{
    return findCharsetDeclaration(
        m_page.textRange(0, std::min<qint64>(m_page.textLength(), DeclarationReach)));
}

void DocumentController::declarationSettled()
{
    m_settledDeclaration = settled(declaration());
}

std::optional<TextEncoding> DocumentController::encodingToWrite(const QString &path)
{
    TextEncoding target = m_state.encoding;
    const TextPieces text = pieces();
    if (target == TextEncoding::Binary) {
        // Its bytes are kept as they were read: nothing may turn them into another encoding.
        if (const std::optional<Unencodable> found = firstUnencodable(text, target)) {
            m_prompts.notify(BinaryCannotHold.arg(path, found->character).arg(found->line + 1));
            return std::nullopt;
        }
        return target;
    }
    // A browser reads a page with a byte-order mark by its mark, whatever it declares.
    if (hasByteOrderMark(target))
        return target;
    const CharsetDeclaration declared = declaration();
    if (declared.found() && settled(declared) != m_settledDeclaration) {
        if (const std::optional<TextEncoding> named = encodingForLabel(declared.label)) {
            target = *named;
        } else if (holdsNonAscii(text)) {
            if (!m_prompts.ask(CannotWriteDeclared.arg(declared.label)))
                return std::nullopt;
            declareUtf8();
            return TextEncoding::Utf8;
        }
    }
    if (const std::optional<Unencodable> found = firstUnencodable(text, target)) {
        if (!m_prompts.ask(
                CannotHold.arg(encodingCaption(target), found->character).arg(found->line + 1)))
            return std::nullopt;
        declareUtf8();
        return TextEncoding::Utf8;
    }
    if (target == TextEncoding::Utf8 && !declared.found() && !m_declarationAsked &&
        holdsNonAscii(text)) {
        m_declarationAsked = true;
        if (m_prompts.ask(AddDeclaration))
            declareUtf8();
    }
    return target;
}

void DocumentController::declareUtf8()
{
    m_declarationAsked = true;
    const CharsetDeclaration declared = declaration();
    if (declared.found()) {
        editAside(declared.labelStart, declared.labelLength, QStringLiteral("utf-8"));
        return;
    }
    const QString head =
        m_page.textRange(0, std::min<qint64>(m_page.textLength(), DeclarationReach));
    const qsizetype place = declarationPlace(head);
    const QString end = PageText::lineEndText(m_page.pageLineEnd());
    editAside(place, 0, place == 0 ? Utf8Declaration + end : end + Utf8Declaration);
    // Coloured as the whole-page colouring colours a META tag: its inside only.
    const qint64 tag = place == 0 ? 0 : place + end.size();
    if (const std::optional<Colour> colour = classColour(u'5'))
        m_page.applyColours({ColourSpan{tag + 1, Utf8Declaration.size() - 2, *colour}});
}

void DocumentController::editAside(qint64 start, qint64 length, const QString &text)
{
    // The author's caret and selection move with the text around them, as another cursor's
    // edit moves them.
    const QTextCursor caret = m_page.textCursor();
    const Colour colour = m_page.insertionColour();
    // One step of the history: undone, the page is as the author left it.
    UndoStep step(m_page, start, length);
    m_page.setSelectionStart(start);
    m_page.setSelectionLength(length);
    m_page.setInsertionColour(length > 0 ? m_page.colourAt(start) : colours::Black);
    m_page.setSelectedText(text);
    m_page.setInsertionColour(colour);
    m_page.setTextCursor(caret);
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
    if (const std::optional<Unencodable> found = firstUnencodable(pieces(), encoding)) {
        if (!m_prompts.ask(
                CannotHold.arg(encodingCaption(encoding), found->character).arg(found->line + 1)))
            return;
        encoding = TextEncoding::Utf8;
    }
    // The declaration follows; a mark says it all for UTF-16.
    const CharsetDeclaration declared = declaration();
    if (declared.found() && !hasByteOrderMark(encoding) &&
        encodingForLabel(declared.label) != encoding)
        editAside(declared.labelStart, declared.labelLength, declarationLabel(encoding));
    const bool recoded = std::exchange(m_state.encoding, encoding) != encoding;
    declarationSettled();
    if (recoded)
        emit documentChanged(Recoded);
    save();
}

void DocumentController::convertLineEnds(PageText::LineEnd end)
{
    Busy busy(*this);
    if (m_state.encoding == TextEncoding::Binary) {
        m_prompts.notify(BinaryLines);
        return;
    }
    const QString before = m_page.text();
    const QString lineEnd = PageText::lineEndText(end);
    QString after;
    after.reserve(before.size() + before.size() / 16);
    const QChar *data = before.constData();
    const qsizetype size = before.size();
    qsizetype from = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != u'\r' && data[i] != u'\n')
            continue;
        after.append(data + from, i - from);
        after += lineEnd;
        if (data[i] == u'\r' && i + 1 < size && data[i + 1] == u'\n')
            ++i;
        from = i + 1;
    }
    after.append(data + from, size - from);
    if (after == before && m_page.pageLineEnd() == end)
        return;
    const int line = m_page.lineOfBlock(m_view.textCursor().blockNumber());
    {
        UndoStep step(m_page, UndoStep::WholeText);
        m_page.setText(std::move(after));
    }
    colour();
    m_page.setSelectionStart(0);
    m_view.setTextCursor(
        QTextCursor(m_view.document()->findBlockByNumber(m_page.firstBlockOfLine(line))));
    edited();
}

} // namespace zendral
