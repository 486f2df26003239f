#include "recentpagesmenu.h"

#include "prompts.h"
#include "recentpages.h"

#include <QFileInfo>
#include <QMenu>

namespace zendral {

RecentPagesMenu::RecentPagesMenu(QMenu &fileMenu, QMenu &menu, Prompts &prompts,
                                 std::function<void(const QString &)> open, QObject *parent)
    : QObject(parent), m_menu(menu), m_prompts(prompts), m_open(std::move(open))
{
    // Rebuilt as Archivo opens, never as the submenu does: an entry is never taken away while
    // its own command runs.
    connect(&fileMenu, &QMenu::aboutToShow, this, &RecentPagesMenu::fill);
    fill();
}

void RecentPagesMenu::fill()
{
    m_menu.clear();
    const QStringList pages = RecentPages::list();
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const QString path = pages.at(i);
        // 1 to 9, then 10 reached by its 0.
        const QString number = i < 9 ? QStringLiteral("&%1").arg(i + 1) : QStringLiteral("1&0");
        QAction *entry = m_menu.addAction(
            number + u' ' + QString(path).replace(QStringLiteral("&"), QStringLiteral("&&")));
        connect(entry, &QAction::triggered, this, [this, path] { choose(path); });
    }
    m_menu.menuAction()->setEnabled(!pages.isEmpty());
}

void RecentPagesMenu::choose(const QString &path)
{
    if (!QFileInfo(path).isFile()) {
        m_prompts.notify(
            QStringLiteral("La página \"%1\" ya no existe; se quita de las páginas recientes.")
                .arg(path));
        RecentPages::remove(path);
        return;
    }
    m_open(path);
}

} // namespace zendral
