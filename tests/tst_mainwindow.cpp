#include "clipboard.h"
#include "commandtable.h"
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

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A main window over scripted prompts and file dialogs.
struct Fixture
{
    FakePrompts prompts;
    FakeFileChooser chooser;
    MainWindow window{MainWindowServices{&prompts, &chooser, nullptr}};
    EditingSurface &text1 = window.surface();

    void trigger(const char *name) { window.command(QLatin1String(name))->trigger(); }
};

const QString Inicio = DocumentController::PlantillaInicio();
const QString Nueva = DocumentController::PlantillaNueva();

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void startUp();
    void everyCommandHasItsNames();
    void menusInOrder();
    void oneClickTags_data();
    void oneClickTags();
    void nonBreakingSpaceIsBold();
    void clipboardCommands();
    void newAsksThenReplaces_data();
    void newAsksThenReplaces();
    void openLoadsColoursAndTitles();
    void openCancelledPutsTheTextBack();
    void openOfAnUnreadableFileKeepsTheDocument();
    void openGivenPath_data();
    void openGivenPath();
    void saveAndSaveAs();
    void saveFailureIsTold();
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
    QCOMPARE(f.window.objectName(), QStringLiteral("principal"));
    QCOMPARE(f.window.windowTitle(), QStringLiteral("  Zendral"));
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

