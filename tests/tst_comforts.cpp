#include "documentcontroller.h"
#include "filepanes.h"
#include "spanishqttexts.h"
#include "spellingcheck.h"
#include "testsupport.h"
#include "usersettings.h"

#include <QPrintDialog>

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
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        view.setFocus();
    }
};

// The height at which the text view shows the line holding position.
int rowOf(EditingSurface &view, qint64 position)
{
    QTextCursor cursor(view.document());
    cursor.setPosition(int(view.page().toWidgetPosition(position)));
    return view.cursorRect(cursor).center().y();
}

// The colour the text view shows at the right end of the line holding position.
QColor lineBackground(EditingSurface &view, qint64 position)
{
    const QImage screen = view.viewport()->grab().toImage();
    return screen.pixelColor(screen.width() - 3, rowOf(view, position));
}

// The recent pages as Archivo shows them when opened.
QList<QAction *> recentEntries(MainWindow &window)
{
    auto *archivo = child<QMenu>(&window, QStringLiteral("mn_archivo"));
    archivo->popup(QPoint());
    archivo->close();
    return child<QMenu>(&window, QStringLiteral("mn_recientes"))->actions();
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

// The stretches under a red wavy underline, as the view draws them.
QStringList underlined(EditingSurface &view)
{
    QStringList words;
    for (const QTextEdit::ExtraSelection &mark : view.extraSelections()) {
        if (mark.format.underlineStyle() == QTextCharFormat::WaveUnderline &&
            mark.format.underlineColor() == QColor(Qt::red))
            words.append(mark.cursor.selectedText());
    }
    return words;
}

// Right-clicks the text at position and picks the entry captioned pick.
void rightClick(EditingSurface &view, qint64 position, const QString &pick)
{
    QTimer::singleShot(0, [pick] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        if (!menu)
            return;
        const QList<QAction *> actions = menu->actions();
        menu->close();
        for (QAction *action : actions) {
            if (action->text() == pick)
                action->trigger();
        }
    });
    QTextCursor cursor(view.document());
    cursor.setPosition(int(view.page().toWidgetPosition(position)) + 1);
    const QPoint at = view.cursorRect(cursor).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, view.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(view.viewport(), &event);
}

// The shown buttons under root that neither a caption nor an accessible name describes;
// buttons that only show when a bar overflows are the toolkit's, named by it.
QStringList unnamedButtons(const QWidget &root)
{
    QStringList unnamed;
    for (const QAbstractButton *button : root.findChildren<QAbstractButton *>()) {
        const bool ours =
            qobject_cast<const QToolButton *>(button) || qobject_cast<const QPushButton *>(button);
        if (ours && button->isVisibleTo(&root) && button->text().isEmpty() &&
            button->accessibleName().isEmpty())
            unnamed.append(button->objectName() + u'@' + button->parentWidget()->objectName());
    }
    return unnamed;
}

using Answer = Prompts::Answer;
using BoxScript = std::function<void(QMessageBox &)>;

} // namespace

class TestComforts : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void gutterCurrentLineAndWrapping();
    void zoom_data();
    void zoom();
    void statusAndPanesFollowThePage();
    void everyMenuEntryHasItsOwnAccessKey();
    void recentPages();
    void printAndPreview();
    void spellingAsYouType();
    void tagPairs_data();
    void tagPairs();
    void pairMarksAndTheirKey();
    void contextMenuUndoes();
    void qtTextsAreSpanish();
    void layoutFollowsTheWindow();
    void buttonsAreNamedAndEscapeCloses_data();
    void buttonsAreNamedAndEscapeCloses();
    // The real question, notice and file boxes, as the user sees and answers them.
    void promptBoxes_data();
    void promptBoxes();
    void saveDialogAddsTheFilterExtension_data();
    void saveDialogAddsTheFilterExtension();

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

