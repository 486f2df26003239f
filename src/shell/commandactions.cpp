#include "commandactions.h"

#include <QAction>
#include <QEvent>
#include <QIcon>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

namespace zendral {

namespace {

// Keeps a button's tooltip away when its command has none.
class NoToolTip : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override { return event->type() == QEvent::ToolTip; }
};

// A caption as a tooltip or an accessible name shows it: without its access key.
QString withoutAccessKey(QString caption)
{
    return caption.remove(u'&');
}

} // namespace

CommandActions::CommandActions(QMainWindow &window) : m_window(window)
{
    for (const CommandSpec &entry : commandTable()) {
        auto *action = new QAction(&window);
        action->setObjectName(entry.name);
        action->setText(entry.caption.isEmpty() ? entry.toolTip : entry.caption);
        action->setToolTip(entry.toolTip.isEmpty() ? withoutAccessKey(entry.caption)
                                                   : entry.toolTip);
        action->setCheckable(!entry.setting.isEmpty());
        if (!entry.shortcut.isEmpty()) {
            action->setShortcut(entry.shortcut);
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (!entry.icon.isEmpty())
            action->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(entry.icon)));
        // Nueva ventana waits for the window set.
        action->setEnabled(entry.command != Command::NewWindow);
        window.addAction(action);
        m_actions[std::size_t(entry.command)] = action;
    }
    buildMenus();
}

void CommandActions::buildMenus()
{
    for (const MenuSpec &entry : menuTable()) {
        QMenu *menu = nullptr;
        if (entry.parent.isEmpty()) {
            menu = m_window.menuBar()->addMenu(entry.caption);
        } else {
            QMenu *parent = m_menus.value(entry.parent);
            menu = new QMenu(entry.caption, parent);
            QAction *before = nullptr;
            for (const CommandSpec &command : commandTable()) {
                if (command.name == entry.before)
                    before = action(command.command);
            }
            parent->insertMenu(before, menu);
        }
        menu->setObjectName(entry.name);
        menu->menuAction()->setObjectName(entry.name);
        m_menus.insert(entry.name, menu);
        // Entries are added in table order, right after their menu exists.
        for (const CommandSpec &command : commandTable()) {
            if (command.menu == entry.name)
                menu->addAction(action(command.command));
        }
    }
}

QWidget *CommandActions::buildToolbars()
{
    const auto fill = [&](QToolBar *bar, Bar which) {
        bar->setIconSize(QSize(24, 24));
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        for (const ToolbarItem &item : toolbarOrder(which)) {
            if (!item) {
                bar->addSeparator();
                continue;
            }
            const CommandSpec &entry = commandSpec(*item);
            QAction *command = action(entry.command);
            bar->addAction(command);
            auto *widget = qobject_cast<QToolButton *>(bar->widgetForAction(command));
            widget->setObjectName(entry.button);
            widget->setAccessibleName(entry.toolTip.isEmpty() ? withoutAccessKey(entry.caption)
                                                              : entry.toolTip);
            if (entry.toolTip.isEmpty())
                widget->installEventFilter(new NoToolTip(widget));
        }
    };

    auto *mainBar = new QToolBar(QStringLiteral("Principal"));
    mainBar->setObjectName(QStringLiteral("barraPrincipal"));
    mainBar->setMovable(false);
    fill(mainBar, Bar::Main);
    m_window.addToolBar(Qt::TopToolBarArea, mainBar);

    auto *tags = new QTabWidget;
    tags->setObjectName(QStringLiteral("tab1"));
    tags->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    const std::pair<QString, Bar> pages[] = {{QStringLiteral("HTML"), Bar::Html},
                                             {QStringLiteral("ASP"), Bar::Asp},
                                             {QStringLiteral("JavaScript"), Bar::JavaScript}};
    for (const auto &[caption, which] : pages) {
        auto *bar = new QToolBar(caption);
        fill(bar, which);
        tags->addTab(bar, caption);
    }
    return tags;
}

} // namespace zendral
