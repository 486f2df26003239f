#include "crashrecovery.h"
#include "documentcontroller.h"
#include "documentfile.h"
#include "mainwindow.h"
#include "prompts.h"
#include "recoverystore.h"
#include "spanishqttexts.h"
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
    zendral::installSpanishQtTexts(application);
    const zendral::PageArgument argument = zendral::pageArgument(QApplication::arguments());
    QTextStream errors(stderr);
    for (const QString &line : argument.ignored)
        errors << line << '\n';
    const QString page = argument.path;

    // Taken before anything else, so that an editor starting beside this one sees it running.
    zendral::RecoveryStore recoveryStore;
    std::unique_ptr<zendral::MainWindow> window;
    std::unique_ptr<zendral::QtPrompts> prompts;
    std::unique_ptr<zendral::CrashRecovery> recovery;
    zendral::SplashWindow splash([&] {
        window = std::make_unique<zendral::MainWindow>();
        window->show();
        // The splash had the keyboard; the window the user works in takes it over.
        window->activateWindow();
        prompts = std::make_unique<zendral::QtPrompts>(window.get());
        recovery = std::make_unique<zendral::CrashRecovery>(window->surface(), window->document(),
                                                            recoveryStore, *prompts);
        const bool recovered = recovery->offerOrphans();
        // A recovered page is unsaved: the page asked for must not replace it unasked.
        if (!page.isEmpty() && recovered)
            window->document().abrirRutaPreguntando(page);
        else if (!page.isEmpty())
            window->document().abrirRuta(page);
    });
    splash.show();
    const int result = application.exec();
    if (recovery)
        recovery->endCleanly();
    return result;
}