void TestComforts::gutterCurrentLineAndWrapping()
{
    ShownWindow f;
    // The lone LF is shown as a break: three lines on screen, each numbered and highlighted
    // on its own.
    f.page().setText(QStringLiteral("uno\ndos\r\ntres"));
    f.page().setSelectionStart(5);
    auto *gutter = child(&f.view, QStringLiteral("numeroslinea"));
    const QImage numbers = gutter->grab().toImage();
    for (const qint64 line : {0, 4, 9}) {
        bool drawn = false;
        for (int y = rowOf(f.view, line) - 3; y <= rowOf(f.view, line) + 3; ++y) {
            for (int x = 0; x < numbers.width(); ++x)
                drawn |= numbers.pixelColor(x, y).value() < 160;
        }
        QVERIFY2(drawn, qPrintable(QString::number(line)));
    }
    const QColor base = f.view.palette().color(QPalette::Base);
    const QColor highlight = EditingSurface::currentLineColour();
    QTRY_COMPARE(lineBackground(f.view, 4), highlight);
    QCOMPARE(lineBackground(f.view, 0), base);
    QCOMPARE(lineBackground(f.view, 9), base);

    // Arrow keys take the highlight along.
    QTest::keyClick(&f.view, Qt::Key_Down);
    QTRY_COMPARE(lineBackground(f.view, 9), highlight);
    QCOMPARE(lineBackground(f.view, 4), base);

    f.trigger(QStringLiteral("mn_numeroslinea"));
    QVERIFY(!gutter->isVisible());
    f.trigger(QStringLiteral("mn_resaltarlinea"));
    QTRY_COMPARE(lineBackground(f.view, 9), base);

    f.page().setText(QString(2000, u'x'));
    const QTextBlock line = f.view.document()->firstBlock();
    QCOMPARE(line.layout()->lineCount(), 1);
    f.trigger(QStringLiteral("mn_ajustarlineas"));
    QTRY_VERIFY(line.layout()->lineCount() > 1);
    // The view is kept for the next start.
    WindowFixture next;
    QVERIFY(!next.window.command(QStringLiteral("mn_numeroslinea"))->isChecked());
    QVERIFY(!next.view.lineNumbersShown());
    QVERIFY(!next.view.currentLineHighlighted());
    QCOMPARE(next.view.lineWrapMode(), QPlainTextEdit::WidgetWidth);
}

void TestComforts::zoom_data()
{
    // With Ctrl held: a key, or else a turn of the wheel.
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("wheel");
    QTest::addColumn<int>("change");
    QTest::newRow("Ctrl++ enlarges") << int(Qt::Key_Plus) << 0 << 1;
    QTest::newRow("Ctrl+wheel back reduces") << 0 << -120 << -1;
    QTest::newRow("half a notch does nothing yet") << 0 << 60 << 0;
}

