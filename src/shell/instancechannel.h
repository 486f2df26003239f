#pragma once

#include <QObject>
#include <QString>

class QLocalServer;
class QLocalSocket;

namespace zendral {

// The line between starts of the program for one user: a page opened from the desktop while
// the program runs is handed to the running one, which opens it in a window of its own.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    // The user's socket, in the user's runtime folder, named with the user's id.
    static QString defaultName();

    explicit InstanceChannel(const QString &name = defaultName(), QObject *parent = nullptr);
    ~InstanceChannel() override;

    // Hands page (empty: no page, only a window) to the program already running and returns
    // true once it has taken it. When none answers, this program takes the name and the pages
    // of later starts arrive through pageArrived; false is returned.
    bool handOver(const QString &page);
    QString name() const { return m_name; }
    // Gives the name up, so that the next start need not find out that nobody answers.
    void close();

signals:
    void pageArrived(const QString &page);

private:
    void listen();
    void takeConnections();
    void read(QLocalSocket *socket);

    QString m_name;
    QLocalServer *m_server = nullptr;
};

} // namespace zendral
