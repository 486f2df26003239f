#include "colouring.h"
#include "editingsurface.h"
#include "findreplacedialog.h"
#include "testsupport.h"
#include "undohistory.h"

using namespace zendral;
using namespace zendral::test;

class TestFindReplace : public QObject
{
    Q_OBJECT

private slots:
    void buttons_data()
    {
        QTest::addColumn<QString>("text");
        // Options as letters: m case, w whole word, r expression, s only in the selection
        // (the selection given), n no wrapping.
        QTest::addColumn<QString>("options");
        QTest::addColumn<QString>("search");
        QTest::addColumn<QString>("replacement");
        // The selection before, "start+length".
        QTest::addColumn<QString>("selection");
        // Buttons clicked in turn: N next, P previous, R replace, A replace all.
        QTest::addColumn<QString>("clicks");
        QTest::addColumn<QString>("expectedText");
        QTest::addColumn<QString>("expectedSelection");
        QTest::addColumn<QString>("status");
        // clang-format off
        QTest::newRow("next, next, then round to the first")
            << "ab ab" << "" << "ab" << "" << "0+0" << "NNN" << "ab ab" << "0+2"
            << "1 de 2 (se ha seguido desde el principio)";
        QTest::newRow("no wrapping: the last stays, not found told")
            << "ab ab" << "n" << "ab" << "" << "0+0" << "NNN" << "ab ab" << "3+2" << "No se ha encontrado ab";
        QTest::newRow("previous from the end, then round to the last")
            << "ab ab" << "" << "ab" << "" << "5+0" << "PPP" << "ab ab" << "3+2"
            << "2 de 2 (se ha seguido desde el final)";
        QTest::newRow("whole word: an accented letter after is part of the word")
            << QStringLiteral("canci canción") << "w" << "canci" << "x" << "0+0" << "A"
            << QStringLiteral("x canción") << "0+0" << QStringLiteral("Se reemplazó 1 aparición");
        QTest::newRow("expression groups in the replacement")
            << "id=1 id=22" << "r" << "id=(\\d+)" << "n\\1\\\\" << "0+0" << "A" << "n1\\ n22\\" << "0+0"
            << "Se reemplazaron 2 apariciones";
        QTest::newRow("CR LF page: \\n matches the whole CR LF")
            << "a\r\nb\r\n" << "r" << "a\\nb" << "" << "0+0" << "N" << "a\r\nb\r\n" << "0+4" << "1 de 1";
        QTest::newRow("mixed page: \\n matches every kind of line end")
            << "a\r\nb\nc\rd" << "r" << "\\n" << ";" << "0+0" << "A" << "a;b;c;d" << "0+0"
            << "Se reemplazaron 3 apariciones";
        QTest::newRow("a CR alone is no hit: never half of a CR LF")
            << "a\r\nb" << "r" << "\\r" << "x" << "0+0" << "A" << "a\r\nb" << "0+0" << "No se ha encontrado \\r";
        QTest::newRow("end of line before CR LF, not between CR and LF")
            << "a\r\nb\r\nc" << "r" << "$" << "." << "0+0" << "A" << "a.\r\nb.\r\nc." << "0+0"
            << "Se reemplazaron 3 apariciones";
        QTest::newRow("caret between CR and LF: the line end is next")
            << "a\r\nb" << "r" << "\\n" << "" << "1+0" << "N" << "a\r\nb" << "1+2" << "1 de 1";
        QTest::newRow("replacement \\n writes the CR LF page's own line end")
            << "a b" << "r" << " " << "\\n" << "0+0" << "A" << "a\r\nb" << "0+0" << QStringLiteral("Se reemplazó 1 aparición");
        QTest::newRow("replacement \\n writes the LF page's own line end")
            << "x\ny z" << "r" << " " << "\\n" << "0+0" << "A" << "x\ny\nz" << "0+0" << QStringLiteral("Se reemplazó 1 aparición");
        QTest::newRow("a group over a CR LF keeps the CR LF on an LF-first page")
            << "x\na\r\nb" << "r" << "(a\\nb)" << "[\\1]" << "0+0" << "A" << "x\n[a\r\nb]" << "0+0"
            << QStringLiteral("Se reemplazó 1 aparición");
        QTest::newRow("only in the selection, next goes round within it")
            << "ab ab ab ab" << "s" << "ab" << "" << "3+5" << "NNN" << "ab ab ab ab" << "3+2"
            << "1 de 2 (se ha seguido desde el principio)";
        QTest::newRow("only in the selection, across CR LF lines")
            << "ab\r\nab\r\nab" << "s" << "ab" << "x" << "4+6" << "A" << "ab\r\nx\r\nx" << "4+0"
            << "Se reemplazaron 2 apariciones";
        QTest::newRow("bad expression: told, text unchanged")
            << "(ab" << "r" << "(ab" << "x" << "0+0" << "A" << "(ab" << "0+0"
            << QStringLiteral("Expresión regular no válida: missing closing parenthesis (posición 3)");
        QTest::newRow("replace: the selected hit, then the next selected")
            << "ab ab" << "" << "ab" << "x" << "0+0" << "NR" << "x ab" << "2+2" << "1 de 1";
        QTest::newRow("replace without a hit selected only finds it")
            << "ab ab" << "" << "ab" << "x" << "0+0" << "R" << "ab ab" << "0+2" << "1 de 2";
        QTest::newRow("replace to the last, then not found")
            << "ab ab" << "n" << "ab" << "x" << "0+0" << "NRR" << "x x" << "3+0" << "No se ha encontrado ab";
        QTest::newRow("empty hits of ^: all lines, and next moves on")
            << "a\nb" << "r" << "^" << "> " << "0+0" << "A" << "> a\n> b" << "2+0" << "Se reemplazaron 2 apariciones";
        QTest::newRow("empty hits of ^: next does not stick")
            << "a\nb" << "r" << "^" << "" << "0+0" << "N" << "a\nb" << "2+0" << "2 de 2";
        QTest::newRow("a by aa ends")
            << "aaa" << "" << "a" << "aa" << "0+0" << "A" << "aaaaaa" << "0+0" << "Se reemplazaron 3 apariciones";
        QTest::newRow("the caret keeps its place after replacing before it")
            << "ab ab X" << "" << "ab" << "abc" << "6+0" << "A" << "abc abc X" << "8+0"
            << "Se reemplazaron 2 apariciones";
        // clang-format on
    }
    void buttons()
    {
        QFETCH(QString, text);
        QFETCH(QString, options);
        QFETCH(QString, search);
        QFETCH(QString, replacement);
        QFETCH(QString, selection);
        QFETCH(QString, clicks);
        QFETCH(QString, expectedText);
        QFETCH(QString, expectedSelection);
        QFETCH(QString, status);
        EditingSurface text1;
        PageText &page = text1.page();
        page.setText(text);
        page.setSelectionStart(selection.section(u'+', 0, 0).toLongLong());
        page.setSelectionLength(selection.section(u'+', 1).toLongLong());
        FindReplaceDialog dialog(page);
        dialog.present();
        dialog.findChild<QComboBox *>("txtbuscarr")->setEditText(search);
        dialog.findChild<QComboBox *>("txtreemplazarr")->setEditText(replacement);
        const QHash<QChar, const char *> checks{{u'm', "chkmayusculas"},
                                                {u'w', "chkpalabra"},
                                                {u'r', "chkregex"},
                                                {u's', "chkseleccion"}};
        for (auto check = checks.begin(); check != checks.end(); ++check)
            dialog.findChild<QCheckBox *>(check.value())->setChecked(options.contains(check.key()));
        dialog.findChild<QCheckBox *>("chkvuelta")->setChecked(!options.contains(u'n'));
        const QHash<QChar, const char *> buttons{{u'N', "btnbuscarsig"},
                                                 {u'P', "btnbuscarant"},
                                                 {u'R', "btnreemplazar"},
                                                 {u'A', "btnreemplazartodo"}};
        QSignalSpy changes(&page, &PageText::changed);
        for (const QChar click : clicks) {
            const qsizetype before = changes.size();
            QTest::mouseClick(dialog.findChild<QPushButton *>(buttons[click]), Qt::LeftButton);
            // Each replacement, and a whole replace-all, is one change of the page.
            QVERIFY(changes.size() - before <= 1);
        }
        QCOMPARE(page.text(), expectedText);
        QCOMPARE(QStringLiteral("%1+%2").arg(page.selectionStart()).arg(page.selectionLength()),
                 expectedSelection);
        QCOMPARE(dialog.findChild<QLabel *>("lblresultado")->text(), status);
    }

