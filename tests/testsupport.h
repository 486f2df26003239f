#pragma once

#include "filechooser.h"
#include "prompts.h"

#include <QList>
#include <QQueue>
#include <QString>

namespace zendral::test {

// Answers questions from a script and keeps every message it was shown.
class FakePrompts : public Prompts
{
public:
    bool ask(const QString &question) override
    {
        questions.append(question);
        return answers.isEmpty() ? false : answers.dequeue();
    }
    void notify(const QString &message) override { notices.append(message); }

    QQueue<bool> answers;
    QStringList questions;
    QStringList notices;
};

// Chooses files from a script (an empty string is a cancel) and keeps every request.
class FakeFileChooser : public FileChooser
{
public:
    QString choose(const FileRequest &request) override
    {
        requests.append(request);
        return paths.isEmpty() ? QString() : paths.dequeue();
    }

    QQueue<QString> paths;
    QList<FileRequest> requests;
};

} // namespace zendral::test
