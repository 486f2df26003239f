#include "spanishqttexts.h"
#include "spellingcheck.h"
#include "usersettings.h"
#include "windowfixture.h"

using namespace zendral;
using namespace zendral::test;

namespace {

// Where the text view shows the character at position.
QPoint pointOf(EditingSurface &view, qint64 position)
{
    return view.cursorRect(view.page().cursorOver(position, position)).center();
}

// The colour the text view shows at the right end of the line holding position.
QColor lineBackground(EditingSurface &view, qint64 position)
{
    const QImage screen = view.viewport()->grab().toImage();
    return screen.pixelColor(screen.width() - 3, pointOf(view, position).y());
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

} // namespace

// The text's view in a window: line numbers, the current line, wrapping, spelling marks and
// their menu, the marks and the key of a tag's pair, the text's own menu.
class TestTextView : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installSpanishQtTexts(*qApp)); }

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
                    starts.append(f.page().positionOf(mark.cursor));
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

private:
    OwnConfiguration m_configuration;
};

QTEST_MAIN(TestTextView)
#include "tst_textview.moc"
