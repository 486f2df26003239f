#include "documentcontroller.h"
#include "windowfixture.h"

#include <csignal>
#include <filesystem>
#include <pwd.h>
#include <sys/resource.h>
#include <unistd.h>

using namespace zendral;
using namespace zendral::test;

// Every way a save can go wrong, through every command that writes the document. A child process
// saves, as an ordinary user (root writes where others may not) or under a file size limit that
// stands in for a full disk; this process sets the folder up before and reads it after.

namespace {

// clang-format off
enum class Fault { ReadOnlyFile, ReadOnlyFolder, FolderInPlace, LongName, SymbolicLink,
                   HardLink, DiskFull };
// clang-format on

const QString Name = QStringLiteral("pagina.html");
const QByteArray Original("<p>contenido anterior</p>\r\n");

// A page of about size characters, accented letters included and declared, every line ended
// by CR LF.
QString pageText(qsizetype size)
{
    QString text = QStringLiteral("<meta charset=\"utf-8\">\r\n");
    for (int line = 0; text.size() < size; ++line)
        text += QStringLiteral("<p>canción %1</p>\r\n").arg(line);
    return text;
}

// Child side: a main window whose document is written to path through route.
int drive(const QString &route, const QString &path, qint64 limit, qsizetype textSize)
{
    WindowFixture f;
    auto &[prompts, chooser, opener, window, view] = f;
    const EstadoDocumento &state = window.document().state();
    // Save and the preview write the page under its own name, as after Open.
    if (route == u"mn_guardar" || route == u"mn_visualizar") {
        window.document().recoverPage(pageText(textSize), path, TextEncoding::Utf8);
    } else {
        view.page().setText(pageText(textSize));
        prompts.answers.enqueue(true);
        chooser.paths.enqueue(path);
    }
    // Sí to what the save itself asks (a file with other names).
    prompts.answers.enqueue(true);
    const QString textBefore = view.page().text(), nameBefore = state.archivoActual;
    if (limit > 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit size{rlim_t(limit), rlim_t(limit)};
        setrlimit(RLIMIT_FSIZE, &size);
    }
    window.command(route)->trigger();
    const QJsonObject report{{"notices", QJsonArray::fromStringList(prompts.notices)},
                             {"questions", QJsonArray::fromStringList(prompts.questions)},
                             {"textKept", view.page().text() == textBefore},
                             {"nameKept", state.archivoActual == nameBefore},
                             {"opened", int(opener.opened.size())}};
    QTextStream(stdout) << QJsonDocument(report).toJson(QJsonDocument::Compact) << '\n';
    return 0;
}

// The folder's whole content: relative path to bytes, a folder or a link marked as such.
QMap<QString, QByteArray> snapshot(const QString &folder)
{
    namespace fs = std::filesystem;
    QMap<QString, QByteArray> entries;
    for (const fs::directory_entry &entry :
         fs::recursive_directory_iterator(folder.toStdString())) {
        const QString path = QString::fromStdString(entry.path().string());
        entries[QDir(folder).relativeFilePath(path)] =
            entry.is_symlink() ? "-> " + QByteArray::fromStdString(fs::read_symlink(entry).string())
            : entry.is_directory() ? QByteArray("<folder>")
                                   : fileBytes(path);
    }
    return entries;
}

// Each fault: the name saved under and the file it names, relative to the folder; the reason
// told (none when the save succeeds); the file size limit and the size of the text.
const auto &faultCases()
{
    const QString permission = QStringLiteral("no tienes permiso");
    const QString tooLarge = QStringLiteral("el archivo es demasiado grande para el disco");
    const QString longName = QString(254 - 5, u'n') + QStringLiteral(".html");
    const QString target = QStringLiteral("destino.html");
    static const QList<std::tuple<const char *, Fault, QString, QString, QString, qint64, int>>
        cases{
            // clang-format off
        // QSaveFile would rename over a read-only file, and told no reason for refusing it.
        {"read-only file", Fault::ReadOnlyFile, Name, Name, permission, 0, 200},
        {"read-only folder", Fault::ReadOnlyFolder, Name, Name, permission, 0, 200},
        {"a folder where the file should be", Fault::FolderInPlace, Name, Name, QStringLiteral("es una carpeta"), 0, 200},
        // The temporary file's name was 7 characters longer, past what a name may be.
        {"254-character name, saved in place", Fault::LongName, longName, longName, QString(), 0, 200},
        {"symbolic link: link kept, target written", Fault::SymbolicLink, Name, target, QString(), 0, 200},
        {"hard link: asked first, Sí replaces it, the other name keeps the old bytes", Fault::HardLink, Name, Name, QString(), 0, 200},
        // A short write that QSaveFile would commit as a whole file.
        {"full disk, one write cut short", Fault::DiskFull, Name, Name, tooLarge, 100 << 10, 300 << 10},
        {"full disk, a later of several writes refused", Fault::DiskFull, Name, Name, tooLarge, 2 << 20, 3 << 20},
            // clang-format on
        };
    return cases;
}

} // namespace