    // Reemplazar todo over random CR LF, LF and mixed pages with every combination of case,
    // whole word and only in the selection agrees with a plain scan of the page's characters,
    // a line end of any kind standing for the needle's one line end.
    void replaceAllAgreesWithPlainScan()
    {
        EditingSurface text1;
        PageText &page = text1.page();
        FindReplaceDialog dialog(page);
        QRandomGenerator random(2727);
        const QStringList units = {"a", "b", "A",    "B",  QStringLiteral("á"),
                                   "_", " ", "\r\n", "\n", "\r"};
        const QStringList needles = {"ab", "b", "a b", "b\na", QStringLiteral("Á")};
        const auto isWord = [](const QString &unit) {
            return unit.size() == 1 && (unit.at(0).isLetterOrNumber() || unit.at(0) == u'_');
        };
        for (int round = 0; round < 600; ++round) {
            const int kinds = random.bounded(3); // CR LF only, LF only, or mixed
            QStringList drawn;
            for (int i = random.bounded(30); i > 0; --i) {
                QString unit = units.at(random.bounded(units.size()));
                if (unit.startsWith(u'\r') || unit == u"\n")
                    unit = kinds == 0   ? QStringLiteral("\r\n")
                           : kinds == 1 ? QStringLiteral("\n")
                                        : unit;
                drawn.append(unit);
            }
            const QString needle = needles.at(random.bounded(needles.size()));
            const bool matchCase = random.bounded(2), wholeWord = random.bounded(2),
                       selectionOnly = random.bounded(2);
            qsizetype from = 0, to = drawn.size();
            if (selectionOnly) {
                from = random.bounded(int(drawn.size()) + 1);
                to = from + random.bounded(int(drawn.size() - from) + 1);
            }
            const QString text = drawn.join(QString());
            const qint64 start = drawn.mid(0, from).join(QString()).size();
            const qint64 length = drawn.mid(from, to - from).join(QString()).size();
            page.setText(text);
            page.setSelectionStart(start);
            page.setSelectionLength(length);

            QStringList expected = drawn;
            const qsizetype size = needle.size();
            for (qsizetype i = to - size; i >= from; --i) {
                bool hit = i + size <= to;
                for (qsizetype k = 0; hit && k < size; ++k) {
                    const QString &unit = drawn.at(i + k);
                    hit = needle.at(k) == u'\n'
                              ? unit.startsWith(u'\r') || unit == u"\n"
                              : unit.size() == 1 && (matchCase ? unit.at(0) == needle.at(k)
                                                               : unit.at(0).toCaseFolded() ==
                                                                     needle.at(k).toCaseFolded());
                }
                hit = hit && (!wholeWord || ((i == 0 || !isWord(drawn.at(i - 1))) &&
                                             (i + size == to || !isWord(drawn.at(i + size)))));
                // No needle can overlap itself, so scanning from the end finds what a scan from
                // the start does.
                if (hit) {
                    for (qsizetype k = 0; k < size; ++k)
                        expected[i + k] = k == 0 ? QStringLiteral("<>") : QString();
                }
            }
            dialog.findChild<QComboBox *>("txtbuscarr")->setEditText(needle);
            dialog.findChild<QComboBox *>("txtreemplazarr")->setEditText(QStringLiteral("<>"));
            dialog.findChild<QCheckBox *>("chkmayusculas")->setChecked(matchCase);
            dialog.findChild<QCheckBox *>("chkpalabra")->setChecked(wholeWord);
            dialog.findChild<QCheckBox *>("chkseleccion")->setChecked(false);
            dialog.findChild<QCheckBox *>("chkseleccion")->setChecked(selectionOnly);
            QTest::mouseClick(dialog.findChild<QPushButton *>("btnreemplazartodo"), Qt::LeftButton);
            QVERIFY2(
                page.text() == expected.join(QString()),
                qPrintable(QStringLiteral("round %1: %2 for %3, case %4 word %5 from %6 to %7")
                               .arg(round)
                               .arg(QString(text).replace(u'\r', u'R').replace(u'\n', u'N'), needle)
                               .arg(matchCase)
                               .arg(wholeWord)
                               .arg(from)
                               .arg(to)));
        }
    }

