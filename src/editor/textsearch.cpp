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
    const QString lineBreak = QStringLiteral("\r\n");
    qsizetype breakAt = -1;
    for (qint64 k = 1; k <= line; ++k) {
        breakAt = text.indexOf(lineBreak, breakAt + 1);
        if (breakAt < 0) {
            // The last line has no break after it: its end is the end of the text.
            if (k == line)
                return text.size();
            return std::nullopt;
        }
    }
    // Just after the CR, before the LF.
    return breakAt + 1;
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
