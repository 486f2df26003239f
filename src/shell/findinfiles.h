#pragma once

#include <QObject>

#include <functional>

namespace zendral {

class FilePanes;
class FolderResults;
class MainWindow;

// Edición › Buscar en archivos for one window: the dock `resultadosbusqueda`, made when first
// asked for, looks in the panes' folder for the selected text. A hit chosen opens its page,
// here after the save question or in another window, and selects the hit.
class FindInFiles : public QObject
{
public:
    FindInFiles(MainWindow &window, FilePanes &panes);

    // A hit chosen with Ctrl opens its page in the window open gives; without one, here.
    void setWindowForPage(std::function<MainWindow *()> open) { m_windowForPage = std::move(open); }
    void show();

private:
    void openHit(const QString &path, qint64 start, qint64 length, bool inNewWindow);

    MainWindow &m_window;
    FilePanes &m_panes;
    FolderResults *m_results = nullptr;
    std::function<MainWindow *()> m_windowForPage;
};

} // namespace zendral
