// The benchmark program: each figure beside a raw baseline measured in the same run.

#include "colouring.h"
#include "documentfile.h"
#include "editingsurface.h"
#include "editorevents.h"
#include "livespelling.h"
#include "mainwindow.h"
#include "matchingtagmarks.h"
#include "pagegenerator.h"
#include "webenginesandbox.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <unistd.h>

namespace zendral {
void benchReplace(const QString &page10MB);
void benchRecovery(const QString &page10MB);
void benchHostile(const QString &normal10MB, bool quick);
void benchFind();
void benchPreview();
void typingOnLongLines(const QString &normal10MB);
int pageChild(const QStringList &arguments);
int writeBenchPages(const QString &folder, const QList<int> &sizes);
void benchPages(const QList<int> &sizes, int runs);
void benchAids(const QString &page1MB, const QString &page10MB);
} // namespace zendral

using namespace zendral;

namespace {

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

double mean(const std::vector<double> &values)
{
    return std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const std::size_t index =
        std::min(values.size() - 1, std::size_t(fraction * double(values.size())));
    return values.at(index);
}

double millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

void row(const char *what, double ours, double raw, const char *unit = "ms")
{
    std::printf("%-58s %10.3f %s  raw %10.3f %s  ratio %5.2f\n", what, ours, unit, raw, unit,
                raw > 0 ? ours / raw : 0.0);
    std::fflush(stdout);
}

QString writePage(const QTemporaryDir &dir, const QString &name, const QString &page)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(page.toUtf8());
    return path;
}

// The spans a tag colouring paints, for the raw baseline: the inside of every "<…>".
std::vector<std::pair<int, int>> rawTagSpans(const QTextDocument &document)
{
    std::vector<std::pair<int, int>> spans;
    const QString text = document.toRawText();
    qsizetype i = 0;
    while ((i = text.indexOf(u'<', i)) >= 0) {
        const qsizetype close = text.indexOf(u'>', i);
        if (close < 0)
            break;
        spans.emplace_back(int(i + 1), int(close));
        i = close + 1;
    }
    return spans;
}

void openAndColour(const QTemporaryDir &dir, const QString &label, const QString &page, int runs)
{
    const QString path = writePage(dir, label + QStringLiteral(".html"), page);
    const QStringList table = TablaEtiquetas();
    std::vector<double> ours;
    std::vector<double> raw;
    for (int run = 0; run < runs; ++run) {
        {
            EditingSurface surface;
            ours.push_back(millisecondsOf([&] {
                const ReadResult read = readDocumentFile(path);
                surface.page().setText(read.document.text);
                Colorea(surface.page(), table);
            }));
        }
        {
            QPlainTextEdit edit;
            edit.setUndoRedoEnabled(false);
            QFile file(path);
            raw.push_back(millisecondsOf([&] {
                file.open(QIODevice::ReadOnly);
                edit.setPlainText(QString::fromUtf8(file.readAll()));
                const auto spans = rawTagSpans(*edit.document());
                QTextCursor cursor(edit.document());
                QTextCharFormat format;
                format.setForeground(Qt::blue);
                cursor.beginEditBlock();
                for (const auto &[from, to] : spans) {
                    cursor.setPosition(from);
                    cursor.setPosition(to, QTextCursor::KeepAnchor);
                    cursor.setCharFormat(format);
                }
                cursor.endEditBlock();
            }));
        }
    }
    row(qPrintable(QStringLiteral("1. open + colour %1 (median)").arg(label)), median(ours),
        median(raw));
}

void typeKey(EditingSurface &surface, QChar character)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
    QCoreApplication::sendEvent(&surface, &press);
}

struct Keystrokes
{
    std::vector<double> ours;
    std::vector<double> raw;
};

Keystrokes typing(const QString &page, double where, int count)
{
    Keystrokes result;
    MainWindow window;
    EditingSurface &surface = window.surface();
    surface.page().setText(page);
    const qint64 start = qint64(double(surface.page().textLength()) * where);
    surface.page().setSelectionStart(start);
    for (int i = 0; i < count; ++i)
        result.ours.push_back(
            millisecondsOf([&] { typeKey(surface, QChar(char16_t(u'a' + i % 26))); }));

    QPlainTextEdit edit;
    edit.setUndoRedoEnabled(false);
    edit.setPlainText(surface.document()->toRawText());
    QTextCursor cursor(edit.document());
    cursor.setPosition(int(double(edit.document()->characterCount() - 1) * where));
    for (int i = 0; i < count; ++i)
        result.raw.push_back(millisecondsOf([&] { cursor.insertText(QStringLiteral("a")); }));
    return result;
}

