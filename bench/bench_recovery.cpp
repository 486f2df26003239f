#include "crashrecovery.h"
#include "documentcontroller.h"
#include "editingsurface.h"
#include "mainwindow.h"
#include "prompts.h"
#include "recoverystore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <numeric>
#include <unistd.h>
#include <vector>

namespace zendral {

namespace {

double millisecondsSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

std::vector<double> keystrokes(EditingSurface &surface, int count)
{
    std::vector<double> times;
    for (int i = 0; i < count; ++i) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QChar(u'a' + i % 26)));
        QElapsedTimer timer;
        timer.start();
        QCoreApplication::sendEvent(&surface, &press);
        times.push_back(millisecondsSince(timer));
    }
    return times;
}

void row(const char *what, double ours, double raw)
{
    std::printf("%-58s %10.3f ms  raw %10.3f ms  ratio %5.2f\n", what, ours, raw,
                raw > 0 ? ours / raw : 0.0);
    std::fflush(stdout);
}

} // namespace

// The recovery copy of a 10 MB page: what a keystroke pays for it, what the GUI thread pays
// when the copy is due, and what the worker thread pays to write it.
void benchRecovery(const QString &page10MB)
{
    QTemporaryDir folder;
    MainWindow window;
    EditingSurface &surface = window.surface();
    surface.page().setText(page10MB);
    surface.page().setSelectionStart(surface.page().textLength() / 2);
    // Before and after, so that the page's growth weighs on both sides alike.
    std::vector<double> without = keystrokes(surface, 200);
    std::vector<double> with;
    {
        QtPrompts prompts(&window);
        RecoveryStore store(folder.path());
        CrashRecovery recovery(surface.page(), window.document(), store, prompts);
        with = keystrokes(surface, 400);
    }
    const std::vector<double> after = keystrokes(surface, 200);
    without.insert(without.end(), after.begin(), after.end());
    const auto mean = [](const std::vector<double> &v) {
        return std::accumulate(v.begin(), v.end(), 0.0) / double(v.size());
    };
    row("6. keystroke 10 MB, middle, copies kept (mean; raw none)", mean(with), mean(without));

    // As the editor writes its copy: the page taken at once on the GUI thread, turned into
    // text and written by the worker.
    RecoveryStore store(folder.path());
    std::vector<double> taken, queued, written, raw;
    const QByteArray bytes = page10MB.toUtf8();
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        PageText::Copy copy(surface.page());
        taken.push_back(millisecondsSince(timer));
        timer.start();
        store.write(std::move(copy), QStringLiteral("/tmp/pagina.html"), TextEncoding::Utf8);
        queued.push_back(millisecondsSince(timer));
        timer.start();
        store.waitForWrites();
        written.push_back(millisecondsSince(timer));

        timer.start();
        QFile file(folder.filePath(QStringLiteral("crudo")));
        file.open(QIODevice::WriteOnly | QIODevice::Truncate);
        file.write(bytes);
        file.flush();
        ::fsync(file.handle());
        raw.push_back(millisecondsSince(timer));
    }
    std::vector<double> text;
    for (int run = 0; run < 5; ++run) {
        QElapsedTimer timer;
        timer.start();
        const QString all = surface.page().text();
        text.push_back(millisecondsSince(timer));
    }
    row("   recovery copy 10 MB: taken, GUI thread (median; raw text())", median(taken),
        median(text));
    row("   recovery copy 10 MB: queued, GUI thread (median)", median(queued), 0);
    row("   recovery copy 10 MB: written, worker (median; raw write+fsync)", median(written),
        median(raw));
}

} // namespace zendral
