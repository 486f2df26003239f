#include "crashrecovery.h"
#include "documentcontroller.h"
#include "instancechannel.h"
#include "recoverystore.h"
#include "testsupport.h"
#include "windowset.h"

#include <QLocalSocket>

#include <list>

using namespace zendral;
using namespace zendral::test;
using namespace std::chrono_literals;

namespace {

// Each window gets prompts of its own, so that a test sees which window asked.
struct Doors
{
    // Made beforehand when a test scripts a window's answers before it opens.
    std::list<FakePrompts> prompts;
    FakeFileChooser chooser;
    FakeDesktopOpener opener;
    size_t given = 0;

    MainWindowServices next()
    {
        if (given == prompts.size())
            prompts.emplace_back();
        return {&*std::next(prompts.begin(), qsizetype(given++)), &chooser, nullptr, &opener};
    }
    FakePrompts &of(MainWindow *window) { return static_cast<FakePrompts &>(window->prompts()); }
};

QStringList filesIn(const QString &folder, const QString &pattern = QStringLiteral("*"))
{
    return QDir(folder).entryList({pattern}, QDir::Files | QDir::Hidden);
}

QString copiesHolding(const QString &folder)
{
    QStringList texts;
    for (const QString &name : filesIn(folder, QStringLiteral("*.recovery")))
        texts.append(QString::fromUtf8(fileBytes(folder + u'/' + name)).section(u'\n', 1));
    texts.sort();
    return texts.join(u'|');
}

bool listening(const QString &name)
{
    QLocalSocket socket;
    socket.connectToServer(name);
    return socket.waitForConnected(1000);
}

QString titleFor(const QString &path)
{
    return QStringLiteral("Zendral - [%1]").arg(path);
}

} // namespace

// Several pages at once: windows of one program, and pages handed over by later starts; and
// the recovery copies: which editor may take which copy, and when a copy goes.
class TestWindows : public QObject
{
    Q_OBJECT

private slots:
    void eachWindowItsOwnPage();
    void pagesFromLaterStarts();
    void copiesOfACrashEachInAWindow();
    void copiesOfRunningEditorsAreNotOffered();
    void offer_data();
    void offer();
    void copyFollowsThePage();
};

void TestWindows::eachWindowItsOwnPage()
{
    QTemporaryDir work;
    const QString state = work.filePath(QStringLiteral("state"));
    const QString page = work.filePath(QStringLiteral("pagina.html"));
    writeBytes(page, "<p>hola</p>\r\n");
    Doors doors;
    WindowSet set([&doors] { return doors.next(); }, state);
    MainWindow *first = set.openFirst(QString());
    first->command(QStringLiteral("mn_nuevaventana"))->trigger();
    QCOMPARE(set.windows().size(), 2);
    MainWindow *second = set.windows().at(set.windows().at(0) == first ? 1 : 0);
    QVERIFY(second->isVisible());

    typeInto(&first->surface(), QStringLiteral("uno"));
    doors.chooser.paths.enqueue(page);
    second->command(QStringLiteral("mn_abrir"))->trigger();
    QCOMPARE(second->windowTitle(), titleFor(page));
    // Open asks its own question first.
    doors.of(second).questions.clear();
    QCOMPARE(first->windowTitle(), QStringLiteral("  Zendral"));
    second->surface().page().setSelectionStart(0);
    typeInto(&second->surface(), QStringLiteral("dos"));
    QVERIFY(first->surface().page().text().endsWith(QStringLiteral("uno")));
    QCOMPARE(second->surface().page().text(), QStringLiteral("dos<p>hola</p>\r\n"));
    // Each window keeps its own copy of its unsaved page.
    QTRY_COMPARE_WITH_TIMEOUT(
        copiesHolding(state),
        DocumentController::PlantillaInicio() + QStringLiteral("uno|dos<p>hola</p>\r\n"), 20000);

    // Each window asks about its own page: the first's Salir closes the first alone.
    first->command(QStringLiteral("mn_salir"))->trigger();
    QCOMPARE(doors.of(first).questions,
             QStringList(QStringLiteral("¿Quieres guardar el archivo actual?")));
    QVERIFY(doors.of(second).questions.isEmpty());
    QCOMPARE(set.windows(), QList<MainWindow *>({second}));
    QTRY_COMPARE(copiesHolding(state), QStringLiteral("dos<p>hola</p>\r\n"));

    QVERIFY(second->close());
    QVERIFY(set.windows().isEmpty());
    // Nothing is left behind, neither copies nor locks.
    QTRY_COMPARE(filesIn(state), QStringList());
}

