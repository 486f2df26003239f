#include "documentcontroller.h"
#include "testsupport.h"
#include "webenginesandbox.h"

#include <cstdlib>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace zendral;
using namespace zendral::test;

namespace {

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

class TestDesktopSafety : public QObject
{
    Q_OBJECT

private slots:
    void desktopGetsTheExactPath_data();
    void desktopGetsTheExactPath();
    void sandboxOffOnlyForRoot_data();
    void sandboxOffOnlyForRoot();
};

// The preview-in-browser command: the real desktop opener gets the saved page's exact path.
void TestDesktopSafety::desktopGetsTheExactPath_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("shell's characters, leading dash")
        << QStringLiteral("-n $(touch hecho) `id` \"dobles\" 'simples'.html");
    QTest::newRow("newline, address characters, accents")
        << QStringLiteral("primera\nsegunda 50% #ancla ?q=1&x ñandú.html");
}

void TestDesktopSafety::desktopGetsTheExactPath()
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

void TestDesktopSafety::sandboxOffOnlyForRoot_data()
{
    QTest::addColumn<uid_t>("user");
    QTest::addColumn<bool>("sandboxOff");
    QTest::newRow("root") << uid_t(0) << true;
    QTest::newRow("an ordinary user") << uid_t(65534) << false;
}

void TestDesktopSafety::sandboxOffOnlyForRoot()
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

QTEST_MAIN(TestDesktopSafety)
#include "tst_desktopsafety.moc"
