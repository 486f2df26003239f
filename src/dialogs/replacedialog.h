#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zendral {

class PageText;

// The word replacement dialog `reemplazar`: one replacement throughout the document, after
// which it tells how many were made and can only be closed. A word not found is told and
// changes nothing. However it is closed, the caret goes to the end of the text.
class ReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ReplaceDialog(PageText &page, QWidget *parent = nullptr);

    void reject() override;

private:
    void replaceAll();

    PageText &m_page;
    QLineEdit *m_keyword = nullptr;
    QLineEdit *m_replacement = nullptr;
    QLabel *m_warning = nullptr;
    QPushButton *m_change = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace zendral
