#pragma once

#include <QString>

namespace zendral::bench {

// A realistic hand-written page of about targetBytes characters: nested tables, links,
// images, scripts, comments and server blocks, lines ended by CR LF.
QString generatePage(qint64 targetBytes);

} // namespace zendral::bench
