#pragma once

#include "generatorfragments.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
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

    MetaTagsFields fields() const;

private:
    void generate();

    QComboBox *m_area;
    QComboBox *m_audience;
    QLineEdit *m_author;
    QComboBox *m_language;
    QComboBox *m_charset;
    QLineEdit *m_email;
    QLineEdit *m_days;
    QLineEdit *m_keywords;
    QPlainTextEdit *m_description;
    QPlainTextEdit *m_output;
    QPushButton *m_close;
};

} // namespace zendral
