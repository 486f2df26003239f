#pragma once

#include "tagdialog.h"
#include "tagfragments.h"

class QComboBox;
class QLineEdit;

namespace zendral {

// "  Etiqueta IFRAME": a complete inline frame, with an inline layer of the same attributes
// inside it for older browsers.
class IframeDialog : public TagDialog
{
    Q_OBJECT

public:
    IframeDialog(EditingSurface &text1, QWidget *parent);

protected:
    QString fragment() const override;

private:
    QLineEdit *m_name = nullptr;
    QLineEdit *m_id = nullptr;
    QLineEdit *m_file = nullptr;
    QComboBox *m_scroll = nullptr;
    QLineEdit *m_hspace = nullptr;
    QLineEdit *m_vspace = nullptr;
    QLineEdit *m_border = nullptr;
    QLineEdit *m_marginHeight = nullptr;
    QLineEdit *m_marginWidth = nullptr;
    QLineEdit *m_width = nullptr;
    QLineEdit *m_height = nullptr;
};

} // namespace zendral