void TestMainWindow::everyCommandHasItsNames()
{
    Fixture f;
    for (const CommandSpec &entry : commandTable()) {
        QAction *action = f.window.findChild<QAction *>(entry.name);
        QVERIFY2(action, qPrintable(entry.name));
        QCOMPARE(action->shortcut(), entry.shortcut);
        if (entry.button.isEmpty())
            continue;
        auto *button = f.window.findChild<QToolButton *>(entry.button);
        QVERIFY2(button, qPrintable(entry.button));
        QCOMPARE(button->defaultAction(), action);
        if (!entry.toolTip.isEmpty())
            QCOMPARE(action->toolTip(), entry.toolTip);
        QVERIFY(!button->accessibleName().isEmpty());
    }
    for (const char *name : {"text1", "tab1", "SSTab1", "lbltamano", "lblmodem", "lbladsl"})
        QVERIFY2(f.window.findChild<QWidget *>(QLatin1String(name)), name);
    auto *tabs = f.window.findChild<QTabWidget *>(QStringLiteral("tab1"));
    QCOMPARE(tabs->tabText(0), QStringLiteral("HTML"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("ASP"));
    QCOMPARE(tabs->tabText(2), QStringLiteral("JavaScript"));
    auto *documents = f.window.findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    QCOMPARE(documents->tabText(0), QStringLiteral("Código"));
    QCOMPARE(documents->tabText(1), QStringLiteral("Previsualización"));
}

void TestMainWindow::menusInOrder()
{
    Fixture f;
    QStringList titles;
    for (QAction *action : f.window.menuBar()->actions())
        titles.append(action->text());
    QCOMPARE(titles, QStringList({u"&Archivo"_qs, u"&Edición"_qs, u"&Página"_qs, u"E&tiquetas"_qs,
                                  u"A&yuda"_qs}));
    auto *html = f.window.findChild<QMenu *>(QStringLiteral("mn_html"));
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
    QTest::newRow("bold on an empty page") << "mn_negrita"
                                           << "" << 0 << "<b>  </b>" << int(colours::Blue) << 4;
    QTest::newRow("bold mid-page puts the caret 5 before the end")
        << "mn_negrita"
        << "abcdef" << 3 << "abc<b>  </b>def" << int(colours::Blue) << 10;
    QTest::newRow("italic") << "mn_cursiva"
                            << "" << 0 << "<i>  </i>" << int(colours::Blue) << 4;
    QTest::newRow("underline") << "mn_subrayado"
                               << "" << 0 << "<u>  </u>" << int(colours::Blue) << 4;
    QTest::newRow("paragraph") << "mn_parrafo"
                               << "" << 0 << "<p>  </p>" << int(colours::Blue) << 4;
    QTest::newRow("line break keeps the caret after it")
        << "mn_br"
        << "xy" << 1 << "x<br>y" << int(colours::Blue) << 5;
    QTest::newRow("server block") << "mn_aperturaasp"
                                  << "" << 0 << "<%\r\n\r\n\r\n\r\n%>" << int(colours::Red) << 4;
    QTest::newRow("script block in the colour in force")
        << "mn_aperturajs"
        << "" << 0 << "\r\n<script languaje=javascript>\r\n\r\n\r\n\r\n</script>" << none << 36;
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
    f.text1.setText(QStringLiteral("ab"));
    f.text1.setSelectionStart(1);
    f.trigger("mn_espacio");
    QCOMPARE(f.text1.text(), QStringLiteral("a&nbsp;b"));
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
    QAction *copy = f.window.command(QStringLiteral("mn_copiar"));
    QAction *cut = f.window.command(QStringLiteral("mn_cortar"));
    QAction *paste = f.window.command(QStringLiteral("mn_pegar"));
    f.text1.setText(QStringLiteral("hola mundo"));
    f.text1.setSelectionStart(5);
    f.text1.setSelectionLength(5);
    QVERIFY(copy->isEnabled() && cut->isEnabled());
    cut->trigger();
    QCOMPARE(f.text1.text(), QStringLiteral("hola "));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("mundo"));
    QVERIFY(!copy->isEnabled() && !cut->isEnabled());
    QTRY_VERIFY(paste->isEnabled());
    // Pasted text takes the insertion colour, not its old one.
    f.text1.setInsertionColour(colours::Purple);
    paste->trigger();
    QCOMPARE(f.text1.text(), QStringLiteral("hola mundo"));
    QCOMPARE(f.text1.colourAt(7), colours::Purple);
    f.text1.setSelectionStart(0);
    f.text1.setSelectionLength(4);
    copy->trigger();
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("hola"));
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
    const QString path = dir.filePath(QStringLiteral("viejo.html"));
    Fixture f;
    f.prompts.answers.enqueue(answer);
    f.chooser.paths.enqueue(chooseName ? path : QString());
    f.trigger("mn_nuevo");
    QCOMPARE(f.prompts.questions, QStringList(u"¿Quieres guardar el archivo actual?"_qs));
    QCOMPARE(f.text1.text(), Nueva);
    QCOMPARE(f.text1.selectionStart(), Nueva.size());
    QCOMPARE(f.window.windowTitle(), QStringLiteral("  Zendral"));
    QVERIFY(f.window.document().state().archivoActual.isEmpty());
    QCOMPARE(QFile::exists(path), chooseName);
    if (chooseName) {
        QCOMPARE(fileBytes(path), (Inicio + QStringLiteral("\r\n")).toUtf8());
        QCOMPARE(f.chooser.requests.first().title, QStringLiteral("Guardar archivo como..."));
        QVERIFY(f.chooser.requests.first().confirmOverwrite);
    }
}

void TestMainWindow::openLoadsColoursAndTitles()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pagina.html"));
    writeBytes(path, "<p>a</p>\r\nb");
    Fixture f;
    f.prompts.answers.enqueue(false);
    f.chooser.paths.enqueue(path);
    f.trigger("mn_abrir");
    QCOMPARE(f.text1.text(), QStringLiteral("<p>a</p>\r\nb\r\n"));
    // Loaded pages are coloured at once.
    QCOMPARE(f.text1.colourAt(1), colours::Blue);
    QCOMPARE(f.text1.colourAt(3), colours::Black);
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Zendral - [") + path + QStringLiteral("]"));
    const EstadoDocumento &state = f.window.document().state();
    QCOMPARE(state.archivoActual, path);
    QCOMPARE(state.rutaAbrir, path);
    QCOMPARE(state.carpetaActual, dir.path() + QStringLiteral("/"));
    QVERIFY(state.archivoGuardado.isEmpty());
    const FileRequest &request = f.chooser.requests.first();
    QCOMPARE(request.title, QStringLiteral("Abrir archivo"));
    QCOMPARE(int(request.mode), int(FileRequest::Mode::Open));
    QCOMPARE(request.filter, QStringLiteral("Archivos HTML (*.html)|*.html|Archivos HTM "
                                            "(*.htm)|*.htm|Archivos ASP (*.asp)|*.asp"));
    // The next Open starts from the loaded path.
    f.prompts.answers.enqueue(false);
    f.trigger("mn_abrir");
    QCOMPARE(f.chooser.requests.last().fileName, path);
}