void typingRows(const QString &label, const QString &page)
{
    for (const auto &[where, name] : {std::pair{1.0, "end"}, std::pair{0.5, "middle"}}) {
        const Keystrokes k = typing(page, where, 300);
        row(qPrintable(
                QStringLiteral("2. keystroke %1, %2 (mean)").arg(label, QLatin1String(name))),
            mean(k.ours), mean(k.raw));
        row(qPrintable(QStringLiteral("   keystroke %1, %2 (p99)").arg(label, QLatin1String(name))),
            percentile(k.ours, 0.99), percentile(k.raw, 0.99));
    }
}

void closingTags(const QString &page)
{
    MainWindow window;
    EditingSurface &surface = window.surface();
    surface.page().setText(page);
    surface.page().setSelectionStart(surface.page().textLength() / 2);
    std::vector<double> ours;
    for (int i = 0; i < 200; ++i) {
        typeKey(surface, u'<');
        typeKey(surface, u'b');
        ours.push_back(millisecondsOf([&] { typeKey(surface, u'>'); }));
    }
    QPlainTextEdit edit;
    edit.setPlainText(surface.document()->toRawText());
    QTextCursor cursor(edit.document());
    cursor.setPosition(edit.document()->characterCount() / 2);
    std::vector<double> raw;
    for (int i = 0; i < 200; ++i)
        raw.push_back(millisecondsOf([&] { cursor.insertText(QStringLiteral(">")); }));
    row("3. typed \">\" closing a tag, 10 MB (mean)", mean(ours), mean(raw));
    row("   typed \">\" closing a tag, 10 MB (p99)", percentile(ours, 0.99), percentile(raw, 0.99));
}

// Keystrokes after a long day of typing: many thousands of typed characters, a line break
// (not recorded by the undo history) after every forty, before the keystrokes measured.
void typingAfterLongHistory(const QString &page)
{
    MainWindow window;
    EditingSurface &surface = window.surface();
    surface.page().setText(page);
    surface.page().setSelectionStart(surface.page().textLength() / 2);
    for (int i = 0; i < 30000; ++i) {
        typeKey(surface, QChar(char16_t(u'a' + i % 26)));
        if (i % 40 == 39) {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QCoreApplication::sendEvent(&surface, &enter);
        }
    }
    std::vector<double> ours;
    for (int i = 0; i < 300; ++i)
        ours.push_back(millisecondsOf([&] { typeKey(surface, QChar(char16_t(u'a' + i % 26))); }));
    const Keystrokes fresh = typing(page, 0.5, 300);
    row("6. keystroke 10 MB after 30000 typed (mean; raw = no history)", mean(ours),
        mean(fresh.ours));
    row("   keystroke 10 MB after 30000 typed (p99; raw = no history)", percentile(ours, 0.99),
        percentile(fresh.ours, 0.99));
    // Undo right after an Enter, then many undos in a row: each follows the edits since its
    // command ran.
    std::vector<double> undos;
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QCoreApplication::sendEvent(&surface, &enter);
    for (int i = 0; i < 2000; ++i) {
        undos.push_back(millisecondsOf([&] {
            QKeyEvent undo(QEvent::KeyPress, Qt::Key_Z, Qt::ControlModifier);
            QCoreApplication::sendEvent(&surface, &undo);
        }));
    }
    row("   Ctrl+Z after it, 2000 in a row (mean; raw = keystroke)", mean(undos), mean(ours));
    row("   Ctrl+Z after it, 2000 in a row (max; raw = keystroke)",
        *std::max_element(undos.begin(), undos.end()), mean(ours));
}

