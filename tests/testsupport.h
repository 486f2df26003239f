#pragma once

#include "filechooser.h"
#include "prompts.h"

// The whole of Qt Widgets and Qt Test, so that each test names only what is its own.
#include <QtTest>
#include <QtWidgets>

#include <filesystem>
#include <fstream>
#include <functional>

namespace zendral::test {

// Answers questions from a script (No once it runs out) and keeps every message it was shown.
class FakePrompts : public Prompts
{
public:
    // A scripted answer: true for Yes, false for No, or any Answer.
    struct Reply
    {
        Reply(bool yes) : answer(yes ? Answer::Yes : Answer::No) {}
        Reply(Answer given) : answer(given) {}
        Answer answer;
    };

    Answer question(const QString &text) override
    {
        questions.append(text);
        return answers.isEmpty() ? Answer::No : answers.dequeue().answer;
    }
    void notify(const QString &message) override
    {
        notices.append(message);
        if (onNotify)
            onNotify();
    }

    QQueue<Reply> answers;
    QStringList questions;
    QStringList notices;
    std::function<void()> onNotify;
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

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

// Writes bytes at path, making the folders on the way.
inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// A path as the system's calls take it.
inline QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

// Files under names Qt cannot decode (bytes that are not UTF-8) are files all the same: these
// reach them by the name's bytes.
inline void writeRaw(const QByteArray &path, const QByteArray &bytes)
{
    std::ofstream(path.constData(), std::ios::binary).write(bytes.constData(), bytes.size());
}

inline QByteArray readRaw(const QByteArray &path)
{
    std::ifstream in(path.constData(), std::ios::binary);
    return QByteArray::fromStdString({std::istreambuf_iterator<char>(in), {}});
}

// How many entries the folder holds, whatever their names.
inline int entryCount(const QString &folder)
{
    return int(std::distance(std::filesystem::directory_iterator(native(folder).constData()), {}));
}

// A JPEG picture of the given size.
inline QByteArray jpegBytes(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG");
    return bytes;
}

// Types like keyClicks, also the accented letters that keyClicks cannot send.
inline void typeInto(QWidget *widget, const QString &text)
{
    for (const QChar character : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                            Qt::NoModifier);
}

// The named child, which must be there.
template <typename Widget = QWidget> Widget *child(const QObject *parent, const QString &name)
{
    auto *widget = parent->findChild<Widget *>(name);
    if (!widget)
        qFatal("no widget %s", qPrintable(name));
    return widget;
}

inline void click(const QObject *parent, const QString &button)
{
    QTest::mouseClick(child<QPushButton>(parent, button), Qt::LeftButton);
}

// Runs script on the modal dialog once it is up, inside its own loop; closes the dialog if the
// script left it open, so that a failed check cannot leave the test waiting.
inline void whenModalOpens(std::function<void(QWidget &)> script)
{
    QTimer::singleShot(0, [script] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        script(*dialog);
        if (dialog->isVisible())
            dialog->close();
    });
}

} // namespace zendral::test
