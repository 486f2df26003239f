#pragma once

#include <QString>

#include <optional>

namespace zendral {

class EditingSurface;
class Prompts;

// Where a search for needle in text starting at from (0-based) hits, without wrapping.
std::optional<qint64> findFrom(const QString &text, const QString &needle, qint64 from,
                               Qt::CaseSensitivity sensitivity);

// Where going to line (1-based) puts the caret: between the CR and the LF that end it, before
// the lone LF (or CR) that ends it, or at the end of the text for the last line when no line
// break follows it. Nothing for a line the text does not have.
std::optional<qint64> lineCaretPosition(const QString &text, qint64 line);

// Selects the first occurrence of search that starts at skip or later and gives the surface
// the focus; a miss is told through a notice and leaves the selection alone. An empty search
// does nothing.
void BuscarTexto(EditingSurface &text1, Prompts &prompts, const QString &search, bool matchCase,
                 qint64 skip = 0);

// Puts the caret at the end of line nLinea and gives the surface the focus; a line the text
// does not have leaves everything as it was.
void IrLinea(EditingSurface &text1, qint64 nLinea);

} // namespace zendral
