#include "documentfile.h"
#include "instancechannel.h"
#include "memoryreturn.h"
#include "spanishqttexts.h"
#include "splashwindow.h"
#include "terminationsignals.h"
#include "webenginesandbox.h"
#include "windowset.h"

#include <QApplication>
#include <QTextStream>

#include <cstdlib>

int main(int argc, char *argv[])
{
    zendral::returnLargeBuffersWhenFreed();
    zendral::relaxWebEngineSandboxForRoot();
    // The web preview shares its drawing contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zendral"));
    zendral::installSpanishQtTexts(application);
    // From the bytes the program was given: Qt's own arguments lose a name that is not UTF-8.
    const zendral::PageArgument argument =
        zendral::pageArgument(zendral::argumentsFromSystem(argc, argv));
    QTextStream errors(stderr);
    for (const QString &line : argument.ignored)
        errors << line << '\n';
    const QString page = argument.path;

    // With the program already running, the page opens there, in a window of its own.
    zendral::InstanceChannel channel;
    if (channel.handOver(page))
        return 0;

    zendral::WindowSet windows;
    QObject::connect(&channel, &zendral::InstanceChannel::pageArrived, &windows,
                     &zendral::WindowSet::openHandedOver);
    // Ended by another program or by the session: no question can be asked, so the unsaved
    // text goes to the recovery copies, and the program ends at once, with whatever dialog is
    // open left unanswered rather than returning an answer the user never gave.
    zendral::TerminationSignals termination;
    QObject::connect(&termination, &zendral::TerminationSignals::received, [&](int signalNumber) {
        windows.keepCopiesForNextStart();
        channel.close();
        std::_Exit(128 + signalNumber);
    });
    zendral::SplashWindow splash([&] { windows.openFirst(page); });
    splash.show();
    return application.exec();
}
