#include "mainwindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zendral"));
    zendral::MainWindow window;
    window.show();
    return application.exec();
}
