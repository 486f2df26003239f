#include "clipboard.h"
#include "documentcontroller.h"
#include "editingsurface.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>

using namespace zendral;
using namespace zendral::test;

namespace {

using Fixture = WindowFixture;
const QString Inicio = DocumentController::PlantillaInicio();
const QString Nueva = DocumentController::PlantillaNueva();

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void startUp();
    void widgetsAndTabsHaveTheirNames();
    void menusInOrder();
    void oneClickTags_data();
    void oneClickTags();
    void nonBreakingSpaceIsBold();
    void clipboardCommands();
    void newAsksThenReplaces_data();
    void newAsksThenReplaces();
    void opening_data();
    void opening();
    void saveAndSaveAs();
    void closing_data();
    void closing();
    void drops_data();
    void drops();
};

void TestMainWindow::init()
{
    QGuiApplication::clipboard()->clear();
}

void TestMainWindow::startUp()
{
    Fixture f;
    QCOMPARE(f.window.objectName(), u"principal"_qs);
    QCOMPARE(f.window.windowTitle(), u"  Zendral"_qs);
    QCOMPARE(f.text1.text(), Inicio);
    QCOMPARE(f.text1.selectionStart(), Inicio.size());
    for (qint64 i = 0; i < Inicio.size(); ++i) {
        if (Inicio.at(i) != u'\r' && Inicio.at(i) != u'\n')
            QCOMPARE(f.text1.colourAt(i), colours::Blue);
    }
    QCOMPARE(f.text1.insertionColour(), colours::Black);
    for (const char *name : {"mn_copiar", "mn_cortar", "mn_pegar"})
        QVERIFY2(!f.window.command(QLatin1String(name))->isEnabled(), name);
}

void TestMainWindow::widgetsAndTabsHaveTheirNames()
{
    Fixture f;
    for (const char *name : {"text1", "tab1", "SSTab1", "lbltamano", "lblmodem", "lbladsl"})
        QVERIFY2(f.window.findChild<QWidget *>(QLatin1String(name)), name);
    auto *tabs = f.window.findChild<QTabWidget *>(u"tab1"_qs);
    QCOMPARE(tabs->tabText(0), u"HTML"_qs);
    QCOMPARE(tabs->tabText(1), u"ASP"_qs);
    QCOMPARE(tabs->tabText(2), u"JavaScript"_qs);
    auto *documents = f.window.findChild<QTabWidget *>(u"SSTab1"_qs);
    QCOMPARE(documents->tabText(0), u"Código"_qs);
    QCOMPARE(documents->tabText(1), u"Previsualización"_qs);
}

void TestMainWindow::menusInOrder()
{
    Fixture f;
    QStringList titles;
    for (QAction *action : f.window.menuBar()->actions())
        titles.append(action->text());
    QCOMPARE(titles, QStringList({u"&Archivo"_qs, u"&Edición"_qs, u"&Página"_qs, u"E&tiquetas"_qs,
                                  u"A&yuda"_qs}));
    auto *html = f.window.findChild<QMenu *>(u"mn_html"_qs);
    QStringList entries;
    for (QAction *action : html->actions())
        entries.append(action->text());
    QCOMPARE(entries,
             QStringList({u"Body"_qs, u"Celda"_qs, u"Cursíva"_qs, u"Div"_qs, u"Enlace"_qs,
                          u"Espacio"_qs, u"Fuente"_qs, u"Iframe"_qs, u"Negrita"_qs, u"Párrafo"_qs,
                          u"Salto de línea"_qs, u"Subrayado"_qs, u"Tabla"_qs}));
}

void TestMainWindow::oneClickTags_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("before");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QString>("after");
    QTest::addColumn<int>("colour");
    QTest::addColumn<int>("finalCaret");
    const int none = -1;
    QTest::newRow("bold on an empty page")
        << u"mn_negrita"_qs << u""_qs << 0 << u"<b>  </b>"_qs << int(colours::Blue) << 4;
    QTest::newRow("bold mid-page puts the caret 5 before the end")
        << u"mn_negrita"_qs << u"abcdef"_qs << 3 << u"abc<b>  </b>def"_qs << int(colours::Blue)
        << 10;
    QTest::newRow("italic") << u"mn_cursiva"_qs << u""_qs << 0 << u"<i>  </i>"_qs
                            << int(colours::Blue) << 4;
    QTest::newRow("underline") << u"mn_subrayado"_qs << u""_qs << 0 << u"<u>  </u>"_qs
                               << int(colours::Blue) << 4;
    QTest::newRow("paragraph") << u"mn_parrafo"_qs << u""_qs << 0 << u"<p>  </p>"_qs
                               << int(colours::Blue) << 4;
    QTest::newRow("line break keeps the caret after it")
        << u"mn_br"_qs << u"xy"_qs << 1 << u"x<br>y"_qs << int(colours::Blue) << 5;
    QTest::newRow("server block") << u"mn_aperturaasp"_qs << u""_qs << 0
                                  << u"<%\r\n\r\n\r\n\r\n%>"_qs << int(colours::Red) << 4;
    QTest::newRow("script block in the colour in force")
        << u"mn_aperturajs"_qs << u""_qs << 0
        << u"\r\n<script languaje=javascript>\r\n\r\n\r\n\r\n</script>"_qs << none << 36;
}

