// The spelling tokenizer: whatever the page, the readable words are stretches of it in page
// order, and a spelling check that changes every word writes each change in its own place.

#include "fuzzsupport.h"
#include "readablewords.h"
#include "spellengine.h"
#include "spellingsession.h"

using namespace zendral;
using namespace zendral::fuzz;

namespace {

// Knows no word but the one every word is changed to.
class ChangingEngine : public SpellEngine
{
public:
    bool check(const QString &word) override { return word == QStringLiteral("zz"); }
    QStringList suggest(const QString &) override { return {}; }
    void add(const QString &) override {}
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString page = QString::fromUtf8(bytesOf(data, size));
    const std::vector<ReadableWord> words = readableWords(page);

    qint64 end = 0;
    QString expected;
    for (const ReadableWord &word : words) {
        check(word.start >= end && word.length > 0 && word.start + word.length <= page.size(),
              "words are stretches of the page, in order and apart", shown(page));
        check(!word.word.isEmpty(), "a word is never empty", shown(page));
        if (!word.entityLetters)
            check(page.mid(word.start, word.length) == word.word,
                  "a word without entities reads as it is written", shown(page));
        expected += QStringView(page).mid(end, word.start - end);
        expected += word.word == QStringLiteral("zz") ? word.word : QStringLiteral("zz");
        end = word.start + word.length;
    }
    expected += QStringView(page).mid(end);

    ChangingEngine engine;
    QStringList added;
    SpellingSession session(page, engine, added);
    for (size_t steps = 0; !session.finished(); ++steps) {
        check(steps < words.size(), "the check ends after every word", shown(page));
        session.change(QStringLiteral("zz"));
    }
    check(session.text() == expected, "each change is written in its word's place",
          shown(session.text()) + QStringLiteral("\n") + shown(expected));
    return 0;
}
