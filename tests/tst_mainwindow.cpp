#include "documentcontroller.h"
#include "filepanes.h"
#include "testsupport.h"
#include "webenginesandbox.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zendral;
using namespace zendral::test;

namespace {

using Fixture = WindowFixture;
const QString Nueva = DocumentController::PlantillaNueva();

// Opens path, or closes the window, through one of the user's doors: a command (with its file
// dialog answering path), the file pane, a drop, the window's close box.
void through(Fixture &f, const QString &door, const QString &path)
{
    if (door == u"pane") {
        emit f.window.findChild<FilePanes *>()->fileDoubleClicked(QFileInfo(path).absolutePath(),
                                                                  QFileInfo(path).fileName());
    } else if (door == u"drop") {
        emit f.view.filesDropped({QUrl::fromLocalFile(path)});
        QTRY_VERIFY(!f.prompts.questions.isEmpty());
    } else if (door == u"close") {
        f.window.close();
    } else {
        f.trigger(door, path);
    }
}

// Stands in for the desktop's handler of file addresses.
class DesktopHandler : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &address) { opened.append(address); }
};

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    // First, before any window: the check forks.
    void sandboxOffOnlyForRoot_data();
    void sandboxOffOnlyForRoot();
    void initTestCase();
    void init();
    void pasteTakesTheInsertionColour();
    void saveQuestion_data();
    void saveQuestion();
    void opening_data();
    void opening();
    void saveOverChangedFile_data();
    void saveOverChangedFile();
    void fileChangedWhileAway_data();
    void fileChangedWhileAway();
    void drops_data();
    void drops();
    void sizeEstimate_data();
    void sizeEstimate();
    void desktopGetsTheExactPath_data();
    void desktopGetsTheExactPath();
};

void TestMainWindow::initTestCase()
{
    // A page loaded while the preview is in front reaches the browser.
    relaxWebEngineSandboxForRoot();
}

void TestMainWindow::init()
{
    QGuiApplication::clipboard()->clear();
}

