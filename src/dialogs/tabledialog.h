#pragma once

#include "boxdialog.h"

class QLineEdit;

namespace zendral {

// "  Definición de tabla": an opening table tag and the first opening row tag below it.
class TableDialog : public BoxDialog
{
    Q_OBJECT

public:
    TableDialog(EditingSurface &text1, QWidget *parent);

protected:
    QString fragment() const override;

private:
    QLineEdit *m_cellSpacing = nullptr;
    QLineEdit *m_cellPadding = nullptr;
    QLineEdit *m_border = nullptr;
    QLineEdit *m_className = nullptr;
};

} // namespace zendral
