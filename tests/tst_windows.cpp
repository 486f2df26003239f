#include "crashrecovery.h"
#include "documentcontroller.h"
#include "instancechannel.h"
#include "recoverystore.h"
#include "usersettings.h"
#include "windowfixture.h"
#include "windowset.h"

#include <QLocalSocket>

#include <list>

#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace zendral;
using namespace zendral::test;
using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// Each window gets prompts of its own, so that a test sees which window asked.
struct Doors
{
    std::list<FakePrompts> prompts;
    FakeFileChooser chooser;
    FakeDesktopOpener opener;

    // Answers for the next window's questions.
    QList<bool> answers;

    MainWindowServices next()
    {
        FakePrompts &own = prompts.emplace_back();
        for (const bool answer : std::exchange(answers, {}))
            own.answers.enqueue(answer);
        return {&own, &chooser, nullptr, &opener};
    }
    FakePrompts &of(MainWindow *window) { return static_cast<FakePrompts &>(window->prompts()); }
};

QStringList filesIn(const QString &folder, const QString &pattern = QStringLiteral("*"))
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden);
}

// The texts the recovery copies in folder hold, sorted and joined by "|".
QString copiesHolding(const QString &folder)
{
    QStringList texts;
    for (const QString &name : filesIn(folder, QStringLiteral("*.recovery")))
        texts.append(QString::fromUtf8(fileBytes(folder + u'/' + name)).section(u'\n', 1));
    texts.sort();
    return texts.join(u'|');
}

// The permission bits of path, as ls shows them in octal.
int modeOf(const QString &path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_mode & 07777 : -1;
}

// A local socket's address: its file name.
sockaddr_un addressOf(const QString &name)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(name).constData(), sizeof address.sun_path);
    return address;
}

// A listening socket at name made with the system's calls, as another program would make it.
int listenAt(const QString &name)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address = addressOf(name);
    if (::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0 ||
        ::listen(fd, 2000) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

int connectTo(const QString &name)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0);
    sockaddr_un address = addressOf(name);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

// Whether the other end has closed the connection.
bool closedByPeer(int fd)
{
    char byte;
    return ::recv(fd, &byte, 1, MSG_DONTWAIT | MSG_PEEK) == 0;
}

// A page's path as a start hands it over.
QByteArray handOverMessage(const QString &page)
{
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(QDataStream::Qt_6_0);
    out << page;
    return message;
}

// Ventana's window entries as the menu shows them, "[x]" before the checked one.
QStringList windowEntries(MainWindow *window)
{
    auto *menu = child<QMenu>(window, u"mn_ventana"_s);
    emit menu->aboutToShow();
    QStringList entries;
    bool windows = false;
    for (QAction *action : menu->actions()) {
        if (action->isSeparator())
            windows = true;
        else if (windows)
            entries.append((action->isChecked() ? u"[x] "_s : u"[ ] "_s) + action->text());
    }
    return entries;
}

QStringList titles(const QList<MainWindow *> &windows)
{
    QStringList result;
    for (const MainWindow *window : windows)
        result.append(window->windowTitle());
    return result;
}

QString titleOf(const QString &path)
{
    return u"Zendral - ["_s + path + u']';
}

// A copy as a crashed editor leaves it: an id whose lock nobody holds.
QString plantCopy(const QString &folder, const QByteArray &bytes)
{
    const QString copy = folder + QStringLiteral("/1-1.recovery");
    writeBytes(copy, bytes);
    return copy;
}

// Leaves a copy of text in folder as an editor that crashed leaves it: written as the editor
// writes it, its lock let go.
void leaveCopy(const QString &folder, const QString &text, const QString &path,
               TextEncoding encoding)
{
    PageText page;
    page.setText(text);
    RecoveryStore(folder).write(PageText::Copy(page), path, encoding);
}

