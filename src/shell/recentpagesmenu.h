#pragma once

#include <QObject>

#include <functional>

class QMenu;

namespace zendral {

class Prompts;

// Archivo › Páginas recientes (`mn_recientes`): the user's recent pages, numbered, rebuilt as
// Archivo opens, since the list may have changed in another window meanwhile. A page chosen
// is opened through open; one no longer there is told and forgotten.
class RecentPagesMenu : public QObject
{
public:
    RecentPagesMenu(QMenu &fileMenu, QMenu &menu, Prompts &prompts,
                    std::function<void(const QString &)> open, QObject *parent);

private:
    void fill();
    void choose(const QString &path);

    QMenu &m_menu;
    Prompts &m_prompts;
    std::function<void(const QString &)> m_open;
};

} // namespace zendral