void TestMainWindow::oneClickTags()
{
    QFETCH(QString, command);
    QFETCH(QString, before);
    QFETCH(int, caret);
    QFETCH(QString, after);
    QFETCH(int, colour);
    QFETCH(int, finalCaret);
    Fixture f;
    f.text1.setText(before);
    f.text1.setSelectionStart(caret);
    f.trigger(qPrintable(command));
    QCOMPARE(f.text1.text(), after);
    QCOMPARE(f.text1.selectionStart(), finalCaret);
    QCOMPARE(f.text1.selectionLength(), 0);
    const Colour expected = colour < 0 ? colours::Black : Colour(colour);
    QCOMPARE(f.text1.colourAt(caret + (command == u"mn_aperturajs" ? 2 : 0)), expected);
    // What the user types next is black.
    QCOMPARE(f.text1.insertionColour(), colours::Black);
}

void TestMainWindow::nonBreakingSpaceIsBold()
{
    Fixture f;
    f.text1.setText(u"ab"_qs);
    f.text1.setSelectionStart(1);
    f.trigger("mn_espacio");
    QCOMPARE(f.text1.text(), u"a&nbsp;b"_qs);
    QCOMPARE(f.text1.selectionStart(), 7);
    for (int i = 1; i < 7; ++i)
        QVERIFY(f.text1.boldAt(i));
    QVERIFY(!f.text1.boldAt(0));
    QVERIFY(!f.text1.boldAt(7));
    QVERIFY(!f.text1.insertionBold());
}

void TestMainWindow::clipboardCommands()
{
    Fixture f;
    QAction *copy = f.window.command(u"mn_copiar"_qs);
    QAction *cut = f.window.command(u"mn_cortar"_qs);
    QAction *paste = f.window.command(u"mn_pegar"_qs);
    f.text1.setText(u"hola mundo"_qs);
    f.text1.setSelectionStart(5);
    f.text1.setSelectionLength(5);
    QVERIFY(copy->isEnabled() && cut->isEnabled());
    cut->trigger();
    QCOMPARE(f.text1.text(), u"hola "_qs);
    QCOMPARE(QGuiApplication::clipboard()->text(), u"mundo"_qs);
    QVERIFY(!copy->isEnabled() && !cut->isEnabled());
    QTRY_VERIFY(paste->isEnabled());
    // Pasted text takes the insertion colour, not its old one.
    f.text1.setInsertionColour(colours::Purple);
    paste->trigger();
    QCOMPARE(f.text1.text(), u"hola mundo"_qs);
    QCOMPARE(f.text1.colourAt(7), colours::Purple);
    f.text1.setSelectionStart(0);
    f.text1.setSelectionLength(4);
    copy->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), u"hola"_qs);
    QGuiApplication::clipboard()->clear();
    QTRY_VERIFY(!paste->isEnabled());
}

void TestMainWindow::newAsksThenReplaces_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<bool>("chooseName");
    QTest::newRow("no") << false << false;
    QTest::newRow("yes, save dialog cancelled") << true << false;
    QTest::newRow("yes, saved") << true << true;
}

void TestMainWindow::newAsksThenReplaces()
{
    QFETCH(bool, answer);
    QFETCH(bool, chooseName);
    QTemporaryDir dir;
    const QString path = dir.filePath(u"viejo.html"_qs);
    Fixture f;
    f.prompts.answers.enqueue(answer);
    f.chooser.paths.enqueue(chooseName ? path : QString());
    f.trigger("mn_nuevo");
    QCOMPARE(f.prompts.questions, QStringList(u"¿Quieres guardar el archivo actual?"_qs));
    QCOMPARE(f.text1.text(), Nueva);
    QCOMPARE(f.text1.selectionStart(), Nueva.size());
    QCOMPARE(f.window.windowTitle(), u"  Zendral"_qs);
    QVERIFY(f.window.document().state().archivoActual.isEmpty());
    QCOMPARE(QFile::exists(path), chooseName);
    if (chooseName) {
        QCOMPARE(fileBytes(path), (Inicio + u"\r\n"_qs).toUtf8());
        QCOMPARE(f.chooser.requests.first().title, u"Guardar archivo como..."_qs);
        QVERIFY(f.chooser.requests.first().confirmOverwrite);
    }
}