void TestWindows::pagesFromLaterStarts()
{
    QTemporaryDir work;
    const QString runtime = work.filePath(QStringLiteral("run"));
    QVERIFY(QDir().mkpath(runtime));
    QVERIFY(QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_STATE_HOME"), work.filePath(QStringLiteral("state")));
    const auto start = [&environment](QProcess &program, const QStringList &arguments) {
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::ForwardedChannels);
        program.start(QStringLiteral(ZENDRAL_PROGRAM), arguments);
    };
    const QString name = InstanceChannel::defaultName();

    // A program killed while it ran leaves its socket behind: the next start takes the name
    // over.
    QProcess killed;
    start(killed, {});
    QTRY_VERIFY_WITH_TIMEOUT(listening(name), 60000);
    killed.kill();
    QVERIFY(killed.waitForFinished(60000));
    QVERIFY(QFileInfo::exists(name));
    InstanceChannel channel;
    QVERIFY(!channel.handOver(QString()));
    QVERIFY(listening(name));

    Doors doors;
    WindowSet set([&doors] { return doors.next(); }, work.filePath(QStringLiteral("ours")));
    connect(&channel, &InstanceChannel::pageArrived, &set, &WindowSet::openHandedOver);
    MainWindow *first = set.openFirst(QString());

    // The untouched start-up page gives its window to the first page handed over; the next
    // one gets a window of its own.
    const QString pages[] = {work.filePath(QStringLiteral("una.html")),
                             work.filePath(QStringLiteral("otra.html"))};
    for (const QString &page : pages) {
        writeBytes(page, "<p>hola</p>\r\n");
        QProcess later;
        start(later, {page});
        QTRY_COMPARE_WITH_TIMEOUT(later.state(), QProcess::NotRunning, 60000);
        QCOMPARE(later.exitStatus(), QProcess::NormalExit);
        QCOMPARE(later.exitCode(), 0);
        QTRY_COMPARE(set.windows().constFirst()->windowTitle(), titleFor(page));
    }
    QCOMPARE(set.windows().size(), 2);
    QCOMPARE(first->windowTitle(), titleFor(pages[0]));
    QVERIFY(set.windows().constFirst() != first);
}

void TestWindows::copiesOfACrashEachInAWindow()
{
    QTemporaryDir state;
    for (const QString &text : {QStringLiteral("uno"), QStringLiteral("dos")}) {
        RecoveryStore crashed(state.path());
        crashed.write({text}, QString(), TextEncoding::Utf8);
    } // each ends without removing its copy, as the windows of a killed editor do

    Doors doors;
    doors.prompts.emplace_back();
    doors.prompts.back().answers << true << true;
    WindowSet set([&doors] { return doors.next(); }, state.path());
    set.openFirst(QString());
    QCOMPARE(set.windows().size(), 2);
    QStringList texts;
    for (MainWindow *window : set.windows())
        texts.append(window->surface().page().text());
    texts.sort();
    QCOMPARE(texts, QStringList({QStringLiteral("dos"), QStringLiteral("uno")}));
    // Each copy became its window's own: closing the windows without saving leaves nothing.
    QCOMPARE(copiesHolding(state.path()), QStringLiteral("dos|uno"));
    for (MainWindow *window : set.windows())
        QVERIFY(window->close());
    QTRY_COMPARE(filesIn(state.path()), QStringList());
}

