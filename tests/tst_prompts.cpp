#include "documentcontroller.h"
#include "testsupport.h"

using namespace zendral;
using namespace zendral::test;

// The real question, notice and file boxes, as the user sees and answers them.
class TestPrompts : public QObject
{
    Q_OBJECT

private slots:
    void boxes_data();
    void boxes();
    void saveDialogAddsTheFilterExtension_data();
    void saveDialogAddsTheFilterExtension();
};

using Answer = Prompts::Answer;
using BoxScript = std::function<void(QMessageBox &)>;

void TestPrompts::boxes_data()
{
    QTest::addColumn<BoxScript>("answerBox");
    // -1: a notice, not a question.
    QTest::addColumn<int>("answer");
    const BoxScript enter = [](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); };
    QTest::newRow("Enter: Sí, the default") << enter << int(Answer::Yes);
    QTest::newRow("No clicked") << BoxScript([](QMessageBox &box) {
        QTest::mouseClick(box.buttons().at(1), Qt::LeftButton);
    }) << int(Answer::No);
    // Qt made the lone "No" the escape button: backing out answered No.
    QTest::newRow("Escape answers neither")
        << BoxScript([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Escape); })
        << int(Answer::Cancel);
    QTest::newRow("close button answers neither")
        << BoxScript([](QMessageBox &box) { box.close(); }) << int(Answer::Cancel);
    // The tag vanished: the box read it as markup.
    QTest::newRow("notice shows tags as typed") << enter << -1;
}

void TestPrompts::boxes()
{
    QFETCH(BoxScript, answerBox);
    QFETCH(int, answer);
    const QString text = QStringLiteral("¿Sobrescribir \"/web/<b>.html\"?");
    QStringList buttons;
    QString shown;
    whenModalOpens([&](QWidget &dialog) {
        auto &box = static_cast<QMessageBox &>(dialog);
        for (const QAbstractButton *button : box.buttons())
            buttons.append(button->text());
        const auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
        shown =
            label->textFormat() == Qt::PlainText ? label->text() : QStringLiteral("<rich text>");
        answerBox(box);
    });
    QtPrompts prompts(nullptr);
    if (answer < 0) {
        prompts.notify(text);
    } else {
        QCOMPARE(int(prompts.question(text)), answer);
        QCOMPARE(buttons, QStringList({QStringLiteral("&Sí"), QStringLiteral("&No")}));
    }
    QCOMPARE(shown, text);
}

void TestPrompts::saveDialogAddsTheFilterExtension_data()
{
    QTest::addColumn<int>("filterDown");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    // Saved with no extension, the page left the file pane and previewed as source.
    QTest::newRow("name alone, HTML filter: .html")
        << 0 << QStringLiteral("mipagina") << QStringLiteral("mipagina.html");
    QTest::newRow("name alone, ASP filter: .asp")
        << 2 << QStringLiteral("mipagina") << QStringLiteral("mipagina.asp");
    QTest::newRow("name with its extension is kept")
        << 0 << QStringLiteral("otra.htm") << QStringLiteral("otra.htm");
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
    request.fileName = dir.filePath(QStringLiteral("inicial.html"));
    whenModalOpens([&](QWidget &dialog) {
        auto *filters = child<QComboBox>(&dialog, QStringLiteral("fileTypeCombo"));
        for (int i = 0; i < filterDown; ++i)
            QTest::keyClick(filters, Qt::Key_Down);
        auto *name = child<QLineEdit>(&dialog, QStringLiteral("fileNameEdit"));
        name->clear();
        QTest::keyClicks(name, typed);
        QTest::keyClick(name, Qt::Key_Return);
    });
    QCOMPARE(QtFileChooser(nullptr).choose(request), dir.filePath(saved));
}

QTEST_MAIN(TestPrompts)
#include "tst_prompts.moc"
