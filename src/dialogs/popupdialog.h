#pragma once

#include "generatorfragments.h"

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace zendral {

class EditingSurface;
class Prompts;

// The pop-up window generator `popup`: a link or a load-time script that opens a page in a
// new browser window, inserted at the caret in the insertion colour in force.
class PopupDialog : public QDialog
{
    Q_OBJECT

public:
    PopupDialog(EditingSurface &text1, Prompts &prompts, QWidget *parent = nullptr);

    PopupFields fields() const;

private:
    void insertFragment();

    EditingSurface &m_text1;
    Prompts &m_prompts;
    QLineEdit *m_file;
    QLineEdit *m_windowName;
    QComboBox *m_toolbar;
    QComboBox *m_status;
    QComboBox *m_scrollbars;
    QComboBox *m_menubar;
    QComboBox *m_personalbar;
    QComboBox *m_resizable;
    QComboBox *m_directories;
    QLineEdit *m_width;
    QLineEdit *m_height;
    QComboBox *m_openingMethod;
};

} // namespace zendral
