#include "commandtable.h"

#include "aboutdialog.h"
#include "clockscript.h"
#include "colour.h"
#include "commandcontext.h"
#include "desktopopener.h"
#include "documentcontroller.h"
#include "editcommands.h"
#include "editingsurface.h"
#include "findinfiles.h"
#include "livespelling.h"
#include "mainwindow.h"
#include "matchingtagmarks.h"
#include "pagereviewdock.h"
#include "previewcontroller.h"
#include "printcommands.h"
#include "prompts.h"
#include "spellingcheck.h"
#include "statusarea.h"
#include "tagdialogs.h"
#include "taginsertion.h"
#include "undohistory.h"
#include "usersettings.h"
#include "weblinks.h"
#include "windowmenu.h"
#include "writingaids.h"
#include "zoom.h"

#include <QUrl>
#include <QtGlobal>

#include <array>
#include <type_traits>

namespace zendral {

namespace {

using Context = CommandContext;

const QString HelpNotice = QStringLiteral(
    "La ayuda todavía no está disponíble, pulsa la tecla F2 para visitar la web oficial de este "
    "programa, allí hay unos foros donde podrás resolver tus dudas. Disculpa las molestias.");

// A command of the document's file; the window follows what it did as the document tells it.
CommandHandler fileCommand(std::function<void(DocumentController &)> command)
{
    return [command](Context &c, bool) { command(c.document); };
}

CommandHandler saveIn(TextEncoding encoding)
{
    return fileCommand([encoding](DocumentController &document) { document.saveIn(encoding); });
}

CommandHandler reopenAs(TextEncoding encoding)
{
    return [encoding](Context &c, bool) { c.document.reopenAs(encoding); };
}

// The page's line ends change in its table, not in its text: the status area is told.
CommandHandler convertLineEnds(PageText::LineEnd end)
{
    return [end](Context &c, bool) {
        c.document.convertLineEnds(end);
        c.status.showLineEnds(false);
    };
}

// The dialog of a tag or a generator, over the window, writing into the page.
template <typename Dialog> CommandHandler tagDialog()
{
    return [](Context &c, bool) {
        if constexpr (std::is_constructible_v<Dialog, PageText &, Prompts &, QWidget *>)
            showDialog<Dialog>(c.view.page(), c.prompts, &c.window);
        else
            showDialog<Dialog>(c.view.page(), &c.window);
    };
}

CommandHandler oneClick(OneClickTag tag)
{
    return [tag](Context &c, bool) { insertOneClickTag(c.view.page(), tag); };
}

// A pair tag in blue, the caret between the two spaces it holds; a selection is wrapped instead.
OneClickTag pairTag(const QString &name)
{
    const QString opening = u'<' + name + u'>';
    const QString closing = QStringLiteral("</") + name + u'>';
    return {.fragment = opening + QStringLiteral("  ") + closing,
            .colour = colours::Blue,
            .backOff = closing.size() + 1,
            .opening = opening,
            .closing = closing};
}

const std::vector<CommandSpec> &rows()
{
    using C = Command;
    static const std::vector<CommandSpec> commands = {
        {.command = C::New,
         .name = QStringLiteral("mn_nuevo"),
         .menu = QStringLiteral("mn_archivo"),
         .caption = QStringLiteral("&Nuevo"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+N")),
         .button = QStringLiteral("btnnuevo"),
         .toolTip = QStringLiteral("Nuevo"),
         .icon = QStringLiteral("nuevo"),
         .run = fileCommand(&DocumentController::newPage)},
        {.command = C::Open,
         .name = QStringLiteral("mn_abrir"),
         .menu = QStringLiteral("mn_archivo"),
         .caption = QStringLiteral("&Abrir"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+A")),
         .button = QStringLiteral("btnabrir"),
         .toolTip = QStringLiteral("Abrir"),
         .icon = QStringLiteral("abrir"),
         .run = fileCommand(&DocumentController::open)},
        {.command = C::Save,
         .name = QStringLiteral("mn_guardar"),
         .menu = QStringLiteral("mn_archivo"),
         .caption = QStringLiteral("&Guardar"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+S")),
         .button = QStringLiteral("btnguardar"),
         .toolTip = QStringLiteral("Guardar"),
         .icon = QStringLiteral("guardar"),
         .run = fileCommand(&DocumentController::save)},
        {.command = C::SaveAs,
         .name = QStringLiteral("mn_guardarcomo"),
         .menu = QStringLiteral("mn_archivo"),
         .caption = QStringLiteral("Guardar &como"),
         .button = QStringLiteral("btnguardarcomo"),
         .toolTip = QStringLiteral("Guardar como"),
         .icon = QStringLiteral("guardarcomo"),
         .run = fileCommand(&DocumentController::saveAs)},
        {.command = C::Print,
         .name = QStringLiteral("mn_imprimir"),
         .menu = QStringLiteral("mn_archivo"),
         .caption = QStringLiteral("&Imprimir..."),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+P")),
         .run = [](Context &c, bool) { c.printing.print(); }},
        {.command = C::PrintPreview,
         .name = QStringLiteral("mn_vistapreviaimpresion"),
         .menu = QStringLiteral("mn_archivo"),
         .caption = QStringLiteral("&Vista previa de impresión"),
         .run = [](Context &c, bool) { c.printing.preview(); }},
        {.command = C::NewWindow,
         .name = QStringLiteral("mn_nuevaventana"),
         .menu = QStringLiteral("mn_archivo"),
         .caption = QStringLiteral("Nueva v&entana"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+Shift+N")),
         .run = [](Context &c, bool) { c.windows.openNew(); }},
        {.command = C::Quit,
         .name = QStringLiteral("mn_salir"),
         .menu = QStringLiteral("mn_archivo"),
         .caption = QStringLiteral("&Salir"),
         .run = [](Context &c, bool) { c.window.close(); }},

        {.command = C::Copy,
         .name = QStringLiteral("mn_copiar"),
         .menu = QStringLiteral("mn_edicion"),
         .caption = QStringLiteral("&Copiar"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+C")),
         .button = QStringLiteral("btncopiar"),
         .toolTip = QStringLiteral("Copiar"),
         .icon = QStringLiteral("copiar"),
         .run = [](Context &c, bool) { c.editing.copy(); }},
        {.command = C::Cut,
         .name = QStringLiteral("mn_cortar"),
         .menu = QStringLiteral("mn_edicion"),
         .caption = QStringLiteral("Cor&tar"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+X")),
         .button = QStringLiteral("btncortar"),
         .toolTip = QStringLiteral("Cortar"),
         .icon = QStringLiteral("cortar"),
         .run = [](Context &c, bool) { c.editing.cut(); }},
        {.command = C::Paste,
         .name = QStringLiteral("mn_pegar"),
         .menu = QStringLiteral("mn_edicion"),
         .caption = QStringLiteral("&Pegar"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+V")),
         .button = QStringLiteral("btnpegar"),
         .toolTip = QStringLiteral("Pegar"),
         .icon = QStringLiteral("pegar"),
         .run = [](Context &c, bool) { c.editing.paste(); }},
        {.command = C::ReplaceWords,
         .name = QStringLiteral("mn_reemplazar"),
         .menu = QStringLiteral("mn_edicion"),
         .caption = QStringLiteral("&Reemplazar palabras"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+R")),
         .button = QStringLiteral("btnreemplazar"),
         .toolTip = QStringLiteral("Reemplazar palabras"),
         .icon = QStringLiteral("reemplazar"),
         .run = [](Context &c, bool) { c.editing.replaceWords(); }},
        // Ctrl+A is Abrir.
        {.command = C::SelectAll,
         .name = QStringLiteral("mn_seleccionartodo"),
         .menu = QStringLiteral("mn_edicion"),
         .caption = QStringLiteral("&Seleccionar todo"),
         .run = [](Context &c, bool) { c.editing.selectAll(); }},

        {.command = C::ViewInBrowser,
         .name = QStringLiteral("mn_visualizar"),
         .menu = QStringLiteral("mn_pagina"),
         .caption = QStringLiteral("&Visualizar en el navegador"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+I")),
         .button = QStringLiteral("btnver"),
         .toolTip = QStringLiteral("Ver en el navegador"),
         .icon = QStringLiteral("ver"),
         .run = [](Context &c, bool) { c.preview.viewInBrowser(); }},

        {.command = C::Body,
         .name = QStringLiteral("mn_body"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("&Body"),
         .button = QStringLiteral("btnbody"),
         .toolTip = QStringLiteral("Body"),
         .icon = QStringLiteral("body"),
         .run = tagDialog<BodyDialog>()},
        {.command = C::Cell,
         .name = QStringLiteral("mn_celda"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("&Celda"),
         .button = QStringLiteral("btntd"),
         .toolTip = QStringLiteral("Definír celda"),
         .icon = QStringLiteral("td"),
         .run = tagDialog<CellDialog>()},
        {.command = C::Italic,
         .name = QStringLiteral("mn_cursiva"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("C&ursíva"),
         .button = QStringLiteral("btnitalica"),
         .toolTip = QStringLiteral("Cursíva"),
         .icon = QStringLiteral("italica"),
         .run = oneClick(pairTag(QStringLiteral("i")))},
        {.command = C::Div,
         .name = QStringLiteral("mn_div"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("&Div"),
         .button = QStringLiteral("btndiv"),
         .toolTip = QStringLiteral("DIV"),
         .icon = QStringLiteral("div"),
         .run = tagDialog<DivDialog>()},
        {.command = C::Link,
         .name = QStringLiteral("mn_enlace"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("&Enlace"),
         .button = QStringLiteral("btnlink"),
         .toolTip = QStringLiteral("Enlace"),
         .icon = QStringLiteral("link"),
         .run = tagDialog<LinkDialog>()},
        {.command = C::Space,
         .name = QStringLiteral("mn_espacio"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("E&spacio"),
         .button = QStringLiteral("btnespacio"),
         .toolTip = QStringLiteral("Espacio en blanco"),
         .icon = QStringLiteral("espacio"),
         .run = [](Context &c, bool) { insertNonBreakingSpace(c.view.page()); }},
        {.command = C::Font,
         .name = QStringLiteral("mn_fuente"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("&Fuente"),
         .button = QStringLiteral("btnfuente"),
         .toolTip = QStringLiteral("Fuente"),
         .icon = QStringLiteral("fuente"),
         .run = tagDialog<FontDialog>()},
        // The inline frame button has no tooltip of its own.
        {.command = C::Iframe,
         .name = QStringLiteral("mn_iframe"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("&Iframe"),
         .button = QStringLiteral("btniframe"),
         .icon = QStringLiteral("iframe"),
         .run = tagDialog<IframeDialog>()},
        {.command = C::Bold,
         .name = QStringLiteral("mn_negrita"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("&Negrita"),
         .button = QStringLiteral("btnnegrita"),
         .toolTip = QStringLiteral("Negrita"),
         .icon = QStringLiteral("negrita"),
         .run = oneClick(pairTag(QStringLiteral("b")))},
        {.command = C::Paragraph,
         .name = QStringLiteral("mn_parrafo"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("&Párrafo"),
         .button = QStringLiteral("btnparrafo"),
         .toolTip = QStringLiteral("Párrafo"),
         .icon = QStringLiteral("parrafo"),
         .run = oneClick(pairTag(QStringLiteral("p")))},
        {.command = C::LineBreak,
         .name = QStringLiteral("mn_br"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("Sa&lto de línea"),
         .button = QStringLiteral("btnbr"),
         .toolTip = QStringLiteral("Salto de línea"),
         .icon = QStringLiteral("br"),
         .run = oneClick({.fragment = QStringLiteral("<br>"), .colour = colours::Blue})},
        {.command = C::Underline,
         .name = QStringLiteral("mn_subrayado"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("Subr&ayado"),
         .button = QStringLiteral("btnsubrayado"),
         .toolTip = QStringLiteral("Subrayado"),
         .icon = QStringLiteral("subrayado"),
         .run = oneClick(pairTag(QStringLiteral("u")))},
        {.command = C::Table,
         .name = QStringLiteral("mn_tabla"),
         .menu = QStringLiteral("mn_html"),
         .caption = QStringLiteral("&Tabla"),
         .button = QStringLiteral("btntabla"),
         .toolTip = QStringLiteral("Definír tabla"),
         .icon = QStringLiteral("tabla"),
         .run = tagDialog<TableDialog>()},

        {.command = C::AspOpening,
         .name = QStringLiteral("mn_aperturaasp"),
         .menu = QStringLiteral("mn_asp"),
         .caption = QStringLiteral("&Apertura/Cierre"),
         .button = QStringLiteral("btnapertura"),
         .toolTip = QStringLiteral("Apertura/Cierre de ASP"),
         .icon = QStringLiteral("apertura"),
         .run = oneClick({.fragment = QStringLiteral("<%\r\n\r\n\r\n\r\n%>"),
                          .colour = colours::Red,
                          .backOff = 8})},
        {.command = C::DatabaseConnection,
         .name = QStringLiteral("mn_conexiondb"),
         .menu = QStringLiteral("mn_asp"),
         .caption = QStringLiteral("&Conexión a Base de datos"),
         .button = QStringLiteral("btndb"),
         .toolTip = QStringLiteral("Conexión a Base de Datos"),
         .icon = QStringLiteral("db"),
         .run = tagDialog<DbDialog>()},

        {.command = C::JavaScriptOpening,
         .name = QStringLiteral("mn_aperturajs"),
         .menu = QStringLiteral("mn_javascript"),
         .caption = QStringLiteral("&Apertura/Cierre"),
         .button = QStringLiteral("btnjavascript"),
         .toolTip = QStringLiteral("Apertura/Cierre de JavaScript"),
         .icon = QStringLiteral("javascript"),
         .run = oneClick({.fragment = QStringLiteral(
                              "\r\n<script languaje=javascript>\r\n\r\n\r\n\r\n</script>"),
                          .backOff = 11})},
        {.command = C::PopUp,
         .name = QStringLiteral("mn_popup"),
         .menu = QStringLiteral("mn_javascript"),
         .caption = QStringLiteral("&Generar Pop-Up"),
         .button = QStringLiteral("btnpopup"),
         .toolTip = QStringLiteral("Pop-Up"),
         .icon = QStringLiteral("popup"),
         .run = tagDialog<PopupDialog>()},
        {.command = C::CurrentTime,
         .name = QStringLiteral("mn_hora"),
         .menu = QStringLiteral("mn_javascript"),
         .caption = QStringLiteral("&Hora actual"),
         .button = QStringLiteral("btnhora"),
         .toolTip = QStringLiteral("Hora actual"),
         .icon = QStringLiteral("hora"),
         .run = [](Context &c, bool) { insertClockScript(c.view.page(), c.prompts); }},

        {.command = C::LineNumbers,
         .name = QStringLiteral("mn_numeroslinea"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("&Números de línea"),
         .setting = QStringLiteral("ver/numerosLinea"),
         .onByDefault = true,
         .run = [](Context &c, bool on) { c.view.setLineNumbersShown(on); }},
        {.command = C::HighlightLine,
         .name = QStringLiteral("mn_resaltarlinea"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("&Resaltar línea actual"),
         .setting = QStringLiteral("ver/resaltarLinea"),
         .onByDefault = true,
         .run = [](Context &c, bool on) { c.view.setCurrentLineHighlighted(on); }},
        {.command = C::WrapLines,
         .name = QStringLiteral("mn_ajustarlineas"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("A&justar líneas"),
         .setting = QStringLiteral("ver/ajustarLineas"),
         .onByDefault = false,
         .run =
             [](Context &c, bool on) {
                 c.view.setLineWrapMode(on ? QPlainTextEdit::WidgetWidth : QPlainTextEdit::NoWrap);
             }},
        {.command = C::ZoomIn,
         .name = QStringLiteral("mn_ampliar"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("&Ampliar"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl++")),
         .run = [](Context &c, bool) { c.zoom.zoomBy(1); }},
        {.command = C::ZoomOut,
         .name = QStringLiteral("mn_reducir"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("Re&ducir"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+-")),
         .run = [](Context &c, bool) { c.zoom.zoomBy(-1); }},
        {.command = C::NormalSize,
         .name = QStringLiteral("mn_tamanonormal"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("&Tamaño normal"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+0")),
         .run = [](Context &c, bool) { c.zoom.reset(); }},
        {.command = C::SpellAsYouType,
         .name = QStringLiteral("mn_ortografiaescribir"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("Revisar &ortografía al escribir"),
         .setting = QStringLiteral("ver/ortografiaEscribir"),
         .onByDefault = true,
         .run = [](Context &c, bool on) { c.liveSpelling.setEnabled(on); }},
        // Ctrl+M took nothing: it reached the text as a second Enter.
        {.command = C::MatchingTag,
         .name = QStringLiteral("mn_etiquetapareja"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("Ir a la &etiqueta pareja"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+M")),
         .run = [](Context &c, bool) { c.tagPairs.goToPair(); }},

        {.command = C::Help,
         .name = QStringLiteral("mn_ayudaprog"),
         .menu = QStringLiteral("mn_ayuda"),
         .caption = QStringLiteral("&Ayuda del programa"),
         .shortcut = QKeySequence(Qt::Key_F1),
         .button = QStringLiteral("btnayuda"),
         .toolTip = QStringLiteral("Ayuda"),
         .icon = QStringLiteral("ayuda"),
         .run = [](Context &c, bool) { c.prompts.notify(HelpNotice); }},
        {.command = C::ProgramPage,
         .name = QStringLiteral("mn_paginaweb"),
         .menu = QStringLiteral("mn_ayuda"),
         .caption = QStringLiteral("&Página del programa"),
         .shortcut = QKeySequence(Qt::Key_F2),
         .run = [](Context &c, bool) { c.opener.open(QUrl(weblinks::ProgramPage)); }},
        {.command = C::AuthorPage,
         .name = QStringLiteral("mn_webautor"),
         .menu = QStringLiteral("mn_ayuda"),
         .caption = QStringLiteral("Página &web del Autor"),
         .shortcut = QKeySequence(Qt::Key_F3),
         .run = [](Context &c, bool) { c.opener.open(QUrl(weblinks::AuthorPage)); }},
        {.command = C::About,
         .name = QStringLiteral("mn_acercade"),
         .menu = QStringLiteral("mn_ayuda"),
         .caption = QStringLiteral("A&cerda de Zendral"),
         .shortcut = QKeySequence(Qt::Key_F4),
         .run = [](Context &c, bool) { showDialog<AboutDialog>(&c.window); }},

        // Reached from the toolbar only.
        {.command = C::Spelling,
         .name = QStringLiteral("btnortografia"),
         .menu = {},
         .caption = {},
         .button = QStringLiteral("btnortografia"),
         .toolTip = QStringLiteral("Corrector ortográfico"),
         .icon = QStringLiteral("ortografia"),
         .run = [](Context &c, bool) { c.spelling.run(c.view.page(), c.prompts, &c.window); }},
        {.command = C::Undo,
         .name = QStringLiteral("btndeshacer"),
         .menu = {},
         .caption = {},
         .button = QStringLiteral("btndeshacer"),
         .toolTip = QStringLiteral("Deshacer"),
         .icon = QStringLiteral("deshacer"),
         .run = [](Context &c, bool) { c.history.DeshacerComando(); }},
        {.command = C::Redo,
         .name = QStringLiteral("btnrehacer"),
         .menu = {},
         .caption = {},
         .button = QStringLiteral("btnrehacer"),
         .toolTip = QStringLiteral("Rehacer"),
         .icon = QStringLiteral("rehacer"),
         .run = [](Context &c, bool) { c.history.RehacerComando(); }},
        {.command = C::MetaTags,
         .name = QStringLiteral("btnmeta"),
         .menu = {},
         .caption = {},
         .button = QStringLiteral("btnmeta"),
         .toolTip = QStringLiteral("Generar Meta-Tags"),
         .icon = QStringLiteral("meta"),
         .run = [](Context &c, bool) { showDialog<MetaTagsDialog>(&c.window); }},

        {.command = C::FindReplace,
         .name = QStringLiteral("mn_buscarreemplazar"),
         .menu = QStringLiteral("mn_edicion"),
         .caption = QStringLiteral("&Buscar y reemplazar…"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+H")),
         .run = [](Context &c, bool) { c.editing.findReplace(); }},
        {.command = C::FindInFiles,
         .name = QStringLiteral("mn_buscararchivos"),
         .menu = QStringLiteral("mn_edicion"),
         .caption = QStringLiteral("Buscar en &archivos…"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+Shift+F")),
         .run = [](Context &c, bool) { c.findInFiles.show(); }},
        {.command = C::Suggestions,
         .name = QStringLiteral("mn_sugerencias"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("&Sugerencias al escribir"),
         .setting = QStringLiteral("ver/sugerencias"),
         .onByDefault = true,
         .run = [](Context &c, bool on) { c.writingAids.setSuggestionsEnabled(on); }},
        {.command = C::CloseTags,
         .name = QStringLiteral("mn_cerraretiquetas"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("&Cerrar etiquetas al escribir"),
         .setting = QStringLiteral("ver/cerrarEtiquetas"),
         .onByDefault = true,
         .run = [](Context &c, bool on) { c.writingAids.setClosingTagsEnabled(on); }},
        {.command = C::ReviewPage,
         .name = QStringLiteral("mn_revisarpagina"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("Re&visar página"),
         .shortcut = QKeySequence(Qt::Key_F7),
         .run = [](Context &c, bool) { c.pageReview.review(); }},
        {.command = C::ReopenUtf8,
         .name = QStringLiteral("mn_abrirutf8"),
         .menu = QStringLiteral("mn_volverabrircomo"),
         .caption = QStringLiteral("UTF-8"),
         .run = reopenAs(TextEncoding::Utf8)},
        {.command = C::ReopenWindows1252,
         .name = QStringLiteral("mn_abrirwindows1252"),
         .menu = QStringLiteral("mn_volverabrircomo"),
         .caption = QStringLiteral("Windows-1252"),
         .run = reopenAs(TextEncoding::Windows1252)},
        {.command = C::ReopenIso885915,
         .name = QStringLiteral("mn_abririso885915"),
         .menu = QStringLiteral("mn_volverabrircomo"),
         .caption = QStringLiteral("ISO-8859-15"),
         .run = reopenAs(TextEncoding::Iso885915)},
        {.command = C::ReopenUtf16,
         .name = QStringLiteral("mn_abrirutf16"),
         .menu = QStringLiteral("mn_volverabrircomo"),
         .caption = QStringLiteral("UTF-16"),
         .run = reopenAs(TextEncoding::Utf16LittleEndian)},
        {.command = C::SaveInUtf8,
         .name = QStringLiteral("mn_guardarutf8"),
         .menu = QStringLiteral("mn_guardarcodificacion"),
         .caption = QStringLiteral("UTF-8"),
         .run = saveIn(TextEncoding::Utf8)},
        {.command = C::SaveInWindows1252,
         .name = QStringLiteral("mn_guardarwindows1252"),
         .menu = QStringLiteral("mn_guardarcodificacion"),
         .caption = QStringLiteral("Windows-1252"),
         .run = saveIn(TextEncoding::Windows1252)},
        {.command = C::SaveInIso885915,
         .name = QStringLiteral("mn_guardariso885915"),
         .menu = QStringLiteral("mn_guardarcodificacion"),
         .caption = QStringLiteral("ISO-8859-15"),
         .run = saveIn(TextEncoding::Iso885915)},
        {.command = C::SaveInUtf16,
         .name = QStringLiteral("mn_guardarutf16"),
         .menu = QStringLiteral("mn_guardarcodificacion"),
         .caption = QStringLiteral("UTF-16"),
         .run = saveIn(TextEncoding::Utf16LittleEndian)},
        {.command = C::LineEndsCrLf,
         .name = QStringLiteral("mn_finalescrlf"),
         .menu = QStringLiteral("mn_finaleslinea"),
         .caption = QStringLiteral("CR LF"),
         .run = convertLineEnds(PageText::LineEnd::CrLf)},
        {.command = C::LineEndsLf,
         .name = QStringLiteral("mn_finaleslf"),
         .menu = QStringLiteral("mn_finaleslinea"),
         .caption = QStringLiteral("LF"),
         .run = convertLineEnds(PageText::LineEnd::Lf)},
        {.command = C::NextWindow,
         .name = QStringLiteral("mn_ventanasiguiente"),
         .menu = QStringLiteral("mn_ventana"),
         .caption = QStringLiteral("Ventana &siguiente"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+Tab")),
         .run = [](Context &c, bool) { c.windows.goTo(1); }},
        {.command = C::PreviousWindow,
         .name = QStringLiteral("mn_ventanaanterior"),
         .menu = QStringLiteral("mn_ventana"),
         .caption = QStringLiteral("Ventana &anterior"),
         .shortcut = QKeySequence(QStringLiteral("Ctrl+Shift+Tab")),
         .run = [](Context &c, bool) { c.windows.goTo(-1); }},
        // Read by the window set as the program starts and ends.
        {.command = C::RememberSession,
         .name = QStringLiteral("mn_recordarsesion"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("Recordar las &páginas abiertas"),
         .setting = QStringLiteral("ver/recordarSesion"),
         .onByDefault = true,
         .run =
             [](Context &, bool on) {
                 // Turned off, the pages already remembered are not offered either.
                 if (!on)
                     forgetOpenPages();
             }},
        {.command = C::LivePreview,
         .name = QStringLiteral("mn_previsualizarvivo"),
         .menu = QStringLiteral("mn_ver"),
         .caption = QStringLiteral("Previsua&lizar al escribir"),
         .setting = QStringLiteral("ver/previsualizarVivo"),
         .onByDefault = false,
         .run = [](Context &c, bool on) { c.preview.setFollowsText(on); }},
    };
    return commands;
}

const std::array<std::vector<ToolbarItem>, 4> &toolbars()
{
    using C = Command;
    static const std::array<std::vector<ToolbarItem>, 4> bars = {{
        // Bar::Main
        {C::New, C::Open, C::Save, C::SaveAs, Separator, C::Cut, C::Copy, C::Paste, C::Undo,
         C::Redo, Separator, C::ReplaceWords, C::Spelling, C::MetaTags, C::ViewInBrowser, Separator,
         C::Help},
        // Bar::Html
        {C::Body, C::Paragraph, C::LineBreak, C::Link, C::Font, C::Bold, C::Italic, C::Underline,
         C::Space, C::Div, C::Iframe, C::Table, C::Cell},
        // Bar::Asp
        {C::AspOpening, C::DatabaseConnection},
        // Bar::JavaScript
        {C::JavaScriptOpening, C::CurrentTime, C::PopUp},
    }};
    return bars;
}

// What is wrong with the table: each command in exactly one row, in the order of the
// commands, and every button on exactly one toolbar.
QString tableFault()
{
    const std::vector<CommandSpec> &commands = rows();
    if (commands.size() != std::size_t(CommandCount))
        return QStringLiteral("%1 rows for %2 commands").arg(commands.size()).arg(CommandCount);
    std::array<int, CommandCount> placed = {};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const CommandSpec &row = commands[i];
        if (int(row.command) != int(i))
            return QStringLiteral("row %1 (%2) is not in the commands' order").arg(i).arg(row.name);
        if (row.menu.isEmpty() != row.caption.isEmpty())
            return QStringLiteral("%1 has a menu or a caption without the other").arg(row.name);
        if (!row.run)
            return QStringLiteral("%1 has no handler").arg(row.name);
    }
    for (const std::vector<ToolbarItem> &bar : toolbars()) {
        for (const ToolbarItem &item : bar) {
            if (!item)
                continue;
            const CommandSpec &row = commands[std::size_t(*item)];
            if (row.button.isEmpty())
                return QStringLiteral("%1 is on a toolbar without a button").arg(row.name);
            ++placed[std::size_t(*item)];
        }
    }
    for (const CommandSpec &row : commands) {
        if (placed[std::size_t(row.command)] != (row.button.isEmpty() ? 0 : 1))
            return QStringLiteral("the button of %1 is not on exactly one toolbar").arg(row.name);
    }
    return {};
}

} // namespace

const std::vector<MenuSpec> &menuTable()
{
    static const std::vector<MenuSpec> menus = {
        {.name = QStringLiteral("mn_archivo"), .caption = QStringLiteral("&Archivo")},
        {.name = QStringLiteral("mn_edicion"), .caption = QStringLiteral("&Edición")},
        {.name = QStringLiteral("mn_pagina"), .caption = QStringLiteral("&Página")},
        {.name = QStringLiteral("mn_etiquetas"), .caption = QStringLiteral("E&tiquetas")},
        {.name = QStringLiteral("mn_html"),
         .parent = QStringLiteral("mn_etiquetas"),
         .caption = QStringLiteral("&HTML")},
        {.name = QStringLiteral("mn_asp"),
         .parent = QStringLiteral("mn_etiquetas"),
         .caption = QStringLiteral("&ASP")},
        {.name = QStringLiteral("mn_javascript"),
         .parent = QStringLiteral("mn_etiquetas"),
         .caption = QStringLiteral("&JavaScript")},
        {.name = QStringLiteral("mn_recientes"),
         .parent = QStringLiteral("mn_archivo"),
         .caption = QStringLiteral("Páginas &recientes"),
         .before = QStringLiteral("mn_imprimir")},
        {.name = QStringLiteral("mn_ver"), .caption = QStringLiteral("&Ver")},
        // The windows of the program are listed after its commands, as the menu opens.
        {.name = QStringLiteral("mn_ventana"), .caption = QStringLiteral("Ve&ntana")},
        {.name = QStringLiteral("mn_ayuda"), .caption = QStringLiteral("A&yuda")},
        {.name = QStringLiteral("mn_codificacion"),
         .parent = QStringLiteral("mn_archivo"),
         .caption = QStringLiteral("C&odificación"),
         .before = QStringLiteral("mn_salir")},
        {.name = QStringLiteral("mn_volverabrircomo"),
         .parent = QStringLiteral("mn_codificacion"),
         .caption = QStringLiteral("&Volver a abrir como")},
        {.name = QStringLiteral("mn_guardarcodificacion"),
         .parent = QStringLiteral("mn_codificacion"),
         .caption = QStringLiteral("&Guardar como")},
        {.name = QStringLiteral("mn_finaleslinea"),
         .parent = QStringLiteral("mn_codificacion"),
         .caption = QStringLiteral("&Finales de línea")},
    };
    return menus;
}

const std::vector<CommandSpec> &commandTable()
{
    // Checked once, in every build: a wrong table is a mistake of the program, not of the user.
    static const bool checked = [] {
        const QString fault = tableFault();
        if (!fault.isEmpty())
            qFatal("The command table is wrong: %s", qPrintable(fault));
        return true;
    }();
    Q_UNUSED(checked);
    return rows();
}

const CommandSpec &commandSpec(Command command)
{
    return commandTable()[std::size_t(command)];
}

const std::vector<ToolbarItem> &toolbarOrder(Bar bar)
{
    // The toolbars are checked with the table, before anything reads either.
    commandTable();
    return toolbars()[std::size_t(bar)];
}

} // namespace zendral
