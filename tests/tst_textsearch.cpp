#include "findstrip.h"
#include "prompts.h"
#include "replacestring.h"
#include "testsupport.h"

using namespace zendral;
using namespace zendral::test;

namespace {

// The selection as "start+length", the way the rows below write it.
QString selectionOf(const EditingSurface &view)
{
    return QStringLiteral("%1+%2")
        .arg(view.page().selectionStart())
        .arg(view.page().selectionLength());
}

// A shown window with the strip over the text, as the user has them.
struct Window
{
    explicit Window(Prompts &prompts) : strip(new FindStrip(*view, prompts, &window))
    {
        auto *layout = new QVBoxLayout(&window);
        layout->addWidget(strip);
        layout->addWidget(view);
        window.resize(500, 160);
        window.show();
    }
    QLineEdit *box() const { return strip->findChild<QLineEdit *>("txtBuscar"); }
    QString count() const { return strip->findChild<QLabel *>("lblcoincidencias")->text(); }
    // The first and last line marked, and whether every mark holds what was searched.
    QString marks(const QString &search) const
    {
        const QList<QTextEdit::ExtraSelection> all = view->extraSelections();
        if (all.isEmpty())
            return QStringLiteral("none");
        for (const QTextEdit::ExtraSelection &mark : all) {
            if (mark.cursor.selectedText() != search)
                return QStringLiteral("a mark on ") + mark.cursor.selectedText();
        }
        return QStringLiteral("lines %1-%2")
            .arg(all.first().cursor.block().blockNumber())
            .arg(all.last().cursor.block().blockNumber());
    }

    QWidget window;
    EditingSurface *view = new EditingSurface(&window);
    FindStrip *strip;
};

// The replacement as first written: the whole string rebuilt at each hit and the search
// resumed right after what was written, with 1-based positions.
QString referenceReplace(const QString &text, const QString &keyword, const QString &replacement,
                         qsizetype &count)
{
    QString s = text;
    qsizetype p = s.indexOf(keyword) + 1;
    for (count = 0; p >= 1; ++count) {
        s = s.left(p - 1) + replacement + s.mid(p - 1 + keyword.size());
        p = s.indexOf(keyword, p - 1 + replacement.size()) + 1;
    }
    return s;
}

QString randomString(QRandomGenerator &random, int maxLength)
{
    // A small alphabet makes hits, near misses, joins and capitals frequent.
    const QString alphabet = QStringLiteral("abA\r\n");
    QString s;
    for (int i = random.bounded(maxLength + 1); i > 0; --i)
        s.append(alphabet.at(random.bounded(int(alphabet.size()))));
    return s;
}

} // namespace

class TestTextSearch : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void find_data();
    void find();
    void goToLine_data();
    void goToLine();
    void marksAndCount();
    void largePageCountedBetweenEvents();
    void replaceAgreesWithReference();

private:
    FakePrompts m_prompts;
    EditingSurface m_text1;
    FindStrip m_strip{m_text1, m_prompts};
};

void TestTextSearch::init()
{
    m_prompts.notices.clear();
}

void TestTextSearch::find_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("search");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<int>("caret");
    // "Buscar" or "Siguiente", one per click, or "Return" or "Shift+Return" typed into the box.
    QTest::addColumn<QStringList>("clicks");
    // After each click: the selection, or the notice that a miss showed.
    QTest::addColumn<QStringList>("results");

    const QStringList buscarThenNext = {"Buscar", "Siguiente", "Siguiente", "Siguiente"};
    QTest::newRow("hola HOLA hola, any case: every hit, then the miss")
        << QStringLiteral("hola HOLA hola") << QStringLiteral("hola") << false << 0
        << buscarThenNext << QStringList{"0+4", "5+4", "10+4", "No se ha encontrado hola"};
    QTest::newRow("hola HOLA hola, matching case: HOLA is skipped, Buscar starts at the top")
        << QStringLiteral("hola HOLA hola") << QStringLiteral("hola") << true << 7
        << buscarThenNext.mid(0, 3) << QStringList{"0+4", "10+4", "No se ha encontrado hola"};
    QTest::newRow("aaa for aa: overlapping hits")
        << QStringLiteral("aaa") << QStringLiteral("aa") << false << 0 << buscarThenNext.mid(0, 3)
        << QStringList{"0+2", "1+2", "No se ha encontrado aa"};
    QTest::newRow("Return from the caret, on to the last, Shift+Return back past the first")
        << QStringLiteral("ab ab ab") << QStringLiteral("ab") << false << 0
        << QStringList{"Return",       "Return",       "Return",      "Return",
                       "Shift+Return", "Shift+Return", "Shift+Return"}
        << QStringList{"0+2",
                       "3+2",
                       "6+2",
                       "No se ha encontrado ab",
                       "3+2",
                       "0+2",
                       "No se ha encontrado ab"};
    QTest::newRow("positions count CR LF as two")
        << QStringLiteral("uno\r\ndos\r\ntres") << QStringLiteral("tres") << false << 0
        << QStringList{"Buscar"} << QStringList{"10+4"};
    QTest::newRow("accented capitals match without case")
        << QStringLiteral("<p>CANCIÓN</p>") << QStringLiteral("canción") << false << 0
        << QStringList{"Buscar"} << QStringList{"3+7"};
    QTest::newRow("hit past 32,767 characters")
        << QString(40000, u'x') + "tabla" << QStringLiteral("tabla") << false << 0
        << QStringList{"Buscar", "Siguiente"}
        << QStringList{"40000+5", "No se ha encontrado tabla"};
}