    // Each Reemplazar is one step back and forth, and so is a whole Reemplazar todo, on pages
    // with every kind of line end; the selection comes back as it was.
    void undoSteps_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("CR LF page") << QStringLiteral("ab\r\nx ab\r\nab ab");
        QTest::newRow("LF page") << QStringLiteral("ab\nx ab\nab ab");
        QTest::newRow("mixed page") << QStringLiteral("ab\r\nx ab\nab\rab");
    }
    void undoSteps()
    {
        QFETCH(QString, text);
        EditingSurface text1;
        PageText &page = text1.page();
        // Wired as the window wires it.
        UndoHistory history;
        history.attach(page);
        connect(&page, &PageText::textEdited, this,
                [&history](qint64 start, qint64 removed, qint64 added) {
                    history.noteEdit(start, removed, added);
                });
        page.setText(text);
        page.setSelectionStart(4);
        FindReplaceDialog dialog(page);
        dialog.findChild<QCheckBox *>("chkregex")->setChecked(true);
        dialog.findChild<QComboBox *>("txtbuscarr")->setEditText(QStringLiteral("b(\\n|$)"));
        dialog.findChild<QComboBox *>("txtreemplazarr")->setEditText(QStringLiteral("B\\1\\1"));
        const auto click = [&dialog](const char *name) {
            QTest::mouseClick(dialog.findChild<QPushButton *>(name), Qt::LeftButton);
        };
        click("btnbuscarsig");
        click("btnreemplazar");
        click("btnreemplazar");
        const QString twoReplaced = page.text();
        QCOMPARE(twoReplaced.count(u'B'), 2);
        click("btnreemplazartodo");
        const QString allReplaced = page.text();
        QVERIFY(allReplaced.count(u'B') > 2);
        history.DeshacerComando();
        QCOMPARE(page.text(), twoReplaced);
        history.DeshacerComando();
        history.DeshacerComando();
        QCOMPARE(page.text(), text);
        // As before the first Reemplazar: the hit it replaced selected.
        QCOMPARE(page.selectionStart(), text.indexOf(u"x ab") + 3);
        QVERIFY(page.selectedText().startsWith(u'b'));
        history.RehacerComando();
        history.RehacerComando();
        QCOMPARE(page.text(), twoReplaced);
        history.RehacerComando();
        QCOMPARE(page.text(), allReplaced);
    }

    // Replace-all leaves the page coloured as opening its new text colours it.
    void replaceAllColours()
    {
        EditingSurface text1;
        PageText &page = text1.page();
        page.setText(QStringLiteral("<p class=\"a\">a</p>\r\n<td>a</td>\r\n").repeated(3));
        Colorea(page, TablaEtiquetas());
        FindReplaceDialog dialog(page);
        dialog.findChild<QComboBox *>("txtbuscarr")->setEditText(QStringLiteral("p"));
        dialog.findChild<QComboBox *>("txtreemplazarr")->setEditText(QStringLiteral("table"));
        QTest::mouseClick(dialog.findChild<QPushButton *>("btnreemplazartodo"), Qt::LeftButton);
        PageText fresh;
        fresh.setText(page.text());
        Colorea(fresh, TablaEtiquetas());
        for (qint64 i = 0; i < fresh.textLength(); ++i)
            QVERIFY2(page.colourAt(i) == fresh.colourAt(i), qPrintable(QString::number(i)));
        // One replacement inside a tag keeps the tag's colour.
        const Colour tag = page.colourAt(2);
        QVERIFY(tag != colours::Black);
        dialog.findChild<QComboBox *>("txtbuscarr")->setEditText(QStringLiteral("table"));
        dialog.findChild<QComboBox *>("txtreemplazarr")->setEditText(QStringLiteral("div"));
        page.setSelectionStart(0);
        QTest::mouseClick(dialog.findChild<QPushButton *>("btnbuscarsig"), Qt::LeftButton);
        QTest::mouseClick(dialog.findChild<QPushButton *>("btnreemplazar"), Qt::LeftButton);
        QVERIFY(page.text().startsWith(u"<div class"));
        for (qint64 i = 1; i < 4; ++i)
            QCOMPARE(page.colourAt(i), tag);
    }

    // Replace-all over a long page leaves the caret's line on screen, with its text around it.
    void replaceAllKeepsCaretInView()
    {
        EditingSurface text1;
        text1.resize(400, 300);
        text1.show();
        QVERIFY(QTest::qWaitForWindowExposed(&text1));
        PageText &page = text1.page();
        page.setText(QStringLiteral("<td>uno</td>\r\n").repeated(3000));
        const qint64 caret = 2000 * 14 + 2;
        page.setSelectionStart(caret);
        FindReplaceDialog dialog(page);
        dialog.findChild<QComboBox *>("txtbuscarr")->setEditText(QStringLiteral("uno"));
        dialog.findChild<QComboBox *>("txtreemplazarr")->setEditText(QStringLiteral("cuatro"));
        QTest::mouseClick(dialog.findChild<QPushButton *>("btnreemplazartodo"), Qt::LeftButton);
        QCOMPARE(page.selectionStart(), caret + 2000 * 3);
        QCOMPARE(page.textRange(page.selectionStart() + 2, 6), QStringLiteral("cuatro"));
        QVERIFY(text1.viewport()->rect().contains(text1.cursorRect().center()));
    }

    // The boxes offer what was given before, newest first, ten at most.
    void boxesRemember()
    {
        EditingSurface text1;
        text1.page().setText(QStringLiteral("x"));
        FindReplaceDialog dialog(text1.page());
        auto *box = dialog.findChild<QComboBox *>("txtbuscarr");
        for (int i = 1; i <= 12; ++i) {
            box->setEditText(QString::number(i % 11));
            QTest::mouseClick(dialog.findChild<QPushButton *>("btnbuscarsig"), Qt::LeftButton);
        }
        QStringList items;
        for (int i = 0; i < box->count(); ++i)
            items.append(box->itemText(i));
        QCOMPARE(items.join(u' '), QStringLiteral("1 0 10 9 8 7 6 5 4 3"));
        // Another window's dialog offers them too.
        FindReplaceDialog other(text1.page());
        QCOMPARE(other.findChild<QComboBox *>("txtbuscarr")->count(), 10);
    }
};

QTEST_MAIN(TestFindReplace)
#include "tst_findreplace.moc"
