#pragma once

#include "foldersearch.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace zendral {

// What the dock `resultadosbusqueda` holds: the folder, the text and the options of a search
// over a folder's pages, its progress, and its hits (file, line, the line with the hit marked).
// A double-click on a hit asks for that page to be opened with the hit selected.
class FolderResults : public QWidget
{
    Q_OBJECT

public:
    explicit FolderResults(QWidget *parent = nullptr);

    // Readies a search: the folder (when the box has none yet, or a new one is given) and the
    // text, the search box taking the focus.
    void prepare(const QString &folder, const QString &text);

signals:
    // A hit was double-clicked; inNewWindow when Ctrl was held.
    void hitChosen(const QString &path, qint64 start, qint64 length, bool inNewWindow);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void search();
    void addHits(const QList<FolderHit> &hits);
    void finish(const FolderSearchSummary &summary);
    void chosen(QTreeWidgetItem *item);

    FolderSearch m_search;
    QLineEdit *m_folder;
    QLineEdit *m_text;
    QCheckBox *m_matchCase;
    QCheckBox *m_wholeWord;
    QCheckBox *m_expression;
    QPushButton *m_start;
    QPushButton *m_stop;
    QProgressBar *m_progress;
    QLabel *m_status;
    QTreeWidget *m_hits;
    // The folder searched, which the files listed are named from.
    QString m_root;
    // Whether Ctrl was held at the last double-click on the hits.
    bool m_controlHeld = false;
};

} // namespace zendral