void TestTextSearch::find()
{
    QFETCH(QString, text);
    QFETCH(QString, search);
    QFETCH(bool, matchCase);
    QFETCH(int, caret);
    QFETCH(QStringList, clicks);
    QFETCH(QStringList, results);

    m_text1.page().setText(text);
    m_text1.page().setSelectionStart(caret);
    m_strip.findChild<QCheckBox *>("chkMayusMinus")->setChecked(matchCase);
    // Set rather than typed: key clicks carry no accented letters.
    m_strip.findChild<QLineEdit *>("txtBuscar")->setText(search);

    for (int i = 0; i < clicks.size(); ++i) {
        const QString before = selectionOf(m_text1);
        const qsizetype noticesBefore = m_prompts.notices.size();
        if (clicks.at(i).endsWith("Return")) {
            QTest::keyClick(m_strip.findChild<QLineEdit *>("txtBuscar"), Qt::Key_Return,
                            clicks.at(i).startsWith("Shift") ? Qt::ShiftModifier : Qt::NoModifier);
        } else {
            const char *button = clicks.at(i) == "Buscar" ? "cmdBuscar" : "cmdBuscarSiguiente";
            QTest::mouseClick(m_strip.findChild<QPushButton *>(button), Qt::LeftButton);
        }
        if (results.at(i).startsWith("No se ha encontrado")) {
            QCOMPARE(m_prompts.notices.size(), noticesBefore + 1);
            QCOMPARE(m_prompts.notices.last(), results.at(i));
            // A miss leaves the selection alone.
            QCOMPARE(selectionOf(m_text1), before);
        } else {
            QCOMPARE(m_prompts.notices.size(), noticesBefore);
            QCOMPARE(selectionOf(m_text1), results.at(i));
        }
    }
    QCOMPARE(m_text1.page().text(), text);
}

void TestTextSearch::goToLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    // The caret afterwards; -1: where it was.
    QTest::addColumn<int>("expected");

    const QString threeLines = QStringLiteral("a\r\nbb\r\nccc");
    // The surface shows a caret between CR and LF at the end of its line.
    QTest::newRow("line 2 of three") << threeLines << QStringLiteral("2") << 5;
    QTest::newRow("last line, no break after it: end of the text")
        << threeLines << QStringLiteral("3") << 10;
    QTest::newRow("line 4 of three: nothing") << threeLines << QStringLiteral("4") << -1;
    QTest::newRow("number and letters: nothing") << threeLines << QStringLiteral("2b") << -1;
    QTest::newRow("text ending in a break: its empty last line")
        << QStringLiteral("a\r\nb\r\n") << QStringLiteral("3") << 6;
    // A lone LF is shown as a line break, so it ends a line too.
    QTest::newRow("LF page, line 2: did nothing")
        << QStringLiteral("a\nbb\nccc") << QStringLiteral("2") << 4;
    QTest::newRow("LF then CR LF, line 2: between CR and LF")
        << QStringLiteral("a\nb\r\nc") << QStringLiteral("2") << 3;
    QString manyLines;
    for (int i = 0; i < 40000; ++i)
        manyLines += QStringLiteral("x\r\n");
    QTest::newRow("line past 32,767")
        << manyLines << QStringLiteral("39000") << (39000 - 1) * 3 + 1;
}

