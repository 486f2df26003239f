#include "documentcontroller.h"
#include "spanishqttexts.h"
#include "spellingcheck.h"
#include "testsupport.h"
#include "usersettings.h"

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

// Where the text view shows the character at position.
QPoint pointOf(EditingSurface &view, qint64 position)
{
    QTextCursor cursor(view.document());
    cursor.setPosition(int(view.page().toWidgetPosition(position)));
    return view.cursorRect(cursor).center();
}

// The colour the text view shows at the right end of the line holding position.
QColor lineBackground(EditingSurface &view, qint64 position)
{
    const QImage screen = view.viewport()->grab().toImage();
    return screen.pixelColor(screen.width() - 3, pointOf(view, position).y());
}

// The recent pages as Archivo shows them when opened.
QList<QAction *> recentEntries(MainWindow &window)
{
    auto *archivo = child<QMenu>(&window, QStringLiteral("mn_archivo"));
    archivo->popup(QPoint());
    archivo->close();
    return child<QMenu>(&window, QStringLiteral("mn_recientes"))->actions();
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

// Right-clicks the text just after position and picks the entry captioned pick.
void rightClick(EditingSurface &view, qint64 position, const QString &pick)
{
    QTimer::singleShot(0, [pick] {
        if (auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) {
            menu->close();
            for (QAction *action : menu->actions())
                if (action->text() == pick)
                    action->trigger();
        }
    });
    const QPoint at = pointOf(view, position + 1);
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

using BoxScript = std::function<void(QMessageBox &)>;

} // namespace

class TestComforts : public QObject
{
    Q_OBJECT

private slots:
    // The real settings and added words, in a folder of the test's own.
    void initTestCase()
    {
        QVERIFY(m_configuration.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_configuration.path()));
        QVERIFY(installSpanishQtTexts(*qApp));
    }

    void init() { userSettings()->clear(); }

    void gutterCurrentLineAndWrapping()
    {
        ShownWindow f;
        QCOMPARE(unnamedButtons(f.window), QStringList());
        // The lone LF is shown as a break: three lines on screen, each numbered and highlighted
        // on its own.
        f.page().setText(QStringLiteral("uno\ndos\r\ntres"));
        f.page().setSelectionStart(5);
        auto *gutter = child(&f.view, QStringLiteral("numeroslinea"));
        const QImage numbers = gutter->grab().toImage();
        for (const qint64 line : {0, 4, 9}) {
            bool drawn = false;
            for (int y = pointOf(f.view, line).y() - 3; y <= pointOf(f.view, line).y() + 3; ++y) {
                for (int x = 0; x < numbers.width(); ++x)
                    drawn |= numbers.pixelColor(x, y).value() < 160;
            }
            QVERIFY2(drawn, qPrintable(QString::number(line)));
        }
        const QColor base = f.view.palette().color(QPalette::Base);
        const QColor highlight = EditingSurface::currentLineColour();
        const auto backgrounds = [&f] {
            return QList<QColor>{lineBackground(f.view, 0), lineBackground(f.view, 4),
                                 lineBackground(f.view, 9)};
        };
        QTRY_COMPARE(backgrounds(), (QList<QColor>{base, highlight, base}));
        QTest::keyClick(&f.view, Qt::Key_Down); // Arrow keys take the highlight along.
        QTRY_COMPARE(backgrounds(), (QList<QColor>{base, base, highlight}));
        f.trigger(QStringLiteral("mn_numeroslinea"));
        QVERIFY(!gutter->isVisible());
        f.trigger(QStringLiteral("mn_resaltarlinea"));
        QTRY_COMPARE(backgrounds(), (QList<QColor>{base, base, base}));

        f.page().setText(QString(2000, u'x'));
        const QTextBlock line = f.view.document()->firstBlock();
        QCOMPARE(line.layout()->lineCount(), 1);
        f.trigger(QStringLiteral("mn_ajustarlineas"));
        QTRY_VERIFY(line.layout()->lineCount() > 1);
        // The view is kept for the next start.
        WindowFixture next;
        QVERIFY(!next.view.lineNumbersShown());
        QVERIFY(!next.view.currentLineHighlighted());
        QCOMPARE(next.view.lineWrapMode(), QPlainTextEdit::WidgetWidth);
    }

    void recentPages()
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
            for (const QString &page : pages)
                f.trigger(QStringLiteral("mn_abrir"), page);
            f.trigger(QStringLiteral("mn_guardarcomo"), saved);
        }
        // Kept for the next start; a page gone since is told and taken off, another opens.
        WindowFixture f;
        QStringList shown;
        for (const QAction *entry : recentEntries(f.window))
            shown.append(entry->text());
        QCOMPARE(shown, expected);
        QVERIFY(QFile::remove(pages.at(11)));
        recentEntries(f.window).at(1)->trigger();
        QCOMPARE(f.prompts.notices,
                 QStringList(QStringLiteral("La página \"%1\" ya no existe; se quita de las "
                                            "páginas recientes.")
                                 .arg(pages.at(11))));
        recentEntries(f.window).at(4)->trigger();
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Zendral - [") + pages.at(7) + u']');
    }

    // 150 lines, every other one ended by a lone LF, printed with numbers and a header.
    void printAndPreview()
    {
        WindowFixture f;
        QTemporaryDir dir;
        QByteArray lines;
        for (int i = 1; i <= 150; ++i)
            lines += "<p>linea " + QByteArray::number(i) + (i % 2 ? "</p>\n" : "</p>\r\n");
        writeBytes(dir.filePath(QStringLiteral("impresa.htm")), lines);
        f.trigger(QStringLiteral("mn_abrir"), dir.filePath(QStringLiteral("impresa.htm")));
        const QString pdf = dir.filePath(QStringLiteral("salida.pdf"));
        whenModalOpens([&](QWidget &dialog) {
            child<QLineEdit>(&dialog, QStringLiteral("filename"))->setText(pdf);
            dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        f.trigger(QStringLiteral("mn_imprimir"));
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"});
        QVERIFY(pdftotext.waitForFinished(60000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        const QStringList sheets = text.split(u'\f', Qt::SkipEmptyParts);
        QVERIFY2(sheets.size() >= 2, qPrintable(text));
        for (qsizetype i = 0; i < sheets.size(); ++i) {
            const QString header = sheets.at(i).section(u'\n', 0, 0).simplified();
            QCOMPARE(header, QStringLiteral("impresa.htm Página %1").arg(i + 1));
        }
        for (const char *line : {"1 <p>linea 1</p>", "2 <p>linea 2</p>", "150 <p>linea 150</p>"})
            QVERIFY2(text.simplified().contains(QLatin1String(line)), line);
    }

    void spellingAsYouType()
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
        QTRY_COMPARE(underlined(f.view), QString("prro gatto zendralia").split(u' '));

        // A suggestion takes the word's place in the word's colour.
        f.page().setInsertionColour(colours::Red);
        rightClick(f.view, 24, QStringLiteral("perro"));
        QCOMPARE(f.page().text(),
                 QStringLiteral("<p title=\"un grato\">el perro y el gatto de zendralia</p>"));
        QCOMPARE(f.page().colourAt(24), colours::Black);
        QCOMPARE(f.page().insertionColour(), colours::Red);
        QTRY_COMPARE(underlined(f.view), QString("gatto zendralia").split(u' '));

        rightClick(f.view, 35, QStringLiteral("&Omitir"));
        QTRY_COMPARE(underlined(f.view), QStringList{"zendralia"});
        // Added for the next starts too; a page holding the word no longer shows it.
        rightClick(f.view, 44, QStringLiteral("&Añadir al diccionario"));
        QTRY_COMPARE(underlined(f.view), QStringList());
        QVERIFY(SpellingCheck({}, userWordsFile()).addedWords().contains("zendralia"));

        QTest::keyClicks(&f.view, QStringLiteral(" csa"));
        QTRY_COMPARE(underlined(f.view), QStringList{"csa"});
        f.trigger(QStringLiteral("mn_ortografiaescribir"));
        QCOMPARE(underlined(f.view), QStringList());
        f.trigger(QStringLiteral("mn_ortografiaescribir"));
        QTRY_COMPARE(underlined(f.view), QStringList{"csa"});
    }

    void tagPairs_data()
    {
        // "|" the caret, "^" where Etiqueta pareja puts it; no "^": no partner, caret stays.
        QTest::addColumn<QString>("text");
        for (const auto &[name, text] :
             {std::pair{"opening finds its closing", "<d|iv>x</^div>"},
              {"closing finds its opening, caret after its slash", "<^div>x</|div>"},
              {"caret at the name's end", "<div|>x</^div>"},
              {"case aside", "<DI|V>x</^div>"},
              {"nesting counted", "<d|iv><div></div><div/></^div></div>"},
              {"nesting counted backwards", "<^div><div></div></d|iv>"},
              {"comment skipped", "<d|iv><!-- </div> --></^div>"},
              {"server block skipped", "<d|iv><% x = \"</div>\" %></^div>"},
              {"script code skipped", "<d|iv><script>document.write('</div>')</script></^div>"},
              {"a > in a quoted value", "<d|iv title=\"a>b\"></^div>"},
              {"unmatched", "<d|iv><p></p></p>"},
              {"closes itself", "<d|iv/></div>"},
              {"caret in the attributes", "<div c|lass=x></div>"},
              {"caret before the <", "|<div></div>"},
              {"tag inside a comment", "<!-- <d|iv> --></div>"}})
            QTest::newRow(name) << QString::fromLatin1(text);
    }

    void tagPairs()
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

    void pairMarksAndTheirKey()
    {
        ShownWindow f;
        f.page().setText(QStringLiteral("<div><p>uno</p>\r\n<DIV>dos</div>\r\n</div>"));
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
        QTest::keyClick(&f.view, Qt::Key_End); // out of the name, the marks go
        QTRY_COMPARE(paired(), QList<qint64>());
        // A search that found no partner is remembered until its closing tag is typed.
        f.page().setText(QStringLiteral("<em>x"));
        f.page().setSelectionStart(3);
        QCoreApplication::processEvents();
        f.page().setSelectionStart(5);
        QTest::keyClicks(&f.view, "</em>");
        f.page().setSelectionStart(3);
        QTRY_COMPARE(paired(), (QList<qint64>{0, 5}));
    }

    // Opening a page told of the caret's move while the page read the new text through the old
    // page's line ends: the tag-pair marks read past them and the program crashed.
    void pagesOpenedInTurnWithPairMarks()
    {
        ShownWindow f;
        QStringList seen;
        connect(&f.view, &QPlainTextEdit::cursorPositionChanged, &f.window,
                [&] { seen.append(f.page().text()); });
        const QString mixed = QStringLiteral("uno\r\ndos\ntres\rcuatro\r\n<div");
        const QString lf = QStringLiteral("<div>uno dos tres</div>\n").repeated(45000) + "<div";
        const QString held = "<p>" + QString(PageText::HeldLineLimit * 3, u'x') + "</p>\r\n<div";
        for (const QString &text : {mixed, lf, QStringLiteral("<p>\rdos\r<div"), held, mixed}) {
            // The caret in a tag's name, where the marks look around it.
            f.page().setSelectionStart(f.page().textLength());
            seen.clear();
            f.page().setText(text);
            QVERIFY(!seen.isEmpty());
            for (const QString &read : std::as_const(seen))
                QVERIFY(read == text);
            QCOMPARE(f.page().text(), text);
        }
    }

    // The stock menu's Undo was disabled while Ctrl+Z undid.
    void contextMenuUndoes()
    {
        ShownWindow f;
        f.page().setText(QStringLiteral("ab"));
        f.page().setSelectionStart(2);
        typeInto(&f.view, QStringLiteral("c"));
        // Its shortcut spelt as the menus spell Cortar's (Spanish: "Control+X"), not "Ctrl+Z".
        const QString spelt = QKeySequence(Qt::CTRL | Qt::Key_Z).toString(QKeySequence::NativeText);
        QCOMPARE(spelt.section(u'+', 0, 0), QKeySequence(Qt::CTRL | Qt::Key_X)
                                                .toString(QKeySequence::NativeText)
                                                .section(u'+', 0, 0));
        rightClick(f.view, 0, "&Deshacer\t" + spelt);
        QCOMPARE(f.page().text(), QStringLiteral("ab"));
    }

    // The real question and notice boxes, as the user sees and answers them.
    void promptBoxes_data()
    {
        QTest::addColumn<BoxScript>("answerBox");
        QTest::addColumn<int>("answer"); // -1: a notice, not a question
        const BoxScript enter = [](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); };
        QTest::newRow("Enter: Sí, the default") << enter << int(Prompts::Answer::Yes);
        // Qt made the lone "No" the escape button: backing out answered No.
        QTest::newRow("Escape answers neither")
            << BoxScript([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Escape); })
            << int(Prompts::Answer::Cancel);
        QTest::newRow("close button answers neither")
            << BoxScript([](QMessageBox &box) { box.close(); }) << int(Prompts::Answer::Cancel);
        // The tag vanished: the box read it as markup.
        QTest::newRow("notice shows tags as typed") << enter << -1;
    }

    void promptBoxes()
    {
        QFETCH(BoxScript, answerBox);
        QFETCH(int, answer);
        const QString text = QStringLiteral("¿Sobrescribir \"/web/<b>.html\"?");
        QStringList shown;
        whenModalOpens([&](QWidget &dialog) {
            auto &box = static_cast<QMessageBox &>(dialog);
            const auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            shown << (label->textFormat() == Qt::PlainText ? label->text() : "<rich text>");
            for (const QAbstractButton *button : box.buttons())
                shown.append(button->text());
            answerBox(box);
        });
        QtPrompts prompts(nullptr);
        if (answer < 0)
            prompts.notify(text);
        else
            QCOMPARE(int(prompts.question(text)), answer);
        QCOMPARE(shown.mid(0, answer < 0 ? 1 : 3),
                 (answer < 0 ? QStringList{text} : QStringList{text, "&Sí", "&No"}));
    }

    void saveDialogAddsTheFilterExtension_data()
    {
        QTest::addColumn<int>("filterDown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        // Whether the dialog is given the page's path, or only a folder to start in.
        QTest::addColumn<bool>("preset");
        // Saved with no extension, the page left the file pane and previewed as source.
        QTest::newRow("name alone, HTML filter: .html") << 0 << "mipagina"
                                                        << "mipagina.html" << true;
        QTest::newRow("name alone, ASP filter: .asp") << 2 << "mipagina"
                                                      << "mipagina.asp" << true;
        QTest::newRow("name with its extension is kept") << 0 << "otra.htm"
                                                         << "otra.htm" << true;
        // It started in the program's working folder.
        QTest::newRow("page never saved: starts in the folder given") << 0 << "mipagina"
                                                                      << "mipagina.html" << false;
    }

    void saveDialogAddsTheFilterExtension()
    {
        QFETCH(int, filterDown);
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QFETCH(bool, preset);
        QTemporaryDir dir;
        FileRequest request;
        request.mode = FileRequest::Mode::Save;
        request.filter = DocumentController::Filter();
        if (preset)
            request.fileName = dir.filePath(QStringLiteral("inicial.html"));
        else
            request.folder = dir.path();
        whenModalOpens([&](QWidget &dialog) {
            // Qt's own texts are in Spanish too.
            QCOMPARE(child<QLabel>(&dialog, QStringLiteral("lookInLabel"))->text(), "Ver en:");
            for (int i = 0; i < filterDown; ++i)
                QTest::keyClick(child(&dialog, QStringLiteral("fileTypeCombo")), Qt::Key_Down);
            auto *name = child<QLineEdit>(&dialog, QStringLiteral("fileNameEdit"));
            name->clear();
            QTest::keyClicks(name, typed);
            QTest::keyClick(name, Qt::Key_Return);
        });
        QCOMPARE(QtFileChooser(nullptr).choose(request), dir.filePath(saved));
    }

private:
    QTemporaryDir m_configuration;
};

QTEST_MAIN(TestComforts)
#include "tst_comforts.moc"