// Text cut and pasted back takes the insertion colour, not its old one.
void TestMainWindow::pasteTakesTheInsertionColour()
{
    Fixture f;
    f.page().setText(QStringLiteral("hola mundo"));
    f.page().setSelectionStart(5);
    f.page().setSelectionLength(5);
    f.trigger(QStringLiteral("mn_cortar"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("mundo"));
    f.page().setInsertionColour(colours::Purple);
    QTRY_VERIFY(f.window.command(QStringLiteral("mn_pegar"))->isEnabled());
    f.trigger(QStringLiteral("mn_pegar"));
    QCOMPARE(f.page().text(), QStringLiteral("hola mundo"));
    QCOMPARE(f.page().colourAt(7), colours::Purple);
}

void TestMainWindow::saveQuestion_data()
{
    QTest::addColumn<QString>("door");
    QTest::addColumn<int>("answer");
    // Whether the save dialog gives a name.
    QTest::addColumn<bool>("named");
    QTest::addColumn<bool>("goesOn");
    using Answer = Prompts::Answer;
    for (const char *door : {"mn_nuevo", "mn_abrir", "pane", "drop", "close", "mn_salir"}) {
        // Escape answered No: New replaced the text, Salir ended without saving.
        QTest::addRow("%s: Escape stops it", door)
            << QString::fromLatin1(door) << int(Answer::Cancel) << false << false;
        // New and the file pane went on after a cancelled save dialog.
        QTest::addRow("%s: Sí, save dialog cancelled, stops it", door)
            << QString::fromLatin1(door) << int(Answer::Yes) << false << false;
        QTest::addRow("%s: Sí, saved, goes on", door)
            << QString::fromLatin1(door) << int(Answer::Yes) << true << true;
        QTest::addRow("%s: No goes on", door)
            << QString::fromLatin1(door) << int(Answer::No) << false << true;
    }
}

void TestMainWindow::saveQuestion()
{
    QFETCH(QString, door);
    QFETCH(int, answer);
    QFETCH(bool, named);
    QFETCH(bool, goesOn);
    QTemporaryDir dir;
    const QString mine = dir.filePath(QStringLiteral("mia.html"));
    const QString other = dir.filePath(QStringLiteral("otra.html"));
    const QString saveAs = dir.filePath(QStringLiteral("guardada.html"));
    writeBytes(mine, "<p>mia</p>");
    writeBytes(other, "<p>otra</p>");
    Fixture f;
    f.window.show();
    f.window.document().abrirRuta(mine);
    QTest::keyClicks(&f.view, QStringLiteral("hola"));
    const QString before = f.page().text();

    f.prompts.answers.enqueue(Prompts::Answer(answer));
    if (Prompts::Answer(answer) == Prompts::Answer::Yes)
        f.chooser.paths.enqueue(named ? saveAs : QString());
    through(f, door, other);
    QCOMPARE(f.prompts.questions,
             QStringList(QStringLiteral("¿Quieres guardar el archivo actual?")));
    QCOMPARE(fileBytes(saveAs), named ? before.toUtf8() : "<unreadable>");
    const bool closing = door == u"close" || door == u"mn_salir";
    QCOMPARE(f.window.isVisible(), !(closing && goesOn));
    const QString after = door == u"mn_nuevo" ? Nueva
                          : closing           ? before
                                              : QStringLiteral("<p>otra</p>\r\n");
    QCOMPARE(f.page().text(), goesOn ? after : before);
    // Stopped, the page keeps its name and stays unsaved.
    QCOMPARE(f.window.document().isModified(), !goesOn || (closing && !named));
    const QString name = door == u"mn_nuevo" || door == u"pane" ? QString() : other;
    QCOMPARE(f.window.document().state().archivoActual, goesOn && !closing ? name
                                                        : named            ? saveAs
                                                                           : mine);
}

void TestMainWindow::opening_data()
{
    QTest::addColumn<QString>("door");
    // The file chosen; empty: the dialog was cancelled.
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("previewInFront");
    QTest::newRow("Open, existing file")
        << QStringLiteral("mn_abrir") << QStringLiteral("pagina.html") << true << false;
    QTest::newRow("Open, missing file")
        << QStringLiteral("mn_abrir") << QStringLiteral("desaparecido.html") << false << false;
    QTest::newRow("Open, dialog cancelled")
        << QStringLiteral("mn_abrir") << QString() << false << false;
    QTest::newRow("file pane, existing file")
        << QStringLiteral("pane") << QStringLiteral("pagina.html") << true << false;
    QTest::newRow("drop, existing file")
        << QStringLiteral("drop") << QStringLiteral("pagina.html") << true << false;
    // The preview stayed in front, blank, with the keyboard outside the text.
    QTest::newRow("Open while the preview is in front")
        << QStringLiteral("mn_abrir") << QStringLiteral("pagina.html") << true << true;
}

void TestMainWindow::opening()
{
    QFETCH(QString, door);
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QFETCH(bool, previewInFront);
    QTemporaryDir dir;
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    // Long enough to scroll, and ending in a tag that the colouring leaves selected.
    const QString page = QStringLiteral("<p>a</p>\r\n") +
                         QStringLiteral("linea\r\n").repeated(200) + QStringLiteral("<b>fin</b>");
    if (exists)
        writeBytes(path, page.toUtf8());
    Fixture f;
    f.showAndWait();
    auto *tabs = child<QTabWidget>(&f.window, QStringLiteral("SSTab1"));
    f.page().setText(QStringLiteral("mi texto"));
    // Typed, so that undo has something of this page to forget.
    QTest::keyClicks(&f.view, QStringLiteral("ab"));
    child(&f.window, QStringLiteral("archivos"))->setFocus();
    tabs->setCurrentIndex(previewInFront ? 1 : 0);
    f.prompts.notices.clear();
    f.prompts.answers.enqueue(false);
    through(f, door, path);
    if (!exists) {
        // The document stays as it was; a missing file is told.
        QCOMPARE(f.page().text(), QStringLiteral("abmi texto"));
        QCOMPARE(f.prompts.notices.size(), name.isEmpty() ? 0 : 1);
        QVERIFY(f.prompts.notices.value(0).contains(name));
        QCOMPARE(f.window.windowTitle(), QStringLiteral("  Zendral"));
        return;
    }
    QCOMPARE(f.page().text(), page + QStringLiteral("\r\n"));
    // Loaded pages are coloured at once.
    QCOMPARE(f.page().colourAt(1), colours::Blue);
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Zendral - [") + path + u']');
    const EstadoDocumento &state = f.window.document().state();
    // A page from the file pane counts as untitled.
    const bool pane = door == u"pane";
    QCOMPARE(state.archivoActual, pane ? QString() : path);
    QCOMPARE(state.carpetaActual, pane ? dir.path() : dir.path() + u'/');
    // Nothing selected for the first key to replace: the last tag was.
    QCOMPARE(f.page().selectionStart(), 0);
    QCOMPARE(f.page().selectionLength(), 0);
    QCOMPARE(f.view.verticalScrollBar()->value(), 0);
    QCOMPARE(tabs->currentIndex(), 0);
    QCOMPARE(f.window.focusWidget(), &f.view);
    // A page that matches its file byte for byte previews at once: it asked to save first.
    QCOMPARE(state.archivoGuardado, path);
    QVERIFY(!f.window.document().isModified());
    // What was typed in the other page is not undone in this one.
    QTest::keyClick(&f.view, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(f.page().text(), page + QStringLiteral("\r\n"));
}

namespace {

// What another program does to the page's file while the editor holds it.
enum class Change { None, Rewritten, Removed, LinkInItsPlace };

// Applies change to the file at path; a link points at a file of someone else's.
void changeOnDisk(Change change, const QString &path)
{
    const QString foreign = QFileInfo(path).absolutePath() + QStringLiteral("/ajeno.html");
    switch (change) {
    case Change::None:
        break;
    case Change::Rewritten:
        writeBytes(path, "<p>del otro programa</p>\r\nuno\r\ndos\r\ntres\r\n");
        break;
    case Change::Removed:
        QVERIFY(QFile::remove(path));
        break;
    case Change::LinkInItsPlace:
        writeBytes(foreign, "secreto");
        QVERIFY(QFile::remove(path));
        QVERIFY(QFile::link(foreign, path));
        break;
    }
}

} // namespace

void TestMainWindow::saveOverChangedFile_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("written");
    QTest::newRow("file unchanged: written without a question")
        << int(Change::None) << false << false << true;
    // Another program's change was overwritten without a word.
    QTest::newRow("file rewritten by another program: Sí overwrites it")
        << int(Change::Rewritten) << true << true << true;
    QTest::newRow("file rewritten by another program: No keeps it, the text stays unsaved")
        << int(Change::Rewritten) << false << true << false;
    QTest::newRow("file removed: written again without a question")
        << int(Change::Removed) << false << false << true;
    // Save wrote into the link's target, a file of someone else's choosing.
    QTest::newRow("Save never follows a symbolic link put in the file's place")
        << int(Change::LinkInItsPlace) << true << false << false;
}

void TestMainWindow::saveOverChangedFile()
{
    QFETCH(int, change);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(bool, written);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pagina.html"));
    writeBytes(path, "<p>uno</p>");
    Fixture f;
    f.window.document().abrirRuta(path);
    QTest::keyClicks(&f.view, QStringLiteral("x"));
    changeOnDisk(Change(change), path);
    const QByteArray onDisk = fileBytes(path);
    f.prompts.answers.enqueue(answer);
    f.trigger("mn_guardar");
    QCOMPARE(f.prompts.questions.size(), int(asked));
    if (asked)
        QVERIFY(f.prompts.questions.first().contains(QStringLiteral("\"") + path +
                                                     QStringLiteral("\" ha cambiado")));
    QCOMPARE(fileBytes(path), written ? QByteArray("x<p>uno</p>\r\n") : onDisk);
    QCOMPARE(f.window.document().isModified(), !written);
    QCOMPARE(f.window.document().state().archivoGuardado, written ? path : QString());
    if (Change(change) == Change::LinkInItsPlace) {
        QVERIFY(QFileInfo(path).isSymLink());
        QCOMPARE(f.prompts.notices.size(), 1);
        QVERIFY(f.prompts.notices.first().contains(QStringLiteral("enlace simbólico")));
    }
}

void TestMainWindow::fileChangedWhileAway_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<bool>("unsaved");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("readAgain");
    QTest::addColumn<QString>("status");
    const QString readAgain =
        QStringLiteral("Se ha vuelto a leer \"%1\": otro programa lo había cambiado.");
    QTest::newRow("unchanged: nothing happens")
        << int(Change::None) << false << false << false << false << QString();
    QTest::newRow("rewritten, nothing unsaved: read again in place, told in the status area")
        << int(Change::Rewritten) << false << false << false << true << readAgain;
    QTest::newRow("rewritten, unsaved changes: asked, No keeps the text")
        << int(Change::Rewritten) << true << false << true << false << QString();
    QTest::newRow("rewritten, unsaved changes: asked, Sí reads it again")
        << int(Change::Rewritten) << true << true << true << true << readAgain;
    QTest::newRow("removed: the text is kept and the status area says so")
        << int(Change::Removed) << false << false << false << false
        << QStringLiteral(
               "El archivo \"%1\" ya no está en el disco: guarda el texto para no perderlo.");
    QTest::newRow("symbolic link put in its place: not read")
        << int(Change::LinkInItsPlace) << false << false << false << false
        << QStringLiteral(
               "En el lugar del archivo \"%1\" hay ahora un enlace simbólico o algo que no es un "
               "archivo normal: no se ha vuelto a leer.");
}

void TestMainWindow::fileChangedWhileAway()
{
    QFETCH(int, change);
    QFETCH(bool, unsaved);
    QFETCH(bool, answer);
    QFETCH(bool, asked);
    QFETCH(bool, readAgain);
    QFETCH(QString, status);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pagina.html"));
    const QString page = QStringLiteral("<p>mio</p>\r\nuno\r\ndos\r\n");
    writeBytes(path, page.toUtf8());
    Fixture f;
    f.showAndWait();
    QApplication::setActiveWindow(&f.window);
    f.window.document().abrirRuta(path);
    // The caret on the third line.
    f.page().setSelectionStart(page.indexOf(QStringLiteral("dos")) + 1);
    if (unsaved)
        QTest::keyClicks(&f.view, QStringLiteral("x"));
    const QString before = f.page().text();
    changeOnDisk(Change(change), path);
    f.prompts.answers.enqueue(answer);

    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&f.window);
    QCoreApplication::sendPostedEvents(&f.window.document(), QEvent::MetaCall);
    QCOMPARE(f.prompts.questions.size(), int(asked));
    QCOMPARE(f.page().text(), readAgain ? QString::fromUtf8(fileBytes(path)) : before);
    if (readAgain) {
        QCOMPARE(f.view.textCursor().blockNumber(), 2);
        QVERIFY(!f.window.document().isModified());
    }
    QCOMPARE(child<QLabel>(&f.window, QStringLiteral("lblarchivo"))->text(), status.arg(path));
    // Told once: coming back again asks nothing more.
    QApplication::setActiveWindow(nullptr);
    QApplication::setActiveWindow(&f.window);
    QCoreApplication::sendPostedEvents(&f.window.document(), QEvent::MetaCall);
    QCOMPARE(f.prompts.questions.size(), int(asked));
}

