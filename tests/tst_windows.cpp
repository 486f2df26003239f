#include "crashrecovery.h"
#include "documentcontroller.h"
#include "instancechannel.h"
#include "recoverystore.h"
#include "testsupport.h"
#include "windowset.h"

#include <QLocalSocket>

#include <list>

#include <sys/socket.h>
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

    MainWindowServices next() { return {&prompts.emplace_back(), &chooser, nullptr, &opener}; }
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

} // namespace

// Several pages at once: windows of one program, and pages handed over by later starts; and
// the recovery copies: which editor may take which copy, and when a copy goes.
class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    // A program killed while it ran leaves its socket behind: the next start takes the name.
    void staleSocketTakenOver()
    {
        QTemporaryDir dir;
        const QString name = dir.filePath(QStringLiteral("zendral-0"));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        qstrncpy(address.sun_path, QFile::encodeName(name).constData(), sizeof address.sun_path);
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
        InstanceChannel channel(name);
        QVERIFY(!channel.handOver(QString()));
        QLocalSocket later;
        later.connectToServer(name);
        QVERIFY(later.waitForConnected(60000));
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
        const QString plantilla = DocumentController::PlantillaInicio();
        QTRY_COMPARE_WITH_TIMEOUT(copiesHolding(state), plantilla + "uno|dos" + body, 20000);

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
        QTemporaryDir folder;
        const QString text = QStringLiteral("<p>año \U0001F600</p>\r\nsegunda\nlínea\r\n");
        const QString path = QStringLiteral("/tmp/una\npágina.html");
        {
            RecoveryStore crashed(folder.path()), running(folder.path());
            // Taken in parts, one of them cut between the two halves of a character.
            const qsizetype cut = text.indexOf(QChar(0xDE00));
            crashed.write({text.left(cut), text.mid(cut)}, path, TextEncoding::Windows1252);
            running.write({QStringLiteral("otra")}, QString(), TextEncoding::Utf8);
            for (RecoveryStore *store : {&crashed, &running})
                store->waitForWrites();
            QVERIFY(RecoveryStore(folder.path()).takeOrphans().isEmpty());
            running.remove();
        } // `crashed` ends without removing its copy, as a killed editor does.
        {
            RecoveryStore first(folder.path());
            QList<RecoveryCopy> taken = first.takeOrphans();
            QCOMPARE(taken.size(), 1);
            const RecoveryCopy copy = taken.first();
            QCOMPARE(copy.text, text);
            QCOMPARE(copy.path, path);
            QCOMPARE(copy.encoding, TextEncoding::Windows1252);
            QVERIFY(RecoveryStore(folder.path()).takeOrphans().isEmpty());
            first.release(copy);
        }
        QCOMPARE(RecoveryStore(folder.path()).takeOrphans().size(), 1);
        // A recovered UTF-16 or binary page came back as UTF-8, and its next save rewrote it so.
        for (const TextEncoding encoding :
             {TextEncoding::Utf8WithBom, TextEncoding::Utf16LittleEndian,
              TextEncoding::Utf16BigEndian, TextEncoding::Binary}) {
            QTemporaryDir another;
            RecoveryStore(another.path()).write({text}, path, encoding);
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
        RecoveryStore(folder.path()).write({text}, path, TextEncoding::Utf8WithBom);

        RecoveryStore store(folder.path());
        EditingSurface view;
        FakePrompts prompts;
        FakeFileChooser chooser;
        DocumentController document(view, prompts, chooser);
        document.startUp();
        CrashRecovery recovery(view.page(), document, store, prompts, 10ms);
        for (const bool answer : answers)
            prompts.answers.enqueue(answer);
        QCOMPARE(recovery.offerOrphans(), recovered);
        QVERIFY(prompts.questions.first().contains(u'"' + path + u'"'));
        store.waitForWrites();
        const QStringList left = filesIn(folder.path(), QStringLiteral("*.recovery"));
        QCOMPARE(left.size(), copiesLeft);
        if (recovered) {
            QCOMPARE(view.page().text(), text);
            QCOMPARE(document.state().archivoActual, path);
            QCOMPARE(document.state().encoding, TextEncoding::Utf8WithBom);
            QVERIFY(document.isModified());
            QCOMPARE(left, QStringList{QFileInfo(store.copyPath()).fileName()});
        }
        // Then typing makes this editor's copy; New, Save As and a clean end each take it away.
        const QList<std::function<void()>> clears = {
            [&] { document.newPage(); },
            [&] {
                chooser.paths.enqueue(folder.filePath(u"guardada.html"_s)), document.saveAs();
            },
            [&] { recovery.endCleanly(); }};
        for (const auto &clear : clears) {
            QTest::keyClicks(&view, QStringLiteral("hola"));
            QTRY_VERIFY(QFileInfo::exists(store.copyPath()));
            clear();
            QTRY_VERIFY(!QFileInfo::exists(store.copyPath()));
        }
    }
};

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
