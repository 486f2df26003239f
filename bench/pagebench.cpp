// Pages of every kind a user opens, each in a process of its own so that its peak memory is
// its own: open through the window and its controller, memory, keystrokes and a typed ">"
// mid-page, save. Each figure stands beside a baseline measured in the same run: a bare
// QPlainTextEdit showing the same page, a raw write + fsync of the same bytes, the CR LF page
// of the same size.

#include "benchsupport.h"
#include "documentcontroller.h"
#include "editingsurface.h"
#include "mainwindow.h"
#include "pagegenerator.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <map>
#include <unistd.h>
#include <vector>

namespace zendral {

using namespace bench;

namespace {

// The time one series of keystrokes may take: a page that makes each key cost seconds still
// gives a figure, from fewer keys.
constexpr qint64 SeriesBudgetMs = 20000;
constexpr int KeysPerSeries = 200;

qint64 peakKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return -1;
}

// Delivers what a key left behind, the repaint of what it changed included, as the event
// loop does before the next key.
void settle()
{
    QCoreApplication::processEvents();
}

// After an open: the whole window drawn, as the user first sees the page.
void settle(QWidget &window)
{
    settle();
    window.repaint();
    settle();
}

// Times each key from its delivery until the window has drawn it, within the series budget.
std::vector<double> timedKeys(const std::function<void(int)> &before,
                              const std::function<void()> &key)
{
    std::vector<double> times;
    QElapsedTimer budget;
    budget.start();
    for (int i = 0; i < KeysPerSeries && budget.elapsed() < SeriesBudgetMs; ++i) {
        before(i);
        QElapsedTimer timer;
        timer.start();
        key();
        settle();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return times;
}

double rawWriteMs(const QByteArray &bytes, const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return NAN;
    file.write(bytes);
    file.flush();
    ::fsync(file.handle());
    file.close();
    return double(timer.nsecsElapsed()) / 1e6;
}

void printFigures(const std::map<QString, double> &figures)
{
    QString line = QStringLiteral("FIGURES");
    for (const auto &[name, value] : figures)
        line += QStringLiteral(" %1=%2").arg(name).arg(value, 0, 'g', 8);
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

// The page opened and drawn, timed, and the peak memory it took over the empty window's.
std::map<QString, double> openFigures(QWidget &window, const std::function<void()> &open)
{
    settle(window);
    const qint64 emptyPeak = peakKilobytes();
    std::map<QString, double> figures;
    figures[QStringLiteral("open")] = millisecondsOf([&] {
        open();
        settle(window);
    });
    figures[QStringLiteral("peak")] = double(peakKilobytes() - emptyPeak);
    // Each part told as soon as it is measured: a child that runs out of time still gives it.
    printFigures(figures);
    return figures;
}

// Letters typed into target, each timed until the window has drawn it.
void keyFigures(std::map<QString, double> &figures, QWidget &target)
{
    const std::vector<double> keys = timedKeys(
        [](int) {}, [&, i = 0]() mutable { typeKey(target, QChar(char16_t(u'a' + i++ % 26))); });
    figures[QStringLiteral("key")] = mean(keys);
    figures[QStringLiteral("key99")] = p99(keys);
    figures[QStringLiteral("keys")] = double(keys.size());
    printFigures(figures);
}

// One page through the window the user works in: opened as the command line opens it,
// typed into mid-page, saved with Save.
int zendralChild(const QString &path)
{
    AnsweringPrompts prompts;
    MainWindowServices services;
    services.prompts = &prompts;
    MainWindow window(services);
    window.resize(1024, 768);
    window.show();
    std::map<QString, double> figures =
        openFigures(window, [&] { window.document().openPath(path); });

    EditingSurface &surface = window.surface();
    surface.setFocus();
    // The middle line's start: the same line of a page whatever its line ends.
    surface.page().setSelectionStart(surface.page().lineStart(surface.blockCount() / 2));
    settle(window);
    keyFigures(figures, surface);
    const std::vector<double> closing = timedKeys(
        [&](int) {
            typeKey(surface, u'<');
            typeKey(surface, u'b');
            settle();
        },
        [&] { typeKey(surface, u'>'); });
    figures[QStringLiteral("gt")] = mean(closing);
    figures[QStringLiteral("gt99")] = p99(closing);
    printFigures(figures);

    std::vector<double> saves;
    std::vector<double> raws;
    const QString rawPath = path + QStringLiteral(".crudo");
    for (int run = 0; run < 3; ++run) {
        typeKey(surface, u'x');
        settle();
        saves.push_back(millisecondsOf([&] { window.document().save(); }));
        QFile saved(path);
        saved.open(QIODevice::ReadOnly);
        raws.push_back(rawWriteMs(saved.readAll(), rawPath));
    }
    QFile::remove(rawPath);
    figures[QStringLiteral("save")] = median(saves);
    figures[QStringLiteral("raw")] = median(raws);
    figures[QStringLiteral("savedOk")] = window.document().isModified() ? 0 : 1;
    printFigures(figures);
    return 0;
}

// The floor of any editor built on Qt's text widget: the page read, decoded and shown,
// no colours.
int bareChild(const QString &path)
{
    QPlainTextEdit edit;
    edit.resize(1024, 768);
    edit.show();
    std::map<QString, double> figures = openFigures(edit, [&] {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        edit.setPlainText(QString::fromUtf8(file.readAll()));
    });
    QTextCursor cursor(edit.document());
    cursor.setPosition(edit.document()->findBlockByNumber(edit.blockCount() / 2).position());
    edit.setTextCursor(cursor);
    edit.setFocus();
    keyFigures(figures, edit);
    return 0;
}

struct Page
{
    QString label;
    QString path;
    qint64 bytes = 0;
};

using Figures = std::map<QString, std::vector<double>>;

// Runs one child per repetition; a child that runs past its time is killed, and what it told
// until then counts.
Figures runChildren(const QString &kind, const Page &page, int runs, int timeoutSeconds)
{
    Figures figures;
    for (int run = 0; run < runs; ++run) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QElapsedTimer elapsed;
        elapsed.start();
        child.start(QCoreApplication::applicationFilePath(),
                    {QStringLiteral("page-child"), kind, page.path});
        const bool finished = child.waitForFinished(timeoutSeconds * 1000);
        if (!finished) {
            child.kill();
            child.waitForFinished(5000);
            std::fprintf(stderr, "  %s %s: killed after %d s\n", qPrintable(kind),
                         qPrintable(page.label), timeoutSeconds);
            figures[QStringLiteral("timeouts")].push_back(1);
        }
        // The child tells its figures so far after each part: the last line holds them all.
        QByteArray last;
        for (const QByteArray &line : child.readAllStandardOutput().split('\n')) {
            if (line.startsWith("FIGURES "))
                last = line;
        }
        for (const QByteArray &pair : last.mid(8).split(' ')) {
            const int equals = pair.indexOf('=');
            if (equals > 0)
                figures[QString::fromLatin1(pair.left(equals))].push_back(
                    pair.mid(equals + 1).toDouble());
        }
        // A page that takes minutes would only take them again: its figures are far from
        // any noise a median would smooth.
        if (!finished || elapsed.elapsed() > 120000)
            break;
    }
    return figures;
}

double medianOf(const Figures &figures, const QString &name)
{
    const auto found = figures.find(name);
    return found == figures.end() ? NAN : median(found->second);
}

// A figure the child did not reach before it was killed at its time limit.
QString figureOrBound(const Figures &figures, double value, int timeoutSeconds, int decimals = 1)
{
    if (std::isnan(value) && figures.count(QStringLiteral("timeouts")))
        return QStringLiteral("> %1 s").arg(timeoutSeconds);
    return std::isnan(value) ? QStringLiteral("—") : QString::number(value, 'f', decimals);
}

QString number(double value, int decimals = 1)
{
    return std::isnan(value) ? QStringLiteral("—") : QString::number(value, 'f', decimals);
}

QString ratio(double ours, double base)
{
    return std::isnan(ours) || std::isnan(base) || base <= 0
               ? QStringLiteral("—")
               : QString::number(ours / base, 'f', 2) + QStringLiteral("×");
}

} // namespace

int pageChild(const QStringList &arguments)
{
    // page-child <zendral|bare> <path>
    const int at = int(arguments.indexOf(QStringLiteral("page-child")));
    const QString kind = arguments.value(at + 1);
    const QString path = arguments.value(at + 2);
    if (kind == QStringLiteral("bare"))
        return bareChild(path);
    return zendralChild(path);
}

// The pages the side-by-side run launches the editors with: CR LF and LF pages of each size
// in megabytes, and an empty page for each editor's own start.
int writeBenchPages(const QString &folder, const QList<int> &sizes)
{
    QDir().mkpath(folder);
    writePage(QDir(folder).filePath(QStringLiteral("vacia.html")), QString());
    for (int size : sizes) {
        const qint64 bytes = qint64(size) << 20;
        writePage(QDir(folder).filePath(QStringLiteral("crlf-%1mb.html").arg(size)),
                  bench::generatePage(bytes));
        writePage(QDir(folder).filePath(QStringLiteral("lf-%1mb.html").arg(size)),
                  bench::lfPage(bytes));
    }
    return 0;
}

void benchPages(const QList<int> &sizes, int runs)
{
    QTemporaryDir dir;
    std::vector<Page> pages;
    const auto add = [&](const QString &label, const QString &name, const QString &text) {
        Page page;
        page.label = label;
        page.path = writePage(dir.filePath(name), text);
        page.bytes = QFileInfo(page.path).size();
        pages.push_back(page);
    };
    for (int size : sizes) {
        const qint64 bytes = qint64(size) << 20;
        add(QStringLiteral("%1 MB CR LF").arg(size), QStringLiteral("crlf%1.html").arg(size),
            bench::generatePage(bytes));
        add(QStringLiteral("%1 MB LF").arg(size), QStringLiteral("lf%1.html").arg(size),
            bench::lfPage(bytes));
    }
    add(QStringLiteral("10 MB one line"), QStringLiteral("linea10.html"),
        bench::longLine(10 << 20));

    std::printf("Each figure the median of %d runs, each run a process of its own; memory is "
                "the peak (VmHWM) over the empty window's.\n\n",
                runs);
    std::printf("| page | open ms | bare open ms | open vs bare | peak MB | × file | bare peak MB "
                "| peak vs bare | key mean ms | key p99 ms | keys | \">\" mean ms | \">\" p99 ms "
                "| \">\" vs key | save ms | raw ms | save vs raw |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);
    std::map<QString, std::pair<Figures, Figures>> measured;
    for (const Page &page : pages) {
        const int timeout = 120 + int(page.bytes >> 20) * 30;
        const Figures ours = runChildren(QStringLiteral("zendral"), page, runs, timeout);
        const Figures bare = runChildren(QStringLiteral("bare"), page, runs, timeout);
        measured[page.label] = {ours, bare};
        const double megabyte = 1024.0;
        const double peak = medianOf(ours, QStringLiteral("peak")) / megabyte;
        const double barePeak = medianOf(bare, QStringLiteral("peak")) / megabyte;
        const double fileMb = double(page.bytes) / double(1 << 20);
        const double open = medianOf(ours, QStringLiteral("open"));
        const double bareOpen = medianOf(bare, QStringLiteral("open"));
        const double key = medianOf(ours, QStringLiteral("key"));
        const double gt = medianOf(ours, QStringLiteral("gt"));
        const double save = medianOf(ours, QStringLiteral("save"));
        const double raw = medianOf(ours, QStringLiteral("raw"));
        std::printf("| %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | %s | "
                    "%s | %s |\n",
                    qPrintable(page.label), qPrintable(figureOrBound(ours, open, timeout)),
                    qPrintable(figureOrBound(bare, bareOpen, timeout)),
                    qPrintable(ratio(open, bareOpen)), qPrintable(number(peak)),
                    qPrintable(number(peak / fileMb)), qPrintable(number(barePeak)),
                    qPrintable(ratio(peak, barePeak)),
                    qPrintable(figureOrBound(ours, key, timeout, 2)),
                    qPrintable(number(medianOf(ours, QStringLiteral("key99")), 2)),
                    qPrintable(number(medianOf(ours, QStringLiteral("keys")), 0)),
                    qPrintable(figureOrBound(ours, gt, timeout, 2)),
                    qPrintable(number(medianOf(ours, QStringLiteral("gt99")), 2)),
                    qPrintable(ratio(gt, key)), qPrintable(figureOrBound(ours, save, timeout)),
                    qPrintable(number(raw)), qPrintable(ratio(save, raw)));
        std::fflush(stdout);
    }

    std::printf("\n| LF vs CR LF of the same size | open | peak memory | key mean | key p99 |\n");
    std::printf("|---|---|---|---|---|\n");
    for (int size : sizes) {
        const auto &lf = measured[QStringLiteral("%1 MB LF").arg(size)].first;
        const auto &crlf = measured[QStringLiteral("%1 MB CR LF").arg(size)].first;
        std::printf("| %d MB | %s | %s | %s | %s |\n", size,
                    qPrintable(ratio(medianOf(lf, QStringLiteral("open")),
                                     medianOf(crlf, QStringLiteral("open")))),
                    qPrintable(ratio(medianOf(lf, QStringLiteral("peak")),
                                     medianOf(crlf, QStringLiteral("peak")))),
                    qPrintable(ratio(medianOf(lf, QStringLiteral("key")),
                                     medianOf(crlf, QStringLiteral("key")))),
                    qPrintable(ratio(medianOf(lf, QStringLiteral("key99")),
                                     medianOf(crlf, QStringLiteral("key99")))));
    }
    std::printf("\nA key is timed from its delivery to the window until the window has drawn "
                "it; \"keys\" is how many of %d fitted in %lld s.\n",
                KeysPerSeries, SeriesBudgetMs / 1000);
    std::fflush(stdout);
}

} // namespace zendral
