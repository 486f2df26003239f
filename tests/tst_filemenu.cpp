#include "documentcontroller.h"
#include "spanishqttexts.h"
#include "usersettings.h"
#include "windowfixture.h"

using namespace zendral;
using namespace zendral::test;

namespace {

// The recent pages as Archivo shows them when opened.
QList<QAction *> recentEntries(MainWindow &window)
{
    auto *fileMenu = child<QMenu>(&window, QStringLiteral("mn_archivo"));
    fileMenu->popup(QPoint());
    fileMenu->close();
    return child<QMenu>(&window, QStringLiteral("mn_recientes"))->actions();
}

using BoxScript = std::function<void(QMessageBox &)>;

} // namespace

// What Archivo leads to beyond the page itself: the recent pages, printing, and Qt's own
// question boxes and save dialog as the user answers them, in Spanish.
class TestFileMenu : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installSpanishQtTexts(*qApp)); }

    void init() { userSettings()->clear(); }

    void recentPages()
    {
        QTemporaryDir dir;
        QStringList pages;
        for (int i = 0; i < 12; ++i) {
            pages.append(dir.filePath(QStringLiteral("p%1 & co.htm").arg(i)));
            writeBytes(pages.last(), "<p></p>");
        }
        const QString saved = dir.filePath(QStringLiteral("guardada.htm"));
        QStringList expected = {QStringLiteral("&1 ") + saved};
        for (int i = 11; i > 2; --i)
            expected.append(QStringLiteral("&%1 ").arg(12 - i + 1) +
                            dir.filePath(QStringLiteral("p%1 && co.htm").arg(i)));
        expected.last().replace(QStringLiteral("&10 "), QStringLiteral("1&0 "));
        {
            WindowFixture f;
            for (const QString &page : pages)
                f.trigger(QStringLiteral("mn_abrir"), page);
            f.trigger(QStringLiteral("mn_guardarcomo"), saved);
        }
        // Kept for the next start; a page gone since is told and taken off, another opens.
        WindowFixture f;
        QStringList shown;
        for (const QAction *entry : recentEntries(f.window))
            shown.append(entry->text());
        QCOMPARE(shown, expected);
        QVERIFY(QFile::remove(pages.at(11)));
        recentEntries(f.window).at(1)->trigger();
        QCOMPARE(f.prompts.notices,
                 QStringList(QStringLiteral("La página \"%1\" ya no existe; se quita de las "
                                            "páginas recientes.")
                                 .arg(pages.at(11))));
        recentEntries(f.window).at(4)->trigger();
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Zendral - [") + pages.at(7) + u']');
    }

    // 150 lines, every other one ended by a lone LF, printed with numbers and a header.
    void printAndPreview()
    {
        WindowFixture f;
        QTemporaryDir dir;
        QByteArray lines;
        for (int i = 1; i <= 150; ++i)
            lines += "<p>linea " + QByteArray::number(i) + (i % 2 ? "</p>\n" : "</p>\r\n");
        writeBytes(dir.filePath(QStringLiteral("impresa.htm")), lines);
        f.trigger(QStringLiteral("mn_abrir"), dir.filePath(QStringLiteral("impresa.htm")));
        const QString pdf = dir.filePath(QStringLiteral("salida.pdf"));
        whenModalOpens([&](QWidget &dialog) {
            child<QLineEdit>(&dialog, QStringLiteral("filename"))->setText(pdf);
            dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->click();
        });
        f.trigger(QStringLiteral("mn_imprimir"));
        QProcess pdftotext;
        pdftotext.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, "-"});
        QVERIFY(pdftotext.waitForFinished(60000));
        const QString text = QString::fromUtf8(pdftotext.readAllStandardOutput());
        const QStringList sheets = text.split(u'\f', Qt::SkipEmptyParts);
        QVERIFY2(sheets.size() >= 2, qPrintable(text));
        for (qsizetype i = 0; i < sheets.size(); ++i) {
            const QString header = sheets.at(i).section(u'\n', 0, 0).simplified();
            QCOMPARE(header, QStringLiteral("impresa.htm Página %1").arg(i + 1));
        }
        for (const char *line : {"1 <p>linea 1</p>", "2 <p>linea 2</p>", "150 <p>linea 150</p>"})
            QVERIFY2(text.simplified().contains(QLatin1String(line)), line);
    }

    // The real question and notice boxes, as the user sees and answers them.
    void promptBoxes_data()
    {
        QTest::addColumn<BoxScript>("answerBox");
        QTest::addColumn<int>("answer"); // -1: a notice, not a question
        const BoxScript enter = [](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Return); };
        QTest::newRow("Enter: Sí, the default") << enter << int(Prompts::Answer::Yes);
        // Qt made the lone "No" the escape button: backing out answered No.
        QTest::newRow("Escape answers neither")
            << BoxScript([](QMessageBox &box) { QTest::keyClick(&box, Qt::Key_Escape); })
            << int(Prompts::Answer::Cancel);
        QTest::newRow("close button answers neither")
            << BoxScript([](QMessageBox &box) { box.close(); }) << int(Prompts::Answer::Cancel);
        // The tag vanished: the box read it as markup.
        QTest::newRow("notice shows tags as typed") << enter << -1;
    }

    void promptBoxes()
    {
        QFETCH(BoxScript, answerBox);
        QFETCH(int, answer);
        const QString text = QStringLiteral("¿Sobrescribir \"/web/<b>.html\"?");
        QStringList shown;
        whenModalOpens([&](QWidget &dialog) {
            auto &box = static_cast<QMessageBox &>(dialog);
            const auto *label = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label"));
            shown << (label->textFormat() == Qt::PlainText ? label->text() : "<rich text>");
            for (const QAbstractButton *button : box.buttons())
                shown.append(button->text());
            answerBox(box);
        });
        QtPrompts prompts(nullptr);
        if (answer < 0)
            prompts.notify(text);
        else
            QCOMPARE(int(prompts.question(text)), answer);
        QCOMPARE(shown.mid(0, answer < 0 ? 1 : 3),
                 (answer < 0 ? QStringList{text} : QStringList{text, "&Sí", "&No"}));
    }

    void saveDialogAddsTheFilterExtension_data()
    {
        QTest::addColumn<int>("filterDown");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("saved");
        // Whether the dialog is given the page's path, or only a folder to start in.
        QTest::addColumn<bool>("preset");
        // Saved with no extension, the page left the file pane and previewed as source.
        QTest::newRow("name alone, HTML filter: .html") << 0 << "mipagina"
                                                        << "mipagina.html" << true;
        QTest::newRow("name alone, ASP filter: .asp") << 2 << "mipagina"
                                                      << "mipagina.asp" << true;
        QTest::newRow("name with its extension is kept") << 0 << "otra.htm"
                                                         << "otra.htm" << true;
        // It started in the program's working folder.
        QTest::newRow("page never saved: starts in the folder given") << 0 << "mipagina"
                                                                      << "mipagina.html" << false;
    }

    void saveDialogAddsTheFilterExtension()
    {
        QFETCH(int, filterDown);
        QFETCH(QString, typed);
        QFETCH(QString, saved);
        QFETCH(bool, preset);
        QTemporaryDir dir;
        FileRequest request;
        request.mode = FileRequest::Mode::Save;
        request.filter = DocumentController::Filter();
        if (preset)
            request.fileName = dir.filePath(QStringLiteral("inicial.html"));
        else
            request.folder = dir.path();
        whenModalOpens([&](QWidget &dialog) {
            // Qt's own texts are in Spanish too.
            QCOMPARE(child<QLabel>(&dialog, QStringLiteral("lookInLabel"))->text(), "Ver en:");
            for (int i = 0; i < filterDown; ++i)
                QTest::keyClick(child(&dialog, QStringLiteral("fileTypeCombo")), Qt::Key_Down);
            auto *name = child<QLineEdit>(&dialog, QStringLiteral("fileNameEdit"));
            name->clear();
            QTest::keyClicks(name, typed);
            QTest::keyClick(name, Qt::Key_Return);
        });
        QCOMPARE(QtFileChooser(nullptr).choose(request), dir.filePath(saved));
    }

private:
    OwnConfiguration m_configuration;
};

QTEST_MAIN(TestFileMenu)
#include "tst_filemenu.moc"
