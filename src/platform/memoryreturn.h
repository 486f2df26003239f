#pragma once

namespace zendral {

// Makes every large buffer (a page's text, the document's tables as they grow) a mapping of
// its own that goes back to the system when freed. Left to itself, the C library raises its
// mapping threshold each time such a buffer is freed, after which the buffers that grow while
// a big page opens are carved out of the heap and leave holes there that count for the whole
// session: a 10 MB page then held about 30 MB more than its text and tables. Called once, as
// the program starts, before any page is read.
void returnLargeBuffersWhenFreed();

} // namespace zendral
