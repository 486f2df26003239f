#pragma once

#include <QString>

namespace zendral::bench {

// A realistic hand-written page of about targetBytes characters: nested tables, links,
// images, scripts, comments and server blocks, lines ended by CR LF.
QString generatePage(qint64 targetBytes);

// Pages made to hurt: each as large as a normal page, in a shape no person writes.
// Only "<", on one line.
QString lessThanPage(qint64 targetBytes);
// count "<div>" then count "</div>", all on one line.
QString nestedTagsLine(qint64 count);
// A normal page with lone LF line ends, as a page written on a Unix system has.
QString lfPage(qint64 targetBytes);
// One tag opened at the top, then lines of plain text without "<" or ">".
QString farTagPage(qint64 targetBytes);
// Tags and text with no line break at all, length characters.
QString longLine(qint64 length);

} // namespace zendral::bench
