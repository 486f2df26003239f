#include "documentfile.h"
#include "testsupport.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

using namespace zendral;
using namespace zendral::test;

namespace {

const Question Yes = [](const QString &) { return true; };

// Saves "después" at path in a child process, as user when given (so that this process keeps
// its identity), answering every question with answer; the child's exit status (0 written,
// 1 declined, 2 failed) and the questions it was asked.
std::pair<int, QString> saveInChild(const passwd *user, const QString &path, bool answer)
{
    int channel[2];
    if (::pipe(channel) != 0)
        return {-1, QString()};
    const pid_t child = ::fork();
    if (child == 0) {
        if (user && (::setresgid(user->pw_gid, user->pw_gid, user->pw_gid) != 0 ||
                     ::setresuid(user->pw_uid, user->pw_uid, user->pw_uid) != 0))
            ::_exit(3);
        const WriteResult result = writeDocumentFile(
            path, QStringLiteral("después"), TextEncoding::Utf8, [&](const QString &text) {
                const QByteArray asked = text.toUtf8();
                (void)!::write(channel[1], asked.constData(), asked.size());
                return answer;
            });
        ::_exit(result.ok ? 0 : result.declined ? 1 : 2);
    }
    ::close(channel[1]);
    QFile questions;
    questions.open(channel[0], QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    const QString asked = QString::fromUtf8(questions.readAll());
    int status = -1;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, asked};
}

} // namespace

