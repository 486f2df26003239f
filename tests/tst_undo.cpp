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
    void estimate_data();
    void estimate();
    void statusAreaFollowsChanges();

private:
    std::unique_ptr<WindowFixture> m_f;
    EditingSurface *m_text1 = nullptr;
    MainWindow *m_window = nullptr;
    QString label(const char *name) const
    {
        return m_window->findChild<QLabel *>(QLatin1String(name))->text();
    }
};

// Undo and redo themselves are tst_undomodel's, against its model of the editor.
void TestUndo::init()
{
    m_f = std::make_unique<WindowFixture>();
    m_window = &m_f->window;
    m_text1 = &m_f->text1;
    m_text1->setText(QString());
}

void TestUndo::estimate_data()
{
    QTest::addColumn<int>("length");
    QTest::addColumn<QString>("size");
    QTest::addColumn<QString>("modem");
    QTest::addColumn<QString>("adsl");
    QTest::newRow("empty") << 0 << u"0.00KB"_qs << u"0.00 Segundos"_qs << u"0.00 Segundos"_qs;
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
    QCOMPARE(label("lbltamano"), size);
    QCOMPARE(label("lblmodem"), modem);
    QCOMPARE(label("lbladsl"), adsl);
}

void TestUndo::statusAreaFollowsChanges()
{
    // The decimal separator is the user's.
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    m_text1->setText(QString(1024, u'x'));
    QCOMPARE(label("lbltamano"), u"1,00KB"_qs);
    QCOMPARE(label("lblmodem"), u"0,18 Segundos"_qs);
    QLocale::setDefault(QLocale::c());
    // A typed ">" that closes a tag refreshes like any change, and the tag is coloured.
    m_text1->setText(QString(1027, u'x'));
    m_text1->setSelectionStart(1027);
    QTest::keyClicks(m_text1, u"<b"_qs);
    QCOMPARE(label("lbltamano"), u"1.00KB"_qs);
    m_window->document().state().archivoGuardado = u"/tmp/x.html"_qs;
    QTest::keyClicks(m_text1, u">"_qs);
    QCOMPARE(label("lbltamano"), u"1.01KB"_qs);
    QVERIFY(m_window->document().state().archivoGuardado.isEmpty());
    QVERIFY(m_text1->colourAt(1028) != colours::Black);
}

QTEST_MAIN(TestUndo)
#include "tst_undo.moc"
