#include "generatorfragments.h"

#include "designtexts.h"
#include "weblinks.h"

#include <QStringList>

namespace zendral {

namespace {

const QString Q = QStringLiteral("\"");

// The product's own page, named in the GENERATOR line of every META block as everywhere else.
const QString ProductAddress = weblinks::ProgramPage;

QString namedMeta(const QString &name, const QString &value)
{
    return QStringLiteral("<META NAME=") + Q + name + Q + QStringLiteral(" CONTENT=") + Q + value +
           Q + QStringLiteral(">");
}

QString headerMeta(const QString &name, const QString &value)
{
    return QStringLiteral("<META HTTP-EQUIV=") + Q + name + Q + QStringLiteral(" CONTENT=") + Q +
           value + Q + QStringLiteral(">");
}

QString choice(const QString &shown)
{
    return listValue(shown, designTexts::Prompt);
}

} // namespace

QString popupFragment(const PopupFields &f)
{
    if (f.openingMethod == PopupByLink) {
        return QStringLiteral("<a href='#' onclick=") + Q + QStringLiteral("window.open('") +
               f.file + QStringLiteral("','") + f.windowName + QStringLiteral("','toolbar=") +
               choice(f.toolbar) + QStringLiteral(",width=") + f.width +
               QStringLiteral(",height=") + f.height + QStringLiteral(",status=") +
               choice(f.status) + QStringLiteral(",scrollbars=") + choice(f.scrollbars) +
               QStringLiteral(",resizable=") + choice(f.resizable) +
               QStringLiteral(",personalbar=") + choice(f.personalbar) +
               QStringLiteral(",menubar=") + choice(f.menubar) + QStringLiteral(",directories=") +
               choice(f.directories) + QStringLiteral("');") + Q +
               QStringLiteral(">ESCRIBE AQUÍ EL TEXTO DEL ENLACE</a>");
    }
    // The load-time variant only knows size, toolbar and scroll bars.
    return QStringLiteral("<script languaje=javascript>") + PageLineBreak +
           QStringLiteral("function popup() {") + PageLineBreak + QStringLiteral("open(") + Q +
           f.file + Q + QStringLiteral(", ") + Q + f.windowName + Q + QStringLiteral(",") + Q +
           QStringLiteral("width=") + f.width + QStringLiteral(",height=") + f.height +
           QStringLiteral(",toolbar=") + choice(f.toolbar) + QStringLiteral(",scrollbars=") +
           choice(f.scrollbars) + Q + QStringLiteral(");") + PageLineBreak + QStringLiteral("}") +
           PageLineBreak + QStringLiteral("</script>");
}

QString metaTagsBlock(const MetaTagsFields &f)
{
    const QStringList lines = {
        namedMeta(QStringLiteral("AREA"), choice(f.area)),
        headerMeta(QStringLiteral("AUDIENCE"), choice(f.audience)),
        namedMeta(QStringLiteral("AUTHOR"), f.author),
        // The one form of the page's character set that browsers honour.
        headerMeta(QStringLiteral("Content-Type"),
                   QStringLiteral("text/html; charset=") + choice(f.charset)),
        namedMeta(QStringLiteral("DESCRIPTION"), f.description),
        namedMeta(QStringLiteral("KEYWORDS"), f.keywords),
        namedMeta(QStringLiteral("GENERATOR"), QStringLiteral("Zendral - ") + ProductAddress),
        headerMeta(QStringLiteral("LANGUAGE"), choice(f.language)),
        namedMeta(QStringLiteral("OWNER"), f.email),
        // The days go in bare, without quotes around them.
        QStringLiteral("<META NAME=") + Q + QStringLiteral("revisit-after") + Q +
            QStringLiteral(" CONTENT=") + f.revisitDays + QStringLiteral(">"),
    };
    return lines.join(PageLineBreak);
}

QString databaseFragment(const DatabaseFields &f)
{
    const QString comment = QStringLiteral(
        "'Escribe aquí la instrucción SQL necesaria para operar con la base de datos");
    const QString statement =
        QStringLiteral("NOMBRE DE LA VARIABLE EN LA QUE GUARDAS LA INSTRUCCIÓN SQL");
    QStringList lines;
    if (f.databasePath.isEmpty()) {
        lines = {
            QStringLiteral("Set Conn = Server.CreateObject(") + Q +
                QStringLiteral("ADODB.Connection") + Q + QStringLiteral(")"),
            QStringLiteral("Conn.Open ") + Q + f.dataSourceName + Q,
            comment,
            QStringLiteral("set RS = Conn.Execute(") + statement + QStringLiteral(")"),
            QString(),
            QString(),
            QString(),
            QStringLiteral("Conn.Close"),
        };
    } else {
        lines = {
            comment,
            QStringLiteral("Set conexion = Server.CreateObject(") + Q +
                QStringLiteral("ADODB.Connection") + Q + QStringLiteral(")"),
            QStringLiteral("conexion.Open") + Q +
                QStringLiteral("driver={Microsoft Access Driver (*.mdb)}; ; DBQ=") + Q +
                QStringLiteral("+server.mappath (") + Q + f.databasePath + Q + QStringLiteral(")"),
            QStringLiteral("Set tabla=Server.CreateObject(") + Q +
                QStringLiteral("adodb.recordset") + Q + QStringLiteral(")"),
            QStringLiteral("Tabla.Open ") + statement + QStringLiteral(",Conexion"),
            QString(),
            QString(),
            QString(),
            QStringLiteral("tabla.close"),
            QStringLiteral("conexion.close"),
        };
    }
    return lines.join(PageLineBreak);
}

} // namespace zendral
