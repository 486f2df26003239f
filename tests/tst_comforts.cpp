#include "filepanes.h"
#include "mainwindow.h"
#include "testsupport.h"
#include "usersettings.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTreeView>
#include <QWheelEvent>

#include <memory>

using namespace zendral;
using namespace zendral::test;

namespace {

// A shown window whose text has the keyboard, so that shortcuts reach their commands.
struct ShownWindow : WindowFixture
{
    ShownWindow()
    {
        window.show();
        window.activateWindow();
        text1.setFocus();
    }
};

// The height at which the text view shows the line holding position.
int rowOf(EditingSurface &text1, qint64 position)
{
    QTextCursor cursor(text1.document());
    cursor.setPosition(int(text1.toWidgetPosition(position)));
    return text1.cursorRect(cursor).center().y();
}

// The colour the text view shows at the right end of the line holding position.
QColor lineBackground(EditingSurface &text1, qint64 position)
{
    const QImage screen = text1.viewport()->grab().toImage();
    return screen.pixelColor(screen.width() - 3, rowOf(text1, position));
}

// The recent pages as Archivo shows them when opened.
QList<QAction *> recentEntries(MainWindow &window)
{
    auto *archivo = child<QMenu>(&window, u"mn_archivo"_qs);
    archivo->popup(QPoint());
    archivo->close();
    return child<QMenu>(&window, u"mn_recientes"_qs)->actions();
}

QStringList captions(const QList<QAction *> &entries)
{
    QStringList result;
    for (const QAction *entry : entries)
        result.append(entry->text());
    return result;
}

// What a program prints on its standard output, run to its end.
QByteArray outputOf(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0)
        return QByteArray("<failed>");
    return process.readAllStandardOutput();
}

} // namespace

class TestComforts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void newEntriesInPlace();
    void gutterCurrentLineAndWrapping();
    void zoom_data();
    void zoom();
    void viewRememberedForTheNextStart();
    void titleStatusAndPanesFollowThePage();
    void arrowKeysInTheFolderTreeExpandNothing();
    void everyMenuEntryHasItsOwnAccessKey();
    void selectAll();
    void recentPages();
    void printAndPreview();

private:
    QTemporaryDir m_configuration;
};

void TestComforts::initTestCase()
{
    // The real settings, in a folder of the test's own.
    QVERIFY(m_configuration.isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configuration.path()));
}

void TestComforts::init()
{
    userSettings()->clear();
}

void TestComforts::newEntriesInPlace()
{
    WindowFixture f;
    const auto entries = [&](const QString &menu) {
        QStringList result;
        for (QAction *action : child<QMenu>(&f.window, menu)->actions())
            result.append(action->objectName() + u' ' + action->shortcut().toString() +
                          (action->isChecked() ? u" on"_qs : u""_qs));
        return result;
    };
    QCOMPARE(entries(u"mn_archivo"_qs),
             QStringList({u"mn_nuevo Ctrl+N"_qs, u"mn_abrir Ctrl+A"_qs, u"mn_guardar Ctrl+S"_qs,
                          u"mn_guardarcomo "_qs, u"mn_recientes "_qs, u"mn_imprimir Ctrl+P"_qs,
                          u"mn_vistapreviaimpresion "_qs, u"mn_nuevaventana Ctrl+Shift+N"_qs,
                          u"mn_salir "_qs}));
    QCOMPARE(entries(u"mn_edicion"_qs).last(), u"mn_seleccionartodo "_qs);
    QCOMPARE(entries(u"mn_ver"_qs),
             QStringList({u"mn_numeroslinea  on"_qs, u"mn_resaltarlinea  on"_qs,
                          u"mn_ajustarlineas "_qs, u"mn_ampliar Ctrl++"_qs, u"mn_reducir Ctrl+-"_qs,
                          u"mn_tamanonormal Ctrl+0"_qs}));
    const QList<QAction *> bar = f.window.menuBar()->actions();
    QCOMPARE(bar.at(bar.size() - 2)->objectName(), u"mn_ver"_qs);
}