void TestMainWindow::opening_data()
{
    QTest::addColumn<bool>("byCommand");
    // The file chosen or given; empty: the dialog was cancelled.
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("exists");
    QTest::newRow("Open, existing file") << true << u"pagina.html"_qs << true;
    QTest::newRow("Open, missing file") << true << u"desaparecido.html"_qs << false;
    QTest::newRow("Open, dialog cancelled") << true << QString() << false;
    QTest::newRow("given path, existing file") << false << u"pagina.html"_qs << true;
    QTest::newRow("given path, missing file") << false << u"pagina.html"_qs << false;
}

void TestMainWindow::opening()
{
    QFETCH(bool, byCommand);
    QFETCH(QString, name);
    QFETCH(bool, exists);
    QTemporaryDir dir;
    const QString path = name.isEmpty() ? QString() : dir.filePath(name);
    if (exists)
        writeBytes(path, "<p>a</p>\r\nb");
    Fixture f;
    if (byCommand) {
        f.text1.setText(u"mi texto"_qs);
        f.prompts.answers.enqueue(false);
        f.trigger(u"mn_abrir"_qs, path);
        const FileRequest &request = f.chooser.requests.first();
        QCOMPARE(request.title, u"Abrir archivo"_qs);
        QCOMPARE(int(request.mode), int(FileRequest::Mode::Open));
        QCOMPARE(request.filter, u"Archivos HTML (*.html)|*.html|Archivos HTM "
                                 "(*.htm)|*.htm|Archivos ASP (*.asp)|*.asp"_qs);
    } else {
        f.window.document().abrirRuta(path);
        // No save question and no file dialog: the path is the one given.
        QVERIFY(f.prompts.questions.isEmpty());
        QVERIFY(f.chooser.requests.isEmpty());
    }
    const EstadoDocumento &state = f.window.document().state();
    if (exists) {
        QCOMPARE(f.text1.text(), u"<p>a</p>\r\nb\r\n"_qs);
        // Loaded pages are coloured at once.
        QCOMPARE(f.text1.colourAt(1), colours::Blue);
        QCOMPARE(f.text1.colourAt(3), colours::Black);
        QCOMPARE(f.window.windowTitle(), u"Zendral - ["_qs + path + u']');
        QCOMPARE(state.archivoActual, path);
        QCOMPARE(state.rutaAbrir, path);
        QCOMPARE(state.carpetaActual, dir.path() + u'/');
        QVERIFY(state.archivoGuardado.isEmpty());
        QVERIFY(f.prompts.notices.isEmpty());
    } else {
        // The document stays as it was, coloured as before; a missing file is told.
        QCOMPARE(f.text1.text(), byCommand ? u"mi texto"_qs : Inicio);
        QCOMPARE(f.text1.colourAt(1), byCommand ? colours::Black : colours::Blue);
        QCOMPARE(f.prompts.notices.size(), name.isEmpty() ? 0 : 1);
        if (!name.isEmpty())
            QVERIFY(f.prompts.notices.first().contains(name));
        QCOMPARE(f.window.windowTitle(), u"  Zendral"_qs);
        QVERIFY(state.archivoActual.isEmpty());
        QVERIFY(state.rutaAbrir.isEmpty());
    }
    // The next Open starts from the loaded path, or from nothing.
    f.prompts.answers.enqueue(false);
    f.trigger(u"mn_abrir"_qs);
    QCOMPARE(f.chooser.requests.last().fileName, exists ? path : QString());
}

