#pragma once

#include "boxdialog.h"

class QComboBox;
class QLineEdit;

namespace zendral {

// "  Definición de celda": an opening cell tag, the companion of the table dialog.
class CellDialog : public BoxDialog
{
    Q_OBJECT

public:
    CellDialog(EditingSurface &text1, QWidget *parent);

protected:
    QString fragment() const override;

private:
    QLineEdit *m_className = nullptr;
    QComboBox *m_valign = nullptr;
};

} // namespace zendral
