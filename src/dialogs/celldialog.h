#pragma once

#include "boxdialog.h"
#include "tagfragments.h"

namespace zendral {

// "  Definición de celda": an opening cell tag, the companion of the table dialog.
class CellDialog : public BoxDialog
{
    Q_OBJECT

public:
    CellDialog(PageText &page, QWidget *parent);

protected:
    QString fragment() const override;

private:
    FieldReader<CellFields> m_fields;
};

} // namespace zendral
