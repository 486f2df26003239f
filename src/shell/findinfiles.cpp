#include "findinfiles.h"

#include "documentcontroller.h"
#include "editingsurface.h"
#include "filepanes.h"
#include "folderresults.h"
#include "mainwindow.h"

#include <QDockWidget>
#include <QFileInfo>

namespace zendral {

FindInFiles::FindInFiles(MainWindow &window, FilePanes &panes)
    : QObject(&window), m_window(window), m_panes(panes)
{}

void FindInFiles::show()
{
    if (!m_results) {
        auto *dock = new QDockWidget(QStringLiteral("Resultados de la búsqueda"), &m_window);
        dock->setObjectName(QStringLiteral("resultadosbusqueda"));
        m_results = new FolderResults(dock);
        dock->setWidget(m_results);
        m_window.addDockWidget(Qt::BottomDockWidgetArea, dock);
        connect(m_results, &FolderResults::hitChosen, this, &FindInFiles::openHit);
    }
    const QString selected = m_window.surface().page().selectedText();
    const bool oneLine = !selected.contains(u'\r') && !selected.contains(u'\n');
    m_results->parentWidget()->show();
    m_results->parentWidget()->raise();
    m_results->prepare(m_panes.folderPath(), oneLine ? selected : QString());
}

void FindInFiles::openHit(const QString &path, qint64 start, qint64 length, bool inNewWindow)
{
    MainWindow *window = &m_window;
    DocumentController &here = m_window.document();
    if (inNewWindow && m_windowForPage) {
        window = m_windowForPage();
        window->document().openPath(path);
    } else if (here.isModified()) {
        here.askThenOpenPath(path);
    } else {
        here.openPath(path);
    }
    // A page not opened (the question backed out of, or the file gone) keeps its selection.
    if (QFileInfo(window->document().state().archivoActual) != QFileInfo(path))
        return;
    PageText &page = window->surface().page();
    page.setSelectionStart(start);
    page.setSelectionLength(length);
    window->activateWindow();
    window->surface().setFocus();
}

} // namespace zendral
