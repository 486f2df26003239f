#include "documentcontroller.h"
#include "filepanes.h"
#include "webenginesandbox.h"
#include "windowfixture.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zendral;
using namespace zendral::test;

namespace {

using Fixture = WindowFixture;

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
    void sandboxOffOnlyForRoot()
    {
        for (const uid_t user : {uid_t(0), uid_t(65534)}) {
            if (geteuid() != 0 && geteuid() != user)
                continue; // changing to another user needs root
            // A child process takes the user's identity, so this process keeps its own.
            const pid_t child = fork();
            QVERIFY(child >= 0);
            if (child == 0) {
                dup2(open("/dev/null", O_WRONLY), STDERR_FILENO);
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
            QCOMPARE(WEXITSTATUS(status), user == 0 ? 1 : 0);
        }
    }

    void initTestCase()
    {
        // A page loaded while the preview is in front reaches the browser.
        relaxWebEngineSandboxForRoot();
    }

    // Text cut and pasted back takes the insertion colour, not its old one.
    void pasteTakesTheInsertionColour()
    {
        Fixture f;
        f.page().setText("hola mundo");
        f.page().setSelectionStart(5);
        f.page().setSelectionLength(5);
        f.trigger("mn_cortar");
        QCOMPARE(QGuiApplication::clipboard()->text(), "mundo");
        f.page().setInsertionColour(colours::Purple);
        QTRY_VERIFY(f.window.command("mn_pegar")->isEnabled());
        f.trigger("mn_pegar");
        QCOMPARE(f.page().text(), "hola mundo");
        QCOMPARE(f.page().colourAt(7), colours::Purple);
    }

    void leavingThePage_data()
    {
        QTest::addColumn<QString>("door");
        QTest::addColumn<int>("answer");
        // Whether the save dialog gives a name.
        QTest::addColumn<bool>("named");
        QTest::addColumn<bool>("goesOn");
        // The file the door opens, in the page's folder; empty: its dialog was cancelled.
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("previewInFront");
        using Answer = Prompts::Answer;
        const auto row = [](const char *door, const char *what, Answer answer, bool named,
                            bool goesOn, const char *target = "otra.html",
                            bool previewInFront = false) {
            QTest::addRow("%s: %s", door, what)
                << door << int(answer) << named << goesOn << target << previewInFront;
        };
        for (const char *door : {"mn_nuevo", "mn_abrir", "pane", "drop", "close", "mn_salir"}) {
            // Escape answered No: New replaced the text, Salir ended without saving.
            row(door, "Escape stops it", Answer::Cancel, false, false);
            // New and the file pane went on after a cancelled save dialog.
            row(door, "Sí, save dialog cancelled, stops it", Answer::Yes, false, false);
            row(door, "Sí, saved, goes on", Answer::Yes, true, true);
            row(door, "No goes on", Answer::No, false, true);
        }
        row("mn_abrir", "missing file: told, nothing changes", Answer::No, false, false,
            "desaparecido.html");
        row("mn_abrir", "dialog cancelled: nothing changes", Answer::No, false, false, "");
        // The preview stayed in front, blank, with the keyboard outside the text.
        row("mn_abrir", "while the preview is in front", Answer::No, false, true, "otra.html",
            true);
    }

    void leavingThePage()
    {
        QFETCH(QString, door);
        QFETCH(int, answer);
        QFETCH(bool, named);
        QFETCH(bool, goesOn);
        QFETCH(QString, target);
        QFETCH(bool, previewInFront);
        QTemporaryDir dir;
        const QString mine = dir.filePath("mia.html");
        const QString other = target.isEmpty() ? QString() : dir.filePath(target);
        const QString saveAs = dir.filePath("guardada.html");
        // Long enough to scroll, and ending in a tag that the colouring leaves selected.
        const QString page = "<p>a</p>\r\n" + QString("linea\r\n").repeated(200) + "<b>fin</b>";
        writeBytes(mine, "<p>mia</p>");
        writeBytes(dir.filePath("otra.html"), page.toUtf8());
        Fixture f;
        f.showAndWait();
        f.window.document().openPath(mine);
        // Typed, so that there is something to save, and for undo to forget.
        QTest::keyClicks(&f.view, "hola");
        const QString before = f.page().text();
        auto *tabs = child<QTabWidget>(&f.window, "SSTab1");
        child(&f.window, "archivos")->setFocus();
        tabs->setCurrentIndex(previewInFront ? 1 : 0);
        f.prompts.notices.clear(); // the preview asks for a save first
        f.prompts.answers.enqueue(Prompts::Answer(answer));
        if (Prompts::Answer(answer) == Prompts::Answer::Yes)
            f.chooser.paths.enqueue(named ? saveAs : QString());
        through(f, door, other);

        QCOMPARE(f.prompts.questions, QStringList{"¿Quieres guardar el archivo actual?"});
        QCOMPARE(fileBytes(saveAs), named ? before.toUtf8() : "<unreadable>");
        const bool closing = door == u"close" || door == u"mn_salir";
        const bool opens = goesOn && !closing && door != u"mn_nuevo";
        QCOMPARE(f.window.isVisible(), !(closing && goesOn));
        QCOMPARE(f.page().text(), opens                ? page + "\r\n"
                                  : goesOn && !closing ? DocumentController::PlantillaNueva()
                                                       : before);
        // Stopped, the page keeps its name and stays unsaved.
        QCOMPARE(f.window.document().isModified(), !goesOn || (closing && !named));
        const EstadoDocumento &state = f.window.document().state();
        QCOMPARE(state.archivoActual, opens                ? other
                                      : goesOn && !closing ? QString()
                                      : named              ? saveAs
                                                           : mine);
        const bool missing = target == u"desaparecido.html";
        QCOMPARE(f.prompts.notices.size(), int(missing));
        QVERIFY(!missing || f.prompts.notices.first().contains(target));
        if (!opens)
            return;
        // Loaded pages are coloured at once.
        QCOMPARE(f.page().colourAt(1), colours::Blue);
        QCOMPARE(f.window.windowTitle(), "Zendral - [" + other + u']');
        QCOMPARE(state.carpetaActual, door == u"pane" ? dir.path() : dir.path() + u'/');
        // Nothing selected for the first key to replace: the last tag was.
        QCOMPARE(f.page().selectionStart() + f.page().selectionLength(), 0);
        QCOMPARE(f.view.verticalScrollBar()->value(), 0);
        QCOMPARE(tabs->currentIndex(), 0);
        QCOMPARE(f.window.focusWidget(), &f.view);
        // A page that matches its file byte for byte previews at once: it asked to save first.
        QCOMPARE(state.archivoGuardado, other);
        // What was typed in the other page is not undone in this one.
        QTest::keyClick(&f.view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.page().text(), page + "\r\n");
    }

    // A cancelled Open left tags that had been written uncoloured black.
    void cancelledOpenColoursTheText()
    {
        Fixture f;
        f.showAndWait();
        f.page().setText("<b>uno</b> dos ");
        f.page().setSelectionStart(f.page().textLength());
        QTest::keyClicks(&f.view, "x");
        f.page().setSelectionStart(11);
        f.page().setSelectionLength(3);
        QCOMPARE(f.view.characterColour(1), toQColor(colours::Black));
        through(f, "mn_abrir", QString());

        QCOMPARE(f.page().text(), "<b>uno</b> dos x");
        QCOMPARE(f.view.characterColour(1), toQColor(colours::Blue));
        QCOMPARE(f.view.characterColour(11), toQColor(colours::Black));
        // The author's selection stays, for the next key to replace; and what was typed undoes.
        QCOMPARE(f.page().selectionStart(), 11);
        QCOMPARE(f.page().selectionLength(), 3);
        QTest::keyClick(&f.view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.page().text(), "<b>uno</b> dos ");
    }

    void changedOnDisk_data()
    {
        // In order: "save" (Guardar after the change) or "back" (the window left and come back to);
        // what another program did to the file: none, rewritten, removed, or put a symbolic link to
        // a file of someone else's in its place; then "unsaved" if the text had changes, "asked" if
        // a question comes, "won" if the editor's side wins (the text saved, the file read again)
        // and the question was answered Sí.
        QTest::addColumn<QString>("what");
        // Saving: the start of the one notice; coming back: the status area's text.
        QTest::addColumn<QString>("told");
        const auto row = [](const char *name, const char *what, const char *told = "") {
            QTest::newRow(name) << what << told;
        };
        const char *readAgain = "Se ha vuelto a leer \"%1\": otro programa lo había cambiado.";
        row("save, file unchanged: written without a question", "save none unsaved won");
        // Another program's change was overwritten without a word.
        row("save, file rewritten by another program: Sí overwrites it",
            "save rewritten unsaved asked won");
        row("save, file rewritten: No keeps it, the text stays unsaved",
            "save rewritten unsaved asked");
        row("save, file removed: written again without a question", "save removed unsaved won");
        // Save wrote into the link's target, a file of someone else's choosing.
        row("Save never follows a symbolic link put in the file's place", "save link unsaved",
            "No se ha guardado el archivo \"%1\": desde que se abrió, en su lugar hay un enlace");
        row("back, unchanged: nothing happens", "back none");
        row("back, rewritten, nothing unsaved: read again in place, told in the status area",
            "back rewritten won", readAgain);
        row("back, rewritten, unsaved changes: asked, No keeps the text",
            "back rewritten unsaved asked");
        row("back, rewritten, unsaved changes: asked, Sí reads it again",
            "back rewritten unsaved asked won", readAgain);
        // Where the file system keeps whole seconds, a change of the same size within the second
        // left the file's every mark as it was, and was overwritten unseen.
        row("save, rewritten within the same second, same size: asked",
            "save same-second unsaved asked won");
        row("back, rewritten within the same second, same size: read again", "back same-second won",
            readAgain);
        row("back, removed: the text is kept and the status area says so", "back removed",
            "El archivo \"%1\" ya no está en el disco: guarda el texto para no perderlo.");
        row("back, symbolic link put in its place: not read", "back link",
            "En el lugar del archivo \"%1\" hay ahora un enlace simbólico o algo que no es un "
            "archivo normal: no se ha vuelto a leer.");
    }

    void changedOnDisk()
    {
        QFETCH(QString, what);
        QFETCH(QString, told);
        const QStringList flags = what.split(u' ');
        const QString change = flags.at(1);
        const bool unsaved = flags.contains("unsaved");
        const bool asked = flags.contains("asked");
        const bool won = flags.contains("won");
        QTemporaryDir dir;
        const QString path = dir.filePath("pagina.html");
        told.replace(QStringLiteral("%1"), path);
        const QString page = "<p>mio</p>\r\nuno\r\ndos\r\n";
        writeBytes(path, page.toUtf8());
        // A time in whole seconds, as such a file system keeps it, that the change keeps too.
        const timespec second[2] = {{0, UTIME_OMIT}, {QDateTime::currentSecsSinceEpoch() + 60, 0}};
        if (change == u"same-second")
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), second, 0), 0);
        Fixture f;
        f.showAndWait();
        QApplication::setActiveWindow(&f.window);
        f.window.document().openPath(path);
        // The caret on the third line.
        f.page().setSelectionStart(page.indexOf("dos") + 1);
        if (unsaved)
            QTest::keyClicks(&f.view, "x");
        const QString before = f.page().text();
        if (change == u"rewritten")
            writeBytes(path, "<p>del otro programa</p>\r\nuno\r\ndos\r\ntres\r\n");
        if (change == u"same-second") {
            writeBytes(path, page.toUpper().toUtf8());
            QCOMPARE(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), second, 0), 0);
        }
        if (change == u"removed" || change == u"link")
            QVERIFY(QFile::remove(path));
        if (change == u"link") {
            writeBytes(dir.filePath("ajeno.html"), "secreto");
            QVERIFY(QFile::link(dir.filePath("ajeno.html"), path));
        }
        const QByteArray onDisk = fileBytes(path);
        f.prompts.answers.enqueue(won);
        const auto comeBack = [&f] {
            QApplication::setActiveWindow(nullptr);
            QApplication::setActiveWindow(&f.window);
            QCoreApplication::sendPostedEvents(&f.window.document(), QEvent::MetaCall);
        };
        const bool saving = flags.at(0) == u"save";
        if (saving)
            f.trigger("mn_guardar");
        else
            comeBack();
        QCOMPARE(f.prompts.questions.size(), int(asked));
        if (asked)
            QVERIFY(f.prompts.questions.first().contains("\"" + path + "\" ha cambiado"));
        QCOMPARE(fileBytes(path), saving && won ? before.toUtf8() : onDisk);
        QCOMPARE(f.page().text(), !saving && won ? QString::fromUtf8(onDisk) : before);
        QCOMPARE(f.view.textCursor().blockNumber(), 2);
        QCOMPARE(f.window.document().isModified(), unsaved && !won);
        if (saving) {
            QCOMPARE(f.prompts.notices.size(), int(!told.isEmpty()));
            QCOMPARE(f.prompts.notices.value(0).left(told.size()), told);
            return;
        }
        QCOMPARE(child<QLabel>(&f.window, "lblarchivo")->text(), told);
        // Told once: coming back again asks nothing more.
        comeBack();
        QCOMPARE(f.prompts.questions.size(), int(asked));
    }

    void drops_data()
    {
        // A page dropped is opened as leavingThePage shows; the doors are the same for both.
        QTest::addColumn<bool>("onSurface");
        QTest::newRow("picture on the editing surface") << true;
        QTest::newRow("picture on the window goes to the caret") << false;
    }

    void drops()
    {
        QFETCH(bool, onSurface);
        QTemporaryDir dir;
        writeBytes(dir.filePath("foto.jpg"), jpegBytes(120, 45));
        Fixture f;
        f.window.show();
        // A picture goes only into a saved page.
        f.page().setText("<p></p>");
        f.trigger("mn_guardar", dir.filePath("actual.html"));
        f.page().setSelectionStart(3);
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(dir.filePath("foto.jpg"))});
        QTextCursor caret(f.view.document());
        caret.setPosition(3);
        QWidget *target = onSurface ? f.view.viewport() : &f.window;
        const QPoint point = onSurface ? f.view.cursorRect(caret).center() : QPoint(5, 5);
        QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QVERIFY(QCoreApplication::sendEvent(target, &enter) && enter.isAccepted());
        QVERIFY(QCoreApplication::sendEvent(target, &drop) && drop.isAccepted());
        QTRY_COMPARE(
            f.page().text(),
            "<p><img src=\"foto.jpg\" width=\"120\" height=\"45\" border=\"0\" alt=\"\"></p>");
        QCOMPARE(f.page().colourAt(3), colours::Purple);
    }

    void sizeEstimate_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<int>("length");
        // The size, the modem's time and the ADSL's time, as the status area shows them.
        QTest::addColumn<QString>("shown");
        QTest::newRow("no thousands separator")
            << QLocale::c() << 2000 * 1024 << "2000.00KB|363.64 Segundos|80.00 Segundos";
        QTest::newRow("the decimal separator is the user's")
            << QLocale(QLocale::Spanish, QLocale::Spain) << 1024
            << "1,00KB|0,18 Segundos|0,04 Segundos";
    }

    void sizeEstimate()
    {
        QFETCH(QLocale, locale);
        QFETCH(int, length);
        QFETCH(QString, shown);
        QLocale::setDefault(locale);
        Fixture f;
        f.page().setText(QString(length, u'x'));
        QStringList labels;
        for (const char *name : {"lbltamano", "lblmodem", "lbladsl"})
            labels.append(child<QLabel>(&f.window, name)->text());
        QLocale::setDefault(QLocale::c());
        QCOMPARE(labels.join(u'|'), shown);
        // A typed ">" that closes a tag, coloured at once, is a change like any other: the size
        // follows and the preview asks for a save again.
        f.page().setText(QString(1027, u'x'));
        f.page().setSelectionStart(1027);
        QTest::keyClicks(&f.view, "<b");
        QTemporaryDir dir;
        f.trigger("mn_guardarcomo", dir.filePath("x.html"));
        QVERIFY(!f.window.document().state().archivoGuardado.isEmpty());
        QTest::keyClicks(&f.view, ">");
        QCOMPARE(child<QLabel>(&f.window, "lbltamano")->text(), "1.01KB");
        QVERIFY(f.window.document().state().archivoGuardado.isEmpty());
    }

    // The preview-in-browser command: the real desktop opener gets the saved page's exact path.
    void desktopGetsTheExactPath_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("shell's characters, leading dash")
            << "-n $(touch hecho) `id` \"dobles\" 'simples'.html";
        QTest::newRow("newline, address characters, accents")
            << "primera\nsegunda 50% #ancla ?q=1&x ñandú.html";
    }

    void desktopGetsTheExactPath()
    {
        QFETCH(QString, name);
        QTemporaryDir dir;
        const QString path = dir.filePath(name);
        FakePrompts prompts;
        FakeFileChooser chooser;
        MainWindow window(MainWindowServices{&prompts, &chooser, nullptr, nullptr});
        window.document().recoverPage("<p>hola</p>", path, TextEncoding::Utf8);
        DesktopHandler handler;
        QDesktopServices::setUrlHandler("file", &handler, "open");
        window.command("mn_visualizar")->trigger();
        QDesktopServices::unsetUrlHandler("file");
        QVERIFY2(prompts.notices.isEmpty(), qPrintable(prompts.notices.join(u'\n')));
        QCOMPARE(handler.opened, QList<QUrl>{QUrl::fromLocalFile(path)});
        // The text on screen is written silently first, the only file there.
        QCOMPARE(fileBytes(path), "<p>hola</p>\r\n");
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).size(), 1);
        // That write is not a Save: the preview tab still asks for one.
        QVERIFY(window.document().state().archivoGuardado.isEmpty() &&
                !window.document().state().guardado);
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