void TestMainWindow::openCancelledPutsTheTextBack()
{
    Fixture f;
    f.text1.setText(QStringLiteral("mi texto"));
    f.prompts.answers.enqueue(false);
    f.trigger("mn_abrir");
    QCOMPARE(f.text1.text(), QStringLiteral("mi texto"));
    QCOMPARE(f.window.windowTitle(), QStringLiteral("  Zendral"));
}

void TestMainWindow::openOfAnUnreadableFileKeepsTheDocument()
{
    QTemporaryDir dir;
    Fixture f;
    f.text1.setText(QStringLiteral("mi texto"));
    f.prompts.answers.enqueue(false);
    f.chooser.paths.enqueue(dir.filePath(QStringLiteral("desaparecido.html")));
    f.trigger("mn_abrir");
    QCOMPARE(f.text1.text(), QStringLiteral("mi texto"));
    QCOMPARE(f.prompts.notices.size(), 1);
    QVERIFY(f.prompts.notices.first().contains(QStringLiteral("desaparecido.html")));
    QCOMPARE(f.window.windowTitle(), QStringLiteral("  Zendral"));
    QVERIFY(f.window.document().state().archivoActual.isEmpty());
}

void TestMainWindow::openGivenPath_data()
{
    QTest::addColumn<bool>("exists");
    QTest::newRow("existing file") << true;
    QTest::newRow("missing file") << false;
}

void TestMainWindow::openGivenPath()
{
    QFETCH(bool, exists);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("pagina.html"));
    if (exists)
        writeBytes(path, "<p>a</p>\r\nb");
    Fixture f;
    f.window.document().abrirRuta(path);

    // No save question and no file dialog: the path is the one given.
    QVERIFY(f.prompts.questions.isEmpty());
    QVERIFY(f.chooser.requests.isEmpty());
    const EstadoDocumento &state = f.window.document().state();
    if (exists) {
        QCOMPARE(f.text1.text(), QStringLiteral("<p>a</p>\r\nb\r\n"));
        QCOMPARE(f.text1.colourAt(1), colours::Blue);
        QCOMPARE(f.text1.colourAt(3), colours::Black);
        QCOMPARE(f.window.windowTitle(),
                 QStringLiteral("Zendral - [") + path + QStringLiteral("]"));
        QCOMPARE(state.archivoActual, path);
        QCOMPARE(state.rutaAbrir, path);
        QCOMPARE(state.carpetaActual, dir.path() + QStringLiteral("/"));
        QVERIFY(f.prompts.notices.isEmpty());
    } else {
        // The same notice as Open's; the start-up page stays, coloured as before.
        QCOMPARE(f.text1.text(), Inicio);
        QCOMPARE(f.text1.colourAt(1), colours::Blue);
        QCOMPARE(f.prompts.notices.size(), 1);
        QVERIFY(f.prompts.notices.first().contains(QStringLiteral("pagina.html")));
        QCOMPARE(f.window.windowTitle(), QStringLiteral("  Zendral"));
        QVERIFY(state.archivoActual.isEmpty());
        QVERIFY(state.rutaAbrir.isEmpty());
    }
    // The next Open starts from the loaded path, or from nothing.
    f.prompts.answers.enqueue(false);
    f.trigger("mn_abrir");
    QCOMPARE(f.chooser.requests.last().fileName, exists ? path : QString());
}

