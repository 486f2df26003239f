#pragma once

#include <QString>

namespace zendral {

class EditingSurface;

// Every occurrence of keyword in text replaced by replacement, found left to right without
// overlapping; what a replacement writes is never searched again, so replacing "a" by "aa"
// ends. Case and accents count. An empty keyword replaces nothing.
QString ReplaceString(const QString &text, const QString &keyword, const QString &replacement);

// Rewrites the whole document with keyword replaced throughout. The colours go with the
// rewrite, even when nothing was found; an empty keyword leaves the document alone. Returns
// whether the document was rewritten.
bool replaceInDocument(EditingSurface &text1, const QString &keyword, const QString &replacement);

} // namespace zendral
