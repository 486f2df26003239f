#include "documentcontroller.h"
#include "editingsurface.h"
#include "editorevents.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QAction>
#include <QLabel>
#include <QTest>

using namespace zendral;
using namespace zendral::test;

class TestUndo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void typingUndoRedo();
    void overwrittenSelectionComesBack();
    void emptyHistoryDoesNothing();
    void insertionsAreNotUndone();
    void controlKeysAreNotRecorded();
    void estimate_data();
    void estimate();
    void statusAreaFollowsChanges();

private:
    std::unique_ptr<FakePrompts> m_prompts;
    std::unique_ptr<FakeFileChooser> m_chooser;
    std::unique_ptr<MainWindow> m_window;
    EditingSurface *m_text1 = nullptr;

    void type(const QString &text);
    void trigger(const char *name) { m_window->command(QLatin1String(name))->trigger(); }
};

void TestUndo::init()
{
    m_prompts = std::make_unique<FakePrompts>();
    m_chooser = std::make_unique<FakeFileChooser>();
    m_window =
        std::make_unique<MainWindow>(MainWindowServices{m_prompts.get(), m_chooser.get(), nullptr});
    m_text1 = &m_window->surface();
    m_text1->setText(QString());
}

void TestUndo::type(const QString &text)
{
    QTest::keyClicks(m_text1, text);
}

void TestUndo::typingUndoRedo()
{
    type(u"abc"_qs);
    QTest::keyClick(m_text1, Qt::Key_Z, Qt::ControlModifier);
    trigger("btndeshacer");
    QCOMPARE(m_text1->text(), u"a"_qs);
    QTest::keyClick(m_text1, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(m_text1->text(), u"ab"_qs);
    // A new character drops the redo tail for good.
    type(u"x"_qs);
    trigger("btnrehacer");
    QCOMPARE(m_text1->text(), u"abx"_qs);
    QCOMPARE(m_window->events().history().count(), 3);
}

void TestUndo::overwrittenSelectionComesBack()
{
    type(u"a"_qs);
    m_text1->setSelectionStart(0);
    m_text1->setSelectionLength(1);
    type(u"b"_qs);
    QCOMPARE(m_text1->text(), u"b"_qs);
    trigger("btndeshacer");
    QCOMPARE(m_text1->text(), u"a"_qs);
}

void TestUndo::emptyHistoryDoesNothing()
{
    m_text1->setText(u"texto"_qs);
    trigger("btndeshacer");
    trigger("btnrehacer");
    QCOMPARE(m_text1->text(), u"texto"_qs);
    type(u"!"_qs);
    trigger("btnrehacer");
    QCOMPARE(m_text1->text(), u"!texto"_qs);
}

void TestUndo::insertionsAreNotUndone()
{
    // Positions are those of the moment of recording: the undo works on what stands there.
    type(u"a"_qs);
    m_text1->setSelectionStart(0);
    m_text1->setSelectedText(u"xyz"_qs);
    trigger("btndeshacer");
    QCOMPARE(m_text1->text(), u"yza"_qs);
    // One-click insertions stay.
    m_text1->setText(QString());
    type(u"q"_qs);
    trigger("mn_negrita");
    trigger("btndeshacer");
    QCOMPARE(m_text1->text(), u"<b>  </b>"_qs);
}

void TestUndo::controlKeysAreNotRecorded()
{
    type(u"ab"_qs);
    QTest::keyClick(m_text1, Qt::Key_Return);
    QTest::keyClick(m_text1, Qt::Key_Tab);
    QTest::keyClick(m_text1, Qt::Key_Backspace);
    QCOMPARE(m_window->events().history().count(), 2);
    QTest::keyClick(m_text1, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(m_text1, Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(m_text1, Qt::Key_Y, Qt::ControlModifier);
    // Never a control character in the text.
    QCOMPARE(m_text1->text(), u"a\r\n"_qs);
}

void TestUndo::estimate_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("modem");
    QTest::addColumn<QString>("adsl");
    QTest::newRow("empty") << 0 << u"0.00KB"_qs << u"0.00 Segundos"_qs << u"0.00 Segundos"_qs;
    QTest::newRow("start-up page")
        << 45 << u"0.04KB"_qs << u"0.01 Segundos"_qs << u"0.00 Segundos"_qs;
    QTest::newRow("new page") << 64 << u"0.06KB"_qs << u"0.01 Segundos"_qs << u"0.00 Segundos"_qs;
    QTest::newRow("one kilobyte") << 1024 << u"1.00KB"_qs << u"0.18 Segundos"_qs
                                  << u"0.04 Segundos"_qs;
    QTest::newRow("55 kilobytes") << 55 * 1024 << u"55.00KB"_qs << u"10.00 Segundos"_qs
                                  << u"2.20 Segundos"_qs;
    QTest::newRow("no thousands separator")
        << 2000 * 1024 << u"2000.00KB"_qs << u"363.64 Segundos"_qs << u"80.00 Segundos"_qs;
}

void TestUndo::estimate()
{
    QFETCH(int, length);
    QFETCH(QString, size);
    QFETCH(QString, modem);
    QFETCH(QString, adsl);
    QLocale::setDefault(QLocale::c());
    m_text1->setText(QString(length, u'x'));
    QCOMPARE(m_window->findChild<QLabel *>(u"lbltamano"_qs)->text(), size);
    QCOMPARE(m_window->findChild<QLabel *>(u"lblmodem"_qs)->text(), modem);
    QCOMPARE(m_window->findChild<QLabel *>(u"lbladsl"_qs)->text(), adsl);
}

void TestUndo::statusAreaFollowsChanges()
{
    // The decimal separator is the user's.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    m_text1->setText(QString(1024, u'x'));
    QCOMPARE(m_window->findChild<QLabel *>(u"lbltamano"_qs)->text(), u"1,00KB"_qs);
    QCOMPARE(m_window->findChild<QLabel *>(u"lblmodem"_qs)->text(), u"0,18 Segundos"_qs);
    QLocale::setDefault(QLocale::c());
    // A typed ">" that closes a tag does not refresh; the next change does.
    m_text1->setText(QString());
    type(u"<b>"_qs);
    QCOMPARE(m_window->findChild<QLabel *>(u"lbltamano"_qs)->text(), u"0.00KB"_qs);
    m_window->document().state().archivoGuardado = u"/tmp/x.html"_qs;
    type(u"y"_qs);
    QVERIFY(m_window->document().state().archivoGuardado.isEmpty());
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
