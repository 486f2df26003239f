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

QString randomString(QRandomGenerator &random, const QString &alphabet, int maxLength)
{
    QString s;
    const int length = random.bounded(maxLength + 1);
    for (int i = 0; i < length; ++i)
        s.append(alphabet.at(random.bounded(int(alphabet.size()))));
    return s;
}

} // namespace

class TestReplaceString : public QObject
{
    Q_OBJECT

private slots:
    void replaces_data();
    void replaces();
    void agreesWithReference();
};

void TestReplaceString::replaces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("keyword");
    QTest::addColumn<QString>("replacement");
    QTest::addColumn<QString>("expected");

    QTest::newRow("Td by td in <Td><TD>: capitals count")
        << u"<Td><TD>"_qs << u"Td"_qs << u"td"_qs << u"<td><TD>"_qs;
    QTest::newRow("ab by nothing in aabb: the join is not searched again")
        << u"aabb"_qs << u"ab"_qs << u""_qs << u"ab"_qs;
    QTest::newRow("a by aa: what was written is skipped")
        << u"aXa"_qs << u"a"_qs << u"aa"_qs << u"aaXaa"_qs;
    QTest::newRow("aa by b in aaaaa: hits do not overlap")
        << u"aaaaa"_qs << u"aa"_qs << u"b"_qs << u"bba"_qs;
    // Misses, empty texts, hits at the ends and line breaks: agreesWithReference.
    QTest::newRow("empty keyword replaces nothing")
        << u"abc"_qs << QString() << u"x"_qs << u"abc"_qs;
    QTest::newRow("accents count")
        << u"canción cancion"_qs << u"cancion"_qs << u"tema"_qs << u"canción tema"_qs;
}

void TestReplaceString::replaces()
{
    QFETCH(QString, text);
    QFETCH(QString, keyword);
    QFETCH(QString, replacement);
    QFETCH(QString, expected);
    QCOMPARE(ReplaceString(text, keyword, replacement), expected);
}

void TestReplaceString::agreesWithReference()
{
    // A small alphabet makes hits, near misses and joins frequent.
    QRandomGenerator random(20240605);
    const QString alphabet = u"abA\r\n"_qs;
    for (int i = 0; i < 20000; ++i) {
        const QString text = randomString(random, alphabet, 40);
        QString keyword = randomString(random, alphabet, 3);
        if (keyword.isEmpty())
            keyword = u"a"_qs;
        const QString replacement = randomString(random, alphabet, 4);
        qsizetype expectedCount = 0;
        qsizetype count = -1;
        const QString expected = referenceReplace(text, keyword, replacement, expectedCount);
        if (ReplaceString(text, keyword, replacement, &count) != expected ||
            count != expectedCount) {
            QFAIL(qPrintable(u"text %1 keyword %2 replacement %3"_qs.arg(text.toHtmlEscaped(),
                                                                         keyword, replacement)));
        }
    }
}

QTEST_GUILESS_MAIN(TestReplaceString)
#include "tst_replacestring.moc"
