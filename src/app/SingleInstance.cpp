// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDataStream>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStringList>

#include <unistd.h>

namespace dpx {

namespace {
constexpr int ConnectTimeoutMs = 1000;
constexpr quint32 MaxMessageBytes = 64 * 1024;
constexpr qint8 ProgressFrame = 0;
constexpr qint8 ResultFrame = 1;

QByteArray framed(const QByteArray &payload)
{
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << quint32(payload.size());
    return message + payload;
}

// One whole frame from the front of the buffer; false while it is incomplete.
bool takeFrame(QByteArray *buffer, QByteArray *payload)
{
    if (buffer->size() < qsizetype(sizeof(quint32)))
        return false;
    quint32 size = 0;
    QDataStream(buffer->left(sizeof(quint32))) >> size;
    if (size > MaxMessageBytes || buffer->size() < qsizetype(sizeof(quint32) + size))
        return false;
    *payload = buffer->mid(sizeof(quint32), size);
    buffer->remove(0, qsizetype(sizeof(quint32) + size));
    return true;
}
} // namespace

JobReply::JobReply(QLocalSocket *socket, QObject *parent) : QObject(parent), m_socket(socket) {}

void JobReply::sendFrame(qint8 kind, int code, const QString &text)
{
    if (!m_socket || m_finished)
        return;
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << kind << qint32(code) << text;
    m_socket->write(framed(payload));
    m_socket->flush();
}

void JobReply::progress(const QString &line)
{
    sendFrame(ProgressFrame, 0, line);
}

void JobReply::finish(int exitCode, const QString &message)
{
    sendFrame(ResultFrame, exitCode, message);
    m_finished = true;
    if (m_socket)
        m_socket->disconnectFromServer(); // after the pending bytes are written
}

SingleInstance::SingleInstance(const QString &dataFolder, QObject *parent) : QObject(parent)
{
    const QByteArray key = QByteArray::number(static_cast<qulonglong>(::getuid())) + '\0'
        + dataFolder.toUtf8();
    m_name = QStringLiteral("dpx-")
        + QString::fromLatin1(
              QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24));
}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::claim(const QStringList &arguments)
{
    if (sendTo(arguments))
        return false;

    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_server->listen(m_name)) {
        // A stale socket from a crashed instance: nobody answered above, so take it over.
        QLocalServer::removeServer(m_name);
        if (!m_server->listen(m_name)) {
            // Two starts racing: let the one that got the socket win.
            return !sendTo(arguments);
        }
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readFrom(socket); });
            readFrom(socket);
        }
    });
    return true;
}

bool SingleInstance::sendTo(const QStringList &arguments)
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    QByteArray payload;
    QDataStream payloadStream(&payload, QIODevice::WriteOnly);
    payloadStream << arguments;
    QByteArray message;
    QDataStream out(&message, QIODevice::WriteOnly);
    out << quint32(payload.size());
    message.append(payload);
    socket.write(message);
    if (!socket.waitForBytesWritten(ConnectTimeoutMs))
        return false;
    // Wait for the first instance to take the message before going away.
    socket.waitForReadyRead(ConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::readFrom(QLocalSocket *socket)
{
    if (socket->bytesAvailable() < qint64(sizeof(quint32)))
        return;
    quint32 size = 0;
    QDataStream(socket->peek(sizeof(quint32))) >> size;
    if (size > MaxMessageBytes) {
        socket->abort();
        return;
    }
    if (socket->bytesAvailable() < qint64(sizeof(quint32) + size))
        return;
    socket->read(sizeof(quint32));
    QStringList arguments;
    QDataStream in(socket->read(size));
    in >> arguments;
    if (in.status() == QDataStream::Ok && m_isJob && m_isJob(arguments)) {
        // The connection stays open for the job's progress and result.
        disconnect(socket, &QLocalSocket::readyRead, this, nullptr);
        Q_EMIT jobHandedOver(arguments, new JobReply(socket, socket));
        return;
    }
    socket->write("ok");
    socket->flush();
    if (in.status() == QDataStream::Ok)
        Q_EMIT activated(arguments);
}

std::optional<SingleInstance::JobResult>
SingleInstance::handOverJob(const QStringList &arguments,
                            const std::function<void(const QString &)> &progress)
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return std::nullopt;
    QByteArray payload;
    QDataStream payloadStream(&payload, QIODevice::WriteOnly);
    payloadStream << arguments;
    socket.write(framed(payload));
    if (!socket.waitForBytesWritten(ConnectTimeoutMs))
        return std::nullopt;
    // A job may run for minutes: wait as long as the first instance keeps the line open.
    QByteArray buffer;
    for (;;) {
        buffer += socket.readAll();
        QByteArray frame;
        while (takeFrame(&buffer, &frame)) {
            QDataStream in(frame);
            qint8 kind = 0;
            qint32 code = 0;
            QString text;
            in >> kind >> code >> text;
            if (in.status() != QDataStream::Ok)
                continue;
            if (kind == ResultFrame)
                return JobResult{code, text};
            if (progress)
                progress(text);
        }
        if (socket.state() != QLocalSocket::ConnectedState && socket.bytesAvailable() == 0)
            return JobResult{1, QStringLiteral("The running DPX ended the job without a result.")};
        socket.waitForReadyRead(ConnectTimeoutMs);
    }
}

} // namespace dpx
