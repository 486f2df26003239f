#pragma once

#include <QGroupBox>

class QLineEdit;

namespace zendral {

// The "Tamaño" frame of the table and cell dialogs: a width and a height, taken as typed.
class SizeFrame : public QGroupBox
{
    Q_OBJECT

public:
    explicit SizeFrame(QWidget *parent);

    QString width() const;
    QString height() const;

private:
    QLineEdit *m_width = nullptr;
    QLineEdit *m_height = nullptr;
};

} // namespace zendral