// One start of the editor over the recovery folder: a page, started up or opened from a file,
// and its recovery, with scripted prompts.
struct RecoveringEditor
{
    explicit RecoveringEditor(const QString &folder, const QString &file = QString())
        : store(folder)
    {
        if (file.isEmpty())
            document.startUp();
        else
            document.openPath(file);
        recovery.emplace(view.page(), document, store, prompts, 10ms);
    }

    RecoveryStore store;
    EditingSurface view;
    FakePrompts prompts;
    FakeFileChooser chooser;
    DocumentController document{view, prompts, chooser};
    std::optional<CrashRecovery> recovery;
};

} // namespace

// Several pages at once: windows of one program, and pages handed over by later starts; and
// the recovery copies: which editor may take which copy, and when a copy goes.
class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void init() { userSettings()->clear(); }

    // Ventana lists every window by its page's name as the windows open, close, are renamed
    // and modified; it checks its own window and brings the chosen one to the front, as
    // Ctrl+Tab and Ctrl+Shift+Tab do with the next and the previous.
    void windowList()
    {
        QTemporaryDir work;
        const QString page = work.filePath(u"una.html"_s);
        writeBytes(page, "<p>una</p>\r\n");
        Doors doors;
        WindowSet set([&doors] { return doors.next(); }, work.filePath(u"state"_s));
        MainWindow *first = set.openFirst(page);
        QCOMPARE(windowEntries(first), QStringList{u"[x] &1 una.html"_s});
        MainWindow *second = set.openWindow();
        QCOMPARE(windowEntries(first), (QStringList{u"[x] &1 una.html"_s, u"[ ] &2 Sin título"_s}));
        QCOMPARE(windowEntries(second),
                 (QStringList{u"[ ] &1 una.html"_s, u"[x] &2 Sin título"_s}));
        typeInto(&second->surface(), u"x"_s);
        QCOMPARE(windowEntries(first).at(1), u"[ ] &2 Sin título (Modificado)"_s);
        doors.chooser.paths.enqueue(work.filePath(u"I+D & más.html"_s));
        second->command(u"mn_guardarcomo"_s)->trigger();
        QCOMPARE(windowEntries(first).at(1), u"[ ] &2 I+D && más.html"_s);

        QTRY_COMPARE(QApplication::activeWindow(), second);
        windowEntries(second);
        child<QMenu>(second, u"mn_ventana"_s)->actions().constLast()->trigger();
        QCOMPARE(QApplication::activeWindow(), second);
        const QList<QAction *> entries = child<QMenu>(second, u"mn_ventana"_s)->actions();
        entries.at(entries.size() - 2)->trigger();
        QTRY_COMPARE(QApplication::activeWindow(), first);

        MainWindow *third = set.openWindow();
        QTRY_COMPARE(QApplication::activeWindow(), third);
        QTest::keyClick(&third->surface(), Qt::Key_Tab, Qt::ControlModifier);
        QTRY_COMPARE(QApplication::activeWindow(), first);
        QTest::keyClick(&first->surface(), Qt::Key_Backtab,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(QApplication::activeWindow(), third);
        QTest::keyClick(&third->surface(), Qt::Key_Backtab,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_COMPARE(QApplication::activeWindow(), second);

        QVERIFY(second->close());
        QCOMPARE(windowEntries(third), (QStringList{u"[ ] &1 una.html"_s, u"[x] &2 Sin título"_s}));
    }

    // The pages open when the program last ended normally come back, each in its window,
    // after the crash copies have been offered; once only, and not with Ver › Recordar las
    // páginas abiertas off.
    void lastPagesComeBack()
    {
        QTemporaryDir work;
        const QString state = work.filePath(u"state"_s);
        const QString one = work.filePath(u"una.html"_s), other = work.filePath(u"otra.html"_s),
                      crashed = work.filePath(u"rota.html"_s);
        for (const QString &page : {one, other, crashed})
            writeBytes(page, "<p>hola</p>\r\n");
        Doors doors;
        {
            WindowSet set([&doors] { return doors.next(); }, state);
            MainWindow *first = set.openFirst(other);
            set.openWindow()->document().openPath(one);
            // Ended by the desktop session: every window's page.
            set.keepCopiesForNextStart();
            QVERIFY(doors.of(first).questions.isEmpty());
        }
        // A crash copy of one of them: its own question first, then the others'.
        leaveCopy(state, u"<p>recuperada</p>"_s, crashed, TextEncoding::Utf8);
        {
            doors.answers = {true, true};
            WindowSet set([&doors] { return doors.next(); }, state);
            MainWindow *first = set.openFirst(QString());
            QCOMPARE(doors.of(first).questions.size(), 2);
            QVERIFY(doors.of(first).questions.at(0).contains(u"Quieres recuperarla"_s));
            QCOMPARE(doors.of(first).questions.at(1), WindowSet::reopenQuestion({other, one}));
            QCOMPARE(titles(set.windowsInOrder()),
                     (QStringList{titleOf(crashed), titleOf(other), titleOf(one)}));
            QCOMPARE(first->surface().page().text(), u"<p>recuperada</p>"_s);
            // The last window closing is a normal end too: its page alone is kept.
            for (MainWindow *window : set.windowsInOrder())
                QVERIFY(window->close()); // No to the recovered page's question
        }
        {
            WindowSet set([&doors] { return doors.next(); }, state);
            MainWindow *first = set.openFirst(QString());
            QCOMPARE(doors.of(first).questions, QStringList{WindowSet::reopenQuestion({one})});
            // Offered once, and No leaves the window as it started.
            QCOMPARE(set.windows().size(), 1);
            QCOMPARE(first->windowTitle(), u"  Zendral"_s);
        }
        {
            // The page the program is started with is not offered a second time.
            userSettings()->setValue(u"sesion/paginas"_s, QStringList{one});
            WindowSet set([&doors] { return doors.next(); }, state);
            MainWindow *first = set.openFirst(one);
            QVERIFY(doors.of(first).questions.isEmpty());
            QCOMPARE(set.windows().size(), 1);
            first->command(u"mn_recordarsesion"_s)->setChecked(false);
            QVERIFY(first->close());
        }
        QVERIFY(!userSettings()->contains(u"sesion/paginas"_s));
        userSettings()->setValue(u"sesion/paginas"_s, QStringList{one});
        WindowSet set([&doors] { return doors.next(); }, state);
        MainWindow *first = set.openFirst(QString());
        QVERIFY(doors.of(first).questions.isEmpty());
        QVERIFY(first->command(u"mn_recordarsesion"_s)->isCheckable());
        QVERIFY(!first->command(u"mn_recordarsesion"_s)->isChecked());
    }

    // The channel lives in a folder of the user's alone, or nowhere: in a shared folder another
    // user could listen first and be handed every page.
    void channelOnlyInPrivateFolder_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("channel");
        QTest::newRow("folder closed to others") << u"0700"_s << true;
        QTest::newRow("folder open to others") << u"0755"_s << false;
        QTest::newRow("symbolic link to a private folder") << u"link"_s << false;
        QTest::newRow("another user's folder") << u"foreign"_s << false;
        QTest::newRow("no runtime folder falls back to no shared one") << QString() << false;
    }
    void channelOnlyInPrivateFolder()
    {
        QFETCH(QString, folder);
        QFETCH(bool, channel);
        QTemporaryDir work;
        const QString runtime = work.filePath(u"run"_s);
        const QString private_ = work.filePath(u"private"_s);
        QVERIFY(::mkdir(QFile::encodeName(private_).constData(), 0700) == 0);
        if (folder == u"link") {
            QVERIFY(QFile::link(private_, runtime));
        } else if (folder == u"foreign") {
            QVERIFY(::mkdir(QFile::encodeName(runtime).constData(), 0700) == 0);
            if (::geteuid() != 0)
                QSKIP("making another user's folder needs root");
            QVERIFY(::chown(QFile::encodeName(runtime).constData(), 65534, 65534) == 0);
        } else if (!folder.isEmpty()) {
            QVERIFY(::mkdir(QFile::encodeName(runtime).constData(), 0700) == 0);
            QVERIFY(::chmod(QFile::encodeName(runtime).constData(), folder.toUInt(nullptr, 8)) ==
                    0);
        }
        const QByteArray before = qgetenv("XDG_RUNTIME_DIR");
        if (folder.isEmpty())
            qunsetenv("XDG_RUNTIME_DIR");
        else
            qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        const QString name = InstanceChannel::defaultName();
        qputenv("XDG_RUNTIME_DIR", before);
        if (channel) {
            QCOMPARE(name, runtime + u"/zendral-"_s + QString::number(::getuid()));
        } else if (!name.isEmpty()) {
            // Qt may make a runtime folder of its own: it must be the user's alone.
            const QString made = QFileInfo(name).absolutePath();
            QVERIFY2(made != runtime && InstanceChannel::nameIn(made) == name, qPrintable(name));
        }
        // With no channel every start opens its own window.
        InstanceChannel none{QString()};
        QVERIFY(!none.handOver(u"/tmp/p.html"_s));
    }

    // Each end hands nothing to, and takes nothing from, a process of another user.
    void channelPeerOfAnotherUser()
    {
        QTemporaryDir folder;
        const QString name = folder.filePath(u"zendral"_s);
        const uid_t someoneElse = ::getuid() + 1;
        {
            // A listener of another user: the start neither hands it the page nor takes its name.
            const int listener = listenAt(name);
            QVERIFY(listener >= 0);
            InstanceChannel start(name, someoneElse);
            QVERIFY(!start.handOver(u"/home/secreta.html"_s));
            const int accepted = ::accept(listener, nullptr, nullptr);
            QVERIFY(accepted >= 0);
            char bytes[64];
            QCOMPARE(::recv(accepted, bytes, sizeof bytes, MSG_DONTWAIT), ssize_t(0));
            ::close(accepted);
            ::close(listener);
            QVERIFY(QFile::remove(name));
        }
        // A start of another user: the running program takes no page from it.
        InstanceChannel running(name, someoneElse);
        QSignalSpy arrived(&running, &InstanceChannel::pageArrived);
        QVERIFY(!running.handOver(QString()));
        QLocalSocket other;
        QByteArray answer;
        connect(&other, &QLocalSocket::readyRead, this, [&] { answer += other.readAll(); });
        other.connectToServer(name);
        QVERIFY(other.waitForConnected(60000));
        other.write(handOverMessage(u"/tmp/ajena.html"_s));
        QTRY_COMPARE_WITH_TIMEOUT(other.state(), QLocalSocket::UnconnectedState, 60000);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(answer, QByteArray());
        QCOMPARE(arrived.count(), 0);
    }

    // A start that streams a message without end, or many that hold their connections, are
    // turned away rather than taking the running program's memory or descriptors. (The name is
    // taken over from a program killed while it ran, which left its socket behind.)
    void channelBounded()
    {
        QTemporaryDir folder;
        const QString name = folder.filePath(u"zendral"_s);
        const int killed = listenAt(name);
        QVERIFY(killed >= 0);
        ::close(killed);
        InstanceChannel running(name);
        QSignalSpy arrived(&running, &InstanceChannel::pageArrived);
        QVERIFY(!running.handOver(QString()));

        QLocalSocket streaming;
        streaming.connectToServer(name);
        QVERIFY(streaming.waitForConnected(60000));
        // A string of 600 MB announced, and a megabyte of it sent.
        const quint32 announced = qToBigEndian(quint32(600) << 20);
        streaming.write(reinterpret_cast<const char *>(&announced), sizeof announced);
        streaming.write(QByteArray(1 << 20, 'a'));
        QTRY_COMPARE_WITH_TIMEOUT(streaming.state(), QLocalSocket::UnconnectedState, 60000);

        std::vector<int> held;
        // Fewer than the listening queue holds, far more than the program keeps.
        for (int i = 0; i < 40; ++i) {
            const int fd = connectTo(name);
            QVERIFY(fd >= 0);
            held.push_back(fd);
        }
        const auto closed = [&held] {
            return int(std::count_if(held.begin(), held.end(), closedByPeer));
        };
        // The first are held (until they say something or their time is up), the rest turned
        // away at once.
        QTRY_COMPARE_WITH_TIMEOUT(closed(), 40 - InstanceChannel::MostConnections, 60000);
        for (int i = 0; i < InstanceChannel::MostConnections; ++i)
            QVERIFY(!closedByPeer(held[i]));
        for (const int fd : held)
            ::close(fd);
        QCOMPARE(arrived.count(), 0);

        // The name is still the running program's, and a well-behaved start still gets through.
        // (Turned away again while the program has not yet seen the others go.)
        QLocalSocket start;
        const auto handedOver = [&] {
            if (start.state() == QLocalSocket::UnconnectedState) {
                start.connectToServer(name);
                start.write(handOverMessage(u"/tmp/p.html"_s));
            }
            return !arrived.isEmpty();
        };
        QTRY_VERIFY_WITH_TIMEOUT(handedOver(), 60000);
        QCOMPARE(arrived.count(), 1);
        QCOMPARE(arrived.constFirst().constFirst().toString(), u"/tmp/p.html"_s);
    }

    void eachWindowItsOwnPage()
    {
        QTemporaryDir work;
        const QString state = work.filePath(QStringLiteral("state"));
        const QString pages[] = {work.filePath(QStringLiteral("una.html")),
                                 work.filePath(QStringLiteral("otra.html"))};
        // Longer than a part of the copy, with every kind of line end.
        const QByteArray body = "<p>hola</p>\r\n" + QByteArray("a\nb\rc\r\n").repeated(60000);
        for (const QString &page : pages)
            writeBytes(page, body);
        Doors doors;
        WindowSet set([&doors] { return doors.next(); }, state);
        MainWindow *first = set.openFirst(QString());
        // The untouched start-up page gives its window to a page a later start hands over.
        set.openHandedOver(pages[0]);
        QCOMPARE(first->windowTitle(), u"Zendral - ["_s + pages[0] + u']');
        first->command(QStringLiteral("mn_nuevaventana"))->trigger();
        QCOMPARE(set.windows().size(), 2);
        MainWindow *second = set.windows().at(set.windows().at(0) == first ? 1 : 0);
        typeInto(&second->surface(), QStringLiteral("uno"));
        first->surface().page().setSelectionStart(0);
        typeInto(&first->surface(), QStringLiteral("dos"));
        // Each window keeps its own copy of its unsaved page.
        const QString startTemplate = DocumentController::PlantillaInicio();
        QTRY_COMPARE_WITH_TIMEOUT(copiesHolding(state), startTemplate + "uno|dos" + body, 20000);

        // Each window asks about its own page: the second's Salir closes the second alone.
        second->command(QStringLiteral("mn_salir"))->trigger();
        QCOMPARE(doors.of(second).questions,
                 QStringList(QStringLiteral("¿Quieres guardar el archivo actual?")));
        QVERIFY(doors.of(first).questions.isEmpty());
        QCOMPARE(set.windows(), QList<MainWindow *>({first}));
        QTRY_COMPARE(copiesHolding(state), "dos" + body);
        // A page handed over while the window holds one gets a window of its own.
        set.openHandedOver(pages[1]);
        QCOMPARE(set.windows().size(), 2);
        QCOMPARE(set.windows().constFirst()->windowTitle(), u"Zendral - ["_s + pages[1] + u']');
        for (MainWindow *window : set.windows())
            QVERIFY(window->close());
        // Nothing is left behind, neither copies nor locks.
        QTRY_COMPARE(filesIn(state), QStringList());
    }

    // Copies of editors still running are no one's to offer; a killed editor's copies go to the
    // first editor to start, and once released are offered again.
    void copiesOfACrash()
    {
        QTemporaryDir work;
        const QString folder = work.filePath(u"zendral"_s);
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(::chmod(QFile::encodeName(folder).constData(), 0755) == 0);
        // Written in several pieces: longer than a piece, with every kind of line end,
        // characters of two halves, a noncharacter, and a byte that was not UTF-8 (it came
        // back as U+FFFD, and the page's next save wrote that).
        const QString text =
            QStringLiteral("<p>año \U0001F600\uFDD0</p>\r\nsegunda\nlínea\rterc\xE9ra\r\n")
                .replace(u'\xE9', QChar(0xDCE9))
                .repeated(30000);
        const QString path = QStringLiteral("/tmp/una\npágina.html");
        {
            const mode_t umask = ::umask(0);
            RecoveryStore running(folder);
            PageText other;
            other.setText(u"otra"_s);
            running.write(PageText::Copy(other), QString(), TextEncoding::Utf8);
            running.waitForWrites();
            ::umask(umask);
            // The folder and its copies are the user's alone, whatever the umask.
            QCOMPARE(modeOf(folder), 0700);
            QCOMPARE(modeOf(running.copyPath()), 0600);
            QVERIFY(RecoveryStore(folder).takeOrphans().isEmpty());
            running.remove();
            // Ends without removing its copy, as a killed editor does.
            leaveCopy(folder, text, path, TextEncoding::Windows1252);
        }
        {
            RecoveryStore first(folder);
            QList<RecoveryCopy> taken = first.takeOrphans();
            QCOMPARE(taken.size(), 1);
            const RecoveryCopy copy = taken.first();
            QCOMPARE(copy.text, text);
            QCOMPARE(copy.path, path);
            QCOMPARE(copy.encoding, TextEncoding::Windows1252);
            QVERIFY(RecoveryStore(folder).takeOrphans().isEmpty());
            first.release(copy);
        }
        QCOMPARE(RecoveryStore(folder).takeOrphans().size(), 1);
        // A recovered UTF-16 or binary page came back as UTF-8, and its next save rewrote it so.
        for (const TextEncoding encoding :
             {TextEncoding::Utf8WithBom, TextEncoding::Utf16LittleEndian,
              TextEncoding::Utf16BigEndian, TextEncoding::Binary}) {
            QTemporaryDir another;
            leaveCopy(another.path(), text, path, encoding);
            QCOMPARE(RecoveryStore(another.path()).takeOrphans().value(0).encoding, encoding);
        }
    }

    void offer_data()
    {
        QTest::addColumn<QList<bool>>("answers");
        QTest::addColumn<bool>("recovered");
        QTest::addColumn<int>("copiesLeft");
        QTest::newRow("Sí recovers it, as this editor's copy") << QList<bool>{true} << true << 1;
        QTest::newRow("No, then Sí discards it") << QList<bool>{false, true} << false << 0;
        QTest::newRow("Escape twice keeps it for the next start") << QList<bool>{} << false << 1;
    }

    void offer()
    {
        QFETCH(QList<bool>, answers);
        QFETCH(bool, recovered);
        QFETCH(int, copiesLeft);
        QTemporaryDir folder;
        const QString text = QStringLiteral("<html>\r\nrecuperado\r\n");
        const QString path = folder.filePath(QStringLiteral("pagina.html"));
        leaveCopy(folder.path(), text, path, TextEncoding::Utf8WithBom);

        RecoveringEditor editor(folder.path());
        FakePrompts &prompts = editor.prompts;
        for (const bool answer : answers)
            prompts.answers.enqueue(answer);
        QCOMPARE(editor.recovery->offerOrphans(), recovered);
        QVERIFY(prompts.questions.first().contains(u'"' + path + u'"'));
        editor.store.waitForWrites();
        const QStringList left = filesIn(folder.path(), QStringLiteral("*.recovery"));
        QCOMPARE(left.size(), copiesLeft);
        if (recovered) {
            QCOMPARE(editor.view.page().text(), text);
            QCOMPARE(editor.document.state().archivoActual, path);
            QCOMPARE(editor.document.state().encoding, TextEncoding::Utf8WithBom);
            QVERIFY(editor.document.isModified());
            QCOMPARE(left, QStringList{QFileInfo(editor.store.copyPath()).fileName()});
        }
        // Then typing makes this editor's copy; New, Save As and a clean end each take it away.
        const QList<std::function<void()>> clears = {[&] { editor.document.newPage(); },
                                                     [&] {
                                                         editor.chooser.paths.enqueue(
                                                             folder.filePath(u"guardada.html"_s)),
                                                             editor.document.saveAs();
                                                     },
                                                     [&] { editor.recovery->endCleanly(); }};
        for (const auto &clear : clears) {
            QTest::keyClicks(&editor.view, QStringLiteral("hola"));
            QTRY_VERIFY(QFileInfo::exists(editor.store.copyPath()));
            clear();
            QTRY_VERIFY(!QFileInfo::exists(editor.store.copyPath()));
        }
    }
    // Nothing of the user's goes where a link leads or into another user's folder, and the
    // user hears of it once, in the first window, not only on standard error.
    void recoveryFolderRefused_data()
    {
        QTest::addColumn<QString>("inPlace");
        QTest::addColumn<QString>("notice");
        QTest::newRow("a symbolic link in its place is not followed")
            << u"link"_s << u"es un enlace simbólico"_s;
        QTest::newRow("another user's folder is not used")
            << u"foreign"_s << u"pertenece a otro usuario"_s;
        QTest::newRow("a file in the way of its folder") << u"file"_s << u"no se puede crear"_s;
    }
    void recoveryFolderRefused()
    {
        QFETCH(QString, inPlace);
        QFETCH(QString, notice);
        QTemporaryDir work;
        const QString elsewhere = work.filePath(u"elsewhere"_s);
        QVERIFY(QDir().mkpath(elsewhere));
        QVERIFY(::chmod(QFile::encodeName(elsewhere).constData(), 0755) == 0);
        const QByteArray planted = R"({"version":1,"path":"/tmp/a.html","encoding":"utf-8"})"
                                   "\n<p>ajena</p>";
        plantCopy(elsewhere, planted);
        QString folder = work.filePath(u"state/zendral"_s);
        QVERIFY(QDir().mkpath(work.filePath(u"state"_s)));
        if (inPlace == u"link") {
            QVERIFY(QFile::link(elsewhere, folder));
        } else if (inPlace == u"file") {
            writeBytes(work.filePath(u"state/file"_s), "x");
            folder = work.filePath(u"state/file/zendral"_s);
        } else if (::geteuid() == 0) {
            folder = elsewhere;
            QVERIFY(::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0);
        } else {
            folder = u"/"_s; // root's, for every other user
        }
        Doors doors;
        {
            WindowSet set([&doors] { return doors.next(); }, folder);
            MainWindow *first = set.openFirst(QString());
            MainWindow *second = set.openWindow();
            QCOMPARE(doors.of(first).notices.size(), 1);
            QVERIFY2(doors.of(first).notices.constFirst().contains(notice),
                     qPrintable(doors.of(first).notices.constFirst()));
            QVERIFY(doors.of(first).questions.isEmpty());
            QVERIFY(doors.of(second).notices.isEmpty());
            typeInto(&second->surface(), u"secreto"_s);
            set.keepCopiesForNextStart();
        }
        QCOMPARE(filesIn(elsewhere), QStringList{u"1-1.recovery"_s});
        QCOMPARE(fileBytes(elsewhere + u"/1-1.recovery"_s), planted);
        QCOMPARE(modeOf(elsewhere), 0755);
    }

    // A copy that cannot be shown as a page is named with its fault, never shown; Sí deletes
    // it, No keeps it for later.
    void unusableCopy_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<qint64>("size"); // the copy's size; 0: as written
        QTest::addColumn<QString>("fault");
        const QByteArray good = R"({"version":1,"path":"/tmp/pagina.html","encoding":"utf-8"})";
        QTest::newRow("header naming a relative path")
            << QByteArray(R"({"version":1,"path":"pagina.html","encoding":"utf-8"})") << qint64(0)
            << u"nombra la página con una ruta relativa (\"pagina.html\")"_s;
        QTest::newRow("header that is not JSON") << QByteArray("{version: 1") << qint64(0)
                                                 << u"no es una copia de recuperación válida"_s;
        QTest::newRow("header of a later format")
            << QByteArray(R"({"version":7,"path":"/tmp/p.html"})") << qint64(0)
            << u"no es una copia de recuperación válida"_s;
        QTest::newRow("a 312 MB copy is not read whole before its question")
            << good << (qint64(312) << 20)
            << u"es demasiado grande (312 MB; el límite es 100 MB)"_s;
    }
    void unusableCopy()
    {
        QFETCH(QByteArray, header);
        QFETCH(qint64, size);
        QFETCH(QString, fault);
        for (const bool deleteIt : {false, true}) {
            QTemporaryDir folder;
            const QString copy = plantCopy(folder.path(), header + "\n<p>copia</p>\r\n");
            if (size > 0)
                QVERIFY(QFile::resize(copy, size));
            RecoveringEditor editor(folder.path());
            editor.prompts.answers.enqueue(deleteIt);
            QVERIFY(!editor.recovery->offerOrphans());
            QCOMPARE(editor.prompts.questions,
                     QStringList{CrashRecovery::unusableQuestion(copy, fault)});
            QCOMPARE(editor.view.page().text(), DocumentController::PlantillaInicio());
            QCOMPARE(QFileInfo::exists(copy), !deleteIt);
        }
    }

    // A page recovered after a crash is checked, before Ctrl+S writes it, against its file as it
    // was when the page was read, not as the file had become by the recovery.
    void recoveredPageKeepsItsFile_data()
    {
        QTest::addColumn<bool>("link");
        QTest::newRow("a colleague's change between the crash and Ctrl+S is asked about") << false;
        QTest::newRow("a symbolic link swapped in meanwhile is not written through") << true;
    }
    void recoveredPageKeepsItsFile()
    {
        QFETCH(bool, link);
        QTemporaryDir work;
        const QString page = work.filePath(u"pagina.html"_s);
        const QString other = work.filePath(u"otra.html"_s);
        const QString folder = work.filePath(u"copias"_s);
        writeBytes(page, "<p>antes</p>\r\n");
        writeBytes(other, "<p>otra</p>\r\n");
        {
            RecoveringEditor crashed(folder, page);
            typeInto(&crashed.view, u"mío"_s);
            QTRY_VERIFY(copiesHolding(folder).contains(u"mío"_s));
        } // ended without removing its copy, as a crash ends
        const QByteArray colleagues = "<p>del colega, más larga</p>\r\n";
        if (link) {
            QVERIFY(QFile::remove(page));
            QVERIFY(QFile::link(other, page));
        } else {
            writeBytes(page, colleagues);
        }
        RecoveringEditor editor(folder);
        FakePrompts &prompts = editor.prompts;
        prompts.answers.enqueue(true);
        QVERIFY(editor.recovery->offerOrphans());
        QCOMPARE(editor.view.page().text(), u"mío<p>antes</p>\r\n"_s);
        editor.document.save(); // No to any question
        if (link) {
            QVERIFY2(prompts.notices.value(0).contains(u"enlace simbólico"_s),
                     qPrintable(prompts.notices.join(u'\n')));
            QCOMPARE(fileBytes(other), "<p>otra</p>\r\n");
        } else {
            QCOMPARE(prompts.questions.size(), 2);
            QVERIFY2(prompts.questions.at(1).contains(u"ha cambiado en el disco"_s),
                     qPrintable(prompts.questions.at(1)));
            QCOMPARE(fileBytes(page), colleagues);
        }
    }

private:
    OwnConfiguration m_configuration;
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
