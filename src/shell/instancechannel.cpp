#include "instancechannel.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTextStream>

#include <QTimer>

#include <QtEndian>

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zendral {

namespace {

// Long enough for a running program busy opening a large page; a program that takes longer is
// taken for hung, and this one starts on its own.
constexpr int AnswerWait = 10000;
// A start sends its page as soon as it is connected: one silent for this long is hung, and its
// place is given to the next.
constexpr int LongestSilence = 60000;
const QByteArray Taken("taken\n");
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_0;

void complain(const QString &message)
{
    QTextStream(stderr) << QStringLiteral("zendral: %1\n").arg(message);
}

} // namespace

QString InstanceChannel::defaultName()
{
    // No fallback to the shared temporary folder: there, another user can listen first.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return folder.isEmpty() ? QString() : nameIn(folder);
}

QString InstanceChannel::nameIn(const QString &folder)
{
    struct stat status;
    if (folder.isEmpty() || ::lstat(QFile::encodeName(folder).constData(), &status) != 0 ||
        !S_ISDIR(status.st_mode) || status.st_uid != ::getuid() ||
        (status.st_mode & (S_IRWXG | S_IRWXO)) != 0)
        return QString();
    return folder + QStringLiteral("/zendral-%1").arg(::getuid());
}

InstanceChannel::InstanceChannel(const QString &name, uid_t user, QObject *parent)
    : QObject(parent), m_name(name), m_user(user)
{}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::sameUser(qintptr descriptor) const
{
    ucred peer{};
    socklen_t size = sizeof peer;
    return ::getsockopt(int(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &size) == 0 &&
           peer.uid == m_user;
}

bool InstanceChannel::handOver(const QString &page)
{
    if (m_name.isEmpty())
        return false;
    // Two programs starting together must not both find the name free and take it in turn:
    // the second would take it from the first, leaving the first unreachable.
    QLockFile lock(m_name + QStringLiteral(".lock"));
    if (!lock.tryLock(AnswerWait)) {
        complain(QStringLiteral("no se puede bloquear \"%1\"; esta ventana no recibirá las "
                                "páginas abiertas desde el escritorio.")
                     .arg(lock.fileName()));
        return false;
    }
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(AnswerWait)) {
        // Nobody listens: the name is free, or left behind by a program that did not end
        // cleanly.
        listen();
        return false;
    }
    if (!sameUser(socket.socketDescriptor())) {
        complain(
            QStringLiteral("\"%1\" es de otro usuario; no se le da ninguna página.").arg(m_name));
        return false;
    }
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << page;
    socket.write(message);
    QByteArray answer;
    while (answer.size() < Taken.size() && socket.state() == QLocalSocket::ConnectedState &&
           (socket.bytesAvailable() > 0 || socket.waitForReadyRead(AnswerWait)))
        answer += socket.read(Taken.size() - answer.size());
    answer += socket.read(Taken.size() - answer.size());
    if (answer == Taken)
        return true;
    // The name stays with the program that holds it, hung or not.
    complain(QStringLiteral("el programa que ya está abierto no responde; se abre otro."));
    return false;
}

void InstanceChannel::listen()
{
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    m_server->setMaxPendingConnections(MostConnections);
    if (!m_server->listen(m_name)) {
        complain(QStringLiteral("no se puede escuchar en \"%1\" (%2); esta ventana no recibirá "
                                "las páginas abiertas desde el escritorio.")
                     .arg(m_name, m_server->errorString()));
        delete m_server;
        m_server = nullptr;
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::takeConnections);
}

void InstanceChannel::close()
{
    if (m_server)
        m_server->close();
}

void InstanceChannel::takeConnections()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        // Held connections each take a descriptor: once they ran out, Qt gave the name up.
        if (m_connections >= MostConnections || !sameUser(socket->socketDescriptor())) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_connections;
        connect(socket, &QObject::destroyed, this, [this] { --m_connections; });
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        QTimer::singleShot(LongestSilence, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
        socket->setReadBufferSize(LongestMessage);
        read(socket);
    }
}

void InstanceChannel::read(QLocalSocket *socket)
{
    // A QString goes as its length in bytes (all ones for a null one), then its UTF-16.
    quint32 length = 0;
    const bool tooLong =
        socket->peek(reinterpret_cast<char *>(&length), sizeof length) == sizeof length &&
        qFromBigEndian(length) != 0xffffffff &&
        qFromBigEndian(length) > LongestMessage - qint64(sizeof length);
    const auto drop = [this, socket] {
        disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
        socket->abort();
        socket->deleteLater();
    };
    if (tooLong)
        return drop();
    QDataStream in(socket);
    in.setVersion(StreamVersion);
    in.startTransaction();
    QString page;
    in >> page;
    if (!in.commitTransaction()) {
        // The rest of the message is still on its way, unless it cannot fit.
        if (socket->bytesAvailable() >= LongestMessage)
            drop();
        return;
    }
    disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
    socket->write(Taken);
    socket->disconnectFromServer();
    // Queued: the page may ask its questions, and the other start is not kept waiting on them.
    QMetaObject::invokeMethod(
        this, [this, page] { emit pageArrived(page); }, Qt::QueuedConnection);
}

} // namespace zendral
