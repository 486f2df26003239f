#include "documentcontroller.h"
#include "documentfile.h"
#include "mainwindow.h"
#include "splashwindow.h"
#include "webenginesandbox.h"

#include <QApplication>
#include <QTextStream>

#include <memory>

int main(int argc, char *argv[])
{
    zendral::relaxWebEngineSandboxForRoot();
    // The web preview shares its drawing contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zendral"));
    const zendral::PageArgument argument = zendral::pageArgument(QApplication::arguments());
    QTextStream errors(stderr);
    for (const QString &line : argument.ignored)
        errors << line << '\n';
    const QString page = argument.path;

    std::unique_ptr<zendral::MainWindow> window;
    zendral::SplashWindow splash([&window, page] {
        window = std::make_unique<zendral::MainWindow>();
        window->show();
        // The splash had the keyboard; the window the user works in takes it over.
        window->activateWindow();
        if (!page.isEmpty())
            window->document().abrirRuta(page);
    });
    splash.show();
    return application.exec();
}
