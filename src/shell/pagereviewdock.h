#pragma once

#include "pagereview.h"

#include <QDockWidget>

#include <functional>
#include <memory>
#include <thread>

class QLabel;
class QListWidget;

namespace zendral {

class EditingSurface;

// The dock `revision`: "Revisar página" checks the page as it stands on a worker thread and
// lists what it found there, each finding with its line; a double-click takes the caret to
// the line. The check never changes the text.
class PageReviewDock : public QDockWidget
{
    Q_OBJECT

public:
    // folder: the page's folder, where the files it names are looked for (empty: not saved).
    PageReviewDock(EditingSurface &view, std::function<QString()> folder,
                   QWidget *parent = nullptr);
    ~PageReviewDock() override;

    // Shows the dock and checks the page; asked while a check runs, checks again after it.
    void review();
    bool reviewing() const { return m_worker != nullptr; }
    // Another page came in: what was found belongs to the one that went, as does a check
    // still running.
    void forget();

signals:
    // The findings of a check are on show.
    void reviewed();

private:
    void start();
    void showFindings(int generation, const std::vector<Finding> &findings);
    void goTo(int line);

    EditingSurface &m_view;
    std::function<QString()> m_folder;
    QLabel *m_state = nullptr;
    QListWidget *m_list = nullptr;
    std::unique_ptr<std::thread> m_worker;
    bool m_again = false;
    // Counts the pages come in, so that a check of one that went is not shown.
    int m_generation = 0;
};

} // namespace zendral
