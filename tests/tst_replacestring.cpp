#include "replacestring.h"

#include <QRandomGenerator>
#include <QTest>

using namespace zendral;

namespace {

// The replacement as first written: the whole string rebuilt at each hit and the search
// resumed right after what was written, with 1-based positions.
QString referenceReplace(const QString &text, const QString &keyword, const QString &replacement,
                         qsizetype &count)
{
    QString s = text;
    qsizetype p = s.indexOf(keyword) + 1;
    for (count = 0; p >= 1; ++count) {
        s = s.left(p - 1) + replacement + s.mid(p - 1 + keyword.size());
        p = s.indexOf(keyword, p - 1 + replacement.size()) + 1;
    }
    return s;
}

QString randomString(QRandomGenerator &random, int maxLength)
{
    // A small alphabet makes hits, near misses, joins and capitals frequent.
    const QString alphabet = QStringLiteral("abA\r\n");
    QString s;
    for (int i = random.bounded(maxLength + 1); i > 0; --i)
        s.append(alphabet.at(random.bounded(int(alphabet.size()))));
    return s;
}

} // namespace

class TestReplaceString : public QObject
{
    Q_OBJECT

private slots:
    void agreesWithReference();
};

void TestReplaceString::agreesWithReference()
{
    QCOMPARE(ReplaceString(QStringLiteral("abc"), QString(), QStringLiteral("x")),
             QStringLiteral("abc"));
    QRandomGenerator random(20240605);
    for (int i = 0; i < 20000; ++i) {
        const QString text = randomString(random, 40);
        const QString drawn = randomString(random, 3);
        const QString keyword = drawn.isEmpty() ? QStringLiteral("a") : drawn;
        const QString replacement = randomString(random, 4);
        qsizetype expectedCount = 0;
        qsizetype count = -1;
        const QString expected = referenceReplace(text, keyword, replacement, expectedCount);
        if (ReplaceString(text, keyword, replacement, &count) != expected || count != expectedCount)
            QFAIL(qPrintable(QStringLiteral("text %1 keyword %2 replacement %3")
                                 .arg(text.toHtmlEscaped(), keyword, replacement)));
    }
}

QTEST_GUILESS_MAIN(TestReplaceString)
#include "tst_replacestring.moc"
