#include "documentcontroller.h"
#include "filepanes.h"
#include "folderresults.h"
#include "foldersearch.h"
#include "windowfixture.h"

using namespace zendral;
using namespace zendral::test;

namespace {

// Every hit of needle in every page under folder, found by reading each file as text line by
// line: "relative path:line:position in the page".
QStringList plainScan(const QString &root, const QStringList &pages, const QString &needle)
{
    QStringList hits;
    for (const QString &relative : pages) {
        const QString text = QString::fromUtf8(fileBytes(root + u'/' + relative));
        qint64 line = 1;
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text.at(i) == u'\n' ||
                (text.at(i) == u'\r' && (i + 1 == text.size() || text.at(i + 1) != u'\n')))
                ++line;
            if (QStringView(text).mid(i).startsWith(needle, Qt::CaseInsensitive)) {
                hits.append(QStringLiteral("%1:%2:%3").arg(relative).arg(line).arg(i));
                i += needle.size() - 1;
            }
        }
    }
    hits.sort();
    return hits;
}

} // namespace

class TestFolderSearch : public QObject
{
    Q_OBJECT

private slots:
    // A tree of 2,000 pages with binary files, links out of it and a link loop among them:
    // the hits are those a plain scan of the pages finds, and what was passed over is told.
    void treeAgreesWithPlainScan()
    {
        QTemporaryDir outside;
        writeBytes(outside.filePath("secreto.html"), "aguja fuera\n");
        QTemporaryDir tree;
        const QString root = tree.path();
        QRandomGenerator random(27);
        QStringList pages;
        const QStringList ends = {"\r\n", "\n", "\r"};
        for (int i = 0; i < 2000; ++i) {
            const QString relative =
                QStringLiteral("d%1/s%2/p%3.%4")
                    .arg(i % 7)
                    .arg(i % 3)
                    .arg(i)
                    .arg(QStringList{"html", "htm", "asp", "css", "js"}[i % 5]);
            QByteArray bytes;
            for (int line = random.bounded(40); line > 0; --line) {
                const int kind = random.bounded(30);
                bytes += kind == 0   ? "<p>una AGUJA y otra aguja</p>"
                         : kind == 1 ? "agujaaguja"
                                     : "<td>paja</td>";
                // Mixed line ends, and a last line without one now and then.
                if (line > 1 || random.bounded(2))
                    bytes += ends[random.bounded(3)].toUtf8();
            }
            writeBytes(root + u'/' + relative, bytes);
            pages.append(relative);
        }
        // Passed over: binary pages, files of other kinds, hidden folders, links that lead out.
        writeBytes(root + "/d1/imagen.html", QByteArray("aguja\0aguja", 11));
        writeBytes(root + "/d2/datos.asp", QByteArray("\0\0aguja", 7));
        writeBytes(root + "/d3/notas.txt", "aguja");
        writeBytes(root + "/.oculto/p.html", "aguja");
        QVERIFY(QFile::link(root, root + "/d4/bucle"));
        QVERIFY(QFile::link(outside.path(), root + "/d5/fuera"));
        QVERIFY(QFile::link(outside.filePath("secreto.html"), root + "/d6/secreto.html"));
        // A link to a page inside the folder is that page again.
        QVERIFY(QFile::link(root + u'/' + pages.first(), root + "/enlace.html"));
        pages.append(QStringLiteral("enlace.html"));

        FolderSearch search;
        QList<FolderHit> hits;
        connect(&search, &FolderSearch::hitsFound, this,
                [&hits](const QList<FolderHit> &found) { hits += found; });
        QSignalSpy finished(&search, &FolderSearch::finished);
        search.start(root, SearchPattern(QStringLiteral("aguja"), {}));
        QVERIFY(finished.wait(120000));
        const auto summary = finished.first().first().value<FolderSearchSummary>();
        QStringList seen;
        for (const FolderHit &hit : hits) {
            seen.append(QStringLiteral("%1:%2:%3")
                            .arg(QDir(root).relativeFilePath(hit.path))
                            .arg(hit.line)
                            .arg(hit.start));
            QCOMPARE(hit.lineText.mid(hit.column, hit.columnLength).toLower(), u"aguja");
        }
        seen.sort();
        const QStringList expected = plainScan(root, pages, QStringLiteral("aguja"));
        QVERIFY(expected.size() > 2000);
        QCOMPARE(seen, expected);
        QCOMPARE(summary.hits, expected.size());
        QCOMPARE(summary.files, pages.size());
        QCOMPARE(summary.binary, 2);
        QCOMPARE(summary.unreadable, 0);
        QVERIFY(!summary.stopped);
    }

