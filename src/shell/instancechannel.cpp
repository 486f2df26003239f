#include "instancechannel.h"

#include <QDataStream>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QTextStream>

#include <unistd.h>

namespace zendral {

namespace {

// Long enough for a running program busy opening a large page; a program that takes longer is
// taken for hung, and this one starts on its own.
constexpr int AnswerWait = 10000;
const QByteArray Taken("taken\n");
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_0;

void complain(const QString &message)
{
    QTextStream(stderr) << QStringLiteral("zendral: %1\n").arg(message);
}

} // namespace

QString InstanceChannel::defaultName()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder + QStringLiteral("/zendral-%1").arg(::getuid());
}

InstanceChannel::InstanceChannel(const QString &name, QObject *parent)
    : QObject(parent), m_name(name)
{}

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::handOver(const QString &page)
{
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
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    out << page;
    socket.write(message);
    QByteArray answer;
    while (answer.size() < Taken.size() && socket.state() == QLocalSocket::ConnectedState &&
           (socket.bytesAvailable() > 0 || socket.waitForReadyRead(AnswerWait)))
        answer += socket.readAll();
    answer += socket.readAll();
    if (answer.startsWith(Taken))
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
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { read(socket); });
        read(socket);
    }
}

void InstanceChannel::read(QLocalSocket *socket)
{
    QDataStream in(socket);
    in.setVersion(StreamVersion);
    in.startTransaction();
    QString page;
    in >> page;
    // The rest of the message is still on its way.
    if (!in.commitTransaction())
        return;
    socket->disconnect(this);
    socket->write(Taken);
    socket->disconnectFromServer();
    // Queued: the page may ask its questions, and the other start is not kept waiting on them.
    QMetaObject::invokeMethod(
        this, [this, page] { emit pageArrived(page); }, Qt::QueuedConnection);
}

} // namespace zendral
