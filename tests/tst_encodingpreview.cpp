#include "documentcontroller.h"
#include "previewpane.h"
#include "webenginesandbox.h"
#include "windowfixture.h"

#include <QTcpServer>
#include <QTcpSocket>
#include <QWebEnginePage>
#include <QWebEngineView>

using namespace zendral;
using namespace zendral::test;
using namespace Qt::StringLiterals;

namespace {

// What a page's script gives back, once it has.
QString evaluate(QWebEnginePage &page, const QString &script)
{
    QString result;
    bool done = false;
    page.runJavaScript(script, [&](const QVariant &value) {
        result = value.toString();
        done = true;
    });
    if (!QTest::qWaitFor([&] { return done; }, 30000))
        return u"<no answer>"_s;
    return result;
}

const QString Read = u"document.characterSet + '|' + document.querySelector('h2').textContent"_s;

// Serves one file to every request, as a web server serves a page: "text/html", no charset.
class PageServer : public QTcpServer
{
public:
    explicit PageServer(QByteArray bytes) : m_bytes(std::move(bytes))
    {
        listen(QHostAddress::LocalHost);
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = nextPendingConnection()) {
                connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
                    if (!socket->readAll().contains("\r\n\r\n"))
                        return;
                    socket->write("HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n" + m_bytes);
                    socket->disconnectFromHost();
                });
            }
        });
    }
    QUrl address() const { return QUrl(u"http://127.0.0.1:%1/dos.html"_s.arg(serverPort())); }

private:
    QByteArray m_bytes;
};

// What a browser with its default settings reads at address.
QString readAt(const QUrl &address)
{
    QWebEnginePage browser;
    QSignalSpy loaded(&browser, &QWebEnginePage::loadFinished);
    browser.load(address);
    if (!loaded.wait(60000) || !loaded.first().first().toBool())
        return u"<not loaded>"_s;
    return evaluate(browser, Read);
}

} // namespace

class TestEncodingPreview : public QObject
{
    Q_OBJECT

public:
    static void initMain() { relaxWebEngineSandboxForRoot(); }

private slots:
    void browserReadsTheSavedPage_data()
    {
        QTest::addColumn<bool>("declare");
        QTest::addColumn<QString>("served"); // as a browser reads the page from a web server
        QTest::newRow("Sí to the declaration: read as written") << true << u"UTF-8|Página dos"_s;
        // What the author's visitors saw before, while the page read right from the disk.
        QTest::newRow("No: served, it reads as Windows-1252, and the preview says so")
            << false << u"windows-1252|PÃ¡gina dos"_s;
    }

    // The new user's page, Nuevo, a heading, Save, as a browser with its default settings reads
    // the file, and as the preview shows it with its note.
    void browserReadsTheSavedPage()
    {
        QFETCH(bool, declare);
        QFETCH(QString, served);
        QTemporaryDir folder;
        const QString path = folder.filePath(u"dos.html"_s);
        WindowFixture f;
        f.showAndWait();
        f.trigger(u"mn_nuevo"_s);
        f.prompts.questions.clear();
        typeInto(&f.view, u"<h2>Página dos</h2>"_s);
        f.prompts.answers.enqueue(declare);
        f.trigger(u"mn_guardar"_s, path);
        QCOMPARE(f.prompts.questions.size(), 1);

        // From the disk, Chromium guesses the encoding of a page that declares none.
        const QString local = u"UTF-8|Página dos"_s;
        QCOMPARE(readAt(QUrl::fromLocalFile(path)), local);
        PageServer server(fileBytes(path));
        QCOMPARE(readAt(server.address()), served);

        auto *tabs = child<QTabWidget>(&f.window, u"SSTab1"_s);
        tabs->setCurrentIndex(1);
        QWebEngineView *preview = f.window.findChild<PreviewPane *>()->browser();
        QVERIFY(preview);
        QTRY_VERIFY_WITH_TIMEOUT(preview->url() == QUrl::fromLocalFile(path), 60000);
        QTRY_COMPARE_WITH_TIMEOUT(evaluate(*preview->page(), Read), local, 60000);
        auto *note = child<QLabel>(&f.window, u"previewNote"_s);
        QCOMPARE(note->isVisible(), !declare);
        if (!declare)
            QVERIFY2(note->text().contains(u"no declara su codificación"_s),
                     qPrintable(note->text()));
    }
};

QTEST_MAIN(TestEncodingPreview)
#include "tst_encodingpreview.moc"
