#include "benchsupport.h"
#include "editingsurface.h"
#include "mainwindow.h"
#include "pagereview.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextBlock>

#include <cstdio>
#include <ctime>
#include <vector>

namespace zendral {

using namespace bench;

namespace {

// What an author types into a page, tags, attributes, references and closing tags among it.
const QString Typed = QStringLiteral("<p class=\"nota\">Hola &amp; adi\u00f3s, <a href=\"#arriba\" "
                                     "target=\"_blank\">enlace</a> y <b>negrita</b></p>");

double cpuMilliseconds()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// A key typed as the keyboard types it, and what it left queued run after it.
void typeAndRun(EditingSurface &surface, QChar character)
{
    typeKey(surface, character);
    QCoreApplication::processEvents();
}

struct AidFigures
{
    double markup = 0; // CPU per character of markup typed
    double prose = 0;  // CPU per character of words typed
};

AidFigures typeWithAids(const QString &page, bool aids)
{
    MainWindow window;
    window.resize(1024, 768);
    window.show();
    window.command(QStringLiteral("mn_sugerencias"))->setChecked(aids);
    window.command(QStringLiteral("mn_cerraretiquetas"))->setChecked(aids);
    EditingSurface &surface = window.surface();
    surface.page().setText(page);
    surface.setFocus();
    // The middle line's start, in the body of the page.
    surface.page().setSelectionStart(surface.page().lineStart(surface.blockCount() / 2));
    QCoreApplication::processEvents();

    AidFigures figures;
    constexpr int Rounds = 10;
    double start = cpuMilliseconds();
    for (int round = 0; round < Rounds; ++round) {
        for (const QChar character : Typed)
            typeAndRun(surface, character);
    }
    figures.markup = (cpuMilliseconds() - start) / double(Rounds * Typed.size());
    constexpr int Words = 800;
    start = cpuMilliseconds();
    for (int i = 0; i < Words; ++i)
        typeAndRun(surface, i % 7 == 6 ? QChar(u' ') : QChar(char16_t(u'a' + i % 26)));
    figures.prose = (cpuMilliseconds() - start) / double(Words);
    return figures;
}

// The typed ">" as the keystroke rows time it: the key alone, the window not on screen.
std::vector<double> closingWithAids(const QString &page, bool aids)
{
    MainWindow window;
    window.command(QStringLiteral("mn_sugerencias"))->setChecked(aids);
    window.command(QStringLiteral("mn_cerraretiquetas"))->setChecked(aids);
    EditingSurface &surface = window.surface();
    surface.page().setText(page);
    surface.page().setSelectionStart(surface.page().textLength() / 2);
    std::vector<double> times;
    for (int i = 0; i < 200; ++i) {
        typeAndRun(surface, u'<');
        typeAndRun(surface, u'b');
        times.push_back(millisecondsOf([&] { typeKey(surface, u'>'); }));
        QCoreApplication::processEvents();
    }
    return times;
}

} // namespace

// The writing aids beside none: CPU per typed character and the typed ">" at 1 and 10 MB, and
// the review of a whole page.
void benchAids(const QString &page1MB, const QString &page10MB)
{
    for (const auto &[label, page] : {std::pair{QStringLiteral("1 MB"), &page1MB},
                                      std::pair{QStringLiteral("10 MB"), &page10MB}}) {
        // Each way twice, in turn, the second of each kept: the first window of a process pays
        // for what Qt makes once.
        typeWithAids(*page, false);
        typeWithAids(*page, true);
        const AidFigures off = typeWithAids(*page, false);
        const AidFigures on = typeWithAids(*page, true);
        row(QStringLiteral("9. CPU per typed character of markup, %1 (aids on; raw = off)")
                .arg(label),
            on.markup, off.markup);
        row(QStringLiteral("   CPU per typed character of words, %1 (aids on; raw = off)")
                .arg(label),
            on.prose, off.prose);
        const std::vector<double> closingOff = closingWithAids(*page, false);
        const std::vector<double> closingOn = closingWithAids(*page, true);
        row(QStringLiteral("   typed \">\", %1 (mean; aids on; raw = off)").arg(label),
            mean(closingOn), mean(closingOff));
        row(QStringLiteral("   typed \">\", %1 (p99; aids on; raw = off)").arg(label),
            p99(closingOn), p99(closingOff));
        QElapsedTimer timer;
        timer.start();
        const std::size_t findings = reviewPage(*page, QString()).size();
        std::printf("%-58s %10.3f ms  (%zu findings)\n",
                    qPrintable(QStringLiteral("   Revisar página, %1 (worker thread)").arg(label)),
                    double(timer.nsecsElapsed()) / 1e6, findings);
        std::fflush(stdout);
    }
}

} // namespace zendral
