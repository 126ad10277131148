// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

namespace dpx {

// Makes the first DPX started for a user and data folder the only one: a later start hands
// its arguments to the first and ends. Keyed by user and data folder, so a simulated
// instance with its own folder (and every test) runs beside the real one.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(const QString &dataFolder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this process is now the first instance and listens for later ones.
    // False when another instance answered; the arguments have then been handed to it.
    bool claim(const QStringList &arguments);

    QString serverName() const { return m_name; }

Q_SIGNALS:
    // A later start asked to be brought forward, with its arguments.
    void activated(const QStringList &arguments);

private:
    bool sendTo(const QStringList &arguments);
    void readFrom(QLocalSocket *socket);

    QString m_name;
    QLocalServer *m_server = nullptr;
};

} // namespace dpx
