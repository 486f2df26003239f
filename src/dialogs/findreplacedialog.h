#pragma once

#include "pagefinder.h"

#include <QDialog>

#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace zendral {

class PageText;

// The find and replace dialog `buscarreemplazar`: it stays open beside the page while the
// author edits, and runs every search and replacement through a PageFinder. Its status line
// tells what each button did.
class FindReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit FindReplaceDialog(PageText &page, QWidget *parent = nullptr);

    // Shows the dialog in front, the find box taking a one-line selection as its text and a
    // selection of several lines as the stretch to search.
    void present();

private:
    void findNext();
    void findPrevious();
    void replace();
    void replaceAll();
    // The search as the boxes and options give it, or nothing (the status line says why).
    std::optional<SearchPattern> pattern();
    void find(PageFinder::Direction direction);
    void showFound(const std::optional<PageFinder::Found> &found, PageFinder::Direction direction);
    std::optional<PageFinder::Stretch> within() const;
    void selectionOnlyToggled(bool on);
    // Keeps the stretch searched over the same text while the page changes around it.
    void followEdit(qint64 start, qint64 removed, qint64 added);

    PageText &m_page;
    PageFinder m_finder;
    QComboBox *m_search;
    QComboBox *m_replacement;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWord;
    QCheckBox *m_expression;
    QCheckBox *m_selectionOnly;
    QCheckBox *m_wrap;
    QLabel *m_result;
    std::optional<PageFinder::Stretch> m_stretch;
};

} // namespace zendral
