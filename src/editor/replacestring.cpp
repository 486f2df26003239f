#include "replacestring.h"

#include "editingsurface.h"

#include <QStringMatcher>

namespace zendral {

QString ReplaceString(const QString &text, const QString &keyword, const QString &replacement)
{
    if (keyword.isEmpty())
        return text;
    const QStringMatcher matcher(keyword, Qt::CaseSensitive);
    qsizetype hit = matcher.indexIn(text, 0);
    if (hit < 0)
        return text;
    // One pass over the text, copying the stretches between hits: rebuilding the string at
    // each hit made a page full of hits quadratic.
    QString result;
    result.reserve(replacement.size() > keyword.size() ? text.size() + text.size() / 8
                                                       : text.size());
    qsizetype copied = 0;
    while (hit >= 0) {
        result.append(QStringView(text).mid(copied, hit - copied));
        result.append(replacement);
        copied = hit + keyword.size();
        hit = matcher.indexIn(text, copied);
    }
    result.append(QStringView(text).mid(copied));
    return result;
}

bool replaceInDocument(EditingSurface &text1, const QString &keyword, const QString &replacement)
{
    if (keyword.isEmpty())
        return false;
    text1.setText(ReplaceString(text1.text(), keyword, replacement));
    return true;
}

} // namespace zendral