void TestMainWindow::saveAndSaveAs()
{
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("uno.html"));
    const QString second = dir.filePath(QStringLiteral("dos.asp"));
    Fixture f;
    const EstadoDocumento &state = f.window.document().state();

    // Untitled, dialog cancelled: nothing written, yet Save has run.
    f.trigger("mn_guardar");
    QVERIFY(state.guardado);
    QVERIFY(state.archivoGuardado.isEmpty());

    f.chooser.paths.enqueue(first);
    f.trigger("mn_guardar");
    QCOMPARE(fileBytes(first), (Inicio + QStringLiteral("\r\n")).toUtf8());
    QCOMPARE(state.archivoGuardado, first);
    QCOMPARE(state.carpetaActual, dir.path() + QStringLiteral("/"));

    // Titled: in place, no dialog. Every save adds one CR LF after the text.
    f.text1.setText(QStringLiteral("x"));
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
    QCOMPARE(f.window.windowTitle(), QStringLiteral("  Zendral"));

    // A cancelled Save As keeps the document's name.
    f.trigger("mn_guardarcomo");
    QCOMPARE(state.archivoActual, second);
}

void TestMainWindow::saveFailureIsTold()
{
    QTemporaryDir dir;
    Fixture f;
    f.chooser.paths.enqueue(dir.path()); // a folder where the file should be
    f.trigger("mn_guardar");
    QCOMPARE(f.prompts.notices.size(), 1);
    QVERIFY(f.prompts.notices.first().startsWith(QStringLiteral("No se pudo guardar")));
    QVERIFY(f.window.document().state().archivoGuardado.isEmpty());
    QCOMPARE(f.text1.text(), Inicio);
}

void TestMainWindow::closing_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("closes");
    QTest::newRow("no closes without writing") << false << QString() << true;
    QTest::newRow("yes and saved closes") << true << "cierre.html" << true;
    QTest::newRow("yes then cancelled stays open") << true << QString() << false;
    QTest::newRow("yes then a failed write stays open") << true << "." << false;
}

void TestMainWindow::closing()
{
    QFETCH(bool, answer);
    QFETCH(QString, name);
    QFETCH(bool, closes);
    QTemporaryDir dir;
    Fixture f;
    f.window.show();
    f.prompts.answers.enqueue(answer);
    f.chooser.paths.enqueue(name.isEmpty() ? QString() : dir.filePath(name));
    QCOMPARE(f.window.close(), closes);
    if (name == u"cierre.html")
        QCOMPARE(fileBytes(dir.filePath(name)), (Inicio + QStringLiteral("\r\n")).toUtf8());
}

void TestMainWindow::drops_data()
{
    QTest::addColumn<bool>("onSurface");
    QTest::addColumn<QString>("name");
    QTest::newRow("page on the window") << false << "soltada.html";
    QTest::newRow("page on the editing surface") << true << "soltada.html";
    QTest::newRow("picture on the editing surface") << true << "foto.jpg";
    QTest::newRow("picture on the window goes to the caret") << false << "foto.jpg";
}

void TestMainWindow::drops()
{
    QFETCH(bool, onSurface);
    QFETCH(QString, name);
    QTemporaryDir dir;
    const QString path = dir.filePath(name);
    writeBytes(dir.filePath(QStringLiteral("soltada.html")), "<b>x</b>");
    QImage picture(120, 45, QImage::Format_RGB32);
    picture.fill(Qt::darkCyan);
    QVERIFY(picture.save(dir.filePath(QStringLiteral("foto.jpg")), "JPEG"));
    Fixture f;
    f.window.show();
    // A picture goes only into a saved page.
    f.text1.setText(QStringLiteral("<p></p>"));
    f.chooser.paths.enqueue(dir.filePath(QStringLiteral("actual.html")));
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
        QTRY_COMPARE(f.text1.text(), QStringLiteral("<p><img src=\"foto.jpg\" width=\"120\" "
                                                    "height=\"45\" border=\"0\" alt=\"\"></p>"));
        QCOMPARE(f.text1.colourAt(3), colours::Purple);
        QVERIFY(f.prompts.questions.isEmpty());
        QCOMPARE(f.window.windowTitle(), QStringLiteral("  Zendral"));
        return;
    }
    QTRY_COMPARE(f.text1.text(), QStringLiteral("<b>x</b>\r\n"));
    QCOMPARE(f.prompts.questions,
             QStringList(QStringLiteral("¿Quieres guardar el archivo actual?")));
    QCOMPARE(f.text1.colourAt(1), colours::Blue);
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Zendral - [") + path + QStringLiteral("]"));
    QCOMPARE(f.window.document().state().archivoActual, path);
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
