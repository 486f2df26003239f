#include "editingsurface.h"
#include "mainwindow.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

using namespace zendral;
using namespace zendral::test;

namespace {

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

class TestAccessibility : public QObject
{
    Q_OBJECT

private slots:
    void buttonsAreNamedAndEscapeCloses_data();
    void buttonsAreNamedAndEscapeCloses();
};

// Every dialog the window opens is modal, under its own name; an empty command is the window.
void TestAccessibility::buttonsAreNamedAndEscapeCloses_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("name");
    QTest::newRow("main window") << QString() << QString();
    for (const auto &[command, name] : {std::pair{"mn_body", "body"},
                                        {"mn_enlace", "link"},
                                        {"mn_fuente", "fuente"},
                                        {"mn_div", "div"},
                                        {"mn_iframe", "iframe"},
                                        {"mn_tabla", "tabla"},
                                        {"mn_celda", "celda"},
                                        {"mn_popup", "popup"},
                                        {"btnmeta", "metatags"},
                                        {"mn_conexiondb", "db"},
                                        {"mn_reemplazar", "reemplazar"},
                                        {"mn_acercade", "acercade"},
                                        {"btnortografia", "ortografia"}})
        QTest::newRow(name) << QString::fromLatin1(command) << QString::fromLatin1(name);
}

void TestAccessibility::buttonsAreNamedAndEscapeCloses()
{
    QFETCH(QString, command);
    QFETCH(QString, name);
    WindowFixture f;
    f.window.show();
    if (command.isEmpty()) {
        QCOMPARE(unnamedButtons(f.window), QStringList());
        return;
    }
    // A word the dictionary does not know, so that the spelling dialog opens.
    f.text1.setText(u"casa xqzwv"_qs);
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
    f.trigger(command);
    QCOMPARE(unnamed, QStringList());
    QVERIFY(escapeCloses);
    QVERIFY(modal);
    QCOMPARE(shownName, name);
    // Backing out of a dialog leaves the page alone.
    QCOMPARE(f.text1.text(), u"casa xqzwv"_qs);
}

QTEST_MAIN(TestAccessibility)
#include "tst_accessibility.moc"
