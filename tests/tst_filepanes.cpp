#include "documentcontroller.h"
#include "editingsurface.h"
#include "fileactivation.h"
#include "filepanes.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QImage>
#include <QImageReader>
#include <QListView>
#include <QTemporaryDir>
#include <QTest>

using namespace zendral;
using namespace zendral::test;

namespace {

// Qt writes no GIF, so the test writes its own: every pixel is its own LZW code after a
// clear code, which keeps every code three bits wide.
QByteArray gifOfSize(int width, int height)
{
    QByteArray gif("GIF89a");
    const auto word = [&gif](int value) {
        gif.append(char(value & 0xFF));
        gif.append(char((value >> 8) & 0xFF));
    };
    word(width);
    word(height);
    gif.append(char(0x81)); // a global table of four colours
    gif.append(char(0));
    gif.append(char(0));
    gif.append(QByteArray("\x00\x00\x00\xFF\x00\xFF\xFF\xFF\xFF\x00\x00\x00", 12));
    gif.append(',');
    word(0);
    word(0);
    word(width);
    word(height);
    gif.append(char(0));
    gif.append(char(2)); // minimum code size

    QByteArray codes;
    quint32 buffer = 0;
    int bits = 0;
    const auto put = [&](quint32 code) {
        buffer |= code << bits;
        bits += 3;
        while (bits >= 8) {
            codes.append(char(buffer & 0xFF));
            buffer >>= 8;
            bits -= 8;
        }
    };
    for (int pixel = 0; pixel < width * height; ++pixel) {
        put(4); // clear
        put(pixel % 2);
    }
    put(5); // end of information
    if (bits > 0)
        codes.append(char(buffer & 0xFF));
    for (qsizetype at = 0; at < codes.size(); at += 255) {
        const QByteArray block = codes.mid(at, 255);
        gif.append(char(block.size()));
        gif.append(block);
    }
    gif.append(char(0));
    gif.append(';');
    return gif;
}

// The document engine alone, over scripted prompts and file dialogs.
struct Document
{
    FakePrompts prompts;
    FakeFileChooser chooser;
    EditingSurface text1;
    DocumentController document{text1, prompts, chooser};
    int colourings = 0;
    FileActivation activation{text1, document, prompts};
    QString title;

    Document()
    {
        document.setColouring([this] { ++colourings; });
        QObject::connect(&document, &DocumentController::titleChanged,
                         [this](const QString &shown) { title = shown; });
    }
};

QString tag(const QString &src, int width, int height)
{
    return u"<img src=\"%1\" width=\"%2\" height=\"%3\" border=\"0\" alt=\"\">"_qs.arg(src)
        .arg(width)
        .arg(height);
}

} // namespace

class TestFilePanes : public QObject
{
    Q_OBJECT

private slots:
    void imageSource_data();
    void imageSource();
    void imageInsertion_data();
    void imageInsertion();
    void pageOpening_data();
    void pageOpening();
    void doubleClickInTheFileList();
    void volumesAndFolders();
};

void TestFilePanes::imageSource_data()
{
    QTest::addColumn<QString>("carpeta");
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("source");
    QTest::newRow("image beside the document: bare name")
        << u"/web/"_qs << u"/web/logo.gif"_qs << u"logo.gif"_qs;
    QTest::newRow("image in a subfolder: subfolder/name")
        << u"/web/"_qs << u"/web/img/logo.gif"_qs << u"img/logo.gif"_qs;
    QTest::newRow("image elsewhere: full path")
        << u"/web/"_qs << u"/otros/logo.gif"_qs << u"/otros/logo.gif"_qs;
    QTest::newRow("folder in other letter case: full path")
        << u"/Web/"_qs << u"/web/img/logo.gif"_qs << u"/web/img/logo.gif"_qs;
    QTest::newRow("no folder yet: full path")
        << u""_qs << u"/web/logo.gif"_qs << u"/web/logo.gif"_qs;
    QTest::newRow("folder from the pane, no trailing separator")
        << u"/web"_qs << u"/web/img/logo.gif"_qs << u"img/logo.gif"_qs;
    // Removing the folder's text wherever it occurred cut these apart.
    QTest::newRow("folder name repeated deeper is kept")
        << u"/web/"_qs << u"/web/img/web/logo.gif"_qs << u"img/web/logo.gif"_qs;
    QTest::newRow("sibling folder sharing the name's start: full path")
        << u"/web"_qs << u"/website/logo.gif"_qs << u"/website/logo.gif"_qs;
}

