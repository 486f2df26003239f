#include "prompts.h"

#include <QMessageBox>
#include <QPushButton>

namespace zendral {

bool QtPrompts::ask(const QString &question)
{
    QMessageBox box(QMessageBox::Question, question, question, QMessageBox::NoButton, m_parent);
    QPushButton *yes = box.addButton(QStringLiteral("&Sí"), QMessageBox::YesRole);
    box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    return box.clickedButton() == yes;
}

void QtPrompts::notify(const QString &message)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Zendral"), message, QMessageBox::Ok,
                    m_parent);
    box.exec();
}

} // namespace zendral