class TestDocumentFile : public QObject
{
    Q_OBJECT

private slots:
    void lineReader_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        // clang-format off
        QTest::newRow("empty file") << QByteArray() << QString();
        // A save ends an unended last line too: only the text shows that the reader did.
        QTest::newRow("last line ended in the page's own kind") << QByteArray("a\nb\r\nc") << "a\nb\r\nc\n";
        QTest::newRow("lone CR ends a line") << QByteArray("a\rb") << "a\rb\r";
        QTest::newRow("utf-8 accents") << QByteArray("a\xC3\xB1o") << QStringLiteral("año\r\n");
        QTest::newRow("windows-1252 accents") << QByteArray("a\xF1o \x80") << QStringLiteral("año €\r\n");
        // Read as Windows-1252, UTF-16 pages showed every other character as NUL.
        QTest::newRow("utf-16 little-endian with its mark")
            << QByteArray("\xFF\xFE" "a\0\xF1\0o\0\r\0", 10) << QStringLiteral("año\r");
        QTest::newRow("utf-16 big-endian with its mark")
            << QByteArray("\xFE\xFF\0a\0\xF1\0o", 8) << QStringLiteral("año\r\n");
        QTest::newRow("binary: lines kept, a lone CR held apart")
            << QByteArray("\0a\rb\r\nc", 7) << QString(QChar(0)) + QStringLiteral("a\u240Db\r\nc");
        // clang-format on
    }
    void lineReader()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(decodeDocument(bytes).text, text);
    }
    void openAndSaveGiveTheBytesBack_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("encoding");
        const auto row = [](const char *name, const QByteArray &bytes, TextEncoding encoding,
                            const QByteArray &file = "pagina.html") {
            QTest::newRow(name) << file << bytes << int(encoding);
        };
        // After one save, UTF-16 pages were no longer UTF-16.
        const QByteArray little("\xFF\xFE<\0p\0>\0\x3D\xD8\x00\xDE\r\0\n\0", 16);
        row("utf-16 little-endian with an emoji", little, TextEncoding::Utf16LittleEndian);
        const QByteArray big("\xFE\xFF\0<\0p\0>\xD8\x3D\xDE\x00\0\r\0\n", 16);
        row("utf-16 big-endian with an emoji", big, TextEncoding::Utf16BigEndian);
        const QByteArray odd("\xFF\xFEh\0i", 5);
        row("utf-16 mark on an odd count of bytes: binary", odd, TextEncoding::Binary);
        // Such a name was "not found", and a save would have written under another name.
        row("file name in Latin-1, not UTF-8", "<p>hola</p>\r\n", TextEncoding::Utf8,
            "p\xE1gina.html");
    }
    void openAndSaveGiveTheBytesBack()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, bytes);
        QFETCH(int, encoding);
        QTemporaryDir dir;
        const QByteArray file = native(dir.path()) + '/' + name;
        writeRaw(file, bytes);
        // QTemporaryDir cannot remove a name Qt cannot decode.
        const auto removed = qScopeGuard([&] { ::unlink(file.constData()); });
        // The name as Qt gives it, from the file dialog or the file pane.
        const QString path = QFile::decodeName(file);

        const ReadResult read = readDocumentFile(path, Yes);
        QVERIFY2(read.ok, qPrintable(read.error));
        QCOMPARE(int(read.document.encoding), encoding);
        const auto written = writeDocumentFile(path, read.document.text, read.document.encoding);
        QVERIFY2(written.ok, qPrintable(written.error));
        QCOMPARE(readRaw(file), bytes);
        QCOMPARE(entryCount(dir.path()), 1);
    }
    void refusedOrAsked_data()
    {
        // What is at the path: a kind of file (its name), or a page of these bytes or this size.
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<bool>("answer");
        // Why it is refused at once, unasked; or the question asked before opening it, if any.
        QTest::addColumn<QString>("reason");
        QTest::addColumn<QString>("question");
        const auto refused = [](const char *name, const char *kind, const QString &reason) {
            QTest::newRow(name) << QString(kind) << QByteArray() << qint64(0) << true << reason
                                << QString();
        };
        const QString notFile = QStringLiteral("no es un archivo normal, es ");
        refused("a missing file", "nada", QStringLiteral("el archivo o la carpeta no existe"));
        refused("a folder", "carpeta", notFile + QStringLiteral("una carpeta"));
        // Opening it waited for a writer, and the window froze for good.
        refused("a FIFO", "fifo", notFile + QStringLiteral("una tubería (FIFO)"));
        refused("a socket", "socket", notFile + QStringLiteral("un socket"));
        // It was read until memory ran out.
        refused("/dev/zero", "/dev/zero", notFile + QStringLiteral("un dispositivo"));
        refused("a read that fails", "/proc/self/mem",
                QStringLiteral("error de entrada/salida del disco"));
        // Told only "no se pudo abrir".
        refused(
            "a symbolic-link loop", "bucle",
            QStringLiteral("hay un bucle de enlaces simbólicos: un enlace lleva, directamente o "
                           "a través de otros, a sí mismo"));
        const QString binary = QStringLiteral(
            "El archivo \"%1\" no parece una página: contiene bytes nulos, como los archivos "
            "binarios. ¿Quieres abrirlo igualmente?");
        const QByteArray png("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
        const QString page = QStringLiteral("pagina.html");
        // clang-format off
        QTest::newRow("binary file, No") << page << png << qint64(0) << false << QString() << binary;
        QTest::newRow("binary file, Sí") << page << png << qint64(0) << true << QString() << binary;
        QTest::newRow("NUL past the first kilobytes: a page")
            << page << QByteArray(8192, 'a') + '\0' << qint64(0) << false << QString() << QString();
        // "Sí" asked for the whole size at once: std::bad_alloc, and the program aborted.
        QTest::newRow("a sparse file of 50 GB: refused with its size, unread")
            << page << QByteArray() << (qint64(50) << 30) << true
            << QStringLiteral("ocupa 50 GB, más de los 100 MB que el editor puede abrir") << QString();
        QTest::newRow("a byte over 100 MB: refused")
            << page << QByteArray() << LargeFile + 1 << true
            << QStringLiteral("ocupa 101 MB, más de los 100 MB que el editor puede abrir") << QString();
        // Its size reads 0; it was read until memory ran out.
        QTest::newRow("a file whose size is not told: read no further than 100 MB")
            << "/proc/self/pagemap" << QByteArray() << qint64(0) << true
            << QStringLiteral("ocupa más de los 100 MB que el editor puede abrir, aunque el sistema "
                              "no dice su tamaño") << QString();
        // clang-format on
    }
    void refusedOrAsked()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(qint64, size);
        QFETCH(bool, answer);
        QFETCH(QString, reason);
        QFETCH(QString, question);
        const QString page = QStringLiteral("pagina.html");
        QTemporaryDir dir;
        const QString path = kind.startsWith(u'/') ? kind : dir.filePath(kind);
        const QByteArray name = native(path);
        if (kind == u"carpeta") {
            QVERIFY(QDir(dir.path()).mkdir(kind));
        } else if (kind == u"fifo") {
            QCOMPARE(::mkfifo(name.constData(), 0644), 0);
        } else if (kind == u"socket") {
            const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
            sockaddr_un address{};
            address.sun_family = AF_UNIX;
            qstrncpy(address.sun_path, name.constData(), sizeof address.sun_path);
            QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
            ::close(fd);
        } else if (kind == u"bucle") {
            QVERIFY(QFile::link(QStringLiteral("otro"), path));
            QVERIFY(QFile::link(QStringLiteral("bucle"), dir.filePath(QStringLiteral("otro"))));
        } else if (kind == u"pagina.html") {
            writeRaw(name, bytes);
            QCOMPARE(::truncate(name.constData(), std::max<qint64>(size, bytes.size())), 0);
        }
        struct stat before;
        const bool there = ::lstat(name.constData(), &before) == 0;
        QStringList asked;
        const ReadResult result = readDocumentFile(path, [&](const QString &text) {
            asked.append(text);
            return answer;
        });
        QCOMPARE(asked, question.isEmpty() ? QStringList() : QStringList(question.arg(path)));
        if (!reason.isEmpty()) {
            QVERIFY(!result.ok);
            QCOMPARE(result.error,
                     QStringLiteral("No se pudo leer el archivo \"%1\": %2.").arg(path, reason));
            // Saving there does not write into it, nor replace it.
            if (there && !kind.startsWith(u'/') && kind != page) {
                QVERIFY(!writeDocumentFile(path, QStringLiteral("x"), TextEncoding::Utf8, Yes).ok);
                struct stat after;
                QCOMPARE(::lstat(name.constData(), &after), 0);
                QCOMPARE(after.st_mode, before.st_mode);
                QCOMPARE(after.st_ino, before.st_ino);
            }
            return;
        }
        const bool opened = question.isEmpty() || answer;
        QCOMPARE(result.ok, opened);
        QCOMPARE(result.declined, !opened);
        QVERIFY(result.error.isEmpty());
        if (size == 0 && opened)
            QCOMPARE(encodeDocument(result.document.text, result.document.encoding).bytes,
                     bytes + (answer ? "" : "\r\n"));
    }
    void ownerAndModeKept_data()
    {
        QTest::addColumn<bool>("byNobody");
        QTest::addColumn<bool>("answer");
        QTest::addColumn<bool>("groupOnly");
        // A page owned by nobody, mode 0640, became root's after root saved it.
        QTest::newRow("root saves nobody's 0640 page: owner, group and mode kept")
            << false << false << false;
        QTest::newRow("root saves its own page of nobody's group: group kept")
            << false << false << true;
        QTest::newRow("nobody cannot keep root's page root's: told, No keeps it")
            << true << false << false;
        QTest::newRow("nobody cannot keep root's page root's: told, Sí saves it")
            << true << true << false;
    }
    void ownerAndModeKept()
    {
        QFETCH(bool, byNobody);
        QFETCH(bool, answer);
        QFETCH(bool, groupOnly);
        const passwd *nobody = ::getpwnam("nobody");
        if (::geteuid() != 0 || !nobody)
            QSKIP("giving a file to another user needs root and the user nobody");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pagina.html"));
        const QByteArray name = native(path);
        writeRaw(name, "antes\r\n");
        const mode_t mode = byNobody ? 0666 : 0640;
        QCOMPARE(::chmod(name.constData(), mode), 0);
        const QByteArray given = byNobody ? native(dir.path()) : name;
        const uid_t owner = groupOnly ? 0 : nobody->pw_uid;
        QCOMPARE(::chown(given.constData(), owner, nobody->pw_gid), 0);

        const auto [status, asked] = saveInChild(byNobody ? nobody : nullptr, path, answer);
        const bool replaced = !byNobody || answer;
        QCOMPARE(status, replaced ? 0 : 1);
        QCOMPARE(asked, byNobody
                            ? QStringLiteral("No tienes permiso para que \"%1\" siga siendo de "
                                             "root:root. Si lo guardas, pasará a ser de "
                                             "nobody:nogroup y puede que su dueño ya no pueda "
                                             "usarlo. ¿Quieres guardarlo igualmente?")
                                  .arg(path)
                            : QString());

        struct stat saved;
        QCOMPARE(::stat(name.constData(), &saved), 0);
        QCOMPARE(readRaw(name), replaced ? QByteArray("despu\xC3\xA9s\r\n") : "antes\r\n");
        QCOMPARE(saved.st_mode & 07777, mode);
        QCOMPARE(saved.st_uid, byNobody != answer ? 0 : owner);
        QCOMPARE(saved.st_gid, byNobody != answer ? 0 : nobody->pw_gid);
        QCOMPARE(entryCount(dir.path()), 1);
    }
    void temporaryFile_data()
    {
        QTest::addColumn<QByteArray>("name");
        // What a save of the same file left beside it; whether a save under way holds it.
        QTest::addColumn<QByteArray>("left");
        QTest::addColumn<bool>("held");
        const QByteArray page("pagina.html");
        // Its temporary name was 7 bytes longer, past what a name may be.
        QTest::newRow("a name of 250 bytes is saved in place")
            << QByteArray(245, 'n') + ".html" << QByteArray() << false;
        QTest::newRow("a name of 255 bytes, accents at the cut")
            << QByteArray("\xC3\xB1").repeated(125) + "a.htm" << QByteArray() << false;
        QTest::newRow("the leftover of a killed save is removed")
            << page << QByteArray(".pagina.html.Ab12Cd") << false;
        QTest::newRow("the file of a save under way is left to it")
            << page << QByteArray(".pagina.html.Xy34Zw") << true;
        QTest::newRow("another file's leftover is left alone")
            << page << QByteArray(".otra.html.Ab12Cd") << false;
    }
    void temporaryFile()
    {
        QFETCH(QByteArray, name);
        QFETCH(QByteArray, left);
        QFETCH(bool, held);
        QTemporaryDir dir;
        const QByteArray folder = native(dir.path()) + '/';
        const QString path = dir.filePath(QFile::decodeName(name));
        writeRaw(folder + name, "antes\r\n");
        int leftover = -1;
        if (!left.isEmpty()) {
            writeRaw(folder + left, "a medias");
            leftover = ::open((folder + left).constData(), O_RDONLY | O_CLOEXEC);
            QVERIFY(leftover >= 0);
            if (held)
                QCOMPARE(::flock(leftover, LOCK_EX), 0);
        }
        const auto closed = qScopeGuard([&] { ::close(leftover); });
        // What the folder holds while the new bytes are written.
        QStringList during;
        const WriteResult result =
            writeDocumentFile(path, TextPieces([&](const PieceTaker &take) {
                                  take(QStringLiteral("después\r\n"));
                                  during = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
                              }),
                              TextEncoding::Utf8);
        QVERIFY2(result.ok, qPrintable(result.error));
        QCOMPARE(readRaw(folder + name), QByteArray("despu\xC3\xA9s\r\n"));
        QStringList files{QFile::decodeName(name)};
        if (held || (!left.isEmpty() && !left.startsWith(".pagina")))
            files.append(QFile::decodeName(left));
        files.sort();
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), files);
        // The new bytes were written under a hidden name beside the file.
        for (const QString &file : files)
            during.removeOne(file);
        QCOMPARE(during.size(), 1);
        QVERIFY2(during.first().startsWith(u'.'), qPrintable(during.first()));
    }
    void otherNamesAskedFirst_data()
    {
        QTest::addColumn<int>("others");
        QTest::addColumn<bool>("answer");
        // Told only after the save had made the name a file apart.
        QTest::newRow("one other name: No keeps every name as it was") << 1 << false;
        QTest::newRow("two other names: Sí saves this name as a file apart") << 2 << true;
    }
    void otherNamesAskedFirst()
    {
        QFETCH(int, others);
        QFETCH(bool, answer);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pagina.html"));
        writeRaw(native(path), "antes\r\n");
        for (int i = 0; i < others; ++i)
            QCOMPARE(::link(native(path).constData(),
                            native(dir.filePath(QStringLiteral("otro%1.html").arg(i))).constData()),
                     0);
        QStringList asked;
        const WriteResult result = writeDocumentFile(
            path, QStringLiteral("después"), TextEncoding::Utf8, [&](const QString &question) {
                asked.append(question);
                return answer;
            });
        QCOMPARE(asked,
                 QStringList(
                     others == 1
                         ? QStringLiteral("El archivo \"%1\" tiene otro nombre (un enlace duro). "
                                          "Si lo guardas, este nombre pasará a ser un archivo "
                                          "aparte y el otro conservará el contenido anterior. "
                                          "¿Quieres guardarlo?")
                               .arg(path)
                         : QStringLiteral("El archivo \"%1\" tiene otros 2 nombres (enlaces "
                                          "duros). Si lo guardas, este nombre pasará a ser un "
                                          "archivo aparte y los otros conservarán el contenido "
                                          "anterior. ¿Quieres guardarlo?")
                               .arg(path)));
        QCOMPARE(result.ok, answer);
        QCOMPARE(result.declined, !answer);
        QCOMPARE(readRaw(native(path)), answer ? QByteArray("despu\xC3\xA9s\r\n") : "antes\r\n");
        for (int i = 0; i < others; ++i)
            QCOMPARE(readRaw(native(dir.filePath(QStringLiteral("otro%1.html").arg(i)))),
                     "antes\r\n");
        QCOMPARE(entryCount(dir.path()), 1 + others);
    }
    void attributesKept_data()
    {
        QTest::addColumn<bool>("byNobody");
        QTest::addColumn<bool>("answer");
        // The save dropped them, and the list's mask became the group's bits: a 0640 page
        // that nobody could write became one its group could write and nobody could not.
        QTest::newRow("an extended attribute and an access list are kept, and the mode")
            << false << false;
        QTest::newRow("nobody cannot keep a security attribute: asked, No keeps the file")
            << true << false;
        QTest::newRow("nobody cannot keep a security attribute: asked, Sí saves it")
            << true << true;
    }
    void attributesKept()
    {
        QFETCH(bool, byNobody);
        QFETCH(bool, answer);
        const passwd *nobody = ::getpwnam("nobody");
        if (::geteuid() != 0 || !nobody)
            QSKIP("a security attribute and a file of nobody's need root and the user nobody");
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pagina.html"));
        const QByteArray name = native(path);
        writeRaw(name, "antes\r\n");
        QCOMPARE(::chmod(name.constData(), 0640), 0);
        const QByteArray user("arriba");
        QCOMPARE(::setxattr(name.constData(), "user.zendral", user.constData(), user.size(), 0), 0);
        // Owner rw, nobody rw, group r, mask rw, others nothing.
        struct Entry
        {
            quint16 tag, permissions;
            quint32 id;
        };
        const Entry entries[] = {{0x01, 6, quint32(-1)},
                                 {0x02, 6, nobody->pw_uid},
                                 {0x04, 4, quint32(-1)},
                                 {0x10, 6, quint32(-1)},
                                 {0x20, 0, quint32(-1)}};
        QByteArray list("\x02\0\0\0", 4);
        list.append(reinterpret_cast<const char *>(entries), sizeof entries);
        QCOMPARE(::setxattr(name.constData(), "system.posix_acl_access", list.constData(),
                            size_t(list.size()), 0),
                 0);
        if (byNobody) {
            const QByteArray label("etiqueta");
            QCOMPARE(::setxattr(name.constData(), "security.zendral", label.constData(),
                                size_t(label.size()), 0),
                     0);
            QCOMPARE(::chown(native(dir.path()).constData(), nobody->pw_uid, nobody->pw_gid), 0);
            QCOMPARE(::chown(name.constData(), nobody->pw_uid, nobody->pw_gid), 0);
        }
        struct stat before;
        QCOMPARE(::stat(name.constData(), &before), 0);
        const auto [status, asked] = saveInChild(byNobody ? nobody : nullptr, path, answer);
        const bool replaced = !byNobody || answer;
        QCOMPARE(status, replaced ? 0 : 1);
        QCOMPARE(asked, byNobody
                            ? QStringLiteral("No se pueden conservar los atributos extendidos o "
                                             "la lista de control de acceso (ACL) de \"%1\". "
                                             "Si lo guardas, los perderá y puede que otros "
                                             "usuarios ya no puedan usarlo. ¿Quieres guardarlo "
                                             "igualmente?")
                                  .arg(path)
                            : QString());
        QCOMPARE(readRaw(name), replaced ? QByteArray("despu\xC3\xA9s\r\n") : "antes\r\n");
        struct stat after;
        QCOMPARE(::stat(name.constData(), &after), 0);
        QCOMPARE(after.st_mode, before.st_mode);
        const auto value = [&](const char *attribute) {
            QByteArray read(256, '\0');
            const ssize_t size = ::getxattr(name.constData(), attribute, read.data(), 256);
            return size < 0 ? QByteArray() : read.left(size);
        };
        QCOMPARE(value("user.zendral"), user);
        QCOMPARE(value("system.posix_acl_access"), list);
        QCOMPARE(entryCount(dir.path()), 1);
    }
    void pageOnTheCommandLine_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("page");
        QTest::addColumn<int>("ignored");
        // It was read as the options g, u, i, o, n: ten warnings and nothing opened.
        // clang-format off
        QTest::newRow("a page whose name starts with a dash") << QStringList{"-guion.html"} << "-guion.html" << 0;
        QTest::newRow("the same after --") << QStringList{"--", "-guion.html"} << "-guion.html" << 0;
        QTest::newRow("an option that names no file") << QStringList{"-x", "pagina.html"} << "pagina.html" << 1;
        QTest::newRow("a second page") << QStringList{"pagina.html", "-guion.html"} << "pagina.html" << 1;
        QTest::newRow("nothing") << QStringList{} << "" << 0;
        // clang-format on
    }
    void pageOnTheCommandLine()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, page);
        QFETCH(int, ignored);
        QTemporaryDir dir;
        QFile(dir.filePath(QStringLiteral("-guion.html"))).open(QIODevice::WriteOnly);
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(dir.path()));
        const PageArgument argument = pageArgument(QStringList{"zendral"} + arguments);
        QDir::setCurrent(before);
        QCOMPARE(argument.path, page.isEmpty() ? QString() : dir.filePath(page));
        QCOMPARE(argument.ignored.size(), ignored);
    }
};

QTEST_GUILESS_MAIN(TestDocumentFile)
#include "tst_documentfile.moc"
