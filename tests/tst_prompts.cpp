#include "documentcontroller.h"
#include "testsupport.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

using namespace zendral;
using namespace zendral::test;

// The real question, notice and file boxes, as the user sees and answers them.

namespace {

using Answer = Prompts::Answer;
using BoxScript = std::function<void(QMessageBox &)>;

// The text of a message box as it shows it, with the format it is shown in.
std::pair<QString, Qt::TextFormat> shownText(const QMessageBox &box)
{
    const auto *label = box.findChild<QLabel *>(u"qt_msgbox_label"_qs);
    return {label->text(), label->textFormat()};
}

} // namespace

class TestPrompts : public QObject
{
    Q_OBJECT

private slots:
    void questionAnswers_data();
    void questionAnswers();
    void noticeShowsTagsAsTyped();
    void saveDialogAddsTheFilterExtension_data();
    void saveDialogAddsTheFilterExtension();
};

void TestPrompts::questionAnswers_data()
{
    QTest::addColumn<BoxScript>("answerBox");
    QTest::addColumn<int>("answer");
    QTest::newRow("Enter: Sí, the default")
        << BoxScript([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); })
        << int(Answer::Yes);
    QTest::newRow("No clicked") << BoxScript([](QMessageBox &box) {
        QTest::mouseClick(box.buttons().at(1), Qt::LeftButton);
    }) << int(Answer::No);
    // Qt made the lone "No" the escape button: backing out answered No.
    QTest::newRow("Escape answers neither")
        << BoxScript([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Escape); })
        << int(Answer::Cancel);
    QTest::newRow("close button answers neither")
        << BoxScript([](QMessageBox &box) { box.close(); }) << int(Answer::Cancel);
}

void TestPrompts::questionAnswers()
{
    QFETCH(BoxScript, answerBox);
    QFETCH(int, answer);
    const QString text = u"¿Sobrescribir \"/web/<b>.html\"?"_qs;
    QStringList buttons;
    std::pair<QString, Qt::TextFormat> shown;
    whenModalOpens([&](QWidget &dialog) {
        auto &box = static_cast<QMessageBox &>(dialog);
        for (const QAbstractButton *button : box.buttons())
            buttons.append(button->text());
        shown = shownText(box);
        answerBox(box);
    });
    QtPrompts prompts(nullptr);
    QCOMPARE(int(prompts.question(text)), answer);
    QCOMPARE(buttons, QStringList({u"&Sí"_qs, u"&No"_qs}));
    QCOMPARE(shown.first, text);
    QCOMPARE(shown.second, Qt::PlainText);
}

void TestPrompts::noticeShowsTagsAsTyped()
{
    // The tag vanished: the box read it as markup.
    const QString text = u"Dentro de la etiqueta <body> debes poner esto: onLoad='hora()'"_qs;
    std::pair<QString, Qt::TextFormat> shown;
    whenModalOpens([&](QWidget &dialog) {
        shown = shownText(static_cast<QMessageBox &>(dialog));
        QTest::keyClick(&dialog, Qt::Key_Return);
    });
    QtPrompts(nullptr).notify(text);
    QCOMPARE(shown.first, text);
    QCOMPARE(shown.second, Qt::PlainText);
}

void TestPrompts::saveDialogAddsTheFilterExtension_data()
{
    QTest::addColumn<int>("filterDown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    // Saved with no extension, the page left the file pane and previewed as source.
    QTest::newRow("name alone, HTML filter: .html") << 0 << u"mipagina"_qs << u"mipagina.html"_qs;
    QTest::newRow("name alone, ASP filter: .asp") << 2 << u"mipagina"_qs << u"mipagina.asp"_qs;
    QTest::newRow("name with its extension is kept") << 0 << u"otra.htm"_qs << u"otra.htm"_qs;
}

void TestPrompts::saveDialogAddsTheFilterExtension()
{
    QFETCH(int, filterDown);
    QFETCH(QString, typed);
    QFETCH(QString, saved);
    QTemporaryDir dir;
    FileRequest request;
    request.mode = FileRequest::Mode::Save;
    request.filter = DocumentController::Filter();
    request.fileName = dir.filePath(u"inicial.html"_qs);
    whenModalOpens([&](QWidget &dialog) {
        auto *filters = child<QComboBox>(&dialog, u"fileTypeCombo"_qs);
        for (int i = 0; i < filterDown; ++i)
            QTest::keyClick(filters, Qt::Key_Down);
        auto *name = child<QLineEdit>(&dialog, u"fileNameEdit"_qs);
        name->clear();
        QTest::keyClicks(name, typed);
        QTest::keyClick(name, Qt::Key_Return);
    });
    QCOMPARE(QtFileChooser(nullptr).choose(request), dir.filePath(saved));
}

QTEST_MAIN(TestPrompts)
#include "tst_prompts.moc"