void TestFilePanes::imageSource()
{
    QFETCH(QString, carpeta);
    QFETCH(QString, path);
    QFETCH(QString, source);
    QCOMPARE(FileActivation::imageSource(path, carpeta), source);
}

void TestFilePanes::imageInsertion_data()
{
    QTest::addColumn<QString>("saveWith");
    QTest::addColumn<QString>("image");
    QTest::addColumn<QString>("inserted");
    QTest::addColumn<QString>("notice");

    QTest::newRow("gif in a subfolder after Save")
        << u"mn_guardar"_qs << u"img/logo.gif"_qs << tag("img/logo.gif", 88, 31) << u""_qs;
    QTest::newRow("jpg beside the page after Save")
        << u"mn_guardar"_qs << u"foto.jpg"_qs << tag("foto.jpg", 120, 45) << u""_qs;
    QTest::newRow("after Save As only")
        << u"mn_guardarcomo"_qs << u"img/logo.gif"_qs << u""_qs << FileActivation::GuardarPrimero();
    QTest::newRow("before any save")
        << u""_qs << u"foto.jpg"_qs << u""_qs << FileActivation::GuardarPrimero();
    QTest::newRow("picture that cannot be read")
        << u"mn_guardar"_qs << u"roto.gif"_qs << u""_qs
        << u"No se pudo leer la imagen \"%1/roto.gif\": no es una imagen GIF ni JPEG."_qs;
    QTest::newRow("picture gone from the disk")
        << u"mn_guardar"_qs << u"borrada.jpg"_qs << u""_qs
        << u"No se pudo leer la imagen \"%1/borrada.jpg\": el archivo no existe."_qs;
}

void TestFilePanes::imageInsertion()
{
    QFETCH(QString, saveWith);
    QFETCH(QString, image);
    QFETCH(QString, inserted);
    QFETCH(QString, notice);

    QTemporaryDir dir;
    writeBytes(dir.filePath(u"img/logo.gif"_qs), gifOfSize(88, 31));
    writeBytes(dir.filePath(u"foto.jpg"_qs), jpegBytes(120, 45));
    writeBytes(dir.filePath(u"roto.gif"_qs), "no soy una imagen");

    WindowFixture f;
    EditingSurface &text1 = f.text1;
    text1.setText(u"<p></p>"_qs);
    if (!saveWith.isEmpty())
        f.trigger(saveWith, dir.filePath(u"pagina.html"_qs));
    text1.setSelectionStart(3);

    const QString path = dir.filePath(image);
    FakePrompts &prompts = f.prompts;
    FileActivation activation(text1, f.window.document(), prompts);
    activation.activate(QFileInfo(path).absolutePath(), QFileInfo(path).fileName());

    if (inserted.isEmpty()) {
        QCOMPARE(text1.text(), u"<p></p>"_qs);
        QCOMPARE(prompts.notices,
                 QStringList(notice.contains(u'%') ? notice.arg(dir.path()) : notice));
        return;
    }
    QVERIFY(prompts.notices.isEmpty());
    QCOMPARE(text1.text(), u"<p>"_qs + inserted + u"</p>"_qs);
    for (qint64 at = 3; at < 3 + inserted.size(); ++at)
        QCOMPARE(text1.colourAt(at), colours::Purple);
    // The purple stays in force for what is typed next.
    QCOMPARE(text1.insertionColour(), colours::Purple);
    QCOMPARE(text1.selectionStart(), 3 + inserted.size());
}

void TestFilePanes::pageOpening_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");

    QTest::newRow("page") << "pagina.html" << QByteArray("<b>hola</b>\r\nadios")
                          << "<b>hola</b>\r\nadios\r\n";
    QTest::newRow("server page") << "datos.asp" << QByteArray("<% x %>") << "<% x %>\r\n";
    QTest::newRow("picture named in capitals is read as a page")
        << "FOTO.JPG" << QByteArray("\xFF\xD8texto") << "\u00FF\u00D8texto\r\n";
    QTest::newRow("page gone from the disk: the document stays")
        << "desaparecida.html" << QByteArray() << QString();
}

