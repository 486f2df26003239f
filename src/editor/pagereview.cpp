#include "pagereview.h"

#include "pageencoding.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QUrl>

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <algorithm>

namespace zendral {

namespace {

// The template's title, left as it was when the page was made.
const QString TemplateTitle = QStringLiteral("ESCRÍBE AQUÍ EL TÍTULO");

// Zendral's words for the kinds of finding it takes from Tidy, by Tidy's key; %1, %2… are
// Tidy's arguments. Kinds not here are Tidy's own business (doctype, implied elements…).
const QHash<QString, QString> &tidyWords()
{
    static const QHash<QString, QString> words = {
        {QStringLiteral("MISSING_ENDTAG_FOR"), QStringLiteral("<%1> se abre y no se cierra.")},
        {QStringLiteral("MISSING_ENDTAG_BEFORE"),
         QStringLiteral("<%1> se abre y no se cierra antes de %2.")},
        {QStringLiteral("DISCARDING_UNEXPECTED"),
         QStringLiteral("%1 cierra un elemento que no está abierto.")},
        {QStringLiteral("UNEXPECTED_ENDTAG"),
         QStringLiteral("</%1> cierra un elemento que no está abierto.")},
        {QStringLiteral("UNEXPECTED_ENDTAG_IN"),
         QStringLiteral("</%2> dentro de <%1> cierra un elemento que no está abierto.")},
        {QStringLiteral("NON_MATCHING_ENDTAG"),
         QStringLiteral("</%1> se cierra cruzado con otro elemento abierto dentro de él.")},
        {QStringLiteral("ANCHOR_NOT_UNIQUE"),
         QStringLiteral("El id \"%2\" de %1 ya lo lleva otro elemento.")},
        {QStringLiteral("REPEATED_ATTRIBUTE"),
         QStringLiteral("%1 lleva dos veces el atributo \"%3\".")},
        {QStringLiteral("UNKNOWN_ELEMENT"), QStringLiteral("%1 no es una etiqueta de HTML.")},
        {QStringLiteral("SUSPECTED_MISSING_QUOTE"),
         QStringLiteral("Al valor de un atributo parece faltarle una comilla.")},
        {QStringLiteral("MISSING_QUOTEMARK"),
         QStringLiteral("A un atributo de %1 le falta la comilla que lo cierra.")},
        {QStringLiteral("UNEXPECTED_END_OF_FILE"),
         QStringLiteral("La página termina dentro de %1.")},
        {QStringLiteral("MISSING_TITLE_ELEMENT"),
         QStringLiteral("La página no tiene título (<title> dentro de <head>).")},
    };
    return words;
}

struct TidyReading
{
    std::vector<Finding> *findings;
    // Elements HTML does not know: Tidy drops their tags too, which says nothing more.
    QStringList unknown;
};

Bool takeMessage(TidyMessage message)
{
    auto *reading = static_cast<TidyReading *>(tidyGetAppData(tidyGetMessageDoc(message)));
    const QString key = QString::fromLatin1(tidyGetMessageKey(message));
    const auto words = tidyWords().constFind(key);
    if (words == tidyWords().cend())
        return no;
    QStringList arguments;
    TidyIterator argument = tidyGetMessageArguments(message);
    while (argument) {
        TidyMessageArgument value = tidyGetNextMessageArgument(message, &argument);
        arguments.append(tidyGetArgType(message, &value) == tidyFormatType_STRING
                             ? QString::fromUtf8(tidyGetArgValueString(message, &value))
                             : QString());
    }
    const QString first = arguments.value(0);
    if (key == u"UNKNOWN_ELEMENT") {
        reading->unknown.append(QString(first).remove(u'<').remove(u'>'));
    } else if (key == u"DISCARDING_UNEXPECTED") {
        const QString name = QString(first).remove(u'<').remove(u'/').remove(u'>');
        if (!first.startsWith(u"</") || reading->unknown.contains(name))
            return no;
    }
    QString text = *words;
    // Each of Tidy's arguments goes where its number stands; the words need not use all.
    for (qsizetype number = 0; number < arguments.size(); ++number)
        text.replace(u'%' + QString::number(number + 1), arguments.at(number));
    reading->findings->push_back({std::max(1, tidyGetMessageLine(message)), text});
    // Tidy's own report is never printed.
    return no;
}

QString attribute(TidyNode node, TidyAttrId id, bool *present = nullptr)
{
    const TidyAttr found = tidyAttrGetById(node, id);
    if (present)
        *present = found != nullptr;
    return found && tidyAttrValue(found) ? QString::fromUtf8(tidyAttrValue(found)) : QString();
}

// Whether an element shows a reader any text: words of its own, or a picture that says one.
bool hasText(TidyDoc document, TidyNode node)
{
    for (TidyNode child = tidyGetChild(node); child; child = tidyGetNext(child)) {
        if (tidyNodeIsText(child)) {
            TidyBuffer value;
            tidyBufInit(&value);
            tidyNodeGetValue(document, child, &value);
            const bool blank =
                QString::fromUtf8(reinterpret_cast<const char *>(value.bp), int(value.size))
                    .trimmed()
                    .isEmpty();
            tidyBufFree(&value);
            if (!blank)
                return true;
        } else if (tidyNodeGetId(child) == TidyTag_IMG) {
            if (!attribute(child, TidyAttr_ALT).trimmed().isEmpty())
                return true;
        } else if (hasText(document, child)) {
            return true;
        }
    }
    return false;
}

// A reference to a file of the site: relative, no scheme, not written by the server.
bool namesSiteFile(const QString &value)
{
    static const QRegularExpression scheme(QStringLiteral("^[A-Za-z][A-Za-z0-9+.-]*:"));
    return !value.isEmpty() && !value.startsWith(u'#') && !value.startsWith(u'/') &&
           !value.contains(u'<') && !scheme.match(value).hasMatch();
}

struct TreeReading
{
    TidyDoc document;
    QString folder;
    std::vector<Finding> &findings;
};

void readTree(TreeReading &reading, TidyNode node)
{
    for (TidyNode child = tidyGetChild(node); child; child = tidyGetNext(child)) {
        const int line = std::max<int>(1, int(tidyNodeLine(child)));
        const TidyTagId id = tidyNodeGetId(child);
        if (id == TidyTag_IMG) {
            bool present = false;
            attribute(child, TidyAttr_ALT, &present);
            if (!present)
                reading.findings.push_back(
                    {line, QStringLiteral("La imagen no tiene texto alternativo (alt).")});
        } else if (id == TidyTag_A && tidyAttrGetById(child, TidyAttr_HREF) &&
                   !hasText(reading.document, child)) {
            reading.findings.push_back(
                {line, QStringLiteral("El enlace no tiene texto que lo diga.")});
        } else if (id == TidyTag_HTML && attribute(child, TidyAttr_LANG).trimmed().isEmpty()) {
            reading.findings.push_back(
                {line,
                 QStringLiteral("La página no dice en qué idioma está (<html lang=\"es\">).")});
        } else if (id == TidyTag_TITLE && tidyNodeLine(child) > 0 &&
                   hasText(reading.document, child)) {
            TidyBuffer value;
            tidyBufInit(&value);
            const TidyNode words = tidyGetChild(child);
            if (words && tidyNodeIsText(words))
                tidyNodeGetValue(reading.document, words, &value);
            const QString title =
                QString::fromUtf8(reinterpret_cast<const char *>(value.bp), int(value.size));
            tidyBufFree(&value);
            if (title.trimmed() == TemplateTitle)
                reading.findings.push_back(
                    {line, QStringLiteral("El título es todavía el de la plantilla: \"%1\".")
                               .arg(TemplateTitle)});
        }
        if (!reading.folder.isEmpty()) {
            for (TidyAttr attr = tidyAttrFirst(child); attr; attr = tidyAttrNext(attr)) {
                const TidyAttrId which = tidyAttrGetId(attr);
                if ((which != TidyAttr_HREF && which != TidyAttr_SRC) || !tidyAttrValue(attr))
                    continue;
                const QString value = QString::fromUtf8(tidyAttrValue(attr)).trimmed();
                if (!namesSiteFile(value))
                    continue;
                QString path = value.section(u'#', 0, 0).section(u'?', 0, 0);
                path = QUrl::fromPercentEncoding(path.toUtf8());
                if (path.isEmpty())
                    continue;
                // Servers tell "Foto.jpg" from "foto.jpg": so does this look.
                if (!QFileInfo::exists(QDir(reading.folder).filePath(path)))
                    reading.findings.push_back(
                        {line, QStringLiteral("No existe el archivo \"%1\" (%2).")
                                   .arg(path, QString::fromUtf8(tidyAttrName(attr)))});
            }
        }
        readTree(reading, child);
    }
}

// The line (1-based) of a position of the text.
int lineAt(const QString &text, qsizetype position)
{
    int line = 1;
    for (qsizetype i = 0; i < position; ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' || (c == u'\r' && (i + 1 == text.size() || text.at(i + 1) != u'\n')))
            ++line;
    }
    return line;
}

// How the page's characters reach a browser: what it declares where a browser looks, whether
// anyone knows that name, and whether the characters fit in it.
void readEncoding(const QString &text, std::vector<Finding> &findings)
{
    const TextPieces pieces = [&text](const PieceTaker &take) { take(text); };
    const CharsetDeclaration declared = findCharsetDeclaration(QStringView(text));
    if (!declared.found()) {
        if (!holdsNonAscii(pieces))
            return;
        const auto outside =
            std::find_if(text.cbegin(), text.cend(), [](QChar c) { return c.unicode() > 0x7F; });
        findings.push_back(
            {lineAt(text, outside - text.cbegin()),
             QStringLiteral("La página tiene caracteres fuera de ASCII y no declara su "
                            "codificación (<meta charset=\"utf-8\">): un navegador puede "
                            "mostrarlos mal.")});
        return;
    }
    const int line = lineAt(text, declared.labelStart);
    const std::optional<TextEncoding> encoding = encodingForLabel(declared.label);
    if (!encoding) {
        findings.push_back(
            {line, QStringLiteral("La página declara una codificación que Zendral no sabe "
                                  "escribir o que nadie conoce: \"%1\".")
                       .arg(declared.label)});
        return;
    }
    if (const std::optional<Unencodable> missing = firstUnencodable(pieces, *encoding))
        findings.push_back(
            {int(missing->line) + 1,
             QStringLiteral("\"%1\" no cabe en %2, la codificación que declara la página.")
                 .arg(missing->character, charsetName(declared.label))});
}

} // namespace

std::vector<Finding> reviewPage(const QString &text, const QString &folder)
{
    std::vector<Finding> findings;
    TidyReading reading{&findings, {}};
    const TidyDoc document = tidyCreate();
    tidySetAppData(document, &reading);
    tidySetMessageCallback(document, takeMessage);
    tidyOptSetBool(document, TidyShowWarnings, yes);
    tidyOptSetInt(document, TidyShowErrors, 1000000);
    tidyOptSetBool(document, TidyQuiet, yes);
    tidyOptSetValue(document, TidyInCharEncoding, "utf8");
    // Addresses are read as written, not as Tidy would mend them.
    tidyOptSetBool(document, TidyFixUri, no);
    tidyOptSetBool(document, TidyFixBackslash, no);
    TidyBuffer silent;
    tidyBufInit(&silent);
    tidySetErrorBuffer(document, &silent);
    // Tidy reads up to a NUL: a page that holds one is read on past it.
    QByteArray bytes = text.toUtf8();
    bytes.replace('\0', ' ');
    tidyParseString(document, bytes.constData());
    TreeReading tree{document, folder, findings};
    readTree(tree, tidyGetRoot(document));
    tidyBufFree(&silent);
    tidyRelease(document);
    readEncoding(text, findings);
    std::stable_sort(findings.begin(), findings.end(),
                     [](const Finding &a, const Finding &b) { return a.line < b.line; });
    return findings;
}

} // namespace zendral
