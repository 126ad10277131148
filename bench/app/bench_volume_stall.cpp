// SPDX-License-Identifier: GPL-3.0-or-later
// The longest stall of the UI thread while the volume slider of the real window (offscreen) is
// dragged, against a sound server whose answers arrive 500 ms late (a private PulseAudio daemon
// behind a relay that holds every answer back); the reference is the same drag through a relay
// that passes the answers on at once, measured in the same run.
#include "../../tests/support/PrivateSoundServer.h"

#include "app/MainPhoneWindow.h"
#include "audio/MasterOutputVolume.h"
#include "ui/BitmapSlider.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTest>
#include <QTimer>

#include <cstdio>

using namespace dpx;

namespace {

constexpr int AnswerDelayMs = 500;

// Passes the client's bytes on at once and the server's bytes back `delayMs` later, in order.
// Runs on a thread of its own, so the UI thread's stalls never hold it up.
class LateRelay : public QObject {
public:
    LateRelay(const QString &listenPath, const QString &serverPath, int delayMs)
        : m_serverPath(serverPath), m_delayMs(delayMs)
    {
        QLocalServer::removeServer(listenPath);
        m_listener.listen(listenPath);
        connect(&m_listener, &QLocalServer::newConnection, this, &LateRelay::accept);
    }

private:
    void accept()
    {
        while (QLocalSocket *client = m_listener.nextPendingConnection()) {
            auto *server = new QLocalSocket(client);
            server->connectToServer(m_serverPath);
            connect(client, &QLocalSocket::readyRead, server, [client, server] {
                server->write(client->readAll());
            });
            connect(server, &QLocalSocket::readyRead, client, [this, client, server] {
                const QByteArray answer = server->readAll();
                QTimer::singleShot(m_delayMs, client, [client, answer] { client->write(answer); });
            });
            connect(client, &QLocalSocket::disconnected, client, &QObject::deleteLater);
            connect(server, &QLocalSocket::disconnected, client, &QLocalSocket::disconnectFromServer);
        }
    }

    QString m_serverPath;
    int m_delayMs;
    QLocalServer m_listener;
};

// Drags the thumb from one end to the other and back in 60 steps, 15 ms apart (a quick hand),
// and returns the longest time the UI thread spent in one step.
double longestStallMs(BitmapSlider &slider)
{
    const int y = slider.height() / 2;
    double longest = 0;
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(slider.thumbCentre(), y));
    for (int step = 0; step <= 60; ++step) {
        const int pos = step <= 30 ? step * 100 / 30 : (60 - step) * 100 / 30;
        QElapsedTimer clock;
        clock.start();
        QTest::mouseMove(&slider, QPoint(slider.thumbCentreForPos(pos), y));
        QCoreApplication::processEvents();
        longest = std::max(longest, clock.nsecsElapsed() / 1e6);
        QTest::qWait(15);
    }
    QElapsedTimer clock;
    clock.start();
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(slider.thumbCentreForPos(0), y));
    QCoreApplication::processEvents();
    return std::max(longest, clock.nsecsElapsed() / 1e6);
}

double measure(const QByteArray &serverAddress)
{
    qputenv("PULSE_SERVER", serverAddress);
    PhoneServices none;
    MainPhoneWindow window(none);
    window.show();
    // The window's first paint is not part of the drag.
    if (!QTest::qWaitForWindowExposed(&window) || !window.masterVolume().IsVolumeAvailable())
        return -1;
    QTest::qWait(100);
    return longestStallMs(*window.volumeSlider());
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (!test::PrivateSoundServer::installed()) {
        std::fprintf(stderr, "pulseaudio is not installed\n");
        return 1;
    }
    test::PrivateSoundServer server;
    if (!server.start()) {
        std::fprintf(stderr, "the private sound server did not start\n");
        return 1;
    }
    QTemporaryDir relayDir;
    const QString latePath = relayDir.filePath(QStringLiteral("late"));
    const QString promptPath = relayDir.filePath(QStringLiteral("prompt"));
    QThread relayThread;
    relayThread.start();
    LateRelay *lateRelay = nullptr, *promptRelay = nullptr;
    {
        QObject context;
        context.moveToThread(&relayThread);
        QMetaObject::invokeMethod(&context, [&] {
            lateRelay = new LateRelay(latePath, server.socketPath(), AnswerDelayMs);
            promptRelay = new LateRelay(promptPath, server.socketPath(), 0);
        }, Qt::BlockingQueuedConnection);
    }

    const double late = measure("unix:" + QFile::encodeName(latePath));
    const double prompt = measure("unix:" + QFile::encodeName(promptPath));

    QMetaObject::invokeMethod(lateRelay, [&] { delete lateRelay; delete promptRelay; },
                              Qt::BlockingQueuedConnection);
    relayThread.quit();
    relayThread.wait();
    if (late < 0 || prompt < 0) {
        std::fprintf(stderr, "no master volume through the sound server\n");
        return 1;
    }
    std::printf("volume slider drag, server answering %d ms late: longest UI-thread stall %.1f ms "
                "(target < 5 ms)\n", AnswerDelayMs, late);
    std::printf("reference, answers passed on at once:             longest UI-thread stall %.1f ms\n",
                prompt);
    return 0;
}
