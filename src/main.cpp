#include "mainwindow.h"
#include "splashwindow.h"
#include "webenginesandbox.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    zendral::relaxWebEngineSandboxForRoot();
    // The web preview shares its drawing contexts with the widgets.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zendral"));

    std::unique_ptr<zendral::MainWindow> window;
    zendral::SplashWindow splash([&window] {
        window = std::make_unique<zendral::MainWindow>();
        window->show();
    });
    splash.show();
    return application.exec();
}
