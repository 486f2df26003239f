// CPU per typed character with "Previsualizar al escribir" on and off, and what bringing the
// preview up to date costs: the editor's process and the browser's processes together. The
// typing's figure holds the pauses between bursts too, where the preview would follow the text,
// and everything else that runs after a pause (the recovery copy, the spelling marks).

#include "benchsupport.h"
#include "documentcontroller.h"
#include "editingsurface.h"
#include "mainwindow.h"
#include "pagegenerator.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineView>

#include <cstdio>
#include <map>
#include <unistd.h>
#include <vector>

namespace zendral {

using namespace bench;

namespace {

// CPU time, in milliseconds, of this process and every process it started (the browser's).
double treeCpuMilliseconds()
{
    std::map<qint64, qint64> parents;
    std::map<qint64, qint64> ticks;
    const QStringList entries = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &entry : entries) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (!number)
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        const QByteArray line = stat.readAll();
        // The fields after the name, which may hold spaces, in its parentheses.
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() < 13)
            continue;
        parents[pid] = fields.at(1).toLongLong();
        ticks[pid] = fields.at(11).toLongLong() + fields.at(12).toLongLong();
    }
    const qint64 self = getpid();
    qint64 total = 0;
    for (const auto &[pid, used] : ticks) {
        for (qint64 up = pid; up > 1; up = parents.count(up) ? parents[up] : 0) {
            if (up == self) {
                total += used;
                break;
            }
        }
    }
    return double(total) * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

void waitMs(int milliseconds)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

struct Figures
{
    double perCharacter = 0;
    double update = 0;
};

// Types into the middle of the page in bursts, each followed by a pause longer than the
// preview's, then brings the preview tab to the front and waits until it has loaded.
Figures measure(const QString &path, bool live)
{
    constexpr int Bursts = 10;
    constexpr int KeysPerBurst = 20;
    AnsweringPrompts prompts;
    MainWindowServices services;
    services.prompts = &prompts;
    MainWindow window(services);
    window.command(QStringLiteral("mn_previsualizarvivo"))->setChecked(live);
    window.resize(1024, 768);
    window.show();
    window.document().openPath(path);
    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    const auto showPreview = [&] {
        tabs->setCurrentIndex(1);
        auto *browser = window.findChild<QWebEngineView *>(QStringLiteral("browser"));
        if (!browser)
            return;
        QEventLoop loaded;
        QObject::connect(browser, &QWebEngineView::loadFinished, &loaded, &QEventLoop::quit);
        QTimer::singleShot(60000, &loaded, &QEventLoop::quit);
        loaded.exec();
        waitMs(500);
    };
    // Saved as it is, so that with the option off the preview shows the same page from disk.
    window.command(QStringLiteral("mn_guardar"))->trigger();
    showPreview();
    tabs->setCurrentIndex(0);
    EditingSurface &surface = window.surface();
    surface.setFocus();
    QTextCursor cursor = surface.textCursor();
    cursor.setPosition(int(surface.document()->characterCount() / 2));
    surface.setTextCursor(cursor);
    waitMs(1000);

    Figures figures;
    const double before = treeCpuMilliseconds();
    for (int burst = 0; burst < Bursts; ++burst) {
        for (int key = 0; key < KeysPerBurst; ++key) {
            typeKey(surface, u'a');
            QCoreApplication::processEvents();
        }
        waitMs(700);
    }
    figures.perCharacter = (treeCpuMilliseconds() - before) / (Bursts * KeysPerBurst);

    // With the option off the saved file is shown again once saved; on, the text as it is.
    if (!live)
        window.command(QStringLiteral("mn_guardar"))->trigger();
    const double beforeUpdate = treeCpuMilliseconds();
    showPreview();
    figures.update = treeCpuMilliseconds() - beforeUpdate;
    window.command(QStringLiteral("mn_previsualizarvivo"))->setChecked(false);
    return figures;
}

} // namespace

void benchPreview()
{
    QTemporaryDir dir;
    const QString path =
        writePage(dir.filePath(QStringLiteral("vivo.html")), generatePage(1 << 20));
    // Chromium's first start is paid before either run; then off and on in turn, three times.
    measure(path, false);
    std::vector<double> typingOff, typingOn, updateOff, updateOn;
    for (int run = 0; run < 3; ++run) {
        const Figures off = measure(path, false);
        const Figures on = measure(path, true);
        typingOff.push_back(off.perCharacter);
        typingOn.push_back(on.perCharacter);
        updateOff.push_back(off.update);
        updateOn.push_back(on.update);
    }
    const auto line = [](const char *what, double on, const char *other, double off) {
        std::printf("%-58s %10.3f ms  %s %10.3f ms  ratio %5.2f\n", what, on, other, off,
                    off > 0 ? on / off : 0.0);
    };
    line("10. CPU per typed character, 1 MB, live preview on (median)", median(typingOn), "off",
         median(typingOff));
    line("    preview brought up to date after typing (CPU, median)", median(updateOn), "file",
         median(updateOff));
    std::fflush(stdout);
}

} // namespace zendral