void TestComforts::zoom()
{
    QFETCH(int, key);
    QFETCH(int, wheel);
    QFETCH(int, change);
    ShownWindow f;
    const int normal = f.view.font().pointSize();
    if (wheel != 0) {
        const QPoint at = f.view.viewport()->rect().center();
        QWheelEvent event(at, f.view.viewport()->mapToGlobal(at), QPoint(), QPoint(0, wheel),
                          Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(f.view.viewport(), &event);
    } else {
        QTest::keyClick(&f.view, Qt::Key(key), Qt::ControlModifier);
    }
    QCOMPARE(f.view.font().pointSize(), normal + change);
    QVERIFY(f.view.toPlainText().startsWith(QStringLiteral("<html>"))); // the key typed nothing
    // Kept for the next start.
    QCOMPARE(WindowFixture().view.font().pointSize(), normal + change);
    QTest::keyClick(&f.view, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(f.view.font().pointSize(), normal);
}

void TestComforts::statusAndPanesFollowThePage()
{
    WindowFixture f;
    QTemporaryDir dir;
    const QString first = dir.filePath(QStringLiteral("uno/pagina.htm"));
    const QString second = dir.filePath(QStringLiteral("dos/otra.htm"));
    writeBytes(second, "<p>dos</p>");
    QDir().mkpath(dir.filePath(QStringLiteral("uno")));
    auto *modified = child<QLabel>(&f.window, QStringLiteral("lblmodificado"));
    auto *panes = child<FilePanes>(&f.window, QString());
    QCOMPARE(modified->text(), QString());
    QTest::keyClicks(&f.view, QStringLiteral("x"));
    QCOMPARE(modified->text(), QStringLiteral("Modificado"));
    f.trigger(QStringLiteral("mn_guardarcomo"), first);
    QCOMPARE(modified->text(), QString());
    QCOMPARE(panes->folderPath(), dir.filePath(QStringLiteral("uno")));
    f.trigger(QStringLiteral("mn_abrir"), second);
    QCOMPARE(panes->folderPath(), dir.filePath(QStringLiteral("dos")));
    QTest::keyClicks(&f.view, QStringLiteral("y"));
    f.trigger(QStringLiteral("mn_nuevo"));
    QCOMPARE(modified->text(), QString());
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

void TestComforts::recentPages()
{
    QTemporaryDir dir;
    QStringList pages;
    for (int i = 0; i < 12; ++i) {
        pages.append(dir.filePath(QStringLiteral("p%1 & co.htm").arg(i)));
        writeBytes(pages.last(), "<p></p>");
    }
    const QString saved = dir.filePath(QStringLiteral("guardada.htm"));
    QStringList expected = {QStringLiteral("&1 ") + saved};
    for (int i = 11; i > 2; --i)
        expected.append(QStringLiteral("&%1 ").arg(12 - i + 1) +
                        dir.filePath(QStringLiteral("p%1 && co.htm").arg(i)));
    expected.last().replace(QStringLiteral("&10 "), QStringLiteral("1&0 "));
    {
        WindowFixture f;
        QVERIFY(
            !child<QMenu>(&f.window, QStringLiteral("mn_recientes"))->menuAction()->isEnabled());
        for (const QString &page : pages)
            f.trigger(QStringLiteral("mn_abrir"), page);
        f.trigger(QStringLiteral("mn_guardarcomo"), saved);
        QCOMPARE(captions(recentEntries(f.window)), expected);
    }

    // Kept for the next start; a page gone since is told and taken off, another opens.
    WindowFixture f;
    QList<QAction *> entries = recentEntries(f.window);
    QCOMPARE(captions(entries), expected);
    QVERIFY(QFile::remove(pages.at(11)));
    entries.at(1)->trigger();
    QCOMPARE(f.prompts.notices,
             QStringList(QStringLiteral("La página \"") + pages.at(11) +
                         QStringLiteral("\" ya no existe; se quita de las páginas recientes.")));
    QCOMPARE(recentEntries(f.window).size(), 9);
    recentEntries(f.window).at(4)->trigger();
    QCOMPARE(f.window.windowTitle(), QStringLiteral("Zendral - [") + pages.at(7) + u']');
}

void TestComforts::printAndPreview()
{
    // A page of 150 coloured lines, every other one ended by a lone LF, opened from its file.
    WindowFixture f;
    QTemporaryDir dir;
    QByteArray lines;
    for (int i = 1; i <= 150; ++i)
        lines += "<p>linea " + QByteArray::number(i) + (i % 2 ? "</p>\n" : "</p>\r\n");
    writeBytes(dir.filePath(QStringLiteral("impresa.htm")), lines);
    f.trigger(QStringLiteral("mn_abrir"), dir.filePath(QStringLiteral("impresa.htm")));
    const QString pdf = dir.filePath(QStringLiteral("salida.pdf"));
    whenModalOpens([&](QWidget &dialog) {
        QVERIFY(qobject_cast<QPrintDialog *>(&dialog));
        child<QLineEdit>(&dialog, QStringLiteral("filename"))->setText(pdf);
        dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
    });
    f.trigger(QStringLiteral("mn_imprimir"));
    const QString text = QString::fromUtf8(outputOf(
        QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")}));
    const QStringList sheets = text.split(u'\f', Qt::SkipEmptyParts);
    QVERIFY2(sheets.size() >= 2, qPrintable(text));
    for (qsizetype i = 0; i < sheets.size(); ++i) {
        const QString header = sheets.at(i).section(u'\n', 0, 0);
        QVERIFY2(header.contains(QRegularExpression(
                     QStringLiteral("^\\s*impresa\\.htm\\s+Página %1\\s*$").arg(i + 1))),
                 qPrintable(header));
    }
    for (const char *line : {"1 <p>linea 1</p>", "2 <p>linea 2</p>", "150 <p>linea 150</p>"})
        QVERIFY2(text.simplified().contains(QLatin1String(line)), line);
}

void TestComforts::spellingAsYouType()
{
    ShownWindow f;
    f.page().setText(QStringLiteral("<p title=\"un grato\"></p>"));
    f.page().setSelectionStart(0);
    f.page().setSelectionLength(20);
    f.page().setSelectionColour(colours::Blue);
    f.page().setSelectionStart(20);
    f.page().setInsertionColour(colours::Black);
    // Only what a reader sees: the tag's name and the attribute's name are no words.
    QTest::keyClicks(&f.view, QStringLiteral("el prro y el gatto de zendralia"));
    QTRY_COMPARE(underlined(f.view), (QStringList{QStringLiteral("prro"), QStringLiteral("gatto"),
                                                  QStringLiteral("zendralia")}));

    // A suggestion takes the word's place in the word's colour.
    f.page().setInsertionColour(colours::Red);
    rightClick(f.view, 24, QStringLiteral("perro"));
    QCOMPARE(f.page().text(),
             QStringLiteral("<p title=\"un grato\">el perro y el gatto de zendralia</p>"));
    QCOMPARE(f.page().colourAt(24), colours::Black);
    QCOMPARE(f.page().colourAt(19), colours::Blue);
    QCOMPARE(f.page().insertionColour(), colours::Red);
    QTRY_COMPARE(underlined(f.view),
                 (QStringList{QStringLiteral("gatto"), QStringLiteral("zendralia")}));

    rightClick(f.view, 35, QStringLiteral("&Omitir"));
    QTRY_COMPARE(underlined(f.view), QStringList{QStringLiteral("zendralia")});
    // Added for the next starts too; a page holding the word no longer shows it.
    rightClick(f.view, 44, QStringLiteral("&Añadir al diccionario"));
    QTRY_COMPARE(underlined(f.view), QStringList());
    QVERIFY(SpellingCheck({}, userWordsFile()).addedWords().contains(QStringLiteral("zendralia")));

    QTest::keyClicks(&f.view, QStringLiteral(" csa"));
    QTRY_COMPARE(underlined(f.view), QStringList{QStringLiteral("csa")});
    f.trigger(QStringLiteral("mn_ortografiaescribir"));
    QCOMPARE(underlined(f.view), QStringList());
    f.trigger(QStringLiteral("mn_ortografiaescribir"));
    QTRY_COMPARE(underlined(f.view), QStringList{QStringLiteral("csa")});
}

void TestComforts::tagPairs_data()
{
    // "|" is the caret, "^" where Etiqueta pareja puts it, at the partner's name; without "^"
    // there is no partner and the caret stays.
    QTest::addColumn<QString>("text");
    QTest::newRow("opening finds its closing") << QStringLiteral("<d|iv>x</^div>");
    QTest::newRow("closing finds its opening, caret after its slash")
        << QStringLiteral("<^div>x</|div>");
    QTest::newRow("caret at the name's end") << QStringLiteral("<div|>x</^div>");
    QTest::newRow("case aside") << QStringLiteral("<DI|V>x</^div>");
    QTest::newRow("nesting counted") << QStringLiteral("<d|iv><div></div><div/></^div></div>");
    QTest::newRow("nesting counted backwards") << QStringLiteral("<^div><div></div></d|iv>");
    QTest::newRow("comment skipped") << QStringLiteral("<d|iv><!-- </div> --></^div>");
    QTest::newRow("server block skipped") << QStringLiteral("<d|iv><% x = \"</div>\" %></^div>");
    QTest::newRow("script code skipped")
        << QStringLiteral("<d|iv><script>document.write('</div>')</script></^div>");
    QTest::newRow("a > in a quoted value") << QStringLiteral("<d|iv title=\"a>b\"></^div>");
    QTest::newRow("unmatched") << QStringLiteral("<d|iv><p></p></p>");
    QTest::newRow("closes itself") << QStringLiteral("<d|iv/></div>");
    QTest::newRow("caret in the attributes") << QStringLiteral("<div c|lass=x></div>");
    QTest::newRow("caret before the <") << QStringLiteral("|<div></div>");
    QTest::newRow("tag inside a comment") << QStringLiteral("<!-- <d|iv> --></div>");
}

void TestComforts::tagPairs()
{
    QFETCH(QString, text);
    const qsizetype caret = text.indexOf(u'|');
    const qsizetype landing = text.indexOf(u'^');
    text.remove(u'|').remove(u'^');
    WindowFixture f;
    f.page().setText(text);
    f.page().setSelectionStart(caret - (landing >= 0 && landing < caret));
    f.trigger(QStringLiteral("mn_etiquetapareja"));
    QCOMPARE(f.page().selectionStart(), landing < 0 ? caret : landing - (caret < landing));
    QCOMPARE(f.page().text(), text);
}

void TestComforts::pairMarksAndTheirKey()
{
    ShownWindow f;
    const QString page = QStringLiteral("<div><p>uno</p>\r\n<DIV>dos</div>\r\n</div>");
    f.page().setText(page);
    f.page().setSelectionStart(2);
    const auto paired = [&] {
        QList<qint64> starts;
        for (const QTextEdit::ExtraSelection &mark : f.view.extraSelections()) {
            if (mark.format.background().style() != Qt::NoBrush)
                starts.append(f.page().fromWidgetPosition(mark.cursor.selectionStart()));
        }
        return starts;
    };
    QTRY_COMPARE(paired(), (QList<qint64>{0, 33}));
    QTest::keyClick(&f.view, Qt::Key_M, Qt::ControlModifier);
    QCOMPARE(f.page().selectionStart(), 35);
    // Out of the name, the marks go.
    QTest::keyClick(&f.view, Qt::Key_End);
    QTRY_COMPARE(paired(), QList<qint64>());
}

// The stock menu's Undo was disabled while Ctrl+Z undid.
void TestComforts::contextMenuUndoes()
{
    ShownWindow f;
    f.page().setText(QStringLiteral("ab"));
    f.page().setSelectionStart(2);
    typeInto(&f.view, QStringLiteral("c"));
    rightClick(f.view, 0, QStringLiteral("&Deshacer\tCtrl+Z"));
    QCOMPARE(f.page().text(), QStringLiteral("ab"));
}

void TestComforts::qtTextsAreSpanish()
{
    QVERIFY(installSpanishQtTexts(*qApp));
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QCOMPARE(child<QLabel>(&dialog, QStringLiteral("lookInLabel"))->text(),
             QStringLiteral("Ver en:"));
    const auto *buttons = child<QDialogButtonBox>(&dialog, QStringLiteral("buttonBox"));
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("Cancelar"));
}

void TestComforts::layoutFollowsTheWindow()
{
    const QSize to(1400, 1000);
    ShownWindow f;
    f.window.resize(1000, 720);
    QTRY_COMPARE(f.window.size(), QSize(1000, 720));

    const auto size = [&f](const char *name) {
        return f.window.findChild<QWidget *>(QLatin1String(name))->size();
    };
    const auto sizes = [&] {
        QList<QSize> result;
        for (const char *name : {"SSTab1", "text1", "previewPage", "archivos", "carpetas",
                                 "unidades", "tab1", "txtBuscar"})
            result.append(size(name));
        return result;
    };
    const QList<QSize> before = sizes();
    f.window.resize(to);
    const QSize grown = to - QSize(1000, 720);
    QTRY_COMPARE(size("SSTab1"), before.at(0) + grown);

    const QList<QSize> after = sizes();
    // The document tabs and both their pages take all the change, the file list its height.
    QCOMPARE(after.at(1), before.at(1) + grown);
    QCOMPARE(after.at(3), before.at(3) + QSize(0, grown.height()));
    // The drive and folder lists, the tag tabs and the search box keep their size.
    QCOMPARE(after.mid(4), before.mid(4));
    // The preview page is sized when it is shown, to the same size as the editor.
    f.window.findChild<QTabWidget *>(QStringLiteral("SSTab1"))->setCurrentIndex(1);
    QTRY_COMPARE(size("previewPage"), after.at(1));
}

// Every dialog the window opens is modal, under its own name; an empty command is the window.
void TestComforts::buttonsAreNamedAndEscapeCloses_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("name");
    QTest::newRow("main window") << QString() << QString();
    for (const auto &[command, name] : {std::pair{"mn_body", "body"},
                                        {"mn_enlace", "link"},
                                        {"mn_fuente", "fuente"},
                                        {"mn_div", "div"},
                                        {"mn_iframe", "iframe"},
                                        {"mn_tabla", "tabla"},
                                        {"mn_celda", "celda"},
                                        {"mn_popup", "popup"},
                                        {"btnmeta", "metatags"},
                                        {"mn_conexiondb", "db"},
                                        {"mn_reemplazar", "reemplazar"},
                                        {"mn_acercade", "acercade"},
                                        {"btnortografia", "ortografia"}})
        QTest::newRow(name) << QString::fromLatin1(command) << QString::fromLatin1(name);
}

void TestComforts::buttonsAreNamedAndEscapeCloses()
{
    QFETCH(QString, command);
    QFETCH(QString, name);
    WindowFixture f;
    f.window.show();
    if (command.isEmpty()) {
        QCOMPARE(unnamedButtons(f.window), QStringList());
        return;
    }
    // A word the dictionary does not know, so that the spelling dialog opens.
    f.page().setText(QStringLiteral("casa xqzwv"));
    QStringList unnamed{QStringLiteral("<no dialog>")};
    bool escapeCloses = false;
    bool modal = false;
    QString shownName;
    whenModalOpens([&](QWidget &dialog) {
        unnamed = unnamedButtons(dialog);
        modal = dialog.isModal();
        shownName = dialog.objectName();
        // Something typed must not reach the page when the user backs out.
        if (auto *box = dialog.findChild<QLineEdit *>())
            QTest::keyClicks(box, QStringLiteral("x"));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        escapeCloses = !dialog.isVisible();
    });
    f.trigger(command);
    QCOMPARE(unnamed, QStringList());
    QVERIFY(escapeCloses);
    QVERIFY(modal);
    QCOMPARE(shownName, name);
    // Backing out of a dialog leaves the page alone.
    QCOMPARE(f.page().text(), QStringLiteral("casa xqzwv"));
}

void TestComforts::promptBoxes_data()
{
    QTest::addColumn<BoxScript>("answerBox");
    // -1: a notice, not a question.
    QTest::addColumn<int>("answer");
    const BoxScript enter = [](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); };
    QTest::newRow("Enter: Sí, the default") << enter << int(Answer::Yes);
    QTest::newRow("No clicked") << BoxScript([](QMessageBox &box) {
        QTest::mouseClick(box.buttons().at(1), Qt::LeftButton);
    }) << int(Answer::No);
    // Qt made the lone "No" the escape button: backing out answered No.
    QTest::newRow("Escape answers neither")
        << BoxScript([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Escape); })
        << int(Answer::Cancel);
    QTest::newRow("close button answers neither")
        << BoxScript([](QMessageBox &box) { box.close(); }) << int(Answer::Cancel);
    // The tag vanished: the box read it as markup.
    QTest::newRow("notice shows tags as typed") << enter << -1;
}

void TestComforts::promptBoxes()
{
    QFETCH(BoxScript, answerBox);
    QFETCH(int, answer);
    const QString text = QStringLiteral("¿Sobrescribir \"/web/<b>.html\"?");
    QStringList buttons;
    QString shown;
    whenModalOpens([&](QWidget &dialog) {
        auto &box = static_cast<QMessageBox &>(dialog);
        for (const QAbstractButton *button : box.buttons())
            buttons.append(button->text());
        const auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        shown =
            label->textFormat() == Qt::PlainText ? label->text() : QStringLiteral("<rich text>");
        answerBox(box);
    });
    QtPrompts prompts(nullptr);
    if (answer < 0) {
        prompts.notify(text);
    } else {
        QCOMPARE(int(prompts.question(text)), answer);
        QCOMPARE(buttons, QStringList({QStringLiteral("&Sí"), QStringLiteral("&No")}));
    }
    QCOMPARE(shown, text);
}

void TestComforts::saveDialogAddsTheFilterExtension_data()
{
    QTest::addColumn<int>("filterDown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    // Saved with no extension, the page left the file pane and previewed as source.
    QTest::newRow("name alone, HTML filter: .html")
        << 0 << QStringLiteral("mipagina") << QStringLiteral("mipagina.html");
    QTest::newRow("name alone, ASP filter: .asp")
        << 2 << QStringLiteral("mipagina") << QStringLiteral("mipagina.asp");
    QTest::newRow("name with its extension is kept")
        << 0 << QStringLiteral("otra.htm") << QStringLiteral("otra.htm");
}

void TestComforts::saveDialogAddsTheFilterExtension()
{
    QFETCH(int, filterDown);
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QTemporaryDir dir;
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.filter = DocumentController::Filter();
    request.fileName = dir.filePath(QStringLiteral("inicial.html"));
    whenModalOpens([&](QWidget &dialog) {
        auto *filters = child<QComboBox>(&dialog, QStringLiteral("fileTypeCombo"));
        for (int i = 0; i < filterDown; ++i)
            QTest::keyClick(filters, Qt::Key_Down);
        auto *name = child<QLineEdit>(&dialog, QStringLiteral("fileNameEdit"));
        name->clear();
        QTest::keyClicks(name, typed);
        QTest::keyClick(name, Qt::Key_Return);
    });
    QCOMPARE(QtFileChooser(nullptr).choose(request), dir.filePath(saved));
}

QTEST_MAIN(TestComforts)
#include "tst_comforts.moc"