void saving(const QTemporaryDir &dir, const QString &page)
{
    EditingSurface surface;
    surface.page().setText(page);
    const QString path = dir.filePath(QStringLiteral("guardado.html"));
    const QString rawPath = dir.filePath(QStringLiteral("crudo.html"));
    const QByteArray bytes = (page + QStringLiteral("\r\n")).toUtf8();
    std::vector<double> ours;
    std::vector<double> raw;
    for (int run = 0; run < 5; ++run) {
        ours.push_back(millisecondsOf(
            [&] { writeDocumentFile(path, surface.page().text(), TextEncoding::Utf8); }));
        raw.push_back(millisecondsOf([&] {
            QFile file(rawPath);
            file.open(QIODevice::WriteOnly | QIODevice::Truncate);
            file.write(bytes);
            file.flush();
            ::fsync(file.handle());
        }));
    }
    row("4. save 10 MB (median; raw = write + fsync)", median(ours), median(raw));
}

// What runs once typing pauses or the caret lands in a tag's name, in the middle of 10 MB: the
// spelling marks of the screen and the search for the tag's pair; raw = a keystroke there.
void screenMarks(const QString &page)
{
    MainWindow window;
    window.show();
    EditingSurface &surface = window.surface();
    surface.page().setText(page);
    const qint64 tag = page.indexOf(QStringLiteral("<table"), page.size() / 2);
    surface.page().setSelectionStart(tag + 2);
    surface.centerCursor();
    auto *spelling = window.findChild<LiveSpelling *>();
    auto *pairs = window.findChild<MatchingTagMarks *>();
    // The dictionary loads in a thread of its own; give it time before measuring.
    spelling->markScreen();
    QEventLoop loading;
    QTimer::singleShot(3000, &loading, &QEventLoop::quit);
    loading.exec();
    std::vector<double> marks;
    std::vector<double> pairing;
    for (int i = 0; i < 50; ++i) {
        marks.push_back(millisecondsOf([&] { spelling->markScreen(); }));
        // Back and forth between the two tags of the pair.
        pairing.push_back(millisecondsOf([&] { pairs->goToPair(); }));
    }
    QPlainTextEdit edit;
    edit.setPlainText(surface.document()->toRawText());
    QTextCursor cursor(edit.document());
    cursor.setPosition(edit.document()->characterCount() / 2);
    std::vector<double> raw;
    for (int i = 0; i < 50; ++i)
        raw.push_back(millisecondsOf([&] { cursor.insertText(QStringLiteral("a")); }));
    row("7. spelling marks of the screen, 10 MB (mean)", mean(marks), mean(raw));
    row("   spelling marks of the screen, 10 MB (max)", percentile(marks, 1.0), mean(raw));
    row("8. pair of the tag at the caret, 10 MB (mean)", mean(pairing), mean(raw));
    row("   pair of the tag at the caret, 10 MB (max)", percentile(pairing, 1.0), mean(raw));
}

class TimerCounter : public QObject
{
public:
    explicit TimerCounter(QObject *window) : m_window(window) {}
    int count = 0;

protected:
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Timer) {
            for (QObject *o = object; o; o = o->parent()) {
                if (o == m_window) {
                    ++count;
                    break;
                }
            }
        }
        return false;
    }

private:
    QObject *m_window;
};

void idle()
{
    MainWindow window;
    window.show();
    TimerCounter counter(&window);
    qApp->installEventFilter(&counter);
    // A local loop: quitting the application would close the window and ask to save.
    QEventLoop loop;
    QTimer::singleShot(5000, &loop, &QEventLoop::quit);
    loop.exec();
    qApp->removeEventFilter(&counter);
    std::printf("%-58s %10d events (the caret's blink)\n",
                "5. timer events to the main window in 5 idle s", counter.count);
}

} // namespace

