#include "generatorfragments.h"

namespace zendral {

namespace {

const QString NL = QStringLiteral("\r\n");
const QString Q = QStringLiteral("\"");

// The product's own page, named in the GENERATOR line of every META block.
const QString ProductAddress = QStringLiteral("http://www.zendral.com");

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

} // namespace

QString popupFragment(const PopupFields &f)
{
    if (f.openingMethod == PopupByLink) {
        return QStringLiteral("<a href='#' onclick=") + Q + QStringLiteral("window.open('") +
               f.file + QStringLiteral("','") + f.windowName + QStringLiteral("','toolbar=") +
               f.toolbar + QStringLiteral(",width=") + f.width + QStringLiteral(",height=") +
               f.height + QStringLiteral(",status=") + f.status + QStringLiteral(",scrollbars=") +
               f.scrollbars + QStringLiteral(",resizable=") + f.resizable +
               QStringLiteral(",personalbar=") + f.personalbar + QStringLiteral(",menubar=") +
               f.menubar + QStringLiteral(",directories=") + f.directories + QStringLiteral("');") +
               Q + QStringLiteral(">ESCRIBE AQUÍ EL TEXTO DEL ENLACE</a>");
    }
    // The load-time variant only knows size, toolbar and scroll bars.
    return QStringLiteral("<script languaje=javascript>") + NL +
           QStringLiteral("function popup() {") + NL + QStringLiteral("open(") + Q + f.file + Q +
           QStringLiteral(", ") + Q + f.windowName + Q + QStringLiteral(",") + Q +
           QStringLiteral("width=") + f.width + QStringLiteral(",height=") + f.height +
           QStringLiteral(",toolbar=") + f.toolbar + QStringLiteral(",scrollbars=") + f.scrollbars +
           Q + QStringLiteral(");") + NL + QStringLiteral("}") + NL + QStringLiteral("</script>");
}

bool popupNeedsReminder(const PopupFields &fields)
{
    return fields.openingMethod == PopupOnLoad;
}

QString metaTagsBlock(const MetaTagsFields &f)
{
    const QStringList lines = {
        namedMeta(QStringLiteral("AREA"), f.area),
        headerMeta(QStringLiteral("AUDIENCE"), f.audience),
        namedMeta(QStringLiteral("AUTHOR"), f.author),
        headerMeta(QStringLiteral("CHARSET"), QStringLiteral("text/html; charset=") + f.charset),
        namedMeta(QStringLiteral("DESCRIPTION"), f.description),
        namedMeta(QStringLiteral("KEYWORDS"), f.keywords),
        namedMeta(QStringLiteral("GENERATOR"), QStringLiteral("Zendral - ") + ProductAddress),
        headerMeta(QStringLiteral("LANGUAGE"), f.language),
        namedMeta(QStringLiteral("OWNER"), f.email),
        // The days go in bare, without quotes around them.
        QStringLiteral("<META NAME=") + Q + QStringLiteral("revisit-after") + Q +
            QStringLiteral(" CONTENT=") + f.revisitDays + QStringLiteral(">"),
    };
    return lines.join(NL);
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
    return lines.join(NL);
}

namespace generatorlists {

QStringList yesNo()
{
    return {QStringLiteral("Yes"), QStringLiteral("No")};
}

QStringList openingMethods()
{
    return {PopupOnLoad, PopupByLink};
}

QStringList areas()
{
    return {QStringLiteral("General"),        QStringLiteral("Administration"),
            QStringLiteral("Build a living"), QStringLiteral("Culture"),
            QStringLiteral("Economics"),      QStringLiteral("Education"),
            QStringLiteral("Envioronment"),   QStringLiteral("Erotic Sexual"),
            QStringLiteral("Industry"),       QStringLiteral("Internet"),
            QStringLiteral("Media"),          QStringLiteral("Medicine"),
            QStringLiteral("Personal"),       QStringLiteral("Play"),
            QStringLiteral("Politics"),       QStringLiteral("Religion"),
            QStringLiteral("Science"),        QStringLiteral("Service"),
            QStringLiteral("Software"),       QStringLiteral("Sport"),
            QStringLiteral("Tourism")};
}

QStringList audiences()
{
    return {
        QStringLiteral("Adult"),        QStringLiteral("Advanced"),   QStringLiteral("Beginner"),
        QStringLiteral("Children"),     QStringLiteral("Everything"), QStringLiteral("Expert"),
        QStringLiteral("Fan"),          QStringLiteral("General"),    QStringLiteral("Men"),
        QStringLiteral("Proffesional"), QStringLiteral("Pupil"),      QStringLiteral("Student"),
        QStringLiteral("Women"),        QStringLiteral("Young")};
}

QStringList languages()
{
    return {QStringLiteral("Chinese"), QStringLiteral("English"), QStringLiteral("French"),
            QStringLiteral("German"),  QStringLiteral("Italian"), QStringLiteral("Japanese"),
            QStringLiteral("Russian"), QStringLiteral("Spanish"), QStringLiteral("Other")};
}

QStringList charsets()
{
    return {QStringLiteral("BIG5"),        QStringLiteral("EUC-KR"),
            QStringLiteral("GB2312"),      QStringLiteral("HZ-GB-2312"),
            QStringLiteral("ISO-2022-JP"), QStringLiteral("ISO-2022-JP-2"),
            QStringLiteral("ISO2022-KR"),  QStringLiteral("US-ASCII"),
            QStringLiteral("ISO-8859-1"),  QStringLiteral("ISO-8859-2"),
            QStringLiteral("ISO-8859-3"),  QStringLiteral("ISO-8859-4"),
            QStringLiteral("ISO-8859-5"),  QStringLiteral("ISO-8859-6"),
            QStringLiteral("ISO-8859-7"),  QStringLiteral("ISO-8859-8"),
            QStringLiteral("ISO-8859-9"),  QStringLiteral("JIS_X0208"),
            QStringLiteral("K0I8-R"),      QStringLiteral("SHIFT_JIS"),
            QStringLiteral("Other")};
}

} // namespace generatorlists

} // namespace zendral
