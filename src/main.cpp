#include "documentfile.h"
#include "instancechannel.h"
#include "spanishqttexts.h"
#include "splashwindow.h"
#include "webenginesandbox.h"
#include "windowset.h"

#include <QApplication>
#include <QTextStream>

int main(int argc, char *argv[])
{
    zendral::relaxWebEngineSandboxForRoot();
    // The web preview shares its drawing contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zendral"));
    zendral::installSpanishQtTexts(application);
    const zendral::PageArgument argument = zendral::pageArgument(QApplication::arguments());
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
    zendral::SplashWindow splash([&] { windows.openFirst(page); });
    splash.show();
    return application.exec();
}
