#pragma once

#include <QDialog>

namespace zendral {

// The about box `acercade`: the product's name, its credits and addresses, and how it may be
// passed on. It has no behaviour of its own.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AboutDialog(QWidget *parent = nullptr);
};

} // namespace zendral
