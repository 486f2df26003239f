#include "windowmenu.h"

#include "documentcontroller.h"
#include "mainwindow.h"

#include <QAction>
#include <QMenu>
#include <QPointer>

namespace zendral {

WindowMenu::WindowMenu(MainWindow &window, QMenu &menu, QAction &newWindow)
    : QObject(&window), m_window(window), m_menu(menu), m_newWindow(newWindow)
{
    // Built as Ventana opens, from the windows as they are then.
    connect(&menu, &QMenu::aboutToShow, this, &WindowMenu::fill);
}

void WindowMenu::setOpenWindow(std::function<void()> open)
{
    m_open = std::move(open);
    m_newWindow.setEnabled(true);
}

void WindowMenu::openNew()
{
    if (m_open)
        m_open();
}

void WindowMenu::setWindows(std::function<QList<MainWindow *>()> windows)
{
    m_windows = std::move(windows);
}

QList<MainWindow *> WindowMenu::windows() const
{
    return m_windows ? m_windows() : QList<MainWindow *>{&m_window};
}

void WindowMenu::goTo(int step)
{
    const QList<MainWindow *> list = windows();
    const qsizetype here = list.indexOf(&m_window);
    if (here < 0 || list.size() < 2)
        return;
    list.at((here + step + list.size()) % list.size())->bringToFront();
}

void WindowMenu::fill()
{
    qDeleteAll(std::exchange(m_entries, {}));
    m_entries.append(m_menu.addSeparator());
    const QList<MainWindow *> list = windows();
    for (qsizetype i = 0; i < list.size(); ++i) {
        MainWindow *window = list.at(i);
        QString caption = window->document().displayName().replace(u'&', QStringLiteral("&&"));
        if (window->document().isModified())
            caption += QStringLiteral(" (Modificado)");
        if (i < 9)
            caption = QStringLiteral("&%1 ").arg(i + 1) + caption;
        QAction *entry = m_menu.addAction(caption);
        entry->setCheckable(true);
        entry->setChecked(window == &m_window);
        // The window may have closed by the time its entry is chosen.
        connect(entry, &QAction::triggered, this, [this, target = QPointer(window)] {
            if (target && windows().contains(target.data()))
                target->bringToFront();
        });
        m_entries.append(entry);
    }
}

} // namespace zendral