void TestComforts::gutterCurrentLineAndWrapping()
{
    ShownWindow f;
    QVERIFY(QTest::qWaitForWindowExposed(&f.window));
    // The lone LF is shown as a break: three lines on screen, each numbered and highlighted
    // on its own.
    f.text1.setText(u"uno\ndos\r\ntres"_qs);
    f.text1.setSelectionStart(5);
    auto *gutter = child(&f.text1, u"numeroslinea"_qs);
    QVERIFY(gutter->isVisible());
    QCOMPARE(f.text1.viewport()->x(), gutter->width() + f.text1.contentsRect().left());
    const QImage numbers = gutter->grab().toImage();
    for (const qint64 line : {0, 4, 9}) {
        bool drawn = false;
        for (int y = rowOf(f.text1, line) - 3; y <= rowOf(f.text1, line) + 3; ++y) {
            for (int x = 0; x < numbers.width(); ++x)
                drawn |= numbers.pixelColor(x, y).value() < 160;
        }
        QVERIFY2(drawn, qPrintable(QString::number(line)));
    }
    const QColor base = f.text1.palette().color(QPalette::Base);
    const QColor highlight = EditingSurface::currentLineColour();
    QTRY_COMPARE(lineBackground(f.text1, 4), highlight);
    QCOMPARE(lineBackground(f.text1, 0), base);
    QCOMPARE(lineBackground(f.text1, 9), base);

    // Arrow keys take the highlight along.
    QTest::keyClick(&f.text1, Qt::Key_Down);
    QTRY_COMPARE(lineBackground(f.text1, 9), highlight);
    QCOMPARE(lineBackground(f.text1, 4), base);

    f.trigger(u"mn_numeroslinea"_qs);
    QVERIFY(!gutter->isVisible());
    QCOMPARE(f.text1.viewport()->x(), f.text1.contentsRect().left());
    f.trigger(u"mn_resaltarlinea"_qs);
    QTRY_COMPARE(lineBackground(f.text1, 9), base);

    f.text1.setText(QString(2000, u'x'));
    const QTextBlock line = f.text1.document()->firstBlock();
    QCOMPARE(line.layout()->lineCount(), 1);
    f.trigger(u"mn_ajustarlineas"_qs);
    QTRY_VERIFY(line.layout()->lineCount() > 1);
}

void TestComforts::zoom_data()
{
    // With Ctrl held: a key, or else a turn of the wheel.
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("wheel");
    QTest::addColumn<int>("change");
    QTest::newRow("Ctrl++ enlarges") << int(Qt::Key_Plus) << 0 << 1;
    QTest::newRow("Ctrl+- reduces") << int(Qt::Key_Minus) << 0 << -1;
    QTest::newRow("Ctrl+wheel forward enlarges") << 0 << 120 << 1;
    QTest::newRow("Ctrl+wheel back reduces") << 0 << -120 << -1;
    QTest::newRow("half a notch does nothing yet") << 0 << 60 << 0;
}

