#include "replacestring.h"

#include "colouring.h"
#include "pagetext.h"
#include "undostep.h"

#include <QStringMatcher>

namespace zendral {

QString ReplaceString(const QString &text, const QString &keyword, const QString &replacement,
                      qsizetype *count)
{
    if (count)
        *count = 0;
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
    qsizetype hits = 0;
    while (hit >= 0) {
        result.append(QStringView(text).mid(copied, hit - copied));
        result.append(replacement);
        ++hits;
        copied = hit + keyword.size();
        hit = matcher.indexIn(text, copied);
    }
    result.append(QStringView(text).mid(copied));
    if (count)
        *count = hits;
    return result;
}

qsizetype replaceInDocument(PageText &page, const QString &keyword, const QString &replacement)
{
    qsizetype count = 0;
    QString replaced = ReplaceString(page.text(), keyword, replacement, &count);
    if (count == 0)
        return 0;
    UndoStep step(page, UndoStep::WholeText);
    page.setText(std::move(replaced));
    Colorea(page, TablaEtiquetas());
    // Colouring leaves the last tag selected; a rewritten text starts with the caret at its top.
    page.setSelectionStart(0);
    return count;
}

} // namespace zendral
