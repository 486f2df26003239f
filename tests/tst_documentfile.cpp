#include "documentfile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zendral;

class TestDocumentFile : public QObject
{
    Q_OBJECT

private slots:
    void lineReader_data();
    void lineReader();
    void everyByteRoundTrips_data();
    void everyByteRoundTrips();
    void unencodableCharactersFallBackToUtf8();
    void failuresLeaveTheFileWhole();
    void readFailuresAreToldInSpanish();
};

void TestDocumentFile::lineReader_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("empty file") << QByteArray() << QString();
    QTest::newRow("two lines without a final break") << QByteArray("a\r\nb") << "a\r\nb\r\n";
    QTest::newRow("final CR LF gives no extra line") << QByteArray("a\r\nb\r\n") << "a\r\nb\r\n";
    QTest::newRow("lone LF stays in its line") << QByteArray("a\nb\n") << "a\nb\n\r\n";
    QTest::newRow("lone CR ends a line") << QByteArray("a\rb\r") << "a\r\nb\r\n";
    QTest::newRow("empty lines") << QByteArray("\r\n\r\nx") << "\r\n\r\nx\r\n";
    QTest::newRow("utf-8 accents") << QByteArray("a\xC3\xB1o") << u"año\r\n"_qs;
    QTest::newRow("windows-1252 accents") << QByteArray("a\xF1o \x80") << u"año €\r\n"_qs;
}

void TestDocumentFile::lineReader()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QCOMPARE(decodeDocument(bytes).text, text);
}

void TestDocumentFile::everyByteRoundTrips_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    QByteArray all;
    for (int i = 0; i < 256; ++i) {
        if (i != '\r')
            all.append(char(i));
    }
    QTest::newRow("all byte values as windows-1252") << all << int(TextEncoding::Windows1252);
    QTest::newRow("utf-8 with NUL and emoji")
        << QByteArray("<p>\0a\xC3\xB1o \xF0\x9F\x98\x80</p>", 18) << int(TextEncoding::Utf8);
    QTest::newRow("utf-8 with byte-order mark")
        << QByteArray("\xEF\xBB\xBF<p>canci\xC3\xB3n</p>") << int(TextEncoding::Utf8WithBom);
    QTest::newRow("overlong utf-8 is not utf-8")
        << QByteArray("\xC0\xAF") << int(TextEncoding::Windows1252);
    QTest::newRow("utf-8 whose text opens with a second byte-order mark")
        << QByteArray("\xEF\xBB\xBF\xEF\xBB\xBF<p>a\xC3\xB1o</p>")
        << int(TextEncoding::Utf8WithBom);
}

void TestDocumentFile::everyByteRoundTrips()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"page.html"_qs);
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes + "\r\n");
    file.close();

    const ReadResult read = readDocumentFile(path);
    QVERIFY(read.ok);
    QCOMPARE(int(read.document.encoding), encoding);
    // Save adds one CR LF after the text, as the line reader's text already ends with one.
    const WriteResult written =
        writeDocumentFile(path, read.document.text.chopped(2), read.document.encoding);
    QVERIFY2(written.ok, qPrintable(written.error));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), bytes + "\r\n");
}

void TestDocumentFile::unencodableCharactersFallBackToUtf8()
{
    const EncodedDocument encoded = encodeDocument(u"año 漢字 😀"_qs, TextEncoding::Windows1252);
    QVERIFY(encoded.fellBackToUtf8);
    QCOMPARE(int(encoded.encoding), int(TextEncoding::Utf8));
    QCOMPARE(QString::fromUtf8(encoded.bytes), u"año 漢字 😀\r\n"_qs);
    QVERIFY(!encoded.bytes.contains('?'));
    QVERIFY(!encoded.bytes.contains('\x1A'));
}

void TestDocumentFile::failuresLeaveTheFileWhole()
{
    QTemporaryDir dir;
    // A folder where the file should be.
    const WriteResult folder = writeDocumentFile(dir.path(), u"x"_qs, TextEncoding::Utf8);
    QVERIFY(!folder.ok);
    QVERIFY(folder.error.contains(dir.path()));
    QVERIFY(folder.error.contains(u"carpeta"_qs));
    // A missing folder.
    const QString missing = dir.filePath(u"no/existe.html"_qs);
    const WriteResult result = writeDocumentFile(missing, u"x"_qs, TextEncoding::Utf8);
    QVERIFY(!result.ok);
    QVERIFY(result.error.startsWith(u"No se pudo guardar"_qs));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 0);
}

void TestDocumentFile::readFailuresAreToldInSpanish()
{
    QTemporaryDir dir;
    const QString missing = dir.filePath(u"nada.html"_qs);
    const ReadResult result = readDocumentFile(missing);
    QVERIFY(!result.ok);
    QCOMPARE(result.error, u"No se pudo leer el archivo \"%1\": el archivo o la "
                           "carpeta no existe."_qs.arg(missing));
}

QTEST_GUILESS_MAIN(TestDocumentFile)
#include "tst_documentfile.moc"