void TestTextSearch::goToLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QFETCH(int, expected);

    m_text1.page().setText(text);
    // The start of the text, where no row but the empty document expects the caret.
    const qint64 start = 0;
    m_text1.page().setSelectionStart(start);
    auto *box = m_strip.findChild<QLineEdit *>(QStringLiteral("txtlinea"));
    box->clear();
    QTest::keyClicks(box, line);
    QTest::mouseClick(m_strip.findChild<QPushButton *>("btnlinea"), Qt::LeftButton);

    QCOMPARE(m_text1.page().selectionStart(), expected < 0 ? start : qint64(expected));
    QCOMPARE(m_text1.page().selectionLength(), qint64(0));
    QVERIFY(m_prompts.notices.isEmpty());
}

void TestTextSearch::marksAndCount()
{
    Window page(m_prompts);
    QVERIFY(QTest::qWaitForWindowExposed(&page.window));
    QString text;
    for (int i = 0; i < 17; ++i)
        text += QStringLiteral("<p>ab</p>\r\n");
    page.view->page().setText(text);
    page.box()->setFocus();
    QTest::keyClicks(page.box(), QStringLiteral("ab"));
    QTRY_COMPARE(page.count(), QStringLiteral("0 de 17"));
    // Only the lines on screen are marked: the window shows a few of the seventeen.
    QTRY_VERIFY(page.marks(QStringLiteral("ab")).startsWith(QStringLiteral("lines 0-")));
    QVERIFY(page.view->extraSelections().size() < 17);

    for (int i = 0; i < 3; ++i)
        QTest::keyClick(page.box(), Qt::Key_Return);
    QTRY_COMPARE(page.count(), QStringLiteral("3 de 17"));
    QVERIFY(page.box()->hasFocus());

    page.view->verticalScrollBar()->setValue(page.view->verticalScrollBar()->maximum());
    QTRY_VERIFY(page.marks(QStringLiteral("ab")).endsWith(QStringLiteral("-16")));

    page.view->moveCursor(QTextCursor::End);
    QTest::keyClicks(page.view, QStringLiteral("ab"));
    QTRY_COMPARE(page.count(), QStringLiteral("0 de 18"));
    QTRY_VERIFY(page.marks(QStringLiteral("ab")).endsWith(QStringLiteral("-17")));

    QTest::keyClick(page.box(), Qt::Key_Escape);
    QTRY_VERIFY(page.view->hasFocus());

    page.box()->clear();
    QTRY_COMPARE(page.marks(QStringLiteral("ab")), QStringLiteral("none"));
    QCOMPARE(page.count(), QString());
}

void TestTextSearch::largePageCountedBetweenEvents()
{
    Window page(m_prompts);
    QString text;
    for (int i = 0; i < 200000; ++i)
        text += QStringLiteral("<td>celda</td>\r\n");
    page.view->page().setText(text);
    QTest::keyClicks(page.box(), QStringLiteral("celda"));
    // The keystrokes returned before any counting: it runs between events.
    QCOMPARE(page.count(), QString());
    // An edit while counting starts the count again.
    QTest::keyClicks(page.view, QStringLiteral("celda"));
    QTRY_COMPARE_WITH_TIMEOUT(page.count(), QStringLiteral("0 de 200001"), 60000);
}

void TestTextSearch::replaceAgreesWithReference()
{
    QCOMPARE(ReplaceString(QStringLiteral("abc"), QString(), QStringLiteral("x")),
             QStringLiteral("abc"));
    QRandomGenerator random(20240605);
    for (int i = 0; i < 20000; ++i) {
        const QString text = randomString(random, 40);
        const QString drawn = randomString(random, 3);
        const QString keyword = drawn.isEmpty() ? QStringLiteral("a") : drawn;
        const QString replacement = randomString(random, 4);
        qsizetype expectedCount = 0;
        qsizetype count = -1;
        const QString expected = referenceReplace(text, keyword, replacement, expectedCount);
        if (ReplaceString(text, keyword, replacement, &count) != expected || count != expectedCount)
            QFAIL(qPrintable(QStringLiteral("text %1 keyword %2 replacement %3")
                                 .arg(text.toHtmlEscaped(), keyword, replacement)));
    }
}

QTEST_MAIN(TestTextSearch)
#include "tst_textsearch.moc"
