#include "editingsurface.h"
#include "mainwindow.h"
#include "spanishqttexts.h"
#include "splashwindow.h"
#include "testsupport.h"
#include "weblinks.h"

#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include <memory>

using namespace zendral;
using namespace zendral::test;

namespace {

const QString Ayuda =
    u"La ayuda todavía no está disponíble, pulsa la tecla F2 para visitar la web oficial de este "
    "programa, allí hay unos foros donde podrás resolver tus dudas. Disculpa las molestias."_qs;

struct Fixture : WindowFixture
{
    Fixture()
    {
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
    }
    QSize size(const char *name) const
    {
        return window.findChild<QWidget *>(QLatin1String(name))->size();
    }
};

} // namespace

class TestHelpAndLayout : public QObject
{
    Q_OBJECT

private slots:
    void helpKeys_data();
    void helpKeys();
    void contextMenuUndoes();
    void qtTextsAreSpanish();
    void layoutFollowsTheWindow_data();
    void layoutFollowsTheWindow();
    void splashShowsTheMainWindowThenCloses();
};

void TestHelpAndLayout::helpKeys_data()
{
    // A key, or the toolbar's help button when none.
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("notice");
    QTest::addColumn<QString>("address");
    QTest::newRow("F1: the help notice") << int(Qt::Key_F1) << Ayuda << QString();
    QTest::newRow("help button: the same notice") << 0 << Ayuda << QString();
    QTest::newRow("F2: the product's site")
        << int(Qt::Key_F2) << QString() << weblinks::PaginaPrograma;
    QTest::newRow("F3: the author's site") << int(Qt::Key_F3) << QString() << weblinks::PaginaAutor;
}

void TestHelpAndLayout::helpKeys()
{
    QFETCH(int, key);
    QFETCH(QString, notice);
    QFETCH(QString, address);
    Fixture f;
    const QString before = f.text1.text();
    if (key)
        QTest::keyClick(&f.window, Qt::Key(key));
    else
        QTest::mouseClick(f.window.findChild<QToolButton *>(u"btnayuda"_qs), Qt::LeftButton);
    QCOMPARE(f.prompts.notices, notice.isEmpty() ? QStringList() : QStringList(notice));
    QCOMPARE(f.opener.opened, address.isEmpty() ? QList<QUrl>() : QList<QUrl>{QUrl(address)});
    QCOMPARE(f.text1.text(), before);
}

// The stock menu's Undo was disabled while Ctrl+Z undid.
void TestHelpAndLayout::contextMenuUndoes()
{
    Fixture f;
    f.text1.setText(u"ab"_qs);
    f.text1.setSelectionStart(2);
    typeInto(&f.text1, u"c"_qs);
    QTimer::singleShot(0, [] {
        auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
        QAction *undo = menu ? menu->actions().value(0) : nullptr;
        if (menu)
            menu->close();
        if (undo && undo->text().startsWith(u"&Deshacer") && undo->isEnabled())
            undo->trigger();
    });
    const QPoint at(5, 5);
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, f.text1.viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(f.text1.viewport(), &event);
    QCOMPARE(f.text1.text(), u"ab"_qs);
}

void TestHelpAndLayout::qtTextsAreSpanish()
{
    QVERIFY(installSpanishQtTexts(*qApp));
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    QCOMPARE(child<QLabel>(&dialog, u"lookInLabel"_qs)->text(), u"Ver en:"_qs);
    const auto *buttons = child<QDialogButtonBox>(&dialog, u"buttonBox"_qs);
    QCOMPARE(buttons->button(QDialogButtonBox::Cancel)->text(), u"Cancelar"_qs);
}

void TestHelpAndLayout::layoutFollowsTheWindow_data()
{
    QTest::addColumn<QSize>("to");
    QTest::newRow("wider and taller") << QSize(1400, 1000);
    QTest::newRow("smaller") << QSize(800, 560);
}

void TestHelpAndLayout::layoutFollowsTheWindow()
{
    QFETCH(QSize, to);
    Fixture f;
    f.window.resize(1000, 720);
    QTRY_COMPARE(f.window.size(), QSize(1000, 720));

    const auto sizes = [&f] {
        QList<QSize> result;
        for (const char *name : {"SSTab1", "text1", "previewPage", "archivos", "carpetas",
                                 "unidades", "tab1", "txtBuscar"})
            result.append(f.size(name));
        return result;
    };
    const QList<QSize> before = sizes();
    f.window.resize(to);
    const QSize grown = to - QSize(1000, 720);
    QTRY_COMPARE(f.size("SSTab1"), before.at(0) + grown);

    const QList<QSize> after = sizes();
    // The document tabs and both their pages take all the change, the file list its height.
    QCOMPARE(after.at(1), before.at(1) + grown);
    QCOMPARE(after.at(3), before.at(3) + QSize(0, grown.height()));
    // The drive and folder lists, the tag tabs and the search box keep their size.
    QCOMPARE(after.mid(4), before.mid(4));
    // The preview page is sized when it is shown, to the same size as the editor.
    f.window.findChild<QTabWidget *>(u"SSTab1"_qs)->setCurrentIndex(1);
    QTRY_COMPARE(f.size("previewPage"), after.at(1));
}

void TestHelpAndLayout::splashShowsTheMainWindowThenCloses()
{
    FakePrompts prompts;
    FakeFileChooser chooser;
    std::unique_ptr<MainWindow> window;
    bool splashStillUp = false;
    SplashWindow splash([&] {
        splashStillUp = splash.isVisible();
        window = std::make_unique<MainWindow>(MainWindowServices{&prompts, &chooser});
        window->show();
    });
    splash.show();
    QVERIFY(!window);
    QTRY_VERIFY_WITH_TIMEOUT(!splash.isVisible(), 10000);
    QVERIFY(splashStillUp);
    QVERIFY(window && window->isVisible());
}

QTEST_MAIN(TestHelpAndLayout)
#include "tst_helpandlayout.moc"
