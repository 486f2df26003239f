#pragma once

#include <QString>

#include <vector>

namespace zendral {

// One thing the review of a page found, on a line of the page (1-based, as the page counts
// its lines).
struct Finding
{
    int line = 1;
    QString text;
};

// Reviews a page as it stands, without changing it: its markup as HTML Tidy reads it (elements
// never closed, closed and never opened or across each other, repeated ids and attributes),
// what a reader misses (images without alt, links without text, no language, no title or the
// template's), the files its href and src name that are not in its folder (names compared
// case and all, as a server compares them; nothing when folder is empty), and characters
// outside ASCII with no encoding declared. In the order of the page's lines.
std::vector<Finding> reviewPage(const QString &text, const QString &folder);

} // namespace zendral
