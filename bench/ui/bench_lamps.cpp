// SPDX-License-Identifier: GPL-3.0-or-later
// UI-thread CPU of 30 fast-flashing lamps on the phone window, played by GifAnimation, beside
// a plain approach measured in the same run: one timer per lamp and a full repaint of the
// window at every change.
#include "ui/GifAnimation.h"
#include "ui/GifTicker.h"
#include "ui/PhoneLayout.h"

#include <QApplication>
#include <QEventLoop>
#include <QPainter>
#include <QTimer>

#include <time.h>

#include <cstdio>
#include <memory>
#include <vector>

using namespace dpx;

namespace {

constexpr int LampCount = 30;
constexpr int Seconds = 10;
constexpr int FastFrameMs = 200;

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

// The phone window: its body picture under the lamps.
class PhoneBody : public QWidget {
public:
    PhoneBody() : m_body(QStringLiteral(":/art/133.png")) { setFixedSize(503, 588); }
    int paints = 0;

protected:
    void paintEvent(QPaintEvent *) override
    {
        ++paints;
        QPainter(this).drawPixmap(0, 0, m_body);
    }

    QPixmap m_body;
};

// Where the lamps go: the 24 key lamps, both indicators, and four more key-lamp places.
struct LampPlace {
    QRect rect;
    int redFast;
};

std::vector<LampPlace> lampPlaces()
{
    std::vector<LampPlace> places;
    for (int n = 1; n <= 24; ++n) {
        const int image = n == 1 || n >= 13 ? 414 : n == 12 ? 460 : 459 + n;
        places.push_back({findLamp(n)->rect, image});
    }
    places.push_back({findLamp(32)->rect, 498});
    places.push_back({findLamp(31)->rect, 501});
    for (int i = 0; places.size() < LampCount; ++i)
        places.push_back({QRect(40 + 24 * i, 60, 17, 17), 414});
    return places;
}

struct Result {
    double cpuMs = 0;
    double changesPerSecond = 0;
    int windowPaints = 0;
};

void runForMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

// A lamp that counts its paints: one per frame change, as repaints of one control merge.
class CountingLamp : public GifAnimation {
public:
    using GifAnimation::GifAnimation;
    static inline int paints = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        ++paints;
        GifAnimation::paintEvent(event);
    }
};

// GifAnimation controls; `staggerMs` > 0 starts each lamp that much after the previous one,
// so that no two lamps ever change together.
Result runControls(int staggerMs)
{
    PhoneBody window;
    window.show();
    GifTicker ticker;
    std::vector<std::unique_ptr<CountingLamp>> lamps;
    for (const LampPlace &place : lampPlaces()) {
        auto lamp = std::make_unique<CountingLamp>(ticker, &window);
        lamp->move(place.rect.topLeft());
        lamp->LoadFromResource(place.redFast);
        lamp->SetBackgroundColor(Qt::white);
        lamp->show();
        lamps.push_back(std::move(lamp));
    }
    for (auto &lamp : lamps) {
        lamp->Play();
        runForMs(staggerMs);
    }
    runForMs(1000); // settle
    const int startPaints = window.paints;
    const int startLampPaints = CountingLamp::paints;
    const double start = threadCpuMs();
    runForMs(Seconds * 1000);
    Result r;
    r.cpuMs = threadCpuMs() - start;
    r.windowPaints = window.paints - startPaints;
    r.changesPerSecond = (CountingLamp::paints - startLampPaints) / double(Seconds);
    return r;
}

// The reference: each lamp has a QTimer; every change repaints the whole window, body and all
// 30 lamp pictures.
class NaivePhone : public PhoneBody {
public:
    NaivePhone()
    {
        for (const LampPlace &place : lampPlaces()) {
            Lamp lamp;
            lamp.rect = place.rect;
            lamp.lit = QPixmap(QStringLiteral(":/art/%1.png").arg(place.rect.height() == 17 ? 413
                                                                 : place.rect.height() == 27 ? 500 : 503));
            lamp.dark = QPixmap(QStringLiteral(":/art/%1.png").arg(place.rect.height() == 17 ? 411
                                                                  : place.rect.height() == 27 ? 495 : 493));
            m_lamps.push_back(std::move(lamp));
        }
        for (size_t i = 0; i < m_lamps.size(); ++i) {
            auto timer = std::make_unique<QTimer>();
            timer->setTimerType(Qt::PreciseTimer);
            QObject::connect(timer.get(), &QTimer::timeout, [this, i] {
                m_lamps[i].on = !m_lamps[i].on;
                ++changes;
                repaint();
            });
            timer->start(FastFrameMs);
            m_timers.push_back(std::move(timer));
        }
    }
    int changes = 0;

protected:
    void paintEvent(QPaintEvent *event) override
    {
        PhoneBody::paintEvent(event);
        QPainter painter(this);
        for (const Lamp &lamp : m_lamps)
            painter.drawPixmap(lamp.rect.topLeft(), lamp.on ? lamp.lit : lamp.dark);
    }

private:
    struct Lamp {
        QRect rect;
        QPixmap lit, dark;
        bool on = true;
    };
    std::vector<Lamp> m_lamps;
    std::vector<std::unique_ptr<QTimer>> m_timers;
};

Result runReference()
{
    NaivePhone window;
    window.show();
    runForMs(1000);
    const int startChanges = window.changes;
    const int startPaints = window.paints;
    const double start = threadCpuMs();
    runForMs(Seconds * 1000);
    Result r;
    r.cpuMs = threadCpuMs() - start;
    r.windowPaints = window.paints - startPaints;
    r.changesPerSecond = (window.changes - startChanges) / double(Seconds);
    return r;
}

void print(const char *name, const Result &r)
{
    std::printf("  %-58s %6.2f %% of one core  (%5.0f ms CPU, %5.1f lamp changes/s, %4d window paints)\n",
                name, r.cpuMs / (Seconds * 10.0), r.cpuMs, r.changesPerSecond, r.windowPaints);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::printf("bench_lamps: %d lamps flashing fast (2 frames x %d ms) on a 503 x 588 window, %d s each,\n"
                "UI-thread CPU time (platform: %s)\n\n",
                LampCount, FastFrameMs, Seconds, qPrintable(QGuiApplication::platformName()));
    const Result together = runControls(0);
    const Result staggered = runControls(7);
    const Result reference = runReference();
    print("GifAnimation, lamps started together (target <= 2 %)", together);
    print("GifAnimation, lamps started 7 ms apart (no changes merge)", staggered);
    print("reference: QTimer per lamp, full window repaint per change", reference);
    return 0;
}