void TestMainWindow::drops_data()
{
    // A page dropped is opened as `opening` shows; the doors are the same for both.
    QTest::addColumn<bool>("onSurface");
    QTest::newRow("picture on the editing surface") << true;
    QTest::newRow("picture on the window goes to the caret") << false;
}

void TestMainWindow::drops()
{
    QFETCH(bool, onSurface);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("foto.jpg"));
    writeBytes(path, jpegBytes(120, 45));
    Fixture f;
    f.window.show();
    // A picture goes only into a saved page.
    f.page().setText(QStringLiteral("<p></p>"));
    f.chooser.paths.enqueue(dir.filePath(QStringLiteral("actual.html")));
    f.trigger("mn_guardar");
    f.page().setSelectionStart(3);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QTextCursor caret(f.view.document());
    caret.setPosition(3);
    QWidget *target = onSurface ? f.view.viewport() : &f.window;
    const QPoint point = onSurface ? f.view.cursorRect(caret).center() : QPoint(5, 5);
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
    QTRY_COMPARE(f.page().text(), QStringLiteral("<p><img src=\"foto.jpg\" width=\"120\" "
                                                 "height=\"45\" border=\"0\" alt=\"\"></p>"));
    QCOMPARE(f.page().colourAt(3), colours::Purple);
}