    // A common word over a big site: every hit counted, the first ten thousand told.
    void mostHitsTold()
    {
        QTemporaryDir folder;
        writeBytes(folder.filePath("a.html"), QByteArray("x\n").repeated(6000));
        writeBytes(folder.filePath("b.html"), QByteArray("x\r\n").repeated(6000));
        FolderSearch search;
        qint64 told = 0;
        connect(&search, &FolderSearch::hitsFound, this,
                [&told](const QList<FolderHit> &found) { told += found.size(); });
        QSignalSpy finished(&search, &FolderSearch::finished);
        search.start(folder.path(), SearchPattern(QStringLiteral("x"), {}));
        QVERIFY(finished.wait(60000));
        const auto summary = finished.first().first().value<FolderSearchSummary>();
        QCOMPARE(summary.hits, 12000);
        QCOMPARE(summary.filesWithHits, 2);
        QCOMPARE(told, FolderSearch::MostHits);
    }

    // Through the window: Buscar en archivos over the panes' folder, a hit double-clicked.
    void dockOpensTheHit()
    {
        QTemporaryDir folder;
        writeBytes(folder.filePath("uno.html"), "<p>nada</p>\r\n<p class=\"x\">aguja</p>\r\n");
        writeBytes(folder.filePath("sub/dos.htm"), "aguja\naguja\n");
        writeBytes(folder.filePath("sub/raro.html"), QByteArray("aguja\0", 6));
        FakePrompts prompts;
        FakeFileChooser chooser;
        MainWindow window(MainWindowServices{&prompts, &chooser, nullptr, nullptr});
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        window.findChild<FilePanes *>()->setFolderPath(folder.path());
        window.command(QStringLiteral("mn_buscararchivos"))->trigger();
        auto *dock = window.findChild<QDockWidget *>(QStringLiteral("resultadosbusqueda"));
        QVERIFY(dock && dock->isVisible());
        QCOMPARE(window.dockWidgetArea(dock), Qt::BottomDockWidgetArea);
        QCOMPARE(dock->findChild<QLineEdit *>("txtcarpeta")->text(),
                 QDir::toNativeSeparators(folder.path()));
        QTest::keyClicks(dock->findChild<QLineEdit *>("txtbuscararchivos"),
                         QStringLiteral("aguja"));
        QTest::mouseClick(dock->findChild<QPushButton *>("btnbuscararchivos"), Qt::LeftButton);
        auto *status = dock->findChild<QLabel *>("lblbusqueda");
        QTRY_COMPARE_WITH_TIMEOUT(
            status->text(),
            QStringLiteral("3 apariciones en 2 archivos; se leyeron 2 archivos; se omitieron 1 "
                           "archivos binarios"),
            60000);
        auto *list = dock->findChild<QTreeWidget *>("lstresultados");
        QCOMPARE(list->topLevelItemCount(), 3);
        QTreeWidgetItem *hit = list->topLevelItem(2);
        QCOMPARE((QStringList{hit->text(0), hit->text(1), hit->text(2)}),
                 (QStringList{"uno.html", "2", "<p class=\"x\">aguja</p>"}));

        // An unsaved page is asked about first; backing out keeps it.
        window.surface().page().setSelectedText(QStringLiteral("cambio"));
        prompts.answers.enqueue(Prompts::Answer::Cancel);
        const auto doubleClick = [list](QTreeWidgetItem *item) {
            list->scrollToItem(item);
            const QRect row = list->visualItemRect(item);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, row.center());
        };
        QSignalSpy chosen(list, &QTreeWidget::itemDoubleClicked);
        doubleClick(hit);
        QCOMPARE(chosen.size(), 1);
        QVERIFY(window.document().isModified());
        QCOMPARE(prompts.questions.size(), 1);
        QVERIFY(window.surface().page().text().contains(u"cambio"));
        prompts.answers.enqueue(Prompts::Answer::No);
        doubleClick(hit);
        QCOMPARE(window.document().state().archivoActual, folder.filePath("uno.html"));
        QCOMPARE(window.surface().page().selectedText(), QStringLiteral("aguja"));
        QCOMPARE(window.surface().page().selectionStart(), 26);
    }
};

QTEST_MAIN(TestFolderSearch)
#include "tst_foldersearch.moc"
