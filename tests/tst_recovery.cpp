#include "crashrecovery.h"
#include "documentcontroller.h"
#include "recoverystore.h"
#include "testsupport.h"

#include <optional>

using namespace zendral;
using namespace std::chrono_literals;

// The recovery copies: which editor may take which copy, and when a copy goes.
class TestRecovery : public QObject
{
    Q_OBJECT

private slots:
    void copiesOfRunningEditorsAreNotOffered();
    void offer_data();
    void offer();
    void copyFollowsThePage();

private:
    static QStringList copiesIn(const QString &folder)
    {
        return QDir(folder).entryList({QStringLiteral("*.recovery")}, QDir::Files);
    }
};

void TestRecovery::copiesOfRunningEditorsAreNotOffered()
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

void TestRecovery::offer_data()
{
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("recovered");
    QTest::addColumn<int>("copiesLeft");

    QTest::newRow("Sí recovers it, as this editor's copy") << QList<bool>{true} << true << 1;
    QTest::newRow("No, then Sí discards it") << QList<bool>{false, true} << false << 0;
    QTest::newRow("Escape twice keeps it for the next start") << QList<bool>{} << false << 1;
}

void TestRecovery::offer()
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
    QCOMPARE(copiesIn(folder.path()).size(), copiesLeft);
    if (!recovered)
        return;
    QCOMPARE(view.page().text(), text);
    QCOMPARE(document.state().archivoActual, path);
    QCOMPARE(document.state().encoding, TextEncoding::Utf8WithBom);
    QVERIFY(document.isModified());
    QCOMPARE(copiesIn(folder.path()), QStringList{QFileInfo(store.copyPath()).fileName()});
}

void TestRecovery::copyFollowsThePage()
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

QTEST_MAIN(TestRecovery)
#include "tst_recovery.moc"
