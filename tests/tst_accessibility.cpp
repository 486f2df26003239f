#include "editingsurface.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>

using namespace zendral;
using namespace zendral::test;

namespace {

struct Fixture
{
    FakePrompts prompts;
    FakeFileChooser chooser;
    MainWindow window{MainWindowServices{&prompts, &chooser, nullptr}};
};

using Opener = std::function<void(Fixture &)>;

Opener command(const char *name)
{
    return [name](Fixture &f) { f.window.command(QLatin1String(name))->trigger(); };
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

void TestAccessibility::buttonsAreNamedAndEscapeCloses_data()
{
    QTest::addColumn<Opener>("open");
    QTest::newRow("main window") << Opener();
    QTest::newRow("body") << command("mn_body");
    QTest::newRow("link") << command("mn_enlace");
    QTest::newRow("font") << command("mn_fuente");
    QTest::newRow("div") << command("mn_div");
    QTest::newRow("inline frame") << command("mn_iframe");
    QTest::newRow("table") << command("mn_tabla");
    QTest::newRow("cell") << command("mn_celda");
    QTest::newRow("pop-up") << command("mn_popup");
    QTest::newRow("meta tags") << command("btnmeta");
    QTest::newRow("database connection") << command("mn_conexiondb");
    QTest::newRow("replace") << command("mn_reemplazar");
    QTest::newRow("about") << command("mn_acercade");
    QTest::newRow("spelling") << Opener([](Fixture &f) {
        f.window.surface().setText(QStringLiteral("casa xqzwv"));
        f.window.command(QStringLiteral("btnortografia"))->trigger();
    });
    QTest::newRow("save question") << Opener([](Fixture &f) {
        QtPrompts(&f.window).ask(QStringLiteral("¿Quieres guardar el archivo actual?"));
    });
    QTest::newRow("notice") << Opener(
        [](Fixture &f) { QtPrompts(&f.window).notify(QStringLiteral("Aviso")); });
}

void TestAccessibility::buttonsAreNamedAndEscapeCloses()
{
    QFETCH(Opener, open);
    Fixture f;
    f.window.show();
    if (!open) {
        QCOMPARE(unnamedButtons(f.window), QStringList());
        return;
    }

    QStringList unnamed{QStringLiteral("<no dialog>")};
    bool escapeCloses = false;
    // Runs inside the dialog's own loop, once it is up.
    QTimer::singleShot(0, &f.window, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        unnamed = unnamedButtons(*dialog);
        QTest::keyClick(dialog, Qt::Key_Escape);
        escapeCloses = !dialog->isVisible();
        if (!escapeCloses)
            dialog->close();
    });
    open(f);
    QCOMPARE(unnamed, QStringList());
    QVERIFY(escapeCloses);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
