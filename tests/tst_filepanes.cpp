#include "documentcontroller.h"
#include "fileactivation.h"
#include "filepanes.h"
#include "testsupport.h"

using namespace zendral;
using namespace zendral::test;

namespace {

// An 88 by 31 picture as far as its header tells; only the header is ever read.
const QByteArray Gif("GIF89a\x58\x00\x1F\x00\x80\x00\x00\x00\x00\x00\xFF\xFF\xFF"
                     ",\x00\x00\x00\x00\x58\x00\x1F\x00\x00\x02\x01\x2C\x00;",
                     34);

QString tag(const QString &src, int width, int height)
{
    // Built by hand: the source may hold a "%1" of its own.
    return QStringLiteral("<img src=\"") + src +
           QStringLiteral("\" width=\"%1\" height=\"%2\" border=\"0\" alt=\"\">")
               .arg(width)
               .arg(height);
}

} // namespace

class TestFilePanes : public QObject
{
    Q_OBJECT

private slots:
    void activation_data();
    void activation();
    void doubleClickInTheFileList();
    void volumesAndFolders();
};

void TestFilePanes::activation_data()
{
    QTest::addColumn<QString>("saveWith");
    // The folder the document is in, "-" as the save left it; %1 is the test's folder.
    QTest::addColumn<QString>("carpeta");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("page");
    // The start of the one notice shown; empty: none.
    QTest::addColumn<QString>("notice");
    const QString guardar = QStringLiteral("mn_guardar");
    const auto inPage = [](const QString &source, int width, int height) {
        return QStringLiteral("<p>") + tag(source, width, height) + QStringLiteral("</p>");
    };
    QTest::newRow("gif in a subfolder after Save")
        << guardar << QStringLiteral("-") << QStringLiteral("img/logo.gif")
        << inPage(QStringLiteral("img/logo.gif"), 88, 31) << QStringLiteral("");
    QTest::newRow("folder from the pane, no trailing separator")
        << guardar << QStringLiteral("%1") << QStringLiteral("img/logo.gif")
        << inPage(QStringLiteral("img/logo.gif"), 88, 31) << QStringLiteral("");
    QTest::newRow("folder in other letter case: full path")
        << guardar << QStringLiteral("%1/IMG/") << QStringLiteral("img/logo.gif")
        << inPage(QStringLiteral("%1/img/logo.gif"), 88, 31) << QStringLiteral("");
    QTest::newRow("no folder yet: full path")
        << guardar << QStringLiteral("") << QStringLiteral("foto.jpg")
        << inPage(QStringLiteral("%1/foto.jpg"), 120, 45) << QStringLiteral("");
    // Removing the folder's text wherever it occurred cut these apart.
    QTest::newRow("folder name repeated deeper is kept")
        << guardar << QStringLiteral("%1/web/") << QStringLiteral("web/img/web/logo.gif")
        << inPage(QStringLiteral("img/web/logo.gif"), 88, 31) << QStringLiteral("");
    QTest::newRow("sibling folder sharing the name's start: full path")
        << guardar << QStringLiteral("%1/web") << QStringLiteral("website/logo.gif")
        << inPage(QStringLiteral("%1/website/logo.gif"), 88, 31) << QStringLiteral("");
    QTest::newRow("after Save As only")
        << QStringLiteral("mn_guardarcomo") << QStringLiteral("-") << QStringLiteral("img/logo.gif")
        << QStringLiteral("<p></p>") << FileActivation::saveFirstToInsertImages();
    QTest::newRow("picture that cannot be read")
        << guardar << QStringLiteral("-") << QStringLiteral("roto.gif") << QStringLiteral("<p></p>")
        << QStringLiteral(
               "No se pudo leer la imagen \"%1/roto.gif\": no es una imagen GIF ni JPEG.");
    QTest::newRow("picture named in capitals is read as a page")
        << guardar << QStringLiteral("-") << QStringLiteral("FOTO.JPG")
        << QStringLiteral("\u00FF\u00D8texto\r\n") << QStringLiteral("");
    QTest::newRow("page gone from the disk: the document stays")
        << guardar << QStringLiteral("-") << QStringLiteral("desaparecida.html")
        << QStringLiteral("<p></p>") << QStringLiteral("No se pudo leer el archivo");
}

