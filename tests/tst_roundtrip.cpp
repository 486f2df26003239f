#include "documentcontroller.h"
#include "filepanes.h"
#include "windowfixture.h"

#include <QMenu>
#include <QPrintPreviewDialog>
#include <QPrinter>

using namespace zendral;
using namespace zendral::test;

// Files of every kind opened and saved unchanged through the window: what comes back is
// what went in, but for the line reader's normalisation.

namespace {

// How a page came to carry its name.
enum class Door { CommandLine, Pane, SaveAs };

// The bytes a save writes after bytes were opened, worked out on bytes alone: every line end
// comes back as it was, and a last line without one gets one of the page's own kind (its first
// line end, CR LF when it has none), once: the save adds nothing to a text that ends its last
// line. A leading byte-order mark is no part of the first line.
QByteArray savedAfterOpening(const QByteArray &bytes)
{
    const qsizetype marked = bytes.startsWith("\xEF\xBB\xBF") ? 3 : 0;
    if (bytes.size() > marked && (bytes.endsWith('\n') || bytes.endsWith('\r')))
        return bytes;
    qsizetype first = marked;
    while (first < bytes.size() && bytes.at(first) != '\r' && bytes.at(first) != '\n')
        ++first;
    if (first == bytes.size() || bytes.mid(first, 2) == "\r\n")
        return bytes + "\r\n";
    return bytes + bytes.at(first);
}

struct Fixture : WindowFixture
{
    // Writes the page's bytes in a folder of its own and gives its path.
    QString write(const QByteArray &bytes, const QString &name = QStringLiteral("pagina.html"))
    {
        writeBytes(folder.filePath(name), bytes);
        return folder.filePath(name);
    }
    QTemporaryDir folder;
};

} // namespace

Q_DECLARE_METATYPE(Door)

