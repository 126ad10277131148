// SPDX-License-Identifier: GPL-3.0-or-later
// Plays one file with a fresh RingTonePlayer in a process of its own, so a test can point it
// at another sound server (the audio back end connects once per process). Prints what the
// player did, one "key: value" per line.
#include "audio/RingTonePlayer.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    dpx::RingTonePlayer player;
    const auto print = [](const QString &key, const QString &value) {
        std::fputs((key + QStringLiteral(": ") + value + u'\n').toUtf8().constData(), stdout);
    };
    QObject::connect(&player, &dpx::RingTonePlayer::messageRequested,
                     [&](const QString &text) { print(QStringLiteral("message"), text); });
    const bool started = player.Play(QString::fromLocal8Bit(argv[1]));
    print(QStringLiteral("result"), started ? QStringLiteral("1") : QStringLiteral("0"));
    print(QStringLiteral("device"), QString::fromUtf8(player.playbackDeviceId()));
    print(QStringLiteral("eligible"), player.deviceNames().join(u'|'));
    std::fflush(stdout);
    // Ends while the ring plays: the player's destruction stops it.
    QTimer::singleShot(200, &app, &QCoreApplication::quit);
    return app.exec();
}
