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
    return u"<img src=\""_qs + src +
           u"\" width=\"%1\" height=\"%2\" border=\"0\" alt=\"\">"_qs.arg(width).arg(height);
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
    const QString guardar = u"mn_guardar"_qs;
    const auto inPage = [](const QString &source, int width, int height) {
        return u"<p>"_qs + tag(source, width, height) + u"</p>"_qs;
    };
    QTest::newRow("gif in a subfolder after Save")
        << guardar << u"-"_qs << u"img/logo.gif"_qs << inPage(u"img/logo.gif"_qs, 88, 31) << u""_qs;
    QTest::newRow("folder from the pane, no trailing separator")
        << guardar << u"%1"_qs << u"img/logo.gif"_qs << inPage(u"img/logo.gif"_qs, 88, 31)
        << u""_qs;
    QTest::newRow("folder in other letter case: full path")
        << guardar << u"%1/IMG/"_qs << u"img/logo.gif"_qs << inPage(u"%1/img/logo.gif"_qs, 88, 31)
        << u""_qs;
    QTest::newRow("no folder yet: full path")
        << guardar << u""_qs << u"foto.jpg"_qs << inPage(u"%1/foto.jpg"_qs, 120, 45) << u""_qs;
    // Removing the folder's text wherever it occurred cut these apart.
    QTest::newRow("folder name repeated deeper is kept")
        << guardar << u"%1/web/"_qs << u"web/img/web/logo.gif"_qs
        << inPage(u"img/web/logo.gif"_qs, 88, 31) << u""_qs;
    QTest::newRow("sibling folder sharing the name's start: full path")
        << guardar << u"%1/web"_qs << u"website/logo.gif"_qs
        << inPage(u"%1/website/logo.gif"_qs, 88, 31) << u""_qs;
    QTest::newRow("after Save As only")
        << u"mn_guardarcomo"_qs << u"-"_qs << u"img/logo.gif"_qs << u"<p></p>"_qs
        << FileActivation::saveFirstToInsertImages();
    QTest::newRow("picture that cannot be read")
        << guardar << u"-"_qs << u"roto.gif"_qs << u"<p></p>"_qs
        << u"No se pudo leer la imagen \"%1/roto.gif\": no es una imagen GIF ni JPEG."_qs;
    QTest::newRow("picture named in capitals is read as a page")
        << guardar << u"-"_qs << u"FOTO.JPG"_qs << u"\u00FF\u00D8texto\r\n"_qs << u""_qs;
    QTest::newRow("page gone from the disk: the document stays")
        << guardar << u"-"_qs << u"desaparecida.html"_qs << u"<p></p>"_qs
        << u"No se pudo leer el archivo"_qs;
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
    writeBytes(dir.filePath(u"foto.jpg"_qs), jpegBytes(120, 45));
    writeBytes(dir.filePath(u"roto.gif"_qs), "no soy una imagen");
    writeBytes(dir.filePath(u"FOTO.JPG"_qs), "\xFF\xD8texto");

    WindowFixture f;
    f.page().setText(u"<p></p>"_qs);
    if (!saveWith.isEmpty())
        f.trigger(saveWith, dir.filePath(u"pagina.html"_qs));
    if (carpeta != u"-")
        f.window.document().state().carpetaActual = carpeta.replace(u"%1"_qs, dir.path());
    f.page().setSelectionStart(3);
    const QFileInfo path(dir.filePath(file));
    FileActivation(f.page(), f.window.document(), f.prompts)
        .activate(path.absolutePath(), path.fileName());

    QCOMPARE(f.page().text(), page.replace(u"%1"_qs, dir.path()));
    QCOMPARE(f.prompts.notices.size(), notice.isEmpty() ? 0 : 1);
    notice.replace(u"%1"_qs, dir.path());
    QCOMPARE(f.prompts.notices.value(0).left(notice.size()), notice);
    // A picture is purple, and the purple stays in force for what is typed next.
    const bool picture = page.startsWith(u"<p><img"_qs);
    QCOMPARE(f.page().colourAt(4) == colours::Purple, picture);
    QCOMPARE(f.page().insertionColour() == colours::Purple, picture);
}

void TestFilePanes::doubleClickInTheFileList()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath(u"pagina.htm"_qs), "<p>uno</p>");
    writeBytes(dir.filePath(u"logo.gif"_qs), Gif);
    writeBytes(dir.filePath(u"notas.txt"_qs), "fuera del filtro");

    WindowFixture f;
    f.showAndWait();
    QVERIFY(f.window.findChild<FilePanes *>()->setFolderPath(dir.path()));
    auto *archivos = f.window.findChild<QListView *>(u"archivos"_qs);
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

    doubleClick(u"pagina.htm"_qs);
    QCOMPARE(f.page().text(), u"<p>uno</p>\r\n"_qs);
    QCOMPARE(f.window.windowTitle(), u"Zendral - ["_qs + dir.filePath(u"pagina.htm"_qs) + u']');
    QCOMPARE(f.page().colourAt(1), colours::Blue);
    // A page from the pane counts as untitled: Save asks for a name.
    f.trigger(u"mn_guardar"_qs, dir.filePath(u"pagina.htm"_qs));
    QCOMPARE(f.chooser.requests.size(), 1);
    f.page().setSelectionStart(0);
    doubleClick(u"logo.gif"_qs);
    QCOMPARE(f.page().text(), tag(u"logo.gif"_qs, 88, 31) + u"<p>uno</p>\r\n"_qs);
}

void TestFilePanes::volumesAndFolders()
{
    QTemporaryDir dir;
    for (const char *folder : {"a/dentro", "b/dentro", "c"})
        QVERIFY(QDir(dir.path()).mkpath(QLatin1String(folder)));
    FilePanes panes;
    panes.show();
    auto *unidades = child<QComboBox>(&panes, u"unidades"_qs);
    QCOMPARE(unidades->itemData(0).toString(), QDir::rootPath());
    QVERIFY(panes.setFolderPath(dir.path()));
    // A folder that is not there leaves the list where it was.
    QVERIFY(!panes.setFolderPath(dir.filePath(u"no-existe"_qs)));
    QCOMPARE(panes.folderPath(), dir.path());

    // Arrow keys in the folder tree go from folder to folder and expand none.
    auto *tree = child<QTreeView>(&panes, u"carpetas"_qs);
    const QModelIndex top = tree->currentIndex();
    QTRY_COMPARE(tree->model()->rowCount(top), 3);
    // The folders are sorted once all are read.
    QTRY_COMPARE(top.model()->index(1, 0, top).data().toString(), u"b"_qs);
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(panes.folderPath(), dir.filePath(u"a"_qs));
    QTest::keyClick(tree, Qt::Key_Down);
    QCOMPARE(panes.folderPath(), dir.filePath(u"b"_qs));
    QVERIFY(!tree->isExpanded(top.model()->index(0, 0, top)));
    QVERIFY(!tree->isExpanded(tree->currentIndex()));

    unidades->setCurrentIndex(-1);
    unidades->setCurrentIndex(0);
    QCOMPARE(panes.folderPath(), QDir::rootPath());
}

QTEST_MAIN(TestFilePanes)
#include "tst_filepanes.moc"
