#include "editingsurface.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <functional>

using namespace zendral;
using namespace zendral::test;

namespace {

using Fixture = WindowFixture;
using Opener = std::function<void(Fixture &)>;

Opener command(const char *name)
{
    return [name](Fixture &f) { f.trigger(QLatin1String(name)); };
}

// The buttons under root that neither a caption nor an accessible name describes.
QStringList unnamedButtons(const QWidget &root)
{
    QStringList unnamed;
    for (const QAbstractButton *button : root.findChildren<QAbstractButton *>()) {
        if (!qobject_cast<const QToolButton *>(button) &&
            !qobject_cast<const QPushButton *>(button))
            continue;
        // Buttons that only show when a bar overflows are the toolkit's, named by it.
        if (!button->isVisibleTo(&root))
            continue;
        if (button->text().isEmpty() && button->accessibleName().isEmpty())
            unnamed.append(button->objectName() + QLatin1Char('@') +
                           button->parentWidget()->objectName());
    }
    return unnamed;
}

} // namespace

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void buttonsAreNamedAndEscapeCloses_data();
    void buttonsAreNamedAndEscapeCloses();
};

// Every dialog the window opens is modal, under its own name.
void TestAccessibility::buttonsAreNamedAndEscapeCloses_data()
{
    QTest::addColumn<Opener>("open");
    QTest::addColumn<QString>("name");
    QTest::newRow("main window") << Opener() << QString();
    QTest::newRow("body") << command("mn_body") << u"body"_qs;
    QTest::newRow("link") << command("mn_enlace") << u"link"_qs;
    QTest::newRow("font") << command("mn_fuente") << u"fuente"_qs;
    QTest::newRow("div") << command("mn_div") << u"div"_qs;
    QTest::newRow("inline frame") << command("mn_iframe") << u"iframe"_qs;
    QTest::newRow("table") << command("mn_tabla") << u"tabla"_qs;
    QTest::newRow("cell") << command("mn_celda") << u"celda"_qs;
    QTest::newRow("pop-up") << command("mn_popup") << u"popup"_qs;
    QTest::newRow("meta tags") << command("btnmeta") << u"metatags"_qs;
    QTest::newRow("database connection") << command("mn_conexiondb") << u"db"_qs;
    QTest::newRow("replace") << command("mn_reemplazar") << u"reemplazar"_qs;
    QTest::newRow("about") << command("mn_acercade") << u"acercade"_qs;
    QTest::newRow("spelling") << Opener([](Fixture &f) {
        f.text1.setText(u"casa xqzwv"_qs);
        f.trigger(u"btnortografia"_qs);
    }) << QString();
    QTest::newRow("save question") << Opener([](Fixture &f) {
        QtPrompts(&f.window).ask(u"¿Quieres guardar el archivo actual?"_qs);
    }) << QString();
    QTest::newRow("notice") << Opener([](Fixture &f) { QtPrompts(&f.window).notify(u"Aviso"_qs); })
                            << QString();
}

void TestAccessibility::buttonsAreNamedAndEscapeCloses()
{
    QFETCH(Opener, open);
    QFETCH(QString, name);
    Fixture f;
    f.window.show();
    if (!open) {
        QCOMPARE(unnamedButtons(f.window), QStringList());
        return;
    }

    QStringList unnamed{u"<no dialog>"_qs};
    bool escapeCloses = false;
    bool modal = false;
    QString shownName;
    whenModalOpens([&](QWidget &dialog) {
        unnamed = unnamedButtons(dialog);
        modal = dialog.isModal();
        shownName = dialog.objectName();
        QTest::keyClick(&dialog, Qt::Key_Escape);
        escapeCloses = !dialog.isVisible();
    });
    const QString before = f.text1.text();
    open(f);
    QCOMPARE(unnamed, QStringList());
    QVERIFY(escapeCloses);
    QVERIFY(modal);
    if (name.isEmpty())
        return;
    QCOMPARE(shownName, name);
    // Backing out of a dialog leaves the page alone.
    QCOMPARE(f.text1.text(), before);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
