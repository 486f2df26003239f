#pragma once

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

private:
    void generate();

    QComboBox *m_area = nullptr;
    QComboBox *m_audience = nullptr;
    QLineEdit *m_author = nullptr;
    QComboBox *m_language = nullptr;
    QComboBox *m_charset = nullptr;
    QLineEdit *m_email = nullptr;
    QLineEdit *m_days = nullptr;
    QLineEdit *m_keywords = nullptr;
    QPlainTextEdit *m_description = nullptr;
    QPlainTextEdit *m_output = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace zendral
