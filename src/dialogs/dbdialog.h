#pragma once

#include "generatorfragments.h"

#include <QDialog>

class QLineEdit;

namespace zendral {

class EditingSurface;

// The database connection generator `db`: server script for a named data source or an
// Access file, inserted at the caret in the insertion colour in force.
class DbDialog : public QDialog
{
    Q_OBJECT

public:
    explicit DbDialog(EditingSurface &text1, QWidget *parent = nullptr);

    DatabaseFields fields() const;

private:
    void insertFragment();

    EditingSurface &m_text1;
    QLineEdit *m_dataSourceName;
    QLineEdit *m_databasePath;
};

} // namespace zendral
