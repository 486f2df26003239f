#pragma once

#include <QList>
#include <QObject>

#include <functional>

class QAction;
class QMenu;

namespace zendral {

class MainWindow;

// The program's windows as one window reaches them: Ventana (`mn_ventana`) lists them after
// its commands, Ventana siguiente and anterior go round them, and Archivo › Nueva ventana
// opens one.
class WindowMenu : public QObject
{
public:
    // newWindow: the action of Nueva ventana, enabled once there is a way to open one.
    WindowMenu(MainWindow &window, QMenu &menu, QAction &newWindow);

    void setOpenWindow(std::function<void()> open);
    void openNew();
    // The windows in the order they opened; without them the window lists itself alone.
    void setWindows(std::function<QList<MainWindow *>()> windows);
    QList<MainWindow *> windows() const;
    // Brings to front the window step places after this one in the list, round the end.
    void goTo(int step);

private:
    // Ventana's entries for the windows, rebuilt as it opens.
    void fill();

    MainWindow &m_window;
    QMenu &m_menu;
    QAction &m_newWindow;
    std::function<void()> m_open;
    std::function<QList<MainWindow *>()> m_windows;
    QList<QAction *> m_entries;
};

} // namespace zendral
