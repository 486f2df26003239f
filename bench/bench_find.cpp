#include "benchsupport.h"
#include "colouring.h"
#include "editingsurface.h"
#include "findreplacedialog.h"
#include "foldersearch.h"
#include "mainwindow.h"
#include "pagegenerator.h"
#include "replacestring.h"
#include "undohistory.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace zendral {

using namespace bench;

namespace {

// The best of runs, in milliseconds; prepare runs untimed before each.
double best(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    double result = 1e300;
    for (int run = 0; run < runs; ++run) {
        prepare();
        result = std::min(result, millisecondsOf(work));
    }
    return result;
}

// A program run to its end, best of runs, in milliseconds, with its output.
double program(int runs, const QString &name, const QStringList &arguments, QString *output)
{
    return best(
        runs, [] {},
        [&] {
            QProcess process;
            process.start(name, arguments);
            process.waitForFinished(-1);
            *output = QString::fromUtf8(process.readAllStandardOutput()).trimmed();
        });
}

struct UndoFigures
{
    double undo = 0;
    double redo = 0;
    bool pageBack = false;
};

// Taking back a replacement made on the loaded page, and making it again, best of three each.
UndoFigures undoFigures(PageText &page, const QString &original, const std::function<void()> &load,
                        const std::function<void()> &replace)
{
    UndoHistory history;
    history.attach(page);
    const QObject listening;
    QObject::connect(&page, &PageText::textEdited, &listening,
                     [&history](qint64 start, qint64 removed, qint64 added) {
                         history.noteEdit(start, removed, added);
                     });
    const auto replaced = [&] {
        load();
        history.clear();
        replace();
    };
    UndoFigures figures;
    figures.undo = best(3, replaced, [&] { history.DeshacerComando(); });
    figures.pageBack = page.text() == original;
    figures.redo = best(
        3,
        [&] {
            replaced();
            history.DeshacerComando();
        },
        [&] { history.RehacerComando(); });
    return figures;
}

double typingMean(EditingSurface &surface, int count)
{
    std::vector<double> times;
    for (int i = 0; i < count; ++i)
        times.push_back(millisecondsOf([&] { typeKey(surface, QChar(char16_t(u'a' + i % 26))); }));
    return mean(times);
}

// A 10 MB page whose lines hold the word `count` times, one to a line, spread evenly.
QString pageWithWord(const QString &word, qint64 count)
{
    const QStringList lines = bench::generatePage(10 << 20).split(QStringLiteral("\r\n"));
    QString page;
    page.reserve((11 << 20));
    const qint64 every = std::max<qint64>(1, qint64(lines.size()) / count);
    qint64 placed = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        page += lines[i];
        if (placed < count && i % every == 0) {
            page += u' ' + word;
            ++placed;
        }
        if (i + 1 < lines.size())
            page += QStringLiteral("\r\n");
    }
    return page;
}

void replaceAll(const QTemporaryDir &dir)
{
    const QString word = QStringLiteral("zendralito");
    const QString page = pageWithWord(word, 100000);
    const QString path = dir.filePath(QStringLiteral("replace.html"));
    writePage(path, page);

    EditingSurface view;
    FindReplaceDialog dialog(view.page());
    dialog.findChild<QComboBox *>(QStringLiteral("txtbuscarr"))->setEditText(word);
    dialog.findChild<QComboBox *>(QStringLiteral("txtreemplazarr"))
        ->setEditText(QStringLiteral("zendralote_x"));
    auto *button = dialog.findChild<QPushButton *>(QStringLiteral("btnreemplazartodo"));
    const auto load = [&] {
        view.page().setText(page);
        view.page().setSelectionStart(view.page().textLength() / 2);
    };
    const double ours = best(3, load, [&] { button->click(); });
    const qint64 left = view.page().text().count(word);
    const UndoFigures undo = undoFigures(view.page(), page, load, [&] { button->click(); });
    // The same page opened and coloured: what a whole new text costs.
    const double open = best(
        3, [] {},
        [&] {
            view.page().setText(page);
            Colorea(view.page(), TablaEtiquetas());
        });
    // One hit at a time through the widget, as a loop of find and replace would: 2,000 of them.
    const int sample = 2000;
    const double oneByOne = best(1, load, [&] {
        QTextCursor cursor(view.document());
        for (int i = 0; i < sample; ++i) {
            cursor = view.document()->find(word, cursor);
            cursor.insertText(QStringLiteral("zendralote_x"));
        }
    });
    QString grepOutput;
    QString sedOutput;
    const double grep =
        program(3, QStringLiteral("grep"), {QStringLiteral("-c"), word, path}, &grepOutput);
    const double sed = program(3, QStringLiteral("sed"),
                               {QStringLiteral("s/%1/zendralote_x/g").arg(word), path}, &sedOutput);
    std::printf("find: Reemplazar todo of %lld hits in %lld characters: %.0f ms (%lld left)\n",
                qint64(100000), qint64(page.size()), ours, left);
    std::printf("find:   grep -c %.0f ms (ratio %.1f; it counted %s lines), sed s///g to a pipe "
                "%.0f ms (ratio %.1f)\n",
                grep, ours / grep, qPrintable(grepOutput), sed, ours / sed);
    std::printf("find:   opening and colouring the same page %.0f ms (ratio %.2f); one hit at a "
                "time through the widget %.1f ms per hit, %.0f s for all\n",
                open, ours / open, oneByOne / sample, oneByOne / sample * 100000 / 1000);
    std::printf("find:   its undo %.0f ms (the page back: %s), redo %.0f ms\n", undo.undo,
                undo.pageBack ? "yes" : "NO", undo.redo);
}

