#include "commandtable.h"

namespace zendral {

const std::vector<MenuSpec> &menuTable()
{
    static const std::vector<MenuSpec> menus = {
        {u"mn_archivo"_qs, {}, u"&Archivo"_qs},
        {u"mn_edicion"_qs, {}, u"&Edición"_qs},
        {u"mn_pagina"_qs, {}, u"&Página"_qs},
        {u"mn_etiquetas"_qs, {}, u"E&tiquetas"_qs},
        {u"mn_html"_qs, u"mn_etiquetas"_qs, u"HTML"_qs},
        {u"mn_asp"_qs, u"mn_etiquetas"_qs, u"ASP"_qs},
        {u"mn_javascript"_qs, u"mn_etiquetas"_qs, u"JavaScript"_qs},
        {u"mn_ayuda"_qs, {}, u"A&yuda"_qs},
    };
    return menus;
}

const std::vector<CommandSpec> &commandTable()
{
    static const QKeySequence none;
    static const std::vector<CommandSpec> commands = {
        {u"mn_nuevo"_qs, u"mn_archivo"_qs, u"Nuevo"_qs, QKeySequence(u"Ctrl+N"_qs), u"btnnuevo"_qs,
         u"Nuevo"_qs, Bar::Main, u"nuevo"_qs},
        {u"mn_abrir"_qs, u"mn_archivo"_qs, u"Abrir"_qs, QKeySequence(u"Ctrl+A"_qs), u"btnabrir"_qs,
         u"Abrir"_qs, Bar::Main, u"abrir"_qs},
        {u"mn_guardar"_qs, u"mn_archivo"_qs, u"Guardar"_qs, QKeySequence(u"Ctrl+S"_qs),
         u"btnguardar"_qs, u"Guardar"_qs, Bar::Main, u"guardar"_qs},
        {u"mn_guardarcomo"_qs, u"mn_archivo"_qs, u"Guardar como"_qs, none, u"btnguardarcomo"_qs,
         u"Guardar como"_qs, Bar::Main, u"guardarcomo"_qs},
        {u"mn_salir"_qs, u"mn_archivo"_qs, u"Salir"_qs, none, {}, {}, Bar::None, {}},

        {u"mn_copiar"_qs, u"mn_edicion"_qs, u"Copiar"_qs, QKeySequence(u"Ctrl+C"_qs),
         u"btncopiar"_qs, u"Copiar"_qs, Bar::Main, u"copiar"_qs},
        {u"mn_cortar"_qs, u"mn_edicion"_qs, u"Cortar"_qs, QKeySequence(u"Ctrl+X"_qs),
         u"btncortar"_qs, u"Cortar"_qs, Bar::Main, u"cortar"_qs},
        {u"mn_pegar"_qs, u"mn_edicion"_qs, u"Pegar"_qs, QKeySequence(u"Ctrl+V"_qs), u"btnpegar"_qs,
         u"Pegar"_qs, Bar::Main, u"pegar"_qs},
        {u"mn_reemplazar"_qs, u"mn_edicion"_qs, u"Reemplazar palabras"_qs,
         QKeySequence(u"Ctrl+R"_qs), u"btnreemplazar"_qs, u"Reemplazar palabras"_qs, Bar::Main,
         u"reemplazar"_qs},

        {u"mn_visualizar"_qs, u"mn_pagina"_qs, u"Visualizar en el navegador"_qs,
         QKeySequence(u"Ctrl+I"_qs), u"btnver"_qs, u"Ver en el navegador"_qs, Bar::Main, u"ver"_qs},

        {u"mn_body"_qs, u"mn_html"_qs, u"Body"_qs, none, u"btnbody"_qs, u"Body"_qs, Bar::Html,
         u"body"_qs},
        {u"mn_celda"_qs, u"mn_html"_qs, u"Celda"_qs, none, u"btntd"_qs, u"Definír celda"_qs,
         Bar::Html, u"td"_qs},
        {u"mn_cursiva"_qs, u"mn_html"_qs, u"Cursíva"_qs, none, u"btnitalica"_qs, u"Cursíva"_qs,
         Bar::Html, u"italica"_qs},
        {u"mn_div"_qs, u"mn_html"_qs, u"Div"_qs, none, u"btndiv"_qs, u"DIV"_qs, Bar::Html,
         u"div"_qs},
        {u"mn_enlace"_qs, u"mn_html"_qs, u"Enlace"_qs, none, u"btnlink"_qs, u"Enlace"_qs, Bar::Html,
         u"link"_qs},
        {u"mn_espacio"_qs, u"mn_html"_qs, u"Espacio"_qs, none, u"btnespacio"_qs,
         u"Espacio en blanco"_qs, Bar::Html, u"espacio"_qs},
        {u"mn_fuente"_qs, u"mn_html"_qs, u"Fuente"_qs, none, u"btnfuente"_qs, u"Fuente"_qs,
         Bar::Html, u"fuente"_qs},
        // The inline frame button has no tooltip of its own.
        {u"mn_iframe"_qs,
         u"mn_html"_qs,
         u"Iframe"_qs,
         none,
         u"btniframe"_qs,
         {},
         Bar::Html,
         u"iframe"_qs},
        {u"mn_negrita"_qs, u"mn_html"_qs, u"Negrita"_qs, none, u"btnnegrita"_qs, u"Negrita"_qs,
         Bar::Html, u"negrita"_qs},
        {u"mn_parrafo"_qs, u"mn_html"_qs, u"Párrafo"_qs, none, u"btnparrafo"_qs, u"Párrafo"_qs,
         Bar::Html, u"parrafo"_qs},
        {u"mn_br"_qs, u"mn_html"_qs, u"Salto de línea"_qs, none, u"btnbr"_qs, u"Salto de línea"_qs,
         Bar::Html, u"br"_qs},
        {u"mn_subrayado"_qs, u"mn_html"_qs, u"Subrayado"_qs, none, u"btnsubrayado"_qs,
         u"Subrayado"_qs, Bar::Html, u"subrayado"_qs},
        {u"mn_tabla"_qs, u"mn_html"_qs, u"Tabla"_qs, none, u"btntabla"_qs, u"Definír tabla"_qs,
         Bar::Html, u"tabla"_qs},

        {u"mn_aperturaasp"_qs, u"mn_asp"_qs, u"Apertura/Cierre"_qs, none, u"btnapertura"_qs,
         u"Apertura/Cierre de ASP"_qs, Bar::Asp, u"apertura"_qs},
        {u"mn_conexiondb"_qs, u"mn_asp"_qs, u"Conexión a Base de datos"_qs, none, u"btndb"_qs,
         u"Conexión a Base de Datos"_qs, Bar::Asp, u"db"_qs},

        {u"mn_aperturajs"_qs, u"mn_javascript"_qs, u"Apertura/Cierre"_qs, none, u"btnjavascript"_qs,
         u"Apertura/Cierre de JavaScript"_qs, Bar::JavaScript, u"javascript"_qs},
        {u"mn_popup"_qs, u"mn_javascript"_qs, u"Generar Pop-Up"_qs, none, u"btnpopup"_qs,
         u"Pop-Up"_qs, Bar::JavaScript, u"popup"_qs},
        {u"mn_hora"_qs, u"mn_javascript"_qs, u"Hora actual"_qs, none, u"btnhora"_qs,
         u"Hora actual"_qs, Bar::JavaScript, u"hora"_qs},

        {u"mn_ayudaprog"_qs, u"mn_ayuda"_qs, u"Ayuda del programa"_qs, QKeySequence(Qt::Key_F1),
         u"btnayuda"_qs, u"Ayuda"_qs, Bar::Main, u"ayuda"_qs},
        {u"mn_paginaweb"_qs,
         u"mn_ayuda"_qs,
         u"Página del programa"_qs,
         QKeySequence(Qt::Key_F2),
         {},
         {},
         Bar::None,
         {}},
        {u"mn_webautor"_qs,
         u"mn_ayuda"_qs,
         u"Página web del Autor"_qs,
         QKeySequence(Qt::Key_F3),
         {},
         {},
         Bar::None,
         {}},
        {u"mn_acercade"_qs,
         u"mn_ayuda"_qs,
         u"Acerda de Zendral"_qs,
         QKeySequence(Qt::Key_F4),
         {},
         {},
         Bar::None,
         {}},

        // Reached from the toolbar only.
        {u"btnortografia"_qs,
         {},
         {},
         none,
         u"btnortografia"_qs,
         u"Corrector ortográfico"_qs,
         Bar::Main,
         u"ortografia"_qs},
        {u"btndeshacer"_qs,
         {},
         {},
         none,
         u"btndeshacer"_qs,
         u"Deshacer"_qs,
         Bar::Main,
         u"deshacer"_qs},
        {u"btnrehacer"_qs, {}, {}, none, u"btnrehacer"_qs, u"Rehacer"_qs, Bar::Main, u"rehacer"_qs},
        {u"btnmeta"_qs,
         {},
         {},
         none,
         u"btnmeta"_qs,
         u"Generar Meta-Tags"_qs,
         Bar::Main,
         u"meta"_qs},
    };
    return commands;
}

std::vector<QString> toolbarOrder(Bar bar)
{
    switch (bar) {
    case Bar::Main:
        return {u"btnnuevo"_qs,
                u"btnabrir"_qs,
                u"btnguardar"_qs,
                u"btnguardarcomo"_qs,
                u"|"_qs,
                u"btncortar"_qs,
                u"btncopiar"_qs,
                u"btnpegar"_qs,
                u"btndeshacer"_qs,
                u"btnrehacer"_qs,
                u"|"_qs,
                u"btnreemplazar"_qs,
                u"btnortografia"_qs,
                u"btnmeta"_qs,
                u"btnver"_qs,
                u"|"_qs,
                u"btnayuda"_qs};
    case Bar::Html:
        return {u"btnbody"_qs,    u"btnparrafo"_qs, u"btnbr"_qs,      u"btnlink"_qs,
                u"btnfuente"_qs,  u"btnnegrita"_qs, u"btnitalica"_qs, u"btnsubrayado"_qs,
                u"btnespacio"_qs, u"btndiv"_qs,     u"btniframe"_qs,  u"btntabla"_qs,
                u"btntd"_qs};
    case Bar::Asp:
        return {u"btnapertura"_qs, u"btndb"_qs};
    case Bar::JavaScript:
        return {u"btnjavascript"_qs, u"btnhora"_qs, u"btnpopup"_qs};
    case Bar::None:
        break;
    }
    return {};
}

} // namespace zendral
