#include "clockscript.h"

#include "pagetext.h"
#include "prompts.h"
#include "taginsertion.h"

#include <QStringList>

namespace zendral {

QString clockScript()
{
    const QString crlf = QStringLiteral("\r\n");
    static const QStringList lines = {
        QStringLiteral("<span id='liveclock'></span>"),
        QStringLiteral("<script language=\"JavaScript\">"),
        QStringLiteral("<!--"),
        QStringLiteral("function hora(){"),
        QStringLiteral("if (!document.layers&&!document.all&&!document.getElementById)"),
        QStringLiteral("return;"),
        QString(),
        QStringLiteral("var Digital=new Date();"),
        QStringLiteral("var hours=Digital.getHours();"),
        QStringLiteral("var minutes=Digital.getMinutes();"),
        QStringLiteral("var seconds=Digital.getSeconds();"),
        QStringLiteral("var dn=\"AM\";"),
        QStringLiteral("if (hours>=12){"),
        QStringLiteral("dn=\"PM\";"),
        QStringLiteral("hours=hours-12;"),
        QStringLiteral("}"),
        QStringLiteral("if (hours==0)"),
        QStringLiteral("hours=12;"),
        QStringLiteral("if (minutes<=9)"),
        QStringLiteral("minutes=\"0\"+minutes;"),
        QStringLiteral("if (seconds<=9)"),
        QStringLiteral("seconds=\"0\"+seconds;"),
        QStringLiteral("myclock=\"<font size='5' face='Arial'><b><font size='2'>Hora Actual:  "
                       "</font>\"+hours+\":\"+minutes+\":\" +seconds+\" \"+dn+\"</b></font>\";"),
        QStringLiteral("if (document.layers){"),
        QStringLiteral("document.layers.liveclock.document.write(myclock);"),
        QStringLiteral("document.layers.liveclock.document.close();"),
        QStringLiteral("}"),
        QStringLiteral("else if (document.getElementById)"),
        QStringLiteral("document.getElementById(\"liveclock\").innerHTML=myclock"),
        QStringLiteral("setTimeout(\"hora()\",1000)"),
        QStringLiteral("}"),
        QStringLiteral("//-->"),
        QStringLiteral("</script>"),
    };
    return crlf + lines.join(crlf) + crlf;
}

void insertClockScript(PageText &page, Prompts &prompts)
{
    InsertTagText(page, clockScript());
    page.setSelectionStart(page.textLength());
    prompts.notify(
        QStringLiteral("Dentro de la etiqueta <body> debes poner esto: onLoad='hora()'"));
}

} // namespace zendral
