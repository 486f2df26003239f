#pragma once

#include "formbuilder.h"
#include "generatorfragments.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace zendral {

// The META tags generator `metatags`: builds the block into its own output box for the user
// to copy; it never touches the document.
class MetaTagsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit MetaTagsDialog(QWidget *parent = nullptr);

private:
    void generate();

    FieldReader<MetaTagsFields> m_fields;
    QPlainTextEdit *m_description = nullptr;
    QPlainTextEdit *m_output = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace zendral
