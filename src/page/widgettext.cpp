#include "widgettext.h"

#include <algorithm>

namespace zendral {

namespace {

// Characters from U+2029 up are the only ones that widget text and document text may hold
// differently: a break, or a stand-in.
constexpr char16_t FirstMarked = std::min(ParagraphSeparator.unicode(), FirstStandIn);

// The first character from p on that may be marked, or end. Takes sixteen characters at a
// time, which the compiler turns into a few vector instructions: this walks the whole text on
// every save.
const char16_t *nextMarked(const char16_t *p, const char16_t *end)
{
    while (end - p >= 16) {
        char16_t top = 0;
        for (int i = 0; i < 16; ++i)
            top = std::max(top, p[i]);
        if (top >= FirstMarked)
            break;
        p += 16;
    }
    while (p != end && *p < FirstMarked)
        ++p;
    return p;
}

// How many breaks the widget text from p to end holds.
qsizetype breaksIn(const char16_t *p, const char16_t *end)
{
    qsizetype count = 0;
    while (end - p >= 16) {
        int some = 0;
        for (int i = 0; i < 16; ++i)
            some += p[i] == ParagraphSeparator.unicode();
        count += some;
        p += 16;
    }
    for (; p != end; ++p)
        count += *p == ParagraphSeparator.unicode();
    return count;
}

} // namespace

WidgetText toWidgetText(const QString &text)
{
    WidgetText result;
    const qsizetype size = text.size();
    // Written straight into a string of the greatest size it can take, a line at a time.
    result.text = QString(size + size / HeldPartLength + 1, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.text.data());
    char16_t *const outStart = out;
    const QChar *data = text.constData();
    for (qsizetype i = 0; i < size;) {
        const qsizetype lineEnd = lineEndFrom(data, i, size);
        if (lineEnd - i > HeldLineLimit) {
            qint64 column = 0;
            for (; i < lineEnd; ++i) {
                if (cutsBefore(true, column++, data[i])) {
                    *out++ = ParagraphSeparator.unicode();
                    result.ends.push_back(LineEnd::None);
                    column = 1;
                }
                *out++ = widgetUnit(data, i, size);
            }
        } else {
            for (; i < lineEnd; ++i)
                *out++ = widgetUnit(data, i, size);
        }
        if (i == size)
            break;
        *out++ = ParagraphSeparator.unicode();
        if (data[i] == u'\r' && i + 1 < size && data[i + 1] == u'\n') {
            result.ends.push_back(LineEnd::CrLf);
            i += 2;
        } else {
            result.ends.push_back(data[i] == u'\r' ? LineEnd::Cr : LineEnd::Lf);
            ++i;
        }
    }
    result.text.truncate(out - outStart);
    return result;
}

QString documentText(QStringView raw, const std::vector<LineEnd> &allEnds, LineEnd pageEnd,
                     int firstBlock, qsizetype *breaksHeld, char16_t before)
{
    // This runs over the whole text on every save: size the result once, copy runs whole.
    const char16_t *data = reinterpret_cast<const char16_t *>(raw.constData());
    const qsizetype size = raw.size();
    const qsizetype breaks = breaksIn(data, data + size);
    if (breaksHeld)
        *breaksHeld = breaks;
    const LineEnd *ends = allEnds.empty() ? nullptr : allEnds.data() + firstBlock;
    qsizetype crLfs = 0;
    qsizetype joins = 0;
    if (!ends) {
        crLfs = pageEnd == LineEnd::CrLf ? breaks : 0;
    } else {
        const LineEnd *last =
            ends + std::min<qsizetype>(breaks, qsizetype(allEnds.size()) - firstBlock);
        crLfs = std::count(ends, last, LineEnd::CrLf);
        joins = std::count(ends, last, LineEnd::None);
    }
    QString result(size + crLfs - joins, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(result.data());
    const char16_t *from = data;
    const char16_t *end = data + size;
    qsizetype line = 0;
    for (const char16_t *p = nextMarked(data, end); p != end; p = nextMarked(p + 1, end)) {
        if (*p == ParagraphSeparator.unicode()) {
            out = std::copy(from, p, out);
            switch (ends ? ends[line++] : pageEnd) {
            case LineEnd::CrLf:
                *out++ = u'\r';
                *out++ = u'\n';
                break;
            case LineEnd::Lf:
                *out++ = u'\n';
                break;
            case LineEnd::Cr:
                *out++ = u'\r';
                break;
            case LineEnd::None:
                break;
            }
        } else if (const char16_t c = pageUnit(*p, p == data ? before : p[-1]); c != *p) {
            out = std::copy(from, p, out);
            *out++ = c;
        } else {
            continue;
        }
        from = p + 1;
    }
    std::copy(from, end, out);
    return result;
}

} // namespace zendral
