// ReplaceString against the plainest reading of its rule: walk the text left to right,
// write the replacement for each occurrence and step past it, copy anything else.

#include "fuzzsupport.h"
#include "replacestring.h"

using namespace zendral;
using namespace zendral::fuzz;

namespace {

QString reference(const QString &text, const QString &keyword, const QString &replacement)
{
    if (keyword.isEmpty())
        return text;
    QString result;
    for (qsizetype i = 0; i < text.size();) {
        if (QStringView(text).mid(i).startsWith(keyword)) {
            result += replacement;
            i += keyword.size();
        } else {
            result += text.at(i++);
        }
    }
    return result;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Two bytes give the keyword's and the replacement's lengths; the rest, read as UTF-16 so
    // that every code unit and lone surrogates come up, holds the keyword, the replacement and
    // the text, in that order.
    if (size < 2)
        return 0;
    const QByteArray rest = bytesOf(data + 2, size - 2);
    const QString all(reinterpret_cast<const QChar *>(rest.constData()), rest.size() / 2);
    const QString keyword = all.left(data[0] % 8);
    const QString replacement = all.mid(keyword.size(), data[1] % 8);
    const QString text = all.mid(keyword.size() + replacement.size());

    const QString result = ReplaceString(text, keyword, replacement);
    check(result == reference(text, keyword, replacement), "ReplaceString follows its rule",
          shown(text) + QStringLiteral(" | ") + shown(keyword) + QStringLiteral(" | ") +
              shown(replacement));
    return 0;
}
