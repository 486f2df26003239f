#pragma once

#include <QString>

class QWidget;

namespace zendral {

// Question and notice boxes. Questions are Yes/No with the question as the title; notices
// have an OK button only, no icon, and the title "Zendral".
class Prompts
{
public:
    virtual ~Prompts() = default;
    // Returns true for Yes.
    virtual bool ask(const QString &question) = 0;
    virtual void notify(const QString &message) = 0;
};

// The real boxes, over a parent window.
class QtPrompts : public Prompts
{
public:
    explicit QtPrompts(QWidget *parent) : m_parent(parent) {}
    bool ask(const QString &question) override;
    void notify(const QString &message) override;

private:
    QWidget *m_parent;
};

} // namespace zendral
