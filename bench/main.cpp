// The benchmark program: each figure beside a raw baseline measured in the same run.

#include "mainwindow.h"
#include "memoryreturn.h"
#include "pagegenerator.h"
#include "webenginesandbox.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace zendral {
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
    // As the program starts: the allocator's setting before any page, and the preview's
    // browser needs the other two before the application exists.
    returnLargeBuffersWhenFreed();
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
    // "hostile" measures the pages made to hurt ("quick": not those that ran for seconds),
    // "longlines" only typing on long lines.
    if (arguments.contains(QStringLiteral("hostile"))) {
        benchHostile(bench::generatePage(10 << 20), arguments.contains(QStringLiteral("quick")));
        return 0;
    }
    if (arguments.contains(QStringLiteral("longlines"))) {
        typingOnLongLines(bench::generatePage(10 << 20));
        return 0;
    }
    // "preview" needs a display for the browser: scripts/bench.sh gives it one.
    if (arguments.contains(QStringLiteral("preview"))) {
        benchPreview();
        return 0;
    }
    // "aids" measures the writing aids beside none: typing at 1 and 10 MB, and the review.
    if (arguments.contains(QStringLiteral("aids"))) {
        benchAids(bench::generatePage(1 << 20), bench::generatePage(10 << 20));
        return 0;
    }
    // "find" measures Reemplazar todo, Buscar en archivos and typing beside the dialog.
    if (arguments.contains(QStringLiteral("find"))) {
        benchFind();
        return 0;
    }
    benchPages(sizes, runs);
    idle();
    return 0;
}