void TestFilePanes::pageOpening()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);

    QTemporaryDir dir;
    if (!text.isEmpty())
        writeBytes(dir.filePath(name), bytes);
    Document d;
    d.document.state().archivoActual = u"/antes/pagina.html"_qs;
    d.document.state().carpetaActual = u"/antes/"_qs;
    d.text1.setText(u"anterior"_qs);
    d.activation.activate(dir.path(), name);
    if (text.isEmpty()) {
        QCOMPARE(d.text1.text(), u"anterior"_qs);
        QCOMPARE(d.prompts.notices.size(), 1);
        QVERIFY(d.prompts.notices.first().startsWith(u"No se pudo leer el archivo"_qs));
        QVERIFY(d.title.isEmpty());
        QCOMPARE(d.document.state().carpetaActual, u"/antes/"_qs);
        return;
    }

    QCOMPARE(d.prompts.questions, QStringList(u"¿Quieres guardar el archivo actual?"_qs));
    QCOMPARE(d.text1.text(), text);
    QCOMPARE(d.title, u"Zendral - ["_qs + dir.filePath(name) + u']');
    const EstadoDocumento &state = d.document.state();
    // The page counts as untitled: Save asks for a name.
    QVERIFY(state.archivoActual.isEmpty());
    QCOMPARE(state.carpetaActual, dir.path());
    QVERIFY(state.rutaAbrir.isEmpty());
    QVERIFY(!state.guardado);
    QCOMPARE(d.colourings, 1);
    QVERIFY(d.prompts.notices.isEmpty());
}

void TestFilePanes::doubleClickInTheFileList()
{
    QTemporaryDir dir;
    writeBytes(dir.filePath(u"pagina.htm"_qs), "<p>uno</p>");
    writeBytes(dir.filePath(u"logo.gif"_qs), gifOfSize(88, 31));
    writeBytes(dir.filePath(u"notas.txt"_qs), "fuera del filtro");

    WindowFixture f;
    f.showAndWait();
    MainWindow &window = f.window;
    auto *panes = window.findChild<FilePanes *>();
    QVERIFY(panes->setFolderPath(dir.path()));
    QCOMPARE(panes->folderPath(), dir.path());

    auto *archivos = window.findChild<QListView *>(u"archivos"_qs);
    auto *model = qobject_cast<QFileSystemModel *>(archivos->model());
    QTRY_COMPARE(model->rowCount(archivos->rootIndex()), 2);
    const auto doubleClick = [&](const QString &name) {
        const QModelIndex index = model->index(dir.filePath(name));
        QVERIFY(index.isValid());
        archivos->scrollTo(index);
        // The list lays its items out after the model has them.
        QTRY_VERIFY(archivos->viewport()->rect().contains(archivos->visualRect(index)));
        // A real double-click starts with a click: the list acts only on the row pressed.
        const QPoint centre = archivos->visualRect(index).center();
        QTest::mouseClick(archivos->viewport(), Qt::LeftButton, {}, centre);
        QTest::mouseDClick(archivos->viewport(), Qt::LeftButton, {}, centre);
    };

    doubleClick(u"pagina.htm"_qs);
    QCOMPARE(window.surface().text(), u"<p>uno</p>\r\n"_qs);
    QCOMPARE(window.windowTitle(), u"Zendral - ["_qs + dir.filePath(u"pagina.htm"_qs) + u']');
    QCOMPARE(window.surface().colourAt(1), colours::Blue);

    f.trigger(u"mn_guardar"_qs, dir.filePath(u"pagina.htm"_qs));
    QCOMPARE(f.chooser.requests.size(), 1);
    window.surface().setSelectionStart(0);
    doubleClick(u"logo.gif"_qs);
    QCOMPARE(window.surface().text(), tag(u"logo.gif"_qs, 88, 31) + u"<p>uno</p>\r\n"_qs);
}

void TestFilePanes::volumesAndFolders()
{
    FilePanes panes;
    auto *unidades = panes.findChild<QComboBox *>(u"unidades"_qs);
    QVERIFY(unidades->count() >= 1);
    QCOMPARE(unidades->itemData(0).toString(), QDir::rootPath());

    QTemporaryDir dir;
    QVERIFY(panes.setFolderPath(dir.path()));
    // A folder that is not there leaves the list where it was.
    QVERIFY(!panes.setFolderPath(dir.filePath(u"no-existe"_qs)));
    QCOMPARE(panes.folderPath(), dir.path());
    unidades->setCurrentIndex(-1);
    unidades->setCurrentIndex(0);
    QCOMPARE(panes.folderPath(), QDir::rootPath());
}

QTEST_MAIN(TestFilePanes)
#include "tst_filepanes.moc"
