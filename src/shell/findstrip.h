#pragma once

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zendral {

class EditingSurface;
class PageText;
class OccurrenceCounter;
class Prompts;

// The strip under the toolbars that finds text in the document and jumps to a line by number.
// Neither search wraps around and neither changes the text. While the find box holds text, the
// occurrences on screen are marked and the strip says which of how many the selection is.
class FindStrip : public QWidget
{
    Q_OBJECT

public:
    FindStrip(EditingSurface &view, Prompts &prompts, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void findFirst();
    void findNext();
    void goToLine();
    // Return and Shift+Return in the find box: the next or previous occurrence, the box keeping
    // the focus so that the next press goes on.
    void findFromBox(bool backwards);
    void searchChanged();
    // Marks the occurrences on screen once the events of the moment have been handled.
    void scheduleMarks();
    void markOccurrences();
    void showCount();
    Qt::CaseSensitivity sensitivity() const;

    EditingSurface &m_view;
    PageText &m_page;
    Prompts &m_prompts;
    QLineEdit *m_line;
    QLineEdit *m_search;
    QCheckBox *m_matchCase;
    QLabel *m_count;
    OccurrenceCounter *m_counter;
    // The surface's viewport, whose size decides which lines are on screen.
    QObject *m_viewport;
    bool m_marksScheduled = false;
    bool m_marksShown = false;
};

} // namespace zendral
