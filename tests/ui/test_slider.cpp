// SPDX-License-Identifier: GPL-3.0-or-later
// The image slider: thumb geometry, clamping, drags, presses and keys.
#include "ui/BitmapSlider.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace dpx;

namespace {

const int ControlId = 1084;

// A left-button press, drag or release at x.
void mouse(QWidget *widget, QEvent::Type type, int x)
{
    const QPoint pos(x, 11);
    QMouseEvent event(type, pos, widget->mapToGlobal(pos),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// The positions a spy heard; every report carries the control ID.
QList<int> positions(const QSignalSpy &spy)
{
    QList<int> result;
    for (const QList<QVariant> &args : spy)
        result.append(args.at(0).toInt() == ControlId ? args.at(1).toInt() : -1);
    return result;
}

} // namespace

class TestSlider : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();
    void geometry_data();
    void geometry();
    void setPosClamps();
    void dragReportsEveryNewPosition();
    void pressPlacesThumb_data();
    void pressPlacesThumb();
    void keysReportOnlyRelease_data();
    void keysReportOnlyRelease();

private:
    QString path(const char *name) const { return m_dir.filePath(QLatin1String(name)); }

    QTemporaryDir m_dir;
    std::unique_ptr<BitmapSlider> m_slider;
};

void TestSlider::initTestCase()
{
    QImage channel(137, 22, QImage::Format_RGB32), thumb(11, 16, QImage::Format_RGB32);
    channel.fill(Qt::gray);
    thumb.fill(Qt::white);
    QVERIFY(channel.save(path("channel.png")) && thumb.save(path("thumb.png")));
}

// Each test gets the main window's volume slider: a 137 x 22 channel and an 11 x 16 thumb,
// margins 2, 3, 2, 0, range 0-100 at 45.
void TestSlider::init()
{
    m_slider = std::make_unique<BitmapSlider>(ControlId);
    QVERIFY(m_slider->SetBitmapChannel(path("channel.png")));
    QVERIFY(!m_slider->SetBitmapThumb(path("thumb.png"), path("missing.png"))); // one missing
    QVERIFY(m_slider->SetBitmapThumb(path("thumb.png"), path("thumb.png")));
    m_slider->SetDrawFocusRect(false);
    m_slider->SetRange(0, 100);
    m_slider->SetPos(45);
    m_slider->SetMargin(2, 3, 2, 0);
}

void TestSlider::geometry_data()
{
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("centre");
    QTest::addColumn<int>("positionBack");
    // Centre = 11 / 2 + 2 + trunc(share x (137 - 2 - 11 - 2)): from 7 to 129 over 122 pixels.
    QTest::newRow("minimum") << 0 << 100 << 0 << 7 << 0;
    QTest::newRow("middle") << 0 << 100 << 50 << 68 << 50;
    QTest::newRow("maximum") << 0 << 100 << 100 << 129 << 100;
    QTest::newRow("truncated both ways") << 0 << 100 << 45 << 61 << 44;
    QTest::newRow("range not from 0") << -100 << 0 << -50 << 68 << -50;
    QTest::newRow("empty range") << 5 << 5 << 5 << 7 << 5;
}

void TestSlider::geometry()
{
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, position);
    QFETCH(int, centre);
    QFETCH(int, positionBack);
    m_slider->SetRange(minimum, maximum);
    m_slider->SetPos(position);
    QCOMPARE(m_slider->thumbCentre(), centre);
    QCOMPARE(m_slider->posForThumbCentre(centre), positionBack);
    // Across the slider the thumb sits between the other two margins: 3 + (22 - 3 - 16) / 2.
    QCOMPARE(m_slider->thumbRect(), QRect(centre - 5, 4, 11, 16));
}

void TestSlider::setPosClamps()
{
    m_slider->SetPos(150);
    QCOMPARE(m_slider->GetPos(), 100);
    m_slider->SetPos(-5);
    QCOMPARE(m_slider->GetPos(), 0);
    m_slider->SetPos(100);
    m_slider->SetRange(0, 30); // a narrower range takes the position along
    QCOMPARE(m_slider->GetPos(), 30);
}