class TestRoundTrip : public QObject
{
    Q_OBJECT

private slots:
    void openThenSave_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // Whether the file is asked about as binary, and the answer.
        QTest::addColumn<bool>("binary");
        QTest::addColumn<bool>("answer");
        // A word of the one notice the page's name is told in, if any; whether the page is
        // opened from the file pane; text typed at its end, and the bytes then saved.
        QTest::addColumn<QString>("told");
        QTest::addColumn<bool>("fromPane");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QByteArray>("saved");
        const auto row = [](const char *name, const QByteArray &bytes, bool binary = false,
                            bool answer = false, const char *told = "", bool fromPane = false) {
            QTest::newRow(name) << bytes << binary << answer << QString(told) << fromPane
                                << QString() << QByteArray();
        };
        QByteArray all;
        for (int i = 0; i < 256; ++i)
            all += char(i);
        row("empty file", QByteArray());
        row("all 256 byte values, opened as binary", all, true, true);
        row("JPEG not opened", jpegBytes(48, 32), true, false);
        row("CR line ends", "<p>\ra\rb");
        row("CR LF line ends", "<p>\r\na\r\n");
        row("lone LF inside a line", "a\nb\r\nc");
        row("LF line ends only", "<p>\na\nb\n");
        row("LF CR and CR CR LF", "a\n\rb\r\r\nc");
        row("final CR", "a\r");
        row("UTF-8 without byte-order mark",
            "<p>canci\xC3\xB3n \xE2\x82\xAC \xE6\xBC\xA2 \xF0\x9F\x98\x80</p>");
        row("UTF-8 with byte-order mark", "\xEF\xBB\xBF<p>a\xC3\xB1o</p>\r\n");
        row("byte-order mark alone", "\xEF\xBB\xBF");
        row("UTF-8 cut short is read as Windows-1252", "a\xC3\r\n\xE2\x82");
        row("Windows-1252 Spanish", "<p>\xBFQu\xE9 a\xF1o? \xA1Ol\xE9! \x80 \x93"
                                    "comillas\x94</p>\r\n");
        row("Windows-1252 undefined bytes", "\x81\x8D\x8F\x90\x9D");
        row("long lines, an emoji where they are cut into blocks",
            "<p>" + QByteArray("\xF0\x9F\x98\x80 a").repeated(5000) + "\n" + QByteArray(9000, 'b') +
                "\r");
        const QByteArray limit(100000, 'x');
        row("100000 characters are not told", limit);
        row("100001 characters are told", limit + 'x', false, false, "lento");
        row("file pane: 100001 characters are told", limit + 'x', false, false, "lento", true);
        row("many short LF lines are not told", QByteArray("<p>corta</p>\n").repeated(20000));
        // Saved in pieces of about a megabyte: the ends after the first piece keep their kinds.
        row("mixed ends, a held line and separators past the first megabyte",
            QByteArray("a\r\nb\nc\r").repeated(200000) + QByteArray(9000, 'd') + "\u2028\r\ne\n");
        // Qt took U+FDD0 and U+FDD1 for its frame markers, which an LF page saved as LF; U+FDD2
        // and U+FDD3 stood for the separators and came back as U+2028 and U+2029.
        row("noncharacters U+FDD0 to U+FDD3 and separators, LF page",
            "<p>a\uFDD0b\uFDD1c</p>\n\uFDD2\uFDD3 \u2028\u2029\n");
        row("the same in a page of mixed line ends", "a\uFDD0\r\nb\uFDD1\nc\uFDD2\rd\uFDD3\u2029");
        const QByteArray utf16("\xFF\xFE<\0\xD0\xFD\xD1\xFD\xD2\xFD\xD3\xFD\x28\x20\x29\x20\n\0",
                               18);
        QTest::newRow("UTF-16 noncharacters and separators")
            << utf16 << false << false << QString() << false << QString() << utf16;
        // A lone surrogate is no character: the page's text could not hold it.
        row("UTF-16 with a lone surrogate, kept as a binary file's bytes",
            QByteArray("\xFF\xFE"
                       "a\0\0\xD8"
                       "b\0",
                       8),
            true, true);
        // Typed characters are never replaced:
        const QString typed = QStringLiteral("漢字 😀");
        const QByteArray inUtf8("\xE6\xBC\xA2\xE5\xAD\x97 \xF0\x9F\x98\x80\r\n");
        const QByteArray marks("\xEF\xBB\xBF\xEF\xBB\xBF");
        // clang-format off
        // read as Windows-1252, this page came back with its marks and accents garbled.
        QTest::newRow("typed: UTF-8 whose text opens with a second byte-order mark") << marks + "a\xC3\xB1o\r\n"
            << false << false << "" << false << typed << marks + "a\xC3\xB1o\r\n" + inUtf8;
        // clang-format on
    }
    void openThenSave()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, binary);
        QFETCH(bool, answer);
        QFETCH(QString, told);
        QFETCH(bool, fromPane);
        QFETCH(QString, typed);
        QFETCH(QByteArray, saved);
        Fixture f;
        const QString path = f.write(bytes);
        const QString before = f.page().text();
        f.prompts.answers.enqueue(false);
        f.prompts.answers.enqueue(answer);
        if (fromPane)
            emit f.window.findChild<FilePanes *>()->fileDoubleClicked(f.folder.path(),
                                                                      "pagina.html");
        else
            f.trigger(QStringLiteral("mn_abrir"), path);
        QCOMPARE(f.prompts.questions.size(), binary ? 2 : 1);
        if (!fromPane)
            QCOMPARE(f.window.document().state().archivoActual,
                     binary && !answer ? QString() : path);
        if (binary && !answer) {
            // Nothing to tell: the document the user had stays, under its name.
            QCOMPARE(f.prompts.notices, QStringList());
            QCOMPARE(f.page().text(), before);
            return;
        }
        if (!typed.isEmpty()) {
            f.page().setSelectionStart(f.page().textLength());
            f.page().setSelectedText(typed);
        }
        f.chooser.paths.enqueue(path);
        f.trigger("mn_guardar");
        // Told once: a line too long to edit quickly (nothing of it is cut).
        QCOMPARE(f.prompts.notices.size(), told.isEmpty() ? 0 : 1);
        if (!told.isEmpty())
            QVERIFY(f.prompts.notices.first().contains(path) &&
                    f.prompts.notices.first().contains(told));
        QCOMPARE(fileBytes(path), !saved.isEmpty() ? saved
                                  : binary         ? bytes
                                                   : savedAfterOpening(bytes));
    }
    void everyCharacterThroughEditing()
    {
        // What Qt's text document does not hold as itself, and pairs that share a unit with the
        // page's stand-ins.
        const QString text =
            QStringLiteral("<p>\uFDD0\uFDD1\uFDD2\uFDD3\u2028\u2029\U0001FFFE\U0001FFFF</p>\n");
        Fixture f;
        const QString path = f.write(text.toUtf8());
        f.trigger(QStringLiteral("mn_abrir"), path);
        QCOMPARE(f.page().text(), text);
        f.trigger(QStringLiteral("mn_seleccionartodo"));
        f.trigger(QStringLiteral("mn_copiar"));
        QCOMPARE(QApplication::clipboard()->text(), text);
        f.page().setSelectionStart(f.page().textLength());
        f.trigger(QStringLiteral("mn_pegar"));
        QCOMPARE(f.page().text(), text + text);
        typeInto(&f.view, QStringLiteral("\uFDD1\u2029"));
        QCOMPARE(f.page().text(), text + text + QStringLiteral("\uFDD1\u2029"));
        QTest::keyClick(&f.view, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&f.view, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.page().text(), text + text);
        f.trigger("mn_guardar");
        QCOMPARE(f.prompts.notices, QStringList());
        QCOMPARE(fileBytes(path), (text + text).toUtf8());
    }
    void namesThatAreNotUtf8_data()
    {
        QTest::addColumn<Door>("door");
        // The name looked gone to every check, and Save wrote a new file "caf\uFFFD.html" once
        // another name read the same.
        QTest::newRow("named on the command line") << Door::CommandLine;
        QTest::newRow("double-clicked in the file pane") << Door::Pane;
        // The title, Ventana and the printed sheets showed the name's bytes as other characters.
        QTest::newRow("chosen in Guardar como") << Door::SaveAs;
    }
    void namesThatAreNotUtf8()
    {
        QFETCH(Door, door);
        Fixture f;
        const QByteArray folder = QFile::encodeName(f.folder.path()) + '/';
        const QByteArray name = folder + "caf\xE9.html", other = folder + "caf\xE8.html";
        writeRaw(name, "<p>uno</p>\r\n");
        if (door == Door::Pane) {
            emit f.window.findChild<FilePanes *>()->fileDoubleClicked(
                f.folder.path(), QFile::decodeName("caf\xE9.html"));
        } else if (door == Door::CommandLine) {
            f.window.document().openPath(nameFromSystem(name));
        } else {
            f.page().setText(QStringLiteral("<p>uno</p>\r\n"));
            // As the dialog gives a name that is not UTF-8.
            f.trigger("mn_guardarcomo", QFile::decodeName(name));
            QCOMPARE(readRaw(name), "<p>uno</p>\r\n");
        }
        QCOMPARE(f.page().text(), QStringLiteral("<p>uno</p>\r\n"));
        const QString shown = QFile::decodeName(name);
        QCOMPARE(f.window.windowTitle(), QStringLiteral("Zendral - [%1]").arg(shown));
        auto *windows = child<QMenu>(&f.window, QStringLiteral("mn_ventana"));
        emit windows->aboutToShow();
        QCOMPARE(windows->actions().constLast()->text(), QStringLiteral("&1 caf\uFFFD.html"));
        QString printed;
        whenModalOpens([&printed](QWidget &dialog) {
            printed = static_cast<QPrintPreviewDialog &>(dialog).printer()->docName();
        });
        f.trigger("mn_vistapreviaimpresion");
        QCOMPARE(printed, QStringLiteral("caf\uFFFD.html"));
        // Another name that Qt reads the same comes beside it; another program changes the page.
        writeRaw(other, "<p>otro</p>\r\n");
        writeRaw(name, "<p>cambiado por otro programa</p>\r\n");
        f.window.document().checkFileOnDisk();
        QCOMPARE(f.page().text(), QStringLiteral("<p>cambiado por otro programa</p>\r\n"));
        QCOMPARE(f.prompts.notices, QStringList());
        if (door != Door::Pane) {
            f.page().setSelectionStart(0);
            f.page().setSelectedText(QStringLiteral("x"));
            f.trigger("mn_guardar");
            QCOMPARE(f.prompts.notices, QStringList());
            QCOMPARE(readRaw(name), "x<p>cambiado por otro programa</p>\r\n");
        }
        QCOMPARE(readRaw(other), "<p>otro</p>\r\n");
        // No third file: Qt's own listing skips names that are not UTF-8.
        QCOMPARE(entryCount(f.folder.path()), 2);
        ::unlink(name.constData());
        ::unlink(other.constData());
    }
    void lineEndsSurviveEditing_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        // What Enter gives on this page.
        QTest::addColumn<QByteArray>("lineEnd");
        // clang-format off
        QTest::newRow("LF page") << QByteArray("<p>uno</p>\n<p>dos</p>\n<p>tres</p>\n") << QByteArray("\n");
        QTest::newRow("CR page") << QByteArray("uno\rdos\rtres\r") << QByteArray("\r");
        QTest::newRow("mixed page, CR LF first") << QByteArray("uno\r\ndos\ntres\rcuatro\r\n") << QByteArray("\r\n");
        QTest::newRow("mixed page, LF first") << QByteArray("uno\ndos\r\ntres\r\n\u2028\u2029\r") << QByteArray("\n");
        // clang-format on
    }
    void lineEndsSurviveEditing()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QByteArray, lineEnd);
        Fixture f;
        const QString path = f.write(bytes);
        f.trigger(QStringLiteral("mn_abrir"), path);
        auto *line = f.window.findChild<QLineEdit *>(QStringLiteral("txtlinea"));
        const auto goToLine = [&](const QString &number) {
            line->setText(number);
            QTest::keyClick(line, Qt::Key_Return);
        };
        // Line 2 ends where the second line end starts; a typed character is undone there.
        goToLine(QStringLiteral("2"));
        QTest::keyClicks(&f.view, QStringLiteral("x"));
        QTest::keyClick(&f.view, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(&f.view, Qt::Key_Return);
        QTest::keyClicks(&f.view, QStringLiteral("y"));
        // Line 3 is now the new one.
        goToLine(QStringLiteral("3"));
        QTest::keyClicks(&f.view, QStringLiteral("z"));
        f.trigger("mn_guardar");
        QCOMPARE(f.prompts.notices, QStringList());
        // Where the second line ends: at the second line end.
        auto ends = QRegularExpression(QStringLiteral("\r\n|[\r\n]"))
                        .globalMatch(QString::fromLatin1(bytes));
        ends.next();
        QCOMPARE(fileBytes(path),
                 QByteArray(bytes).insert(ends.next().capturedStart(), lineEnd + "yz"));
    }
};

QTEST_MAIN(TestRoundTrip)
#include "tst_roundtrip.moc"
