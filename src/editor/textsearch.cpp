#include "textsearch.h"

#include "editingsurface.h"
#include "prompts.h"

namespace zendral {

std::optional<qint64> findFrom(const QString &text, const QString &needle, qint64 from,
                               Qt::CaseSensitivity sensitivity)
{
    if (needle.isEmpty() || from < 0 || from > text.size())
        return std::nullopt;
    const qsizetype hit = text.indexOf(needle, from, sensitivity);
    if (hit < 0)
        return std::nullopt;
    return hit;
}

std::optional<qint64> lineCaretPosition(const QString &text, qint64 line)
{
    if (line < 1)
        return std::nullopt;
    // Every line the user sees ends in CR LF, a lone LF (shown as a break) or a lone CR.
    const qsizetype size = text.size();
    qint64 current = 1;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        const bool crlf = c == u'\r' && i + 1 < size && text.at(i + 1) == u'\n';
        if (current == line)
            return crlf ? i + 1 : i; // a CR LF keeps the caret between its two characters
        ++current;
        if (crlf)
            ++i;
    }
    // The last line has no break after it: its end is the end of the text.
    if (current == line)
        return size;
    return std::nullopt;
}

void BuscarTexto(EditingSurface &text1, Prompts &prompts, const QString &search, bool matchCase,
                 qint64 skip)
{
    if (search.isEmpty())
        return;
    const std::optional<qint64> hit =
        findFrom(text1.text(), search, skip, matchCase ? Qt::CaseSensitive : Qt::CaseInsensitive);
    if (!hit) {
        prompts.notify(QStringLiteral("No se ha encontrado ") + search);
        return;
    }
    text1.setSelectionStart(*hit);
    text1.setSelectionLength(search.size());
    text1.setFocus();
}

void IrLinea(EditingSurface &text1, qint64 nLinea)
{
    const std::optional<qint64> position = lineCaretPosition(text1.text(), nLinea);
    if (!position)
        return;
    text1.setSelectionStart(*position);
    text1.setFocus();
}

} // namespace zendral
