#include "prompts.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>

namespace zendral {

namespace {

// A question box that Escape and the close button leave without an answer. Left to itself,
// QMessageBox takes a lone "No" button as its escape button, so backing out answered No.
class QuestionBox : public QMessageBox
{
public:
    using QMessageBox::QMessageBox;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->matches(QKeySequence::Cancel)) {
            reject();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
    void closeEvent(QCloseEvent *event) override { QDialog::closeEvent(event); }
};

} // namespace

Prompts::Answer QtPrompts::question(const QString &text)
{
    QuestionBox box(QMessageBox::Question, text, text, QMessageBox::NoButton, m_parent);
    // File names and page text hold "<" and ">": shown as rich text, tags would vanish.
    box.setTextFormat(Qt::PlainText);
    QPushButton *yes = box.addButton(QStringLiteral("&Sí"), QMessageBox::YesRole);
    QPushButton *no = box.addButton(QStringLiteral("&No"), QMessageBox::NoRole);
    box.setDefaultButton(yes);
    box.exec();
    if (box.clickedButton() == yes)
        return Answer::Yes;
    if (box.clickedButton() == no)
        return Answer::No;
    return Answer::Cancel;
}

void QtPrompts::notify(const QString &message)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Zendral"), message, QMessageBox::Ok,
                    m_parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

} // namespace zendral