void TestSlider::dragReportsEveryNewPosition()
{
    QSignalSpy moved(m_slider.get(), &BitmapSlider::sliderMoved);
    QSignalSpy released(m_slider.get(), &BitmapSlider::sliderReleased);
    mouse(m_slider.get(), QEvent::MouseButtonPress, 61); // on the thumb's centre: no move yet
    QCOMPARE(moved.count(), 0);
    // About 0.82 positions per pixel: every position up to the end is reached once.
    for (int x = 62; x <= 150; ++x)
        mouse(m_slider.get(), QEvent::MouseMove, x);
    const QList<int> up = positions(moved);
    QCOMPARE(up.size(), 55);
    for (int i = 0; i < up.size(); ++i)
        QCOMPARE(up[i], 46 + i);
    // Past the start, then released: the release is reported once, with no further move.
    mouse(m_slider.get(), QEvent::MouseMove, -20);
    QCOMPARE(positions(moved).constLast(), 0);
    QCOMPARE(released.count(), 0);
    const qsizetype reported = moved.count();
    mouse(m_slider.get(), QEvent::MouseButtonRelease, -20);
    QCOMPARE(moved.count(), reported);
    QCOMPARE(positions(released), QList<int>{0});
}

void TestSlider::pressPlacesThumb_data()
{
    QTest::addColumn<int>("pressAt");
    QTest::addColumn<int>("positionAfterPress");
    QTest::addColumn<int>("moveToX");
    QTest::addColumn<int>("positionAfterMove");
    // The thumb's centre is at 61 (position 45); the thumb covers 56 to 66.
    QTest::newRow("on the thumb's edge") << 66 << 45 << 76 << 52;   // grip kept: centre 71
    QTest::newRow("just beside the thumb") << 67 << 49 << 77 << 57; // centre jumps to 67
    QTest::newRow("far along the channel") << 100 << 76 << 110 << 84;
    QTest::newRow("on the left margin") << 0 << 0 << 3 << 0;
}

void TestSlider::pressPlacesThumb()
{
    QFETCH(int, pressAt);
    QFETCH(int, positionAfterPress);
    QFETCH(int, moveToX);
    QFETCH(int, positionAfterMove);
    QSignalSpy moved(m_slider.get(), &BitmapSlider::sliderMoved);
    mouse(m_slider.get(), QEvent::MouseButtonPress, pressAt);
    QCOMPARE(m_slider->GetPos(), positionAfterPress);
    QCOMPARE(moved.count(), positionAfterPress == 45 ? 0 : 1);
    mouse(m_slider.get(), QEvent::MouseMove, moveToX);
    QCOMPARE(m_slider->GetPos(), positionAfterMove);
}

void TestSlider::keysReportOnlyRelease_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("expected");
    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << 45 << 25;
    QTest::newRow("Page Down at the end") << int(Qt::Key_PageDown) << 95 << 100;
    QTest::newRow("Home") << int(Qt::Key_Home) << 45 << 0;
    QTest::newRow("End") << int(Qt::Key_End) << 45 << 100;
    QTest::newRow("Up") << int(Qt::Key_Up) << 45 << 44;
    QTest::newRow("Right") << int(Qt::Key_Right) << 45 << 46;
    QTest::newRow("Left at the start") << int(Qt::Key_Left) << 0 << 0;
}

void TestSlider::keysReportOnlyRelease()
{
    QFETCH(int, key);
    QFETCH(int, start);
    QFETCH(int, expected);
    m_slider->SetPos(start);
    QSignalSpy moved(m_slider.get(), &BitmapSlider::sliderMoved);
    QSignalSpy released(m_slider.get(), &BitmapSlider::sliderReleased);
    QTest::keyClick(m_slider.get(), Qt::Key(key));
    QCOMPARE(m_slider->GetPos(), expected);
    QCOMPARE(moved.count(), 0);
    QCOMPARE(positions(released), QList<int>{expected});
}

QTEST_MAIN(TestSlider)
#include "test_slider.moc"
