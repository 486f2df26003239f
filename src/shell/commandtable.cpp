#include "commandtable.h"

#include <QtGlobal>

#include <array>

namespace zendral {

namespace {

const std::vector<CommandSpec> &rows()
{
    using C = Command;
    static const std::vector<CommandSpec> commands = {
        {.command = C::New,
         .name = u"mn_nuevo"_qs,
         .menu = u"mn_archivo"_qs,
         .caption = u"&Nuevo"_qs,
         .shortcut = QKeySequence(u"Ctrl+N"_qs),
         .button = u"btnnuevo"_qs,
         .toolTip = u"Nuevo"_qs,
         .icon = u"nuevo"_qs},
        {.command = C::Open,
         .name = u"mn_abrir"_qs,
         .menu = u"mn_archivo"_qs,
         .caption = u"&Abrir"_qs,
         .shortcut = QKeySequence(u"Ctrl+A"_qs),
         .button = u"btnabrir"_qs,
         .toolTip = u"Abrir"_qs,
         .icon = u"abrir"_qs},
        {.command = C::Save,
         .name = u"mn_guardar"_qs,
         .menu = u"mn_archivo"_qs,
         .caption = u"&Guardar"_qs,
         .shortcut = QKeySequence(u"Ctrl+S"_qs),
         .button = u"btnguardar"_qs,
         .toolTip = u"Guardar"_qs,
         .icon = u"guardar"_qs},
        {.command = C::SaveAs,
         .name = u"mn_guardarcomo"_qs,
         .menu = u"mn_archivo"_qs,
         .caption = u"Guardar &como"_qs,
         .button = u"btnguardarcomo"_qs,
         .toolTip = u"Guardar como"_qs,
         .icon = u"guardarcomo"_qs},
        {.command = C::Print,
         .name = u"mn_imprimir"_qs,
         .menu = u"mn_archivo"_qs,
         .caption = u"&Imprimir..."_qs,
         .shortcut = QKeySequence(u"Ctrl+P"_qs)},
        {.command = C::PrintPreview,
         .name = u"mn_vistapreviaimpresion"_qs,
         .menu = u"mn_archivo"_qs,
         .caption = u"&Vista previa de impresión"_qs},
        {.command = C::NewWindow,
         .name = u"mn_nuevaventana"_qs,
         .menu = u"mn_archivo"_qs,
         .caption = u"Nueva v&entana"_qs,
         .shortcut = QKeySequence(u"Ctrl+Shift+N"_qs)},
        {.command = C::Quit,
         .name = u"mn_salir"_qs,
         .menu = u"mn_archivo"_qs,
         .caption = u"&Salir"_qs},

        {.command = C::Copy,
         .name = u"mn_copiar"_qs,
         .menu = u"mn_edicion"_qs,
         .caption = u"&Copiar"_qs,
         .shortcut = QKeySequence(u"Ctrl+C"_qs),
         .button = u"btncopiar"_qs,
         .toolTip = u"Copiar"_qs,
         .icon = u"copiar"_qs},
        {.command = C::Cut,
         .name = u"mn_cortar"_qs,
         .menu = u"mn_edicion"_qs,
         .caption = u"Cor&tar"_qs,
         .shortcut = QKeySequence(u"Ctrl+X"_qs),
         .button = u"btncortar"_qs,
         .toolTip = u"Cortar"_qs,
         .icon = u"cortar"_qs},
        {.command = C::Paste,
         .name = u"mn_pegar"_qs,
         .menu = u"mn_edicion"_qs,
         .caption = u"&Pegar"_qs,
         .shortcut = QKeySequence(u"Ctrl+V"_qs),
         .button = u"btnpegar"_qs,
         .toolTip = u"Pegar"_qs,
         .icon = u"pegar"_qs},
        {.command = C::ReplaceWords,
         .name = u"mn_reemplazar"_qs,
         .menu = u"mn_edicion"_qs,
         .caption = u"&Reemplazar palabras"_qs,
         .shortcut = QKeySequence(u"Ctrl+R"_qs),
         .button = u"btnreemplazar"_qs,
         .toolTip = u"Reemplazar palabras"_qs,
         .icon = u"reemplazar"_qs},
        // Ctrl+A is Abrir.
        {.command = C::SelectAll,
         .name = u"mn_seleccionartodo"_qs,
         .menu = u"mn_edicion"_qs,
         .caption = u"&Seleccionar todo"_qs},

        {.command = C::ViewInBrowser,
         .name = u"mn_visualizar"_qs,
         .menu = u"mn_pagina"_qs,
         .caption = u"&Visualizar en el navegador"_qs,
         .shortcut = QKeySequence(u"Ctrl+I"_qs),
         .button = u"btnver"_qs,
         .toolTip = u"Ver en el navegador"_qs,
         .icon = u"ver"_qs},

        {.command = C::Body,
         .name = u"mn_body"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"&Body"_qs,
         .button = u"btnbody"_qs,
         .toolTip = u"Body"_qs,
         .icon = u"body"_qs},
        {.command = C::Cell,
         .name = u"mn_celda"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"&Celda"_qs,
         .button = u"btntd"_qs,
         .toolTip = u"Definír celda"_qs,
         .icon = u"td"_qs},
        {.command = C::Italic,
         .name = u"mn_cursiva"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"C&ursíva"_qs,
         .button = u"btnitalica"_qs,
         .toolTip = u"Cursíva"_qs,
         .icon = u"italica"_qs},
        {.command = C::Div,
         .name = u"mn_div"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"&Div"_qs,
         .button = u"btndiv"_qs,
         .toolTip = u"DIV"_qs,
         .icon = u"div"_qs},
        {.command = C::Link,
         .name = u"mn_enlace"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"&Enlace"_qs,
         .button = u"btnlink"_qs,
         .toolTip = u"Enlace"_qs,
         .icon = u"link"_qs},
        {.command = C::Space,
         .name = u"mn_espacio"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"E&spacio"_qs,
         .button = u"btnespacio"_qs,
         .toolTip = u"Espacio en blanco"_qs,
         .icon = u"espacio"_qs},
        {.command = C::Font,
         .name = u"mn_fuente"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"&Fuente"_qs,
         .button = u"btnfuente"_qs,
         .toolTip = u"Fuente"_qs,
         .icon = u"fuente"_qs},
        // The inline frame button has no tooltip of its own.
        {.command = C::Iframe,
         .name = u"mn_iframe"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"&Iframe"_qs,
         .button = u"btniframe"_qs,
         .icon = u"iframe"_qs},
        {.command = C::Bold,
         .name = u"mn_negrita"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"&Negrita"_qs,
         .button = u"btnnegrita"_qs,
         .toolTip = u"Negrita"_qs,
         .icon = u"negrita"_qs},
        {.command = C::Paragraph,
         .name = u"mn_parrafo"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"&Párrafo"_qs,
         .button = u"btnparrafo"_qs,
         .toolTip = u"Párrafo"_qs,
         .icon = u"parrafo"_qs},
        {.command = C::LineBreak,
         .name = u"mn_br"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"Sa&lto de línea"_qs,
         .button = u"btnbr"_qs,
         .toolTip = u"Salto de línea"_qs,
         .icon = u"br"_qs},
        {.command = C::Underline,
         .name = u"mn_subrayado"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"Subr&ayado"_qs,
         .button = u"btnsubrayado"_qs,
         .toolTip = u"Subrayado"_qs,
         .icon = u"subrayado"_qs},
        {.command = C::Table,
         .name = u"mn_tabla"_qs,
         .menu = u"mn_html"_qs,
         .caption = u"&Tabla"_qs,
         .button = u"btntabla"_qs,
         .toolTip = u"Definír tabla"_qs,
         .icon = u"tabla"_qs},

        {.command = C::AspOpening,
         .name = u"mn_aperturaasp"_qs,
         .menu = u"mn_asp"_qs,
         .caption = u"&Apertura/Cierre"_qs,
         .button = u"btnapertura"_qs,
         .toolTip = u"Apertura/Cierre de ASP"_qs,
         .icon = u"apertura"_qs},
        {.command = C::DatabaseConnection,
         .name = u"mn_conexiondb"_qs,
         .menu = u"mn_asp"_qs,
         .caption = u"&Conexión a Base de datos"_qs,
         .button = u"btndb"_qs,
         .toolTip = u"Conexión a Base de Datos"_qs,
         .icon = u"db"_qs},

        {.command = C::JavaScriptOpening,
         .name = u"mn_aperturajs"_qs,
         .menu = u"mn_javascript"_qs,
         .caption = u"&Apertura/Cierre"_qs,
         .button = u"btnjavascript"_qs,
         .toolTip = u"Apertura/Cierre de JavaScript"_qs,
         .icon = u"javascript"_qs},
        {.command = C::PopUp,
         .name = u"mn_popup"_qs,
         .menu = u"mn_javascript"_qs,
         .caption = u"&Generar Pop-Up"_qs,
         .button = u"btnpopup"_qs,
         .toolTip = u"Pop-Up"_qs,
         .icon = u"popup"_qs},
        {.command = C::CurrentTime,
         .name = u"mn_hora"_qs,
         .menu = u"mn_javascript"_qs,
         .caption = u"&Hora actual"_qs,
         .button = u"btnhora"_qs,
         .toolTip = u"Hora actual"_qs,
         .icon = u"hora"_qs},

        {.command = C::LineNumbers,
         .name = u"mn_numeroslinea"_qs,
         .menu = u"mn_ver"_qs,
         .caption = u"&Números de línea"_qs,
         .setting = u"ver/numerosLinea"_qs,
         .onByDefault = true},
        {.command = C::HighlightLine,
         .name = u"mn_resaltarlinea"_qs,
         .menu = u"mn_ver"_qs,
         .caption = u"&Resaltar línea actual"_qs,
         .setting = u"ver/resaltarLinea"_qs,
         .onByDefault = true},
        {.command = C::WrapLines,
         .name = u"mn_ajustarlineas"_qs,
         .menu = u"mn_ver"_qs,
         .caption = u"A&justar líneas"_qs,
         .setting = u"ver/ajustarLineas"_qs,
         .onByDefault = false},
        {.command = C::ZoomIn,
         .name = u"mn_ampliar"_qs,
         .menu = u"mn_ver"_qs,
         .caption = u"&Ampliar"_qs,
         .shortcut = QKeySequence(u"Ctrl++"_qs)},
        {.command = C::ZoomOut,
         .name = u"mn_reducir"_qs,
         .menu = u"mn_ver"_qs,
         .caption = u"Re&ducir"_qs,
         .shortcut = QKeySequence(u"Ctrl+-"_qs)},
        {.command = C::NormalSize,
         .name = u"mn_tamanonormal"_qs,
         .menu = u"mn_ver"_qs,
         .caption = u"&Tamaño normal"_qs,
         .shortcut = QKeySequence(u"Ctrl+0"_qs)},
        {.command = C::SpellAsYouType,
         .name = u"mn_ortografiaescribir"_qs,
         .menu = u"mn_ver"_qs,
         .caption = u"Revisar &ortografía al escribir"_qs,
         .setting = u"ver/ortografiaEscribir"_qs,
         .onByDefault = true},
        // Ctrl+M took nothing: it reached the text as a second Enter.
        {.command = C::MatchingTag,
         .name = u"mn_etiquetapareja"_qs,
         .menu = u"mn_ver"_qs,
         .caption = u"Ir a la &etiqueta pareja"_qs,
         .shortcut = QKeySequence(u"Ctrl+M"_qs)},

        {.command = C::Help,
         .name = u"mn_ayudaprog"_qs,
         .menu = u"mn_ayuda"_qs,
         .caption = u"&Ayuda del programa"_qs,
         .shortcut = QKeySequence(Qt::Key_F1),
         .button = u"btnayuda"_qs,
         .toolTip = u"Ayuda"_qs,
         .icon = u"ayuda"_qs},
        {.command = C::ProgramPage,
         .name = u"mn_paginaweb"_qs,
         .menu = u"mn_ayuda"_qs,
         .caption = u"&Página del programa"_qs,
         .shortcut = QKeySequence(Qt::Key_F2)},
        {.command = C::AuthorPage,
         .name = u"mn_webautor"_qs,
         .menu = u"mn_ayuda"_qs,
         .caption = u"Página &web del Autor"_qs,
         .shortcut = QKeySequence(Qt::Key_F3)},
        {.command = C::About,
         .name = u"mn_acercade"_qs,
         .menu = u"mn_ayuda"_qs,
         .caption = u"A&cerda de Zendral"_qs,
         .shortcut = QKeySequence(Qt::Key_F4)},

        // Reached from the toolbar only.
        {.command = C::Spelling,
         .name = u"btnortografia"_qs,
         .menu = {},
         .caption = {},
         .button = u"btnortografia"_qs,
         .toolTip = u"Corrector ortográfico"_qs,
         .icon = u"ortografia"_qs},
        {.command = C::Undo,
         .name = u"btndeshacer"_qs,
         .menu = {},
         .caption = {},
         .button = u"btndeshacer"_qs,
         .toolTip = u"Deshacer"_qs,
         .icon = u"deshacer"_qs},
        {.command = C::Redo,
         .name = u"btnrehacer"_qs,
         .menu = {},
         .caption = {},
         .button = u"btnrehacer"_qs,
         .toolTip = u"Rehacer"_qs,
         .icon = u"rehacer"_qs},
        {.command = C::MetaTags,
         .name = u"btnmeta"_qs,
         .menu = {},
         .caption = {},
         .button = u"btnmeta"_qs,
         .toolTip = u"Generar Meta-Tags"_qs,
         .icon = u"meta"_qs},
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
        return u"%1 rows for %2 commands"_qs.arg(commands.size()).arg(CommandCount);
    std::array<int, CommandCount> placed = {};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const CommandSpec &row = commands[i];
        if (int(row.command) != int(i))
            return u"row %1 (%2) is not in the commands' order"_qs.arg(i).arg(row.name);
        if (row.menu.isEmpty() != row.caption.isEmpty())
            return u"%1 has a menu or a caption without the other"_qs.arg(row.name);
    }
    for (const std::vector<ToolbarItem> &bar : toolbars()) {
        for (const ToolbarItem &item : bar) {
            if (!item)
                continue;
            const CommandSpec &row = commands[std::size_t(*item)];
            if (row.button.isEmpty())
                return u"%1 is on a toolbar without a button"_qs.arg(row.name);
            ++placed[std::size_t(*item)];
        }
    }
    for (const CommandSpec &row : commands) {
        if (placed[std::size_t(row.command)] != (row.button.isEmpty() ? 0 : 1))
            return u"the button of %1 is not on exactly one toolbar"_qs.arg(row.name);
    }
    return {};
}

} // namespace

const std::vector<MenuSpec> &menuTable()
{
    static const std::vector<MenuSpec> menus = {
        {.name = u"mn_archivo"_qs, .caption = u"&Archivo"_qs},
        {.name = u"mn_edicion"_qs, .caption = u"&Edición"_qs},
        {.name = u"mn_pagina"_qs, .caption = u"&Página"_qs},
        {.name = u"mn_etiquetas"_qs, .caption = u"E&tiquetas"_qs},
        {.name = u"mn_html"_qs, .parent = u"mn_etiquetas"_qs, .caption = u"&HTML"_qs},
        {.name = u"mn_asp"_qs, .parent = u"mn_etiquetas"_qs, .caption = u"&ASP"_qs},
        {.name = u"mn_javascript"_qs, .parent = u"mn_etiquetas"_qs, .caption = u"&JavaScript"_qs},
        {.name = u"mn_recientes"_qs,
         .parent = u"mn_archivo"_qs,
         .caption = u"Páginas &recientes"_qs,
         .before = u"mn_imprimir"_qs},
        {.name = u"mn_ver"_qs, .caption = u"&Ver"_qs},
        {.name = u"mn_ayuda"_qs, .caption = u"A&yuda"_qs},
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