void TestMainWindow::saveAndSaveAs()
{
    QTemporaryDir dir;
    const QString first = dir.filePath(u"uno.html"_qs);
    const QString second = dir.filePath(u"dos.asp"_qs);
    Fixture f;
    const EstadoDocumento &state = f.window.document().state();

    // Untitled, dialog cancelled: nothing written, yet Save has run.
    f.trigger("mn_guardar");
    QVERIFY(state.guardado);
    QVERIFY(state.archivoGuardado.isEmpty());

    f.chooser.paths.enqueue(first);
    f.trigger("mn_guardar");
    QCOMPARE(fileBytes(first), (Inicio + u"\r\n"_qs).toUtf8());
    QCOMPARE(state.archivoGuardado, first);
    QCOMPARE(state.carpetaActual, dir.path() + u"/"_qs);

    // Titled: in place, no dialog. Every save adds one CR LF after the text.
    f.text1.setText(u"x"_qs);
    QVERIFY(state.archivoGuardado.isEmpty());
    const qsizetype dialogs = f.chooser.requests.size();
    f.trigger("mn_guardar");
    QCOMPARE(f.chooser.requests.size(), dialogs);
    QCOMPARE(fileBytes(first), QByteArray("x\r\n"));

    f.chooser.paths.enqueue(second);
    f.trigger("mn_guardarcomo");
    QCOMPARE(fileBytes(second), QByteArray("x\r\n"));
    QCOMPARE(state.archivoActual, second);
    QCOMPARE(state.archivoGuardado, second);
    QCOMPARE(f.window.windowTitle(), u"  Zendral"_qs);

    // A cancelled Save As keeps the document's name.
    f.trigger("mn_guardarcomo");
    QCOMPARE(state.archivoActual, second);
}

void TestMainWindow::closing_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("closes");
    QTest::newRow("no closes without writing") << false << QString() << true;
    QTest::newRow("yes and saved closes") << true << u"cierre.html"_qs << true;
    QTest::newRow("yes then cancelled stays open") << true << QString() << false;
}

void TestMainWindow::closing()
{
    QFETCH(bool, answer);
    QFETCH(QString, name);
    QFETCH(bool, closes);
    // A failed write on closing is tst_savefaults'.
    QTemporaryDir dir;
    Fixture f;
    f.window.show();
    f.prompts.answers.enqueue(answer);
    f.chooser.paths.enqueue(name.isEmpty() ? QString() : dir.filePath(name));
    QCOMPARE(f.window.close(), closes);
    if (name == u"cierre.html")
        QCOMPARE(fileBytes(dir.filePath(name)), (Inicio + u"\r\n"_qs).toUtf8());
}

void TestMainWindow::drops_data()
{
    QTest::addColumn<bool>("onSurface");
    QTest::addColumn<QString>("name");
    QTest::newRow("page on the window") << false << u"soltada.html"_qs;
    QTest::newRow("page on the editing surface") << true << u"soltada.html"_qs;
    QTest::newRow("picture on the editing surface") << true << u"foto.jpg"_qs;
    QTest::newRow("picture on the window goes to the caret") << false << u"foto.jpg"_qs;
}

void TestMainWindow::drops()
{
    QFETCH(bool, onSurface);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    writeBytes(dir.filePath(u"soltada.html"_qs), "<b>x</b>");
    writeBytes(dir.filePath(u"foto.jpg"_qs), jpegBytes(120, 45));
    Fixture f;
    f.window.show();
    // A picture goes only into a saved page.
    f.text1.setText(u"<p></p>"_qs);
    f.chooser.paths.enqueue(dir.filePath(u"actual.html"_qs));
    f.trigger("mn_guardar");
    f.text1.setSelectionStart(3);
    f.prompts.answers.enqueue(false);

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    QTextCursor caret(f.text1.document());
    caret.setPosition(3);
    QWidget *target = onSurface ? f.text1.viewport() : &f.window;
    const QPoint point = onSurface ? f.text1.cursorRect(caret).center() : QPoint(5, 5);
    QDragEnterEvent enter(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(point, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());

    if (name.endsWith(u".jpg")) {
        QTRY_COMPARE(f.text1.text(), u"<p><img src=\"foto.jpg\" width=\"120\" "
                                     "height=\"45\" border=\"0\" alt=\"\"></p>"_qs);
        QCOMPARE(f.text1.colourAt(3), colours::Purple);
        QVERIFY(f.prompts.questions.isEmpty());
        QCOMPARE(f.window.windowTitle(), u"  Zendral"_qs);
        return;
    }
    QTRY_COMPARE(f.text1.text(), u"<b>x</b>\r\n"_qs);
    QCOMPARE(f.prompts.questions, QStringList(u"¿Quieres guardar el archivo actual?"_qs));
    QCOMPARE(f.text1.colourAt(1), colours::Blue);
    QCOMPARE(f.window.windowTitle(), u"Zendral - ["_qs + path + u"]"_qs);
    QCOMPARE(f.window.document().state().archivoActual, path);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
