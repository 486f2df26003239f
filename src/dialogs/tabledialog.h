#pragma once

#include "boxdialog.h"
#include "tagfragments.h"

namespace zendral {

// "  Definición de tabla": an opening table tag and the first opening row tag below it.
class TableDialog : public BoxDialog
{
    Q_OBJECT

public:
    TableDialog(PageText &page, QWidget *parent);

protected:
    QString fragment() const override;

private:
    FieldReader<TableFields> m_fields;
};

} // namespace zendral