int main(int argc, char *argv[])
{
    // As the program starts: the preview's browser needs both before the application exists.
    relaxWebEngineSandboxForRoot();
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    // One page measured in a process of its own, for the page table.
    if (arguments.contains(QStringLiteral("page-child")))
        return pageChild(arguments);
    // "sizes=1,10,50" and "runs=3" shape the page table and the pages written.
    QList<int> sizes = {1, 10, 50};
    int runs = 3;
    for (const QString &argument : arguments) {
        if (argument.startsWith(QStringLiteral("sizes="))) {
            sizes.clear();
            for (const QString &size : argument.mid(6).split(u',', Qt::SkipEmptyParts))
                sizes.append(size.toInt());
        } else if (argument.startsWith(QStringLiteral("runs="))) {
            runs = std::max(1, argument.mid(5).toInt());
        }
    }
    // "write-pages FOLDER": the pages the editors are launched with side by side.
    if (arguments.contains(QStringLiteral("write-pages")))
        return writeBenchPages(
            arguments.value(arguments.indexOf(QStringLiteral("write-pages")) + 1), sizes);
    QTemporaryDir dir;
    // "closing" measures only the live colouring of a typed ">", "open" only opening 10 MB.
    if (application.arguments().contains(QStringLiteral("closing"))) {
        closingTags(bench::generatePage(10 << 20));
        return 0;
    }
    if (application.arguments().contains(QStringLiteral("recovery"))) {
        benchRecovery(bench::generatePage(10 << 20));
        return 0;
    }
    // "hostile" measures only the pages made to hurt ("quick": those that ran for seconds).
    if (application.arguments().contains(QStringLiteral("longlines"))) {
        typingOnLongLines(bench::generatePage(10 << 20));
        return 0;
    }
    // "preview" needs a display for the browser: scripts/bench.sh gives it one.
    if (application.arguments().contains(QStringLiteral("preview"))) {
        benchPreview();
        return 0;
    }
    if (application.arguments().contains(QStringLiteral("hostile"))) {
        benchHostile(bench::generatePage(10 << 20),
                     application.arguments().contains(QStringLiteral("quick")));
        return 0;
    }
    // "keys" measures only typing: keystrokes at 1 and 10 MB, a typed ">", a long history.
    if (application.arguments().contains(QStringLiteral("keys"))) {
        const QString page1 = bench::generatePage(1 << 20);
        const QString page10 = bench::generatePage(10 << 20);
        typingRows(QStringLiteral("1 MB"), page1);
        typingRows(QStringLiteral("10 MB"), page10);
        closingTags(page10);
        typingAfterLongHistory(page10);
        return 0;
    }
    // "aids" measures the writing aids beside none: typing at 1 and 10 MB, and the review.
    if (application.arguments().contains(QStringLiteral("aids"))) {
        benchAids(bench::generatePage(1 << 20), bench::generatePage(10 << 20));
        return 0;
    }
    // "marks" measures only what runs after a pause: spelling marks and the tag's pair.
    if (application.arguments().contains(QStringLiteral("marks"))) {
        screenMarks(bench::generatePage(10 << 20));
        return 0;
    }
    // "find" measures only Reemplazar todo, Buscar en archivos and typing beside the dialog.
    if (application.arguments().contains(QStringLiteral("find"))) {
        benchFind();
        return 0;
    }
    if (application.arguments().contains(QStringLiteral("open"))) {
        openAndColour(dir, QStringLiteral("10 MB"), bench::generatePage(10 << 20), 3);
        return 0;
    }
    // Without a subcommand: the page table. "all" adds every older row as well.
    if (!arguments.contains(QStringLiteral("all"))) {
        benchPages(sizes, runs);
        idle();
        return 0;
    }
    std::printf("Generating pages…\n");
    const QString page1 = bench::generatePage(1 << 20);
    const QString page10 = bench::generatePage(10 << 20);
    const QString page50 = bench::generatePage(50 << 20);
    std::printf("pages: %lld, %lld and %lld characters\n\n", qint64(page1.size()),
                qint64(page10.size()), qint64(page50.size()));

    openAndColour(dir, QStringLiteral("1 MB"), page1, 3);
    openAndColour(dir, QStringLiteral("10 MB"), page10, 3);
    openAndColour(dir, QStringLiteral("50 MB"), page50, 1);
    typingRows(QStringLiteral("1 MB"), page1);
    typingRows(QStringLiteral("10 MB"), page10);
    typingRows(QStringLiteral("50 MB"), page50);
    closingTags(page10);
    typingAfterLongHistory(page10);
    benchAids(page1, page10);
    screenMarks(page10);
    saving(dir, page10);
    benchReplace(page10);
    benchRecovery(page10);
    benchHostile(page10, false);
    idle();
    return 0;
}
