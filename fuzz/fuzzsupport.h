#pragma once

#include <QApplication>
#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace zendral::fuzz {

// Widgets need an application: one, offscreen, for the whole run.
inline void startApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QApplication application(argc, argv);
}

inline QByteArray bytesOf(const uint8_t *data, size_t size)
{
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

// A broken property stops the run: the fuzzer keeps the input as a crash to replay.
[[noreturn]] inline void fail(const char *what, const QString &detail = QString())
{
    std::fprintf(stderr, "property broken: %s\n%s\n", what, qPrintable(detail));
    std::abort();
}

inline void check(bool holds, const char *what, const QString &detail = QString())
{
    if (!holds)
        fail(what, detail);
}

// Shows a string with its control characters and everything beyond ASCII escaped.
inline QString shown(const QString &text)
{
    return QString::fromLatin1(text.toUtf8().toPercentEncoding(" <>/=&;\"'!-"));
}

} // namespace zendral::fuzz
