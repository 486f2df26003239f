#include "documentcontroller.h"
#include "fileactivation.h"
#include "filepanes.h"
#include "windowfixture.h"

#include <sys/stat.h>

using namespace zendral;
using namespace zendral::test;

// An 88 by 31 picture as far as its header tells; only the header is ever read.
static const QByteArray Gif =
    QByteArray::fromHex("47494638396158001f00800000000000ffffff2c0000000058001f000002012c003b");

class TestFilePanes : public QObject
{
    Q_OBJECT

private slots:
    void activation_data()
    {
        // folder: "-" as Save left it, "=" saved with Save As alone; %1 is the test's folder. The
        // page was "x"; every picture is 88 by 31, its size and border left out here.
        for (const char *column : {"folder", "file", "page", "notice"})
            QTest::addColumn<QString>(column);
        const auto row = [](const char *name, auto... values) {
            (QTest::newRow(name) << ... << QString::fromUtf8(values));
        };
        row("folder from the pane, no separator", "%1", "img/logo.gif",
            "<img src=\"img/logo.gif\">x", "");
        row("folder in other case: full path", "%1/IMG/", "img/logo.gif",
            "<img src=\"%1/img/logo.gif\">x", "");
        row("no folder yet: full path", "", "foto.jpg", "<img src=\"%1/foto.jpg\">x", "");
        // Removing the folder's text wherever it occurred cut these apart.
        row("folder name repeated deeper", "%1/web/", "web/img/web/logo.gif",
            "<img src=\"img/web/logo.gif\">x", "");
        row("sibling sharing the name's start", "%1/web", "website/logo.gif",
            "<img src=\"%1/website/logo.gif\">x", "");
        row("after Save As only", "=", "img/logo.gif", "x",
            "Debes guardar primero el archivo para poder incluír imágenes");
        row("picture that cannot be read", "-", "roto.gif", "x",
            "No se pudo leer la imagen \"%1/roto.gif\": no es una imagen GIF ni JPEG.");
        row("picture named in capitals is read as a page", "-", "FOTO.JPG", "\u00FF\u00D8texto\r\n",
            "");
        row("page gone from the disk: the document stays", "-", "desaparecida.html", "x",
            "No se pudo leer el archivo");
        // Opening it waited for a writer for ever.
        row("pipe named like a picture", "-", "tubo.gif", "x",
            "No se pudo leer la imagen \"%1/tubo.gif\": no es un archivo normal.");
    }