void TestComforts::zoom()
{
    QFETCH(int, key);
    QFETCH(int, wheel);
    QFETCH(int, change);
    ShownWindow f;
    QVERIFY(QTest::qWaitForWindowActive(&f.window));
    const int normal = f.text1.font().pointSize();
    if (wheel != 0) {
        const QPoint at = f.text1.viewport()->rect().center();
        QWheelEvent event(at, f.text1.viewport()->mapToGlobal(at), QPoint(), QPoint(0, wheel),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.text1.viewport(), &event);
    } else {
        QTest::keyClick(&f.text1, Qt::Key(key), Qt::ControlModifier);
    }
    QCOMPARE(f.text1.font().pointSize(), normal + change);
    QVERIFY(f.text1.toPlainText().startsWith(u"<html>"_qs)); // the key typed nothing
    QTest::keyClick(&f.text1, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(f.text1.font().pointSize(), normal);
}

void TestComforts::viewRememberedForTheNextStart()
{
    int normal = 0;
    {
        WindowFixture f;
        normal = f.text1.font().pointSize();
        for (int i = 0; i < 3; ++i)
            f.trigger(u"mn_ampliar"_qs);
        f.trigger(u"mn_numeroslinea"_qs);
        f.trigger(u"mn_ajustarlineas"_qs);
    }
    WindowFixture next;
    QCOMPARE(next.text1.font().pointSize(), normal + 3);
    QVERIFY(!next.window.command(u"mn_numeroslinea"_qs)->isChecked());
    QVERIFY(!next.text1.lineNumbersShown());
    QCOMPARE(next.text1.lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QVERIFY(next.text1.currentLineHighlighted());
}

void TestComforts::titleStatusAndPanesFollowThePage()
{
    WindowFixture f;
    QTemporaryDir dir;
    const QString first = dir.filePath(u"uno/pagina.htm"_qs);
    const QString second = dir.filePath(u"dos/otra.htm"_qs);
    writeBytes(second, "<p>dos</p>");
    QDir().mkpath(dir.filePath(u"uno"_qs));
    auto *modified = child<QLabel>(&f.window, u"lblmodificado"_qs);
    auto *panes = child<FilePanes>(&f.window, QString());
    QCOMPARE(modified->text(), QString());

    QTest::keyClicks(&f.text1, u"x"_qs);
    QCOMPARE(modified->text(), u"Modificado"_qs);
    f.trigger(u"mn_guardarcomo"_qs, first);
    QCOMPARE(f.window.windowTitle(), u"Zendral - ["_qs + first + u']');
    QCOMPARE(modified->text(), QString());
    QCOMPARE(panes->folderPath(), dir.filePath(u"uno"_qs));

    f.trigger(u"mn_abrir"_qs, second);
    QCOMPARE(panes->folderPath(), dir.filePath(u"dos"_qs));
    QTest::keyClicks(&f.text1, u"y"_qs);
    QCOMPARE(modified->text(), u"Modificado"_qs);
    f.trigger(u"mn_guardar"_qs);
    QCOMPARE(modified->text(), QString());
    QCOMPARE(f.window.windowTitle(), u"Zendral - ["_qs + second + u']');

    f.trigger(u"mn_nuevo"_qs);
    QCOMPARE(f.window.windowTitle(), u"  Zendral"_qs);
    QCOMPARE(modified->text(), QString());
    // A cancelled Save As leaves the start-up title.
    f.trigger(u"mn_guardarcomo"_qs, QString());
    QCOMPARE(f.window.windowTitle(), u"  Zendral"_qs);
}

void TestComforts::arrowKeysInTheFolderTreeExpandNothing()
{
    QTemporaryDir dir;
    for (const char *folder : {"a/dentro", "b/dentro", "c"})
        QVERIFY(QDir(dir.path()).mkpath(QLatin1String(folder)));
    FilePanes panes;
    panes.show();
    QVERIFY(panes.setFolderPath(dir.path()));
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
}

void TestComforts::everyMenuEntryHasItsOwnAccessKey()
{
    WindowFixture f;
    QList<QList<QAction *>> menus = {f.window.menuBar()->actions()};
    for (QMenu *menu : f.window.findChildren<QMenu *>())
        menus.append(menu->actions());
    for (const QList<QAction *> &entries : menus) {
        QSet<QChar> keys;
        for (QAction *entry : entries) {
            if (entry->isSeparator())
                continue;
            const QString text = entry->text();
            const qsizetype at = text.indexOf(u'&');
            QVERIFY2(at >= 0 && at + 1 < text.size(), qPrintable(text));
            QVERIFY2(!keys.contains(text.at(at + 1).toLower()), qPrintable(text));
            keys.insert(text.at(at + 1).toLower());
        }
    }
}

void TestComforts::selectAll()
{
    WindowFixture f;
    QAction *command = f.window.command(u"mn_seleccionartodo"_qs);
    QVERIFY(command->shortcut().isEmpty());
    command->trigger();
    QCOMPARE(f.text1.selectedText(), f.text1.text());
    QVERIFY(f.window.command(u"mn_copiar"_qs)->isEnabled());
}

void TestComforts::recentPages()
{
    QTemporaryDir dir;
    QStringList pages;
    for (int i = 0; i < 12; ++i) {
        pages.append(dir.filePath(u"p%1 & co.htm"_qs.arg(i)));
        writeBytes(pages.last(), "<p></p>");
    }
    const QString saved = dir.filePath(u"guardada.htm"_qs);
    QStringList expected = {u"&1 "_qs + saved};
    for (int i = 11; i > 2; --i)
        expected.append(u"&%1 "_qs.arg(12 - i + 1) + dir.filePath(u"p%1 && co.htm"_qs.arg(i)));
    expected.last().replace(u"&10 "_qs, u"1&0 "_qs);
    {
        WindowFixture f;
        QVERIFY(!child<QMenu>(&f.window, u"mn_recientes"_qs)->menuAction()->isEnabled());
        for (const QString &page : pages)
            f.trigger(u"mn_abrir"_qs, page);
        f.trigger(u"mn_guardarcomo"_qs, saved);
        QCOMPARE(captions(recentEntries(f.window)), expected);
    }

    // Kept for the next start; a page gone since is told and taken off, another opens.
    WindowFixture f;
    QList<QAction *> entries = recentEntries(f.window);
    QCOMPARE(captions(entries), expected);
    QVERIFY(QFile::remove(pages.at(11)));
    entries.at(1)->trigger();
    QCOMPARE(f.prompts.notices,
             QStringList(u"La página \""_qs + pages.at(11) +
                         u"\" ya no existe; se quita de las páginas recientes."_qs));
    QCOMPARE(recentEntries(f.window).size(), 9);
    recentEntries(f.window).at(4)->trigger();
    QCOMPARE(f.window.windowTitle(), u"Zendral - ["_qs + pages.at(7) + u']');
    QCOMPARE(recentEntries(f.window).first()->text(),
             u"&1 "_qs + QString(pages.at(7)).replace(u"&"_qs, u"&&"_qs));
}

void TestComforts::printAndPreview()
{
    // A page of 150 coloured lines, every other one ended by a lone LF, opened from its file.
    WindowFixture f;
    QTemporaryDir dir;
    QByteArray lines;
    for (int i = 1; i <= 150; ++i)
        lines += "<p>linea " + QByteArray::number(i) + (i % 2 ? "</p>\n" : "</p>\r\n");
    writeBytes(dir.filePath(u"impresa.htm"_qs), lines);
    f.trigger(u"mn_abrir"_qs, dir.filePath(u"impresa.htm"_qs));
    const QString pdf = dir.filePath(u"salida.pdf"_qs);
    whenModalOpens([&](QWidget &dialog) {
        QVERIFY(qobject_cast<QPrintDialog *>(&dialog));
        child<QLineEdit>(&dialog, u"filename"_qs)->setText(pdf);
        dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    f.trigger(u"mn_imprimir"_qs);
    const QString text =
        QString::fromUtf8(outputOf(u"pdftotext"_qs, {u"-layout"_qs, pdf, u"-"_qs}));
    const QStringList sheets = text.split(u'\f', Qt::SkipEmptyParts);
    QVERIFY2(sheets.size() >= 2, qPrintable(text));
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        const QString header = sheets.at(i).section(u'\n', 0, 0);
        QVERIFY2(header.contains(
                     QRegularExpression(u"^\\s*impresa\\.htm\\s+Página %1\\s*$"_qs.arg(i + 1))),
                 qPrintable(header));
    }
    for (const char *line : {"1 <p>linea 1</p>", "2 <p>linea 2</p>", "150 <p>linea 150</p>"})
        QVERIFY2(text.simplified().contains(QLatin1String(line)), line);

    // The tags keep their colour on paper.
    QVERIFY(f.text1.colourAt(1) != colours::Black);
    const QColor tag = toQColor(f.text1.colourAt(1));
    const QString picture = dir.filePath(u"hoja"_qs);
    outputOf(u"pdftoppm"_qs, {u"-r"_qs, u"100"_qs, u"-f"_qs, u"1"_qs, u"-l"_qs, u"1"_qs, u"-png"_qs,
                              u"-singlefile"_qs, pdf, picture});
    const QImage sheet(picture + u".png"_qs);
    QVERIFY(!sheet.isNull());
    int tagPixels = 0;
    for (int y = 0; y < sheet.height(); ++y) {
        for (int x = 0; x < sheet.width(); ++x) {
            const QColor pixel = sheet.pixelColor(x, y);
            tagPixels += pixel.hsvSaturation() > 100 && qAbs(pixel.hsvHue() - tag.hsvHue()) < 20;
        }
    }
    QVERIFY(tagPixels > 100);

    // The preview shows the same sheets.
    int shown = 0;
    whenModalOpens([&](QWidget &dialog) {
        auto *preview = dialog.findChild<QPrintPreviewWidget *>();
        QVERIFY(preview);
        shown = preview->pageCount();
    });
    f.trigger(u"mn_vistapreviaimpresion"_qs);
    QCOMPARE(shown, sheets.size());
}

QTEST_MAIN(TestComforts)
#include "tst_comforts.moc"
