#include "editingsurface.h"
#include "findstrip.h"
#include "prompts.h"
#include "replacestring.h"
#include "testsupport.h"

using namespace zendral;
using namespace zendral::test;

class TestTextSearch : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_prompts.notices.clear(); }
    void findAndGoToLine_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("search");
        QTest::addColumn<bool>("matchCase");
        QTest::addColumn<int>("caret");
        // One step a word: B (Buscar), S (Siguiente), R (Return in the box) or r (Shift+Return),
        // then the selection afterwards, or "miss" for the notice a miss shows; or L, the line
        // typed into the line box, a colon and the selection after btnlinea.
        QTest::addColumn<QString>("steps");
        // clang-format off
        QTest::newRow("hola HOLA hola, any case: every hit, then the miss")
            << "hola HOLA hola" << "hola" << false << 0 << "B0+4 S5+4 S10+4 Smiss";
        QTest::newRow("hola HOLA hola, matching case: HOLA is skipped, Buscar starts at the top")
            << "hola HOLA hola" << "hola" << true << 7 << "B0+4 S10+4 Smiss";
        QTest::newRow("aaa for aa: overlapping hits") << "aaa" << "aa" << false << 0 << "B0+2 S1+2 Smiss";
        QTest::newRow("Return from the caret, on to the last, Shift+Return back past the first")
            << "ab ab ab" << "ab" << false << 0 << "R0+2 R3+2 R6+2 Rmiss r3+2 r0+2 rmiss";
        QTest::newRow("positions count CR LF as two")
            << "uno\r\ndos\r\ntres" << "tres" << false << 0 << "B10+4";
        QTest::newRow("accented capitals match without case")
            << QStringLiteral("<p>CANCIÓN</p>") << QStringLiteral("canción") << false << 0 << "B3+7";
        QTest::newRow("hit past 32,767 characters")
            << QString(40000, u'x') + "tabla" << "tabla" << false << 0 << "B40000+5 Smiss";
        const auto line = [](const char *name, const QString &text, const char *steps) {
            QTest::newRow(name) << text << QString() << false << 1 << QString(steps);
        };
        const QString three = QStringLiteral("a\r\nbb\r\nccc");
        // The surface shows a caret between CR and LF at the end of its line.
        line("line 2 of three", three, "L2:5+0");
        line("last line, no break after it: end of the text", three, "L3:10+0");
        line("lines not there: nothing", three, "L4:1+0 L2b:1+0");
        line("text ending in a break: its empty last line", "a\r\nb\r\n", "L3:6+0");
        // A lone LF is shown as a line break, so it ends a line too.
        line("LF page, line 2: did nothing", "a\nbb\nccc", "L2:4+0");
        line("line past 32,767", QStringLiteral("x\r\n").repeated(40000), "L39000:116998+0");
        // clang-format on
    }
    void findAndGoToLine()
    {
        QFETCH(QString, text);
        QFETCH(QString, search);
        QFETCH(bool, matchCase);
        QFETCH(int, caret);
        QFETCH(QString, steps);
        PageText &page = m_text1->page();
        const auto selection = [&] {
            return QStringLiteral("%1+%2").arg(page.selectionStart()).arg(page.selectionLength());
        };
        page.setText(text);
        page.setSelectionStart(caret);
        m_strip->findChild<QCheckBox *>("chkMayusMinus")->setChecked(matchCase);
        // Set rather than typed: key clicks carry no accented letters.
        box()->setText(search);
        const QHash<QChar, const char *> buttons{
            {u'B', "cmdBuscar"}, {u'S', "cmdBuscarSiguiente"}, {u'L', "btnlinea"}};
        for (const QString &step : steps.split(u' ')) {
            const QString before = selection();
            const qsizetype noticesBefore = m_prompts.notices.size();
            const QChar how = step.at(0);
            QString expected = step.mid(1);
            if (how == u'L') {
                auto *line = m_strip->findChild<QLineEdit *>("txtlinea");
                line->clear();
                QTest::keyClicks(line, expected.section(u':', 0, 0));
                expected = expected.section(u':', 1);
            }
            if (buttons.contains(how))
                QTest::mouseClick(m_strip->findChild<QPushButton *>(buttons[how]), Qt::LeftButton);
            else
                QTest::keyClick(box(), Qt::Key_Return,
                                how == u'r' ? Qt::ShiftModifier : Qt::NoModifier);
            // A miss tells so and leaves the selection alone.
            const bool miss = expected == u"miss";
            QCOMPARE(m_prompts.notices.size(), noticesBefore + miss);
            QCOMPARE(selection(), miss ? before : expected);
            if (miss)
                QCOMPARE(m_prompts.notices.last(), QStringLiteral("No se ha encontrado ") + search);
        }
        QCOMPARE(page.text(), text);
    }
    // The strip's words never say a hit lies ahead when Return in the box finds none.
    void countAgreesWithReturn_data()
    {
        QTest::addColumn<QString>("selection");
        QTest::addColumn<QString>("count");
        QTest::addColumn<bool>("notice");
        // "la casa y la mesa": hits at 0 and 10.
        // clang-format off
        QTest::newRow("caret after both hits: notice, and both said to be before")
            << "17+0" << "2 antes del cursor" << true;
        QTest::newRow("caret before both: the first is found") << "0+0" << "1 de 2" << false;
        QTest::newRow("last hit selected: notice, the selection still the second")
            << "10+2" << "2 de 2" << true;
        QTest::newRow("caret right after the last hit") << "12+0" << "2 antes del cursor" << true;
        // clang-format on
    }
    void countAgreesWithReturn()
    {
        QFETCH(QString, selection);
        QFETCH(QString, count);
        QFETCH(bool, notice);
        box()->clear();
        PageText &page = m_text1->page();
        page.setText(QStringLiteral("la casa y la mesa"));
        page.setSelectionStart(selection.section(u'+', 0, 0).toLongLong());
        page.setSelectionLength(selection.section(u'+', 1).toLongLong());
        box()->setText(QStringLiteral("la"));
        QTRY_VERIFY(!this->count().isEmpty());
        QTest::keyClick(box(), Qt::Key_Return);
        QCOMPARE(m_prompts.notices,
                 notice ? QStringList{QStringLiteral("No se ha encontrado la")} : QStringList());
        QTRY_COMPARE(this->count(), count);
    }
    void marksAndCount()
    {
        auto *layout = new QVBoxLayout(&m_window);
        for (QWidget *part : {static_cast<QWidget *>(m_strip), static_cast<QWidget *>(m_text1)})
            layout->addWidget(part);
        m_window.resize(500, 160);
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
        box()->clear();
        m_text1->page().setText(QStringLiteral("<p>ab</p>\r\n").repeated(17));
        box()->setFocus();
        QTest::keyClicks(box(), QStringLiteral("ab"));
        QTRY_COMPARE(count(), QStringLiteral("0 de 17"));
        // Only the lines on screen are marked: the window shows a few of the seventeen.
        QTRY_VERIFY(marks().startsWith(QStringLiteral("lines 0-")));
        QVERIFY(m_text1->extraSelections().size() < 17);
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(box(), Qt::Key_Return);
        QTRY_COMPARE(count(), QStringLiteral("3 de 17"));
        QVERIFY(box()->hasFocus());
        m_text1->verticalScrollBar()->setValue(m_text1->verticalScrollBar()->maximum());
        QTRY_VERIFY(marks().endsWith(QStringLiteral("-16")));
        m_text1->moveCursor(QTextCursor::End);
        QTest::keyClicks(m_text1, QStringLiteral("ab"));
        QTRY_COMPARE(count(), QStringLiteral("18 antes del cursor"));
        QTRY_VERIFY(marks().endsWith(QStringLiteral("-17")));
        QTest::keyClick(box(), Qt::Key_Escape);
        QTRY_VERIFY(m_text1->hasFocus());
        box()->clear();
        QTRY_COMPARE(marks(), QStringLiteral("none"));
        QCOMPARE(count(), QString());

        // A large page is counted between events: the keystrokes return before any counting,
        // and an edit while counting starts the count again.
        m_text1->page().setText(QStringLiteral("<td>celda</td>\r\n").repeated(200000));
        QTest::keyClicks(box(), QStringLiteral("celda"));
        QCOMPARE(count(), QString());
        QTest::keyClicks(m_text1, QStringLiteral("celda"));
        QTRY_COMPARE_WITH_TIMEOUT(count(), QStringLiteral("0 de 200001"), 60000);
        // Typing keeps the last count until the new one is ready: it emptied at every key.
        QTest::keyClicks(m_text1, QStringLiteral("x"));
        QCOMPARE(count(), QStringLiteral("0 de 200001"));
    }
    void replaceAgreesWithReference()
    {
        QCOMPARE(ReplaceString(QStringLiteral("abc"), QString(), QStringLiteral("x")),
                 QStringLiteral("abc"));
        QRandomGenerator random(20240605);
        // A small alphabet makes hits, near misses, joins and capitals frequent.
        const auto draw = [&random](int maxLength) {
            QString s;
            for (int i = random.bounded(maxLength + 1); i > 0; --i)
                s.append(QStringLiteral("abA\r\n").at(random.bounded(5)));
            return s;
        };
        for (int i = 0; i < 20000; ++i) {
            const QString text = draw(40), drawn = draw(3), replacement = draw(4);
            const QString keyword = drawn.isEmpty() ? QStringLiteral("a") : drawn;
            // Each hit replaced in turn, the search resumed right after what was written.
            QString expected = text;
            qsizetype expectedCount = 0, count = -1;
            for (qsizetype p = expected.indexOf(keyword); p >= 0; ++expectedCount) {
                expected.replace(p, keyword.size(), replacement);
                p = expected.indexOf(keyword, p + replacement.size());
            }
            QVERIFY2(ReplaceString(text, keyword, replacement, &count) == expected &&
                         count == expectedCount,
                     qPrintable(QStringLiteral("text %1 keyword %2 replacement %3")
                                    .arg(text.toHtmlEscaped(), keyword, replacement)));
        }
    }

private:
    QLineEdit *box() const { return m_strip->findChild<QLineEdit *>("txtBuscar"); }
    QString count() const { return m_strip->findChild<QLabel *>("lblcoincidencias")->text(); }
    // The first and last line marked, and whether every mark holds "ab".
    QString marks() const
    {
        const QList<QTextEdit::ExtraSelection> all = m_text1->extraSelections();
        for (const QTextEdit::ExtraSelection &mark : all)
            if (mark.cursor.selectedText() != u"ab")
                return QStringLiteral("a mark on ") + mark.cursor.selectedText();
        return all.isEmpty() ? QStringLiteral("none")
                             : QStringLiteral("lines %1-%2")
                                   .arg(all.first().cursor.block().blockNumber())
                                   .arg(all.last().cursor.block().blockNumber());
    }

    FakePrompts m_prompts;
    // The strip over the text, as the user has them.
    QWidget m_window;
    EditingSurface *m_text1 = new EditingSurface(&m_window);
    FindStrip *m_strip = new FindStrip(*m_text1, m_prompts, &m_window);
};

QTEST_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