// Reemplazar palabras of the generated page's commonest word, its undo and redo, beside opening
// and colouring the same page.
void replaceWords()
{
    const QString page = bench::generatePage(10 << 20);
    const QString word = QStringLiteral("producto");
    const QString replacement = word + QStringLiteral("_x");
    EditingSurface view;
    const auto load = [&] { view.page().setText(page); };
    const auto replace = [&] { replaceInDocument(view.page(), word, replacement); };
    const double ours = best(3, load, replace);
    const UndoFigures undo = undoFigures(view.page(), page, load, replace);
    const double open = best(
        3, [] {},
        [&] {
            load();
            Colorea(view.page(), TablaEtiquetas());
        });
    std::printf("find: Reemplazar palabras of %lld hits in %lld characters: %.0f ms; its undo %.0f "
                "ms (the page back: %s), redo %.0f ms; opening and colouring the page %.0f ms\n",
                qint64(page.count(word)), qint64(page.size()), ours, undo.undo,
                undo.pageBack ? "yes" : "NO", undo.redo, open);
}

void folderSearch(const QTemporaryDir &dir)
{
    // 2,000 pages of 50 KB in 40 folders: 100 MB.
    const QString root = dir.filePath(QStringLiteral("sitio"));
    const QString page = bench::generatePage(50 << 10);
    qint64 bytes = 0;
    for (int i = 0; i < 2000; ++i) {
        writePage(QStringLiteral("%1/c%2/p%3.html").arg(root).arg(i % 40).arg(i), page);
        bytes += page.toUtf8().size();
    }
    const QString word = QStringLiteral("table");
    FolderSearch search;
    qint64 hits = 0;
    QObject::connect(&search, &FolderSearch::finished,
                     [&hits](const FolderSearchSummary &summary) { hits = summary.hits; });
    const double ours = best(
        3, [] {},
        [&] {
            QEventLoop loop;
            QObject::connect(&search, &FolderSearch::finished, &loop, &QEventLoop::quit);
            search.start(root, SearchPattern(word, {.matchCase = true}));
            loop.exec();
        });
    QString grepOutput;
    program(
        1, QStringLiteral("bash"),
        {QStringLiteral("-c"),
         QStringLiteral("grep -rc -- %1 %2 | awk -F: '{s+=$NF} END {print s}'").arg(word, root)},
        &grepOutput);
    QString grepOnly;
    const double grepAlone =
        program(3, QStringLiteral("grep"), {QStringLiteral("-rc"), word, root}, &grepOnly);
    std::printf("find: Buscar en archivos over %lld MB in 2000 pages: %.0f ms, %lld hits\n",
                bytes >> 20, ours, hits);
    std::printf("find:   grep -rc %.0f ms (ratio %.1f; %s lines with a hit)\n", grepAlone,
                ours / grepAlone, qPrintable(grepOutput));
}

void typingWithDialog()
{
    const QString page = bench::generatePage(10 << 20);
    MainWindow window;
    EditingSurface &surface = window.surface();
    surface.page().setText(page);
    window.command(QStringLiteral("mn_buscarreemplazar"))->trigger();
    auto *dialog = window.findChild<FindReplaceDialog *>();
    dialog->findChild<QComboBox *>(QStringLiteral("txtbuscarr"))->setEditText(QStringLiteral("td"));
    dialog->findChild<QCheckBox *>(QStringLiteral("chkseleccion"))->setChecked(true);
    dialog->findChild<QPushButton *>(QStringLiteral("btnbuscarsig"))->click();
    // Turn about, so that the load of a shared machine falls on both alike.
    double with = 1e300;
    double without = 1e300;
    for (int round = 0; round < 3; ++round) {
        dialog->show();
        surface.page().setSelectionStart(surface.page().textLength() / 2);
        with = std::min(with, typingMean(surface, 300));
        dialog->close();
        surface.page().setSelectionStart(surface.page().textLength() / 2);
        without = std::min(without, typingMean(surface, 300));
    }
    std::printf("find: keystroke 10 MB, middle (best mean of 3 rounds): %.3f ms with the dialog "
                "open, %.3f ms without (ratio %.2f)\n",
                with, without, with / without);
}

} // namespace

// Replace-all and the folder search beside grep, and typing with the find dialog open.
void benchFind()
{
    QTemporaryDir dir;
    const QStringList arguments = QCoreApplication::arguments();
    if (!arguments.contains(QStringLiteral("typing"))) {
        replaceAll(dir);
        replaceWords();
        folderSearch(dir);
    }
    typingWithDialog();
}

} // namespace zendral