void TestMainWindow::sizeEstimate_data()
{
    QTest::addColumn<QLocale>("locale");
    QTest::addColumn<int>("length");
    // The size, the modem's time and the ADSL's time, as the status area shows them.
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("no thousands separator")
        << QLocale::c() << 2000 * 1024
        << QStringList{"2000.00KB", "363.64 Segundos", "80.00 Segundos"};
    QTest::newRow("the decimal separator is the user's")
        << QLocale(QLocale::Spanish, QLocale::Spain) << 1024
        << QStringList{"1,00KB", "0,18 Segundos", "0,04 Segundos"};
}

void TestMainWindow::sizeEstimate()
{
    QFETCH(QLocale, locale);
    QFETCH(int, length);
    QFETCH(QStringList, shown);
    QLocale::setDefault(locale);
    Fixture f;
    f.page().setText(QString(length, u'x'));
    QStringList labels;
    for (const char *name : {"lbltamano", "lblmodem", "lbladsl"})
        labels.append(child<QLabel>(&f.window, QLatin1String(name))->text());
    QLocale::setDefault(QLocale::c());
    QCOMPARE(labels, shown);
    // A typed ">" that closes a tag, coloured at once, is a change like any other: the size
    // follows and the preview asks for a save again.
    f.page().setText(QString(1027, u'x'));
    f.page().setSelectionStart(1027);
    QTest::keyClicks(&f.view, QStringLiteral("<b"));
    QTemporaryDir dir;
    f.trigger(QStringLiteral("mn_guardarcomo"), dir.filePath(QStringLiteral("x.html")));
    QVERIFY(!f.window.document().state().archivoGuardado.isEmpty());
    QTest::keyClicks(&f.view, QStringLiteral(">"));
    QCOMPARE(child<QLabel>(&f.window, QStringLiteral("lbltamano"))->text(),
             QStringLiteral("1.01KB"));
    QVERIFY(f.window.document().state().archivoGuardado.isEmpty());
}

