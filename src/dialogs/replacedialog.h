#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zendral {

class EditingSurface;

// The word replacement dialog `reemplazar`: one replacement throughout the document, after
// which it can only be closed. However it is closed, the caret goes to the end of the text.
class ReplaceDialog : public QDialog
{
    Q_OBJECT

public:
    explicit ReplaceDialog(EditingSurface &text1, QWidget *parent = nullptr);

    void reject() override;

private:
    void replaceAll();

    EditingSurface &m_text1;
    QLineEdit *m_keyword;
    QLineEdit *m_replacement;
    QLabel *m_warning;
    QPushButton *m_change;
    QPushButton *m_close;
};

} // namespace zendral
