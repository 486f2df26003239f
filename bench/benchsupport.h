#pragma once

// What every part of the benchmark measures with: timings and their summaries, keys typed as
// the keyboard types them, pages written to disk, prompts a user clicks through, and the
// printed rows.

#include "prompts.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QString>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <numeric>
#include <vector>

namespace zendral::bench {

inline double millisecondsOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// The summaries of a series of timings; NaN for a series a page's time limit left empty.
inline double mean(const std::vector<double> &values)
{
    return values.empty()
               ? NAN
               : std::accumulate(values.begin(), values.end(), 0.0) / double(values.size());
}

inline double median(std::vector<double> values)
{
    values.erase(
        std::remove_if(values.begin(), values.end(), [](double v) { return std::isnan(v); }),
        values.end());
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

inline double p99(std::vector<double> values)
{
    if (values.empty())
        return NAN;
    std::sort(values.begin(), values.end());
    return values.at(std::min(values.size() - 1, std::size_t(0.99 * double(values.size()))));
}

// A key as the keyboard types it, its press and its release, each delivered at once.
inline void typeKey(QWidget &target, QChar character)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
    QCoreApplication::sendEvent(&target, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(character));
    QCoreApplication::sendEvent(&target, &release);
}

// Writes text at path as UTF-8, making the folders on the way; returns path.
inline QString writePage(const QString &path, const QString &text)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        std::fprintf(stderr, "bench: cannot write %s\n", qPrintable(path));
    return path;
}

// A figure beside its baseline, measured in the same run, and their ratio.
inline void row(const QString &what, double ours, double raw)
{
    std::printf("%-58s %10.3f ms  raw %10.3f ms  ratio %5.2f\n", qPrintable(what), ours, raw,
                raw > 0 ? ours / raw : 0.0);
    std::fflush(stdout);
}

// Questions answered Yes and notices clicked away at once, as a user who clicks through them.
class AnsweringPrompts : public Prompts
{
public:
    Answer question(const QString &) override { return Answer::Yes; }
    void notify(const QString &) override {}
};

} // namespace zendral::bench
