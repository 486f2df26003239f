#include "editingsurface.h"
#include "replacestring.h"

#include <QElapsedTimer>
#include <QHash>
#include <QStringView>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace zendral {

namespace {

// The most frequent run of three or more ASCII letters: in a page that is a tag or attribute
// name, the kind of word a user replaces throughout.
QString mostFrequentWord(const QString &page)
{
    QHash<QStringView, qsizetype> counts;
    const QStringView view(page);
    qsizetype start = -1;
    for (qsizetype i = 0; i <= view.size(); ++i) {
        const bool letter = i < view.size() && ((view[i] >= u'a' && view[i] <= u'z') ||
                                                (view[i] >= u'A' && view[i] <= u'Z'));
        if (letter && start < 0)
            start = i;
        if (!letter && start >= 0) {
            if (i - start >= 3)
                ++counts[view.mid(start, i - start)];
            start = -1;
        }
    }
    QStringView best;
    qsizetype bestCount = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > bestCount) {
            best = it.key();
            bestCount = it.value();
        }
    }
    return best.toString();
}

// The best of three runs, in milliseconds; prepare runs untimed before each.
double bestOfThree(const std::function<void()> &prepare, const std::function<void()> &work)
{
    double best = 1e300;
    for (int run = 0; run < 3; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

// Replace-all of the page's most frequent word through the replacement command (read the
// document, ReplaceString, write it back) against QString::replace with the same reading and
// writing; prints the figures and their ratio.
void benchReplace(const QString &page10MB)
{
    const QString word = mostFrequentWord(page10MB);
    if (word.isEmpty()) {
        std::printf("replace: the page holds no word to replace\n");
        return;
    }
    // A longer replacement moves every later character, the harder case.
    const QString replacement = word + QStringLiteral("_x");
    const qsizetype hits = page10MB.count(word);

    EditingSurface view;
    PageText &page = view.page();
    const auto loadPage = [&] { page.setText(page10MB); };

    QString ours;
    QString theirs;
    const double replaceStringOnly =
        bestOfThree([] {}, [&] { ours = ReplaceString(page10MB, word, replacement); });
    const double qtReplaceOnly = bestOfThree([] {},
                                             [&] {
                                                 theirs = page10MB;
                                                 theirs.replace(word, replacement);
                                             });
    const double command =
        bestOfThree(loadPage, [&] { replaceInDocument(page, word, replacement); });
    const bool commandRight = page.text() == theirs;
    const double baseline = bestOfThree(loadPage, [&] {
        QString text = page.text();
        text.replace(word, replacement);
        page.setText(text);
    });

    std::printf("replace: \"%s\" -> \"%s\", %lld hits in %lld characters\n", qPrintable(word),
                qPrintable(replacement), static_cast<long long>(hits),
                static_cast<long long>(page10MB.size()));
    std::printf("replace: ReplaceString %.1f ms, QString::replace %.1f ms (ratio %.2f)\n",
                replaceStringOnly, qtReplaceOnly, replaceStringOnly / qtReplaceOnly);
    std::printf("replace: whole command %.1f ms, QString::replace + read + write %.1f ms "
                "(ratio %.2f)\n",
                command, baseline, command / baseline);
    std::printf("replace: same result as QString::replace: %s\n",
                ours == theirs && commandRight ? "yes" : "NO");
}

} // namespace zendral