// The preview-in-browser command: the real desktop opener gets the saved page's exact path.
void TestMainWindow::desktopGetsTheExactPath_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("shell's characters, leading dash")
        << QStringLiteral("-n $(touch hecho) `id` \"dobles\" 'simples'.html");
    QTest::newRow("newline, address characters, accents")
        << QStringLiteral("primera\nsegunda 50% #ancla ?q=1&x ñandú.html");
}

void TestMainWindow::desktopGetsTheExactPath()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);

    FakePrompts prompts;
    FakeFileChooser chooser;
    MainWindow window(MainWindowServices{&prompts, &chooser, nullptr, nullptr});
    window.document().state().archivoActual = path;
    window.surface().page().setText(QStringLiteral("<p>hola</p>"));
    DesktopHandler handler;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &handler, "open");
    window.command(QStringLiteral("mn_visualizar"))->trigger();
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));

    QVERIFY2(prompts.notices.isEmpty(), qPrintable(prompts.notices.join(u'\n')));
    QCOMPARE(handler.opened, QList<QUrl>{QUrl::fromLocalFile(path)});
    // The text on screen is written silently first, the only file there.
    QCOMPARE(fileBytes(path), QByteArray("<p>hola</p>\r\n"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
    // That write is not a Save: the preview tab still asks for one.
    QVERIFY(window.document().state().archivoGuardado.isEmpty());
    QVERIFY(!window.document().state().guardado);
}

void TestMainWindow::sandboxOffOnlyForRoot_data()
{
    QTest::addColumn<uid_t>("user");
    QTest::addColumn<bool>("sandboxOff");
    QTest::newRow("root") << uid_t(0) << true;
    QTest::newRow("an ordinary user") << uid_t(65534) << false;
}

void TestMainWindow::sandboxOffOnlyForRoot()
{
    QFETCH(uid_t, user);
    QFETCH(bool, sandboxOff);
    if (geteuid() != 0 && geteuid() != user)
        QSKIP("changing to another user needs root");

    // A child process takes the user's identity, so this process keeps its own.
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, STDERR_FILENO);
        unsetenv("QTWEBENGINE_DISABLE_SANDBOX");
        if (geteuid() != user && setresuid(user, user, user) != 0)
            _exit(3);
        relaxWebEngineSandboxForRoot();
        const char *value = getenv("QTWEBENGINE_DISABLE_SANDBOX");
        _exit(!value ? 0 : value == std::string_view("1") ? 1 : 2);
    }
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), sandboxOff ? 1 : 0);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
