#pragma once

#include <QString>

namespace zendral {

class PageText;

// Every occurrence of keyword in text replaced by replacement, found left to right without
// overlapping; what a replacement writes is never searched again, so replacing "a" by "aa"
// ends. Case and accents count. An empty keyword replaces nothing. When count is given it
// receives the number of occurrences replaced.
QString ReplaceString(const QString &text, const QString &keyword, const QString &replacement,
                      qsizetype *count = nullptr); // fixed name

// Replaces keyword throughout the document and colours the tags again, as opening a page
// does. Returns how many occurrences were replaced; with none (or an empty keyword) the
// document, its colours and its change state are left alone.
qsizetype replaceInDocument(PageText &page, const QString &keyword, const QString &replacement);

} // namespace zendral
