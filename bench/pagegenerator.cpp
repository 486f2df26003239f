#include "pagegenerator.h"

#include <QRandomGenerator>
#include <QStringList>

namespace zendral::bench {

QString generatePage(qint64 targetBytes)
{
    QRandomGenerator random(20261206);
    const QString crlf = QStringLiteral("\r\n");
    const QStringList words = {
        QStringLiteral("catálogo"), QStringLiteral("precio"),   QStringLiteral("oferta"),
        QStringLiteral("envío"),    QStringLiteral("producto"), QStringLiteral("canción"),
        QStringLiteral("año"),      QStringLiteral("página"),   QStringLiteral("contacto"),
        QStringLiteral("noticias"), QStringLiteral("inicio"),   QStringLiteral("tienda")};
    const auto sentence = [&] {
        QString text;
        const int count = 4 + int(random.bounded(10));
        for (int i = 0; i < count; ++i)
            text += words.at(random.bounded(int(words.size()))) + u' ';
        return text;
    };
    QString page;
    page.reserve(targetBytes + 4096);
    page += QStringLiteral("<html>") + crlf + QStringLiteral("<head>") + crlf +
            QStringLiteral("<title>Tienda</title>") + crlf +
            QStringLiteral("<meta name=\"keywords\" content=\"tienda, ofertas\">") + crlf +
            QStringLiteral("<script language=\"javascript\">") + crlf +
            QStringLiteral("function abrir(u) { if (a < b && c > d) window.open(u); }") + crlf +
            QStringLiteral("</script>") + crlf + QStringLiteral("</head>") + crlf +
            QStringLiteral("<body bgcolor=\"White\" text=\"Black\">") + crlf;
    int row = 0;
    while (page.size() < targetBytes) {
        page += QStringLiteral("<!-- sección %1 -->").arg(row) + crlf;
        page += QStringLiteral("<table width=\"100%\" border=\"0\" cellpadding=\"2\">") + crlf;
        for (int r = 0; r < 4; ++r) {
            page += QStringLiteral("  <tr>") + crlf;
            page += QStringLiteral("    <td class=\"celda\"><a href=\"producto%1.asp?id=%2\">")
                        .arg(row)
                        .arg(r) +
                    sentence() + QStringLiteral("</a></td>") + crlf;
            page += QStringLiteral("    <td><img src=\"img/foto%1.jpg\" width=\"88\" "
                                   "height=\"31\" border=\"0\" alt=\"foto\"></td>")
                        .arg(r) +
                    crlf;
            page += QStringLiteral("    <td><table><tr><td><font color=\"Navy\"><b>") + sentence() +
                    QStringLiteral("</b></font></td></tr></table></td>") + crlf;
            page += QStringLiteral("  </tr>") + crlf;
        }
        page += QStringLiteral("</table>") + crlf;
        page += QStringLiteral("<p>") + sentence() + QStringLiteral("&nbsp;<br>") + crlf +
                sentence() + QStringLiteral("</p>") + crlf;
        if (row % 5 == 0) {
            page += QStringLiteral("<%") + crlf +
                    QStringLiteral("If Request(\"id\") <> \"\" Then Response.Write(\"ok\")") +
                    crlf + QStringLiteral("%>") + crlf;
        }
        ++row;
    }
    page += QStringLiteral("</body>") + crlf + QStringLiteral("</html>") + crlf;
    return page;
}

QString lessThanPage(qint64 targetBytes)
{
    return QString(targetBytes, u'<');
}

QString nestedTagsLine(qint64 count)
{
    return QStringLiteral("<div>").repeated(count) + QStringLiteral("</div>").repeated(count);
}

QString lfPage(qint64 targetBytes)
{
    return generatePage(targetBytes).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString farTagPage(qint64 targetBytes)
{
    const QString line = QStringLiteral("texto sin etiquetas, año y canción, una línea más") +
                         QStringLiteral("\r\n");
    return QStringLiteral("<b ") + line.repeated(targetBytes / line.size());
}

QString longLine(qint64 length)
{
    return generatePage(length + 4096).remove(u'\r').remove(u'\n').left(length);
}

} // namespace zendral::bench
