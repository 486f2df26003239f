#pragma once

#include "tagdialog.h"
#include "tagfragments.h"

class QComboBox;
class QLineEdit;

namespace zendral {

// "  Etiqueta DIV": an opening div tag, either aligned or, once a position is given, a
// positioned layer.
class DivDialog : public TagDialog
{
    Q_OBJECT

public:
    DivDialog(EditingSurface &text1, QWidget *parent);

protected:
    QString fragment() const override;

private:
    QComboBox *m_align = nullptr;
    QComboBox *m_position = nullptr;
    QLineEdit *m_top = nullptr;
    QLineEdit *m_left = nullptr;
    QLineEdit *m_zIndex = nullptr;
    QLineEdit *m_height = nullptr;
    QLineEdit *m_width = nullptr;
};

} // namespace zendral
