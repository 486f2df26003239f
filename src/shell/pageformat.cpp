#include "pageformat.h"

#include "colouring.h"
#include "prompts.h"
#include "undostep.h"

namespace zendral {

namespace {
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
const QString BinaryLines =
    QStringLiteral("Es un archivo binario: sus finales de línea se dejan como están.");
const QString Utf8Declaration = QStringLiteral("<meta charset=\"utf-8\">");

bool hasByteOrderMark(TextEncoding encoding)
{
    return encoding == TextEncoding::Utf8WithBom || encoding == TextEncoding::Utf16LittleEndian ||
           encoding == TextEncoding::Utf16BigEndian;
}

QString settled(const QString &label)
{
    return label.trimmed().toLower();
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

// text with every line end, CR LF, CR or LF, turned into lineEnd.
QString withLineEnds(const QString &text, const QString &lineEnd)
{
    QString result;
    result.reserve(text.size() + text.size() / 16);
    const QChar *data = text.constData();
    const qsizetype size = text.size();
    qsizetype from = 0;
    for (qsizetype i = 0; i < size; ++i) {
        if (data[i] != u'\r' && data[i] != u'\n')
            continue;
        result.append(data + from, i - from);
        result += lineEnd;
        if (data[i] == u'\r' && i + 1 < size && data[i + 1] == u'\n')
            ++i;
        from = i + 1;
    }
    result.append(data + from, size - from);
    return result;
}
} // namespace

PageFormat::PageFormat(PageText &page, Prompts &prompts) : m_page(page), m_prompts(prompts) {}

void PageFormat::pageRead(const QString &declared)
{
    m_settledDeclaration = settled(declared);
    m_declarationAsked = false;
}

void PageFormat::settle(bool askAgain)
{
    m_settledDeclaration = settled(declaration().label);
    if (askAgain)
        m_declarationAsked = false;
}

TextPieces PageFormat::pieces() const
{
    return [this](const PieceTaker &take) { m_page.forEachPiece(take); };
}

CharsetDeclaration PageFormat::declaration() const
{
    return findCharsetDeclaration(
        m_page.textRange(0, std::min<qint64>(m_page.textLength(), DeclarationReach)));
}

bool PageFormat::mayTurnToUtf8(TextEncoding encoding, const Unencodable &found)
{
    return m_prompts.ask(
        CannotHold.arg(encodingCaption(encoding), found.character).arg(found.line + 1));
}

std::optional<TextEncoding> PageFormat::encodingToWrite(TextEncoding current, const QString &path)
{
    TextEncoding target = current;
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
    if (declared.found() && settled(declared.label) != m_settledDeclaration) {
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
        if (!mayTurnToUtf8(target, *found))
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

std::optional<TextEncoding> PageFormat::changeTo(TextEncoding wanted)
{
    if (const std::optional<Unencodable> found = firstUnencodable(pieces(), wanted)) {
        if (!mayTurnToUtf8(wanted, *found))
            return std::nullopt;
        wanted = TextEncoding::Utf8;
    }
    // The declaration follows; a mark says it all for UTF-16.
    const CharsetDeclaration declared = declaration();
    if (declared.found() && !hasByteOrderMark(wanted) && encodingForLabel(declared.label) != wanted)
        editAside(declared.labelStart, declared.labelLength, declarationLabel(wanted));
    settle();
    return wanted;
}

void PageFormat::declareUtf8()
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

void PageFormat::editAside(qint64 start, qint64 length, const QString &text)
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

bool PageFormat::convertLineEnds(PageText::LineEnd end, TextEncoding current)
{
    if (current == TextEncoding::Binary) {
        m_prompts.notify(BinaryLines);
        return false;
    }
    const QString before = m_page.text();
    QString after = withLineEnds(before, PageText::lineEndText(end));
    if (after == before && m_page.pageLineEnd() == end)
        return false;
    UndoStep step(m_page, UndoStep::WholeText);
    m_page.setText(std::move(after));
    return true;
}

} // namespace zendral
