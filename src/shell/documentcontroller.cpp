#include "documentcontroller.h"

#include "editingsurface.h"
#include "filechooser.h"
#include "prompts.h"

#include <QFileInfo>

namespace zendral {

namespace {
const QString SaveQuestion = QStringLiteral("¿Quieres guardar el archivo actual?");
const QString SaveTitle = QStringLiteral("Guardar archivo como...");
const QString OpenTitle = QStringLiteral("Abrir archivo");
// Past this many characters a line makes every keystroke in it slow (32 ms at 200k).
constexpr qsizetype ComfortableLine = 100000;
} // namespace

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

DocumentController::DocumentController(EditingSurface &text1, Prompts &prompts,
                                       FileChooser &chooser, QObject *parent)
    : QObject(parent), m_text1(text1), m_prompts(prompts), m_chooser(chooser)
{}

QString DocumentController::folderPart(const QString &path)
{
    if (path.isEmpty())
        return QString();
    return path.left(path.size() - QFileInfo(path).fileName().size());
}

void DocumentController::colour()
{
    if (m_colorea)
        m_colorea();
}

void DocumentController::startUp()
{
    m_text1.setInsertionColour(colours::Blue);
    m_text1.setSelectedText(PlantillaInicio());
    m_text1.setInsertionColour(colours::Black);
    m_text1.setSelectionStart(m_text1.textLength());
}

QString DocumentController::chooseSaveName(bool confirmOverwrite)
{
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.title = SaveTitle;
    request.filter = Filter();
    request.filterIndex = 1;
    request.fileName = m_state.archivoActual;
    request.confirmOverwrite = confirmOverwrite;
    return m_chooser.choose(request);
}

bool DocumentController::prompt(PromptKind kind)
{
    m_state.textoAnterior = m_text1.text();
    if (!m_prompts.ask(SaveQuestion))
        return true;
    // Asking before an overwrite here too: a silent one could destroy another file.
    const QString archivoAntes = m_state.archivoActual;
    m_state.archivoActual = chooseSaveName(true);
    if (!m_state.archivoActual.isEmpty()) {
        if (!EscribirDocumento(m_state.archivoActual)) {
            // The user asked for the text to be kept and it was not: going on would drop it.
            m_state.archivoActual = archivoAntes;
            return false;
        }
        if (kind == PromptKind::Open)
            m_text1.setText(QString());
        return true;
    }
    if (kind == PromptKind::Open)
        m_state.rutaAbrir.clear();
    m_text1.setText(m_state.textoAnterior);
    return true;
}

bool DocumentController::PreguntarGuardar()
{
    return prompt(PromptKind::Plain);
}

void DocumentController::nuevo()
{
    if (!PreguntarGuardar())
        return;
    m_text1.setText(PlantillaNueva());
    m_text1.setSelectionStart(m_text1.textLength());
    m_state.archivoActual.clear();
    m_state.encoding = TextEncoding::Utf8;
}

void DocumentController::abrir()
{
    if (!prompt(PromptKind::Open))
        return;
    const QString archivoAntes = m_state.archivoActual;
    m_text1.setText(QString());

    FileRequest request;
    request.mode = FileRequest::Mode::Open;
    request.title = OpenTitle;
    request.filter = Filter();
    request.filterIndex = 1;
    request.fileName = m_state.rutaAbrir;
    m_state.archivoActual = m_chooser.choose(request);
    cargarElegido(archivoAntes);
}

void DocumentController::abrirRuta(const QString &path)
{
    m_state.textoAnterior = m_text1.text();
    const QString archivoAntes = m_state.archivoActual;
    m_text1.setText(QString());
    m_state.archivoActual = path;
    cargarElegido(archivoAntes);
}

void DocumentController::abrirRutaPreguntando(const QString &path)
{
    if (!prompt(PromptKind::Open))
        return;
    const QString archivoAntes = m_state.archivoActual;
    m_text1.setText(QString());
    m_state.archivoActual = path;
    cargarElegido(archivoAntes);
}

void DocumentController::cargarElegido(const QString &archivoAntes)
{
    bool loaded = false;
    if (!m_state.archivoActual.isEmpty()) {
        loaded = LeerDocumento(m_state.archivoActual);
        if (loaded) {
            m_state.rutaAbrir = m_state.archivoActual;
            emit titleChanged(QStringLiteral("Zendral - [") + m_state.archivoActual +
                              QLatin1Char(']'));
        } else {
            // The page could not be read: the document stays the one the user had.
            m_state.archivoActual = archivoAntes;
        }
    }
    if (!loaded)
        m_text1.setText(m_state.textoAnterior);
    if (loaded || m_state.archivoActual.isEmpty())
        m_state.carpetaActual = folderPart(m_state.archivoActual);
    colour();
}

void DocumentController::guardar()
{
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

void DocumentController::guardarComo()
{
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

bool DocumentController::confirmClose()
{
    if (!m_prompts.ask(SaveQuestion))
        return true;
    const QString name = chooseSaveName(true);
    if (name.isEmpty() || !EscribirDocumento(name))
        return false;
    m_state.archivoActual = name;
    return true;
}

bool DocumentController::EscribirDocumento(const QString &path)
{
    const WriteResult result =
        writeDocumentFile(path, m_text1.text(), m_state.encoding,
                          [this](const QString &question) { return m_prompts.ask(question); });
    if (!result.ok) {
        if (!result.declined)
            m_prompts.notify(result.error);
        return false;
    }
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
    return true;
}

bool DocumentController::LeerDocumento(const QString &path)
{
    const ReadResult result =
        readDocumentFile(path, [this](const QString &question) { return m_prompts.ask(question); });
    if (!result.ok) {
        if (!result.declined)
            m_prompts.notify(result.error);
        return false;
    }
    m_state.encoding = result.document.encoding;
    if (m_text1.textLength() == 0)
        m_text1.setText(result.document.text);
    else
        m_text1.setText(m_text1.text() + result.document.text);
    if (result.document.longestLine > ComfortableLine)
        m_prompts.notify(QStringLiteral("El archivo \"%1\" tiene una línea de %2 caracteres: se ha "
                                        "cargado entero, pero escribir en una línea tan larga "
                                        "será lento.")
                             .arg(path)
                             .arg(result.document.longestLine));
    return true;
}

} // namespace zendral