void TestWindows::copiesOfRunningEditorsAreNotOffered()
{
    QTemporaryDir folder;
    const QString text = QStringLiteral("<p>año \U0001F600</p>\r\nsegunda\nlínea\r\n");
    const QString path = QStringLiteral("/tmp/una\npágina.html");
    {
        RecoveryStore crashed(folder.path());
        // Taken in parts, one of them cut between the two halves of a character.
        const qsizetype cut = text.indexOf(QChar(0xDE00));
        crashed.write({text.left(cut), text.mid(cut)}, path, TextEncoding::Windows1252);
        crashed.waitForWrites();
        RecoveryStore running(folder.path());
        running.write({QStringLiteral("otra")}, QString(), TextEncoding::Utf8);
        running.waitForWrites();
        // Both editors run: neither copy is orphaned.
        QVERIFY(RecoveryStore(folder.path()).takeOrphans().isEmpty());
        running.remove();
    } // `crashed` ends without removing its copy, as a killed editor does.

    RecoveryStore first(folder.path());
    const QList<RecoveryCopy> taken = first.takeOrphans();
    QCOMPARE(taken.size(), 1);
    QCOMPARE(taken.first().text, text);
    QCOMPARE(taken.first().path, path);
    QCOMPARE(taken.first().encoding, TextEncoding::Windows1252);
    // Claimed by the first editor to start: one starting beside it does not offer it too.
    QVERIFY(RecoveryStore(folder.path()).takeOrphans().isEmpty());
    first.release(taken.first());
    QCOMPARE(RecoveryStore(folder.path()).takeOrphans().size(), 1);

    // A recovered UTF-16 or binary page came back as UTF-8, and its next save rewrote it so.
    for (const TextEncoding encoding :
         {TextEncoding::Utf8, TextEncoding::Utf8WithBom, TextEncoding::Utf16LittleEndian,
          TextEncoding::Utf16BigEndian, TextEncoding::Binary}) {
        QTemporaryDir another;
        RecoveryStore(another.path()).write({text}, path, encoding);
        const QList<RecoveryCopy> copies = RecoveryStore(another.path()).takeOrphans();
        QCOMPARE(copies.size(), 1);
        QCOMPARE(copies.first().encoding, encoding);
    }
}

void TestWindows::offer_data()
{
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("recovered");
    QTest::addColumn<int>("copiesLeft");

    QTest::newRow("Sí recovers it, as this editor's copy") << QList<bool>{true} << true << 1;
    QTest::newRow("No, then Sí discards it") << QList<bool>{false, true} << false << 0;
    QTest::newRow("Escape twice keeps it for the next start") << QList<bool>{} << false << 1;
}

void TestWindows::offer()
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
    test::FakePrompts prompts;
    test::FakeFileChooser chooser;
    DocumentController document(view, prompts, chooser);
    document.startUp();
    CrashRecovery recovery(view.page(), document, store, prompts);
    for (const bool answer : answers)
        prompts.answers.enqueue(answer);
    QCOMPARE(recovery.offerOrphans(), recovered);
    QVERIFY(prompts.questions.first().contains(u'"' + path + u'"'));
    store.waitForWrites();
    QCOMPARE(filesIn(folder.path(), QStringLiteral("*.recovery")).size(), copiesLeft);
    if (!recovered)
        return;
    QCOMPARE(view.page().text(), text);
    QCOMPARE(document.state().archivoActual, path);
    QCOMPARE(document.state().encoding, TextEncoding::Utf8WithBom);
    QVERIFY(document.isModified());
    QCOMPARE(filesIn(folder.path(), QStringLiteral("*.recovery")),
             QStringList{QFileInfo(store.copyPath()).fileName()});
}

void TestWindows::copyFollowsThePage()
{
    QTemporaryDir folder;
    RecoveryStore store(folder.path());
    EditingSurface view;
    test::FakePrompts prompts;
    test::FakeFileChooser chooser;
    DocumentController document(view, prompts, chooser);
    document.startUp();
    CrashRecovery recovery(view.page(), document, store, prompts, 10ms);
    const auto copied = [&] { return QFileInfo::exists(store.copyPath()); };

    QTest::keyClicks(&view, QStringLiteral("hola"));
    QTRY_VERIFY(copied());
    chooser.paths.enqueue(folder.filePath(QStringLiteral("guardada.html")));
    document.guardarComo();
    QTRY_VERIFY(!copied());

    QTest::keyClicks(&view, QStringLiteral("mas"));
    QTRY_VERIFY(copied());
    prompts.answers.enqueue(false);
    document.nuevo();
    QTRY_VERIFY(!copied());

    QTest::keyClicks(&view, QStringLiteral("y fin"));
    QTRY_VERIFY(copied());
    recovery.endCleanly();
    QVERIFY(!copied());
}

QTEST_MAIN(TestWindows)
#include "tst_windows.moc"
