#pragma once

#include <QObject>
#include <QString>

namespace zendral {

// The clipboard, plain text only.
class Clipboard : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    virtual bool hasText() const = 0;
    virtual QString text() const = 0;
    virtual void setText(const QString &text) = 0;

signals:
    void changed();
};

// The system clipboard.
class QtClipboard : public Clipboard
{
    Q_OBJECT

public:
    explicit QtClipboard(QObject *parent = nullptr);
    bool hasText() const override;
    QString text() const override;
    void setText(const QString &text) override;
};

} // namespace zendral