    void activation()
    {
        QFETCH(QString, folder);
        QFETCH(QString, file);
        QFETCH(QString, page);
        QFETCH(QString, notice);
        QTemporaryDir dir;
        for (const char *name : {"img/logo.gif", "web/img/web/logo.gif", "website/logo.gif"})
            writeBytes(dir.filePath(QLatin1String(name)), Gif);
        writeBytes(dir.filePath(QStringLiteral("foto.jpg")), jpegBytes(88, 31));
        writeBytes(dir.filePath(QStringLiteral("roto.gif")), "no soy una imagen");
        writeBytes(dir.filePath(QStringLiteral("FOTO.JPG")), "\xFF\xD8texto");
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("tubo.gif"))), 0600), 0);

        WindowFixture f;
        f.page().setText(QStringLiteral("x"));
        f.trigger(QString::fromLatin1(folder == u"=" ? "mn_guardarcomo" : "mn_guardar"),
                  dir.filePath(QStringLiteral("pagina.html")));
        for (QString *text : {&folder, &page, &notice})
            text->replace(QStringLiteral("%1"), dir.path());
        // The folder of a page double-clicked in the pane after the Save.
        if (folder != u"-" && folder != u"=") {
            f.window.document().openFromPane(folder, dir.filePath(QStringLiteral("pagina.html")));
            page += QStringLiteral("\r\n");
        }
        const QString before = f.page().text();
        FileActivation(f.page(), f.window.document(), f.prompts)
            .activate(QFileInfo(dir.filePath(file)).absolutePath(), QFileInfo(file).fileName());

        QCOMPARE(f.page().text().remove(
                     QStringLiteral(" width=\"88\" height=\"31\" border=\"0\" alt=\"\"")),
                 page);
        QCOMPARE(f.prompts.notices.size(), notice.isEmpty() ? 0 : 1);
        QCOMPARE(f.prompts.notices.value(0).left(notice.size()), notice);
        // A picture is purple, and the purple stays in force for what is typed next.
        const bool picture = page.startsWith(QStringLiteral("<img"));
        QCOMPARE(f.page().colourAt(0) == colours::Purple, picture);
        QCOMPARE(f.page().insertionColour() == colours::Purple, picture);
        // A picture's tag is one step back.
        if (picture) {
            f.trigger(QStringLiteral("btndeshacer"));
            QCOMPARE(f.page().text(), before);
        }
    }

    void pageFromThePaneIsItsFile_data()
    {
        QTest::addColumn<QString>("command");
        // Each took the page for one never saved: a save dialog, a notice to save first.
        QTest::newRow("Guardar writes the page in place") << "mn_guardar";
        QTest::newRow("Visualizar shows the page") << "mn_visualizar";
    }

    void pageFromThePaneIsItsFile()
    {
        QFETCH(QString, command);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("pagina.html"));
        writeBytes(path, "<p>uno</p>");
        WindowFixture f;
        emit f.window.findChild<FilePanes *>()->fileDoubleClicked(dir.path(),
                                                                  QStringLiteral("pagina.html"));
        f.page().setSelectionStart(f.page().textLength());
        f.page().setSelectedText(QStringLiteral("<p>dos</p>"));
        f.trigger(command);

        QCOMPARE(f.chooser.requests.size(), 0);
        QCOMPARE(f.prompts.notices, QStringList());
        QCOMPARE(fileBytes(path), "<p>uno</p>\r\n<p>dos</p>\r\n");
        QCOMPARE(f.opener.opened, command == u"mn_visualizar"
                                      ? QList<QUrl>{QUrl::fromLocalFile(path)}
                                      : QList<QUrl>());
    }

    void fileListAndFolders()
    {
        QTemporaryDir dir;
        for (const char *name : {"pagina.htm", "logo.gif", "notas.txt", "a/dentro/x", "b/dentro/x"})
            writeBytes(dir.filePath(QLatin1String(name)), "<p>uno</p>");
        WindowFixture f;
        f.showAndWait();
        QVERIFY(f.window.findChild<FilePanes *>()->setFolderPath(dir.path()));

        // A real double-click starts with a click: the list acts only on the row pressed.
        auto *archivos = child<QListView>(&f.window, QStringLiteral("archivos"));
        // Persistent: the model sorts the rows again once it has read them all.
        const QPersistentModelIndex index = static_cast<QFileSystemModel *>(archivos->model())
                                                ->index(dir.filePath(QStringLiteral("pagina.htm")));
        QTRY_COMPARE(archivos->model()->rowCount(archivos->rootIndex()), 2);
        QTRY_VERIFY(archivos->viewport()->rect().contains(archivos->visualRect(index)));
        const QPoint centre = archivos->visualRect(index).center();
        QTest::mouseClick(archivos->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(archivos->viewport(), Qt::LeftButton, {}, centre);
        QCOMPARE(f.page().text(), QStringLiteral("<p>uno</p>\r\n"));

        // Arrow keys go from folder to folder, sorted once all are read, and expand none.
        auto *tree = child<QTreeView>(&f.window, QStringLiteral("carpetas"));
        const QModelIndex top = tree->currentIndex();
        QTRY_COMPARE(top.model()->index(1, 0, top).data().toString(), QStringLiteral("b"));
        tree->setFocus();
        QTest::keyClick(tree, Qt::Key_Down);
        QTest::keyClick(tree, Qt::Key_Down);
        QCOMPARE(f.window.findChild<FilePanes *>()->folderPath(),
                 dir.filePath(QStringLiteral("b")));
        QVERIFY(!tree->isExpanded(tree->currentIndex()));

        // A new page's save dialog starts in the pane's folder.
        f.trigger(QStringLiteral("mn_nuevo"));
        f.trigger(QStringLiteral("mn_guardar"), QString());
        QCOMPARE(f.chooser.requests.size(), 1);
        QCOMPARE(f.chooser.requests.first().fileName, QString());
        QCOMPARE(f.chooser.requests.first().folder, dir.filePath(QStringLiteral("b")));
    }
};

QTEST_MAIN(TestFilePanes)
#include "tst_filepanes.moc"
