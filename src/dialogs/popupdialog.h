#pragma once

#include "tagdialog.h"

class QComboBox;
class QLineEdit;

namespace zendral {

class Prompts;

// The pop-up window generator `popup`: a link or a load-time script that opens a page in a
// new browser window, inserted at the caret in the insertion colour in force.
class PopupDialog : public TagDialog
{
    Q_OBJECT

public:
    PopupDialog(EditingSurface &text1, Prompts &prompts, QWidget *parent = nullptr);

protected:
    QString fragment() const override;
    void inserted() override;

private:
    Prompts &m_prompts;
    QLineEdit *m_file = nullptr;
    QLineEdit *m_windowName = nullptr;
    QComboBox *m_toolbar = nullptr;
    QComboBox *m_status = nullptr;
    QComboBox *m_scrollbars = nullptr;
    QComboBox *m_menubar = nullptr;
    QComboBox *m_personalbar = nullptr;
    QComboBox *m_resizable = nullptr;
    QComboBox *m_directories = nullptr;
    QLineEdit *m_width = nullptr;
    QLineEdit *m_height = nullptr;
    QComboBox *m_openingMethod = nullptr;
};

} // namespace zendral