class TestSaveFaults : public QObject
{
    Q_OBJECT

private slots:
    void faults_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<QString>("route");
        // One save question serves New, Open, the file pane, a drop and closing.
        // clang-format off
        const QList<std::pair<const char *, QString>> routes{
            {"Save", QStringLiteral("mn_guardar")}, {"Save As", QStringLiteral("mn_guardarcomo")},
            {"save question (a failed save in it dropped the text)", QStringLiteral("mn_nuevo")},
            {"browser preview's write", QStringLiteral("mn_visualizar")}};
        // clang-format on
        for (int fault = 0; fault < faultCases().size(); ++fault) {
            for (const auto &[routeName, route] : routes)
                QTest::addRow("%s, %s", std::get<0>(faultCases().at(fault)), routeName)
                    << fault << route;
        }
    }
    void faults()
    {
        QFETCH(int, fault);
        QFETCH(QString, route);
        const auto &[name, kind, saveAs, written, reason, limit, textSize] = faultCases().at(fault);
        QStringList command{QCoreApplication::applicationFilePath()};
        const passwd *nobody = getpwnam("nobody");
        const bool asNobody =
            (kind == Fault::ReadOnlyFile || kind == Fault::ReadOnlyFolder) && geteuid() == 0;
        if (asNobody) {
            const QString runuser = QStandardPaths::findExecutable(
                QStringLiteral("runuser"), {"/usr/sbin", "/sbin", "/usr/bin"});
            if (runuser.isEmpty() || !nobody)
                QSKIP("root writes past permissions: needs runuser and the user nobody");
            command = QStringList{runuser, "-u", "nobody", "--"} + command;
        }

        QTemporaryDir dir;
        const QString folder = dir.path(), path = dir.filePath(saveAs);
        // Every fault but the folder starts from the file written holding the old bytes.
        writeBytes(dir.filePath(kind == Fault::FolderInPlace ? Name + "/dentro.html" : written),
                   Original);
        if (kind == Fault::SymbolicLink)
            QVERIFY(QFile::link(written, path));
        if (kind == Fault::HardLink)
            QCOMPARE(::link(native(path).constData(),
                            native(dir.filePath("otro-nombre.html")).constData()),
                     0);
        if (kind == Fault::ReadOnlyFile)
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup));
        if (asNobody) {
            QCOMPARE(::chown(native(folder).constData(), nobody->pw_uid, nobody->pw_gid), 0);
            QCOMPARE(::chown(native(path).constData(), nobody->pw_uid, nobody->pw_gid), 0);
        }
        const auto folderMode = QFile::permissions(folder);
        if (kind == Fault::ReadOnlyFolder)
            QVERIFY(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
        const QMap<QString, QByteArray> before = snapshot(folder);

        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        child.setProcessEnvironment(environment);
        child.start(command.first(),
                    command.mid(1) + QStringList{"--drive", route, path, QString::number(limit),
                                                 QString::number(textSize)});
        QVERIFY(child.waitForFinished(120000));
        QFile::setPermissions(folder, folderMode);
        const QByteArray errors = child.readAllStandardError();
        QVERIFY2(child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0,
                 errors.constData());
        const QJsonObject report =
            QJsonDocument::fromJson(child.readAllStandardOutput().trimmed().split('\n').last())
                .object();
        QVERIFY2(!report.isEmpty(), errors.constData());
        const QStringList notices = report["notices"].toVariant().toStringList();

        const QMap<QString, QByteArray> after = snapshot(folder);
        QCOMPARE(report["opened"].toInt(), int(reason.isEmpty() && route == u"mn_visualizar"));
        if (!reason.isEmpty()) {
            // The file (or folder) stays as it was and no temporary file is left beside it.
            QCOMPARE(after, before);
            QCOMPARE(notices,
                     QStringList(QStringLiteral("No se pudo guardar el archivo \"%1\": %2. El "
                                                "archivo anterior no se ha modificado.")
                                     .arg(path, reason)));
            // The document on screen is the one the user had, under its name, still open.
            QVERIFY(report["textKept"].toBool() && report["nameKept"].toBool());
            return;
        }
        QMap<QString, QByteArray> expected = before;
        expected[written] = pageText(textSize).toUtf8();
        QCOMPARE(after, expected);
        QCOMPARE(notices, QStringList());
        // Only a hard link is asked about, before the save: the other name will not share it.
        const QStringList questions = report["questions"].toVariant().toStringList();
        QCOMPARE(questions.filter("enlace duro").size(), kind == Fault::HardLink ? 1 : 0);
        if (kind == Fault::HardLink)
            QVERIFY(questions.filter("enlace duro")
                        .first()
                        .contains("\"" + path + "\" tiene otro nombre"));
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc == 6 && qstrcmp(argv[1], "--drive") == 0)
        return drive(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]),
                     QByteArray(argv[4]).toLongLong(), QByteArray(argv[5]).toLongLong());
    TestSaveFaults test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_savefaults.moc"
