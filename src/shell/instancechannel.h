#pragma once

#include <QObject>
#include <QString>

#include <sys/types.h>
#include <unistd.h>

class QLocalServer;
class QLocalSocket;

namespace zendral {

// The line between starts of the program for one user: a page opened from the desktop while
// the program runs is handed to the running one, which opens it in a window of its own.
//
// It lives only in a folder no other user can reach, and each end checks that the other runs
// as the same user before anything is handed over: a page's name told to another user's
// listener would be the page handed to that user.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    // A page's path needs a few kilobytes; a message longer than this is dropped unread.
    static constexpr qint64 LongestMessage = 64 * 1024;
    // Starts talking to the program at once; one more is turned away until one is done.
    static constexpr int MostConnections = 8;

    // The user's socket, in the user's private runtime folder; empty when there is none, and
    // then there is no channel: every start opens its own window.
    static QString defaultName();
    // The socket's name in folder; empty unless folder is a folder (not a symbolic link) that
    // belongs to the user and is closed to everyone else.
    static QString nameIn(const QString &folder);

    // user: the user whose starts may talk over the channel.
    explicit InstanceChannel(const QString &name = defaultName(), uid_t user = ::getuid(),
                             QObject *parent = nullptr);
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
    bool sameUser(qintptr descriptor) const;

    QString m_name;
    uid_t m_user;
    QLocalServer *m_server = nullptr;
    int m_connections = 0;
};

} // namespace zendral