void TestFilePanes::activation()
{
    QFETCH(QString, saveWith);
    QFETCH(QString, carpeta);
    QFETCH(QString, file);
    QFETCH(QString, page);
    QFETCH(QString, notice);
    QTemporaryDir dir;
    for (const char *name : {"img/logo.gif", "web/img/web/logo.gif", "website/logo.gif"})
        writeBytes(dir.filePath(QLatin1String(name)), Gif);
    writeBytes(dir.filePath(QStringLiteral("foto.jpg")), jpegBytes(120, 45));
    writeBytes(dir.filePath(QStringLiteral("roto.gif")), "no soy una imagen");
    writeBytes(dir.filePath(QStringLiteral("FOTO.JPG")), "\xFF\xD8texto");

    WindowFixture f;
    f.page().setText(QStringLiteral("<p></p>"));
    if (!saveWith.isEmpty())
        f.trigger(saveWith, dir.filePath(QStringLiteral("pagina.html")));
    if (carpeta != u"-")
        f.window.document().state().carpetaActual =
            carpeta.replace(QStringLiteral("%1"), dir.path());
    f.page().setSelectionStart(3);
    const QFileInfo path(dir.filePath(file));
    FileActivation(f.page(), f.window.document(), f.prompts)
        .activate(path.absolutePath(), path.fileName());

    QCOMPARE(f.page().text(), page.replace(QStringLiteral("%1"), dir.path()));
    QCOMPARE(f.prompts.notices.size(), notice.isEmpty() ? 0 : 1);
    notice.replace(QStringLiteral("%1"), dir.path());
    QCOMPARE(f.prompts.notices.value(0).left(notice.size()), notice);
    // A picture is purple, and the purple stays in force for what is typed next.
    const bool picture = page.startsWith(QStringLiteral("<p><img"));
    QCOMPARE(f.page().colourAt(4) == colours::Purple, picture);
    QCOMPARE(f.page().insertionColour() == colours::Purple, picture);
}

void TestFilePanes::doubleClickInTheFileList()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath(QStringLiteral("pagina.htm")), "<p>uno</p>");
    writeBytes(dir.filePath(QStringLiteral("logo.gif")), Gif);
    writeBytes(dir.filePath(QStringLiteral("notas.txt")), "fuera del filtro");

    WindowFixture f;
    f.showAndWait();
    QVERIFY(f.window.findChild<FilePanes *>()->setFolderPath(dir.path()));
    auto *archivos = f.window.findChild<QListView *>(QStringLiteral("archivos"));
    auto *model = qobject_cast<QFileSystemModel *>(archivos->model());
    QTRY_COMPARE(model->rowCount(archivos->rootIndex()), 2);
    const auto doubleClick = [&](const QString &name) {
        const QModelIndex index = model->index(dir.filePath(name));
        archivos->scrollTo(index);
        // The list lays its items out after the model has them.
        QTRY_VERIFY(archivos->viewport()->rect().contains(archivos->visualRect(index)));
        // A real double-click starts with a click: the list acts only on the row pressed.
        const QPoint centre = archivos->visualRect(index).center();
        QTest::mouseClick(archivos->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(archivos->viewport(), Qt::LeftButton, {}, centre);
    };

    doubleClick(QStringLiteral("pagina.htm"));
    QCOMPARE(f.page().text(), QStringLiteral("<p>uno</p>\r\n"));
    QCOMPARE(f.window.windowTitle(),
             QStringLiteral("Zendral - [") + dir.filePath(QStringLiteral("pagina.htm")) + u']');
}

void TestFilePanes::volumesAndFolders()
{
    QTemporaryDir dir;
    for (const char *folder : {"a/dentro", "b/dentro", "c"})
        QVERIFY(QDir(dir.path()).mkpath(QLatin1String(folder)));
    FilePanes panes;
    panes.show();
    auto *unidades = child<QComboBox>(&panes, QStringLiteral("unidades"));
    QCOMPARE(unidades->itemData(0).toString(), QDir::rootPath());
    QVERIFY(panes.setFolderPath(dir.path()));
    // A folder that is not there leaves the list where it was.
    QVERIFY(!panes.setFolderPath(dir.filePath(QStringLiteral("no-existe"))));
    QCOMPARE(panes.folderPath(), dir.path());

    // Arrow keys in the folder tree go from folder to folder and expand none.
    auto *tree = child<QTreeView>(&panes, QStringLiteral("carpetas"));
    const QModelIndex top = tree->currentIndex();
    QTRY_COMPARE(tree->model()->rowCount(top), 3);
    // The folders are sorted once all are read.
    QTRY_COMPARE(top.model()->index(1, 0, top).data().toString(), QStringLiteral("b"));
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(panes.folderPath(), dir.filePath(QStringLiteral("a")));
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(panes.folderPath(), dir.filePath(QStringLiteral("b")));
    QVERIFY(!tree->isExpanded(top.model()->index(0, 0, top)));
    QVERIFY(!tree->isExpanded(tree->currentIndex()));

    unidades->setCurrentIndex(-1);
    unidades->setCurrentIndex(0);
    QCOMPARE(panes.folderPath(), QDir::rootPath());
}

QTEST_MAIN(TestFilePanes)
#include "tst_filepanes.moc"
