#pragma once

#include "formbuilder.h"
#include "generatorfragments.h"
#include "tagdialog.h"

class QLineEdit;

namespace zendral {

// The database connection generator `db`: server script for a named data source or an
// Access file, inserted at the caret in the insertion colour in force.
class DbDialog : public TagDialog
{
    Q_OBJECT

public:
    explicit DbDialog(PageText &page, QWidget *parent = nullptr);

protected:
    QString fragment() const override;

private:
    FieldReader<DatabaseFields> m_fields;
    QLineEdit *m_dataSourceName = nullptr;
};

} // namespace zendral
