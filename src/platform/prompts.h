#pragma once

#include <QString>

class QWidget;

namespace zendral {

// Question and notice boxes. Questions have the buttons "Sí" and "No" and the question as the
// title; notices have an OK button only, no icon, and the title "Zendral". Every text is shown
// as it stands, never read as markup.
class Prompts
{
public:
    // Backing out of a question (Escape, the box's close button) answers neither Yes nor No.
    enum class Answer { Yes, No, Cancel };

    virtual ~Prompts() = default;
    virtual Answer question(const QString &text) = 0;
    // True for Yes only: for callers to whom backing out means No.
    bool ask(const QString &text) { return question(text) == Answer::Yes; }
    virtual void notify(const QString &message) = 0;
};

// The real boxes, over a parent window.
class QtPrompts : public Prompts
{
public:
    explicit QtPrompts(QWidget *parent) : m_parent(parent) {}
    Answer question(const QString &text) override;
    void notify(const QString &message) override;

private:
    QWidget *m_parent;
};

} // namespace zendral
