// SPDX-License-Identifier: GPL-3.0-or-later
// The image slider: thumb geometry, clamping, drags, presses, keys and what it draws.
#include "ui/BitmapSlider.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace dpx;

namespace {

const int ControlId = 1084;
const QColor Channel(40, 40, 40);
const QColor ActiveChannel(0, 160, 0);
const QColor Thumb(220, 220, 220);
const QColor ActiveThumb(255, 200, 0);
const QColor ThumbKey(255, 0, 255); // the thumb's top-left pixel, keyed out

void sendMouse(QWidget *widget, QEvent::Type type, int x, Qt::MouseButtons buttons,
               Qt::MouseButton button = Qt::NoButton)
{
    const QPoint pos(x, 11);
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}
void press(QWidget *w, int x)
{
    sendMouse(w, QEvent::MouseButtonPress, x, Qt::LeftButton, Qt::LeftButton);
}
void moveTo(QWidget *w, int x) { sendMouse(w, QEvent::MouseMove, x, Qt::LeftButton); }
void release(QWidget *w, int x)
{
    sendMouse(w, QEvent::MouseButtonRelease, x, Qt::NoButton, Qt::LeftButton);
}

QList<int> positions(const QSignalSpy &spy)
{
    QList<int> result;
    for (const QList<QVariant> &args : spy) {
        if (args.at(0).toInt() != ControlId)
            return {-1}; // every report carries the control ID
        result.append(args.at(1).toInt());
    }
    return result;
}

} // namespace

class TestSlider : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void geometry_data();
    void geometry();
    void setPosClamps_data();
    void setPosClamps();
    void loadingImages();
    void dragReportsEveryNewPosition();
    void pressPlacesThumb_data();
    void pressPlacesThumb();
    void keysReportOnlyRelease_data();
    void keysReportOnlyRelease();
    void painting();

private:
    QString image(const QString &name, QSize size, const QColor &colour);
    // The main window's volume slider: a 137 x 22 channel and an 11 x 16 thumb, margins
    // 2, 3, 2, 0, range 0-100 at 45.
    void setUpVolume(BitmapSlider &slider);

    QTemporaryDir m_dir;
};

QString TestSlider::image(const QString &name, QSize size, const QColor &colour)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    if (name.startsWith(QLatin1String("thumb")))
        image.setPixelColor(0, 0, ThumbKey);
    const QString path = m_dir.filePath(name + QStringLiteral(".png"));
    image.save(path);
    return path;
}

void TestSlider::initTestCase()
{
    image(QStringLiteral("channel"), QSize(137, 22), Channel);
    image(QStringLiteral("channel-active"), QSize(137, 22), ActiveChannel);
    image(QStringLiteral("thumb"), QSize(11, 16), Thumb);
    image(QStringLiteral("thumb-active"), QSize(11, 16), ActiveThumb);
    image(QStringLiteral("vchannel"), QSize(22, 137), Channel);
    image(QStringLiteral("vthumb"), QSize(16, 11), Thumb);
}

void TestSlider::setUpVolume(BitmapSlider &slider)
{
    QVERIFY(slider.SetBitmapChannel(m_dir.filePath(QStringLiteral("channel.png")),
                                    m_dir.filePath(QStringLiteral("channel-active.png"))));
    QVERIFY(slider.SetBitmapThumb(m_dir.filePath(QStringLiteral("thumb.png")),
                                  m_dir.filePath(QStringLiteral("thumb-active.png")), true));
    slider.SetDrawFocusRect(false);
    slider.SetRange(0, 100);
    slider.SetPos(45);
    slider.SetMargin(2, 3, 2, 0);
}

void TestSlider::geometry_data()
{
    QTest::addColumn<bool>("vertical");
    QTest::addColumn<int>("minimum");
    QTest::addColumn<int>("maximum");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("centre");
    QTest::addColumn<int>("positionBack");

    // Centre = 11 / 2 + 2 + trunc(share x (137 - 2 - 11 - 2)): from 7 to 129 over 122 pixels.
    QTest::newRow("minimum") << false << 0 << 100 << 0 << 7 << 0;
    QTest::newRow("middle") << false << 0 << 100 << 50 << 68 << 50;
    QTest::newRow("maximum") << false << 0 << 100 << 100 << 129 << 100;
    QTest::newRow("truncated both ways") << false << 0 << 100 << 45 << 61 << 44;
    QTest::newRow("range not from 0") << false << 10 << 20 << 15 << 68 << 15;
    QTest::newRow("negative range") << false << -100 << 0 << -50 << 68 << -50;
    QTest::newRow("empty range") << false << 5 << 5 << 5 << 7 << 5;
    QTest::newRow("vertical, minimum") << true << 0 << 100 << 0 << 7 << 0;
    QTest::newRow("vertical, maximum") << true << 0 << 100 << 100 << 129 << 100;
}

void TestSlider::geometry()
{
    QFETCH(bool, vertical);
    QFETCH(int, minimum);
    QFETCH(int, maximum);
    QFETCH(int, position);
    QFETCH(int, centre);
    QFETCH(int, positionBack);

    BitmapSlider slider(ControlId);
    if (vertical) {
        slider.setOrientation(Qt::Vertical);
        QVERIFY(slider.SetBitmapChannel(m_dir.filePath(QStringLiteral("vchannel.png"))));
        QVERIFY(slider.SetBitmapThumb(m_dir.filePath(QStringLiteral("vthumb.png"))));
        slider.SetMargin(3, 2, 0, 2);
    } else {
        setUpVolume(slider);
    }
    slider.SetRange(minimum, maximum);
    slider.SetPos(position);
    QCOMPARE(slider.thumbCentre(), centre);
    QCOMPARE(slider.posForThumbCentre(centre), positionBack);
    // Across the slider the thumb sits between the other two margins: 3 + (22 - 3 - 16) / 2.
    const QRect thumb = slider.thumbRect();
    QCOMPARE(vertical ? thumb.center().y() : thumb.center().x(), centre);
    QCOMPARE(vertical ? thumb.x() : thumb.y(), 4);
}

void TestSlider::setPosClamps_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("expected");
    QTest::newRow("above the maximum") << 150 << 100;
    QTest::newRow("below the minimum") << -5 << 0;
    QTest::newRow("inside") << 45 << 45;
    QTest::newRow("at the maximum") << 100 << 100;
}

void TestSlider::setPosClamps()
{
    QFETCH(int, position);
    QFETCH(int, expected);
    BitmapSlider slider(ControlId);
    setUpVolume(slider);
    slider.SetPos(position);
    QCOMPARE(slider.GetPos(), expected);
    slider.SetRange(0, 30); // a narrower range takes the position along
    QCOMPARE(slider.GetPos(), qMin(expected, 30));
}

void TestSlider::loadingImages()
{
    BitmapSlider slider(ControlId);
    slider.move(24, 366);
    setUpVolume(slider);
    QCOMPARE(slider.geometry(), QRect(24, 366, 137, 22)); // the channel's size, same place

    const QString missing = m_dir.filePath(QStringLiteral("missing.png"));
    const QString thumb = m_dir.filePath(QStringLiteral("thumb.png"));
    QVERIFY(!slider.SetBitmapThumb(missing));
    QVERIFY(!slider.SetBitmapThumb(thumb, missing)); // a missing active image fails it all
    QCOMPARE(slider.thumbRect().size(), QSize(0, 0));
    QVERIFY(slider.SetBitmapThumb(thumb));
    QCOMPARE(slider.thumbRect().size(), QSize(11, 16));

    // Without a channel image the slider's own area is the channel.
    QVERIFY(slider.SetBitmapChannel(QString()));
    slider.resize(237, 22);
    slider.SetPos(100);
    QCOMPARE(slider.thumbCentre(), 7 + 222);
}

void TestSlider::dragReportsEveryNewPosition()
{
    BitmapSlider slider(ControlId);
    setUpVolume(slider);
    QSignalSpy moved(&slider, &BitmapSlider::sliderMoved);
    QSignalSpy released(&slider, &BitmapSlider::sliderReleased);

    press(&slider, 61); // on the thumb's centre: nothing moves yet
    QVERIFY(slider.isDragging());
    QCOMPARE(moved.count(), 0);
    // About 0.82 positions per pixel: every position up to the end is reached once.
    for (int x = 62; x <= 150; ++x)
        moveTo(&slider, x);
    QList<int> expected;
    for (int position = 46; position <= 100; ++position)
        expected.append(position);
    QCOMPARE(positions(moved), expected);
    QCOMPARE(released.count(), 0);

    // And back down to the start. Truncating both ways, the thumb snaps to a centre that
    // maps back one position lower, so on the way down some positions are passed over; every
    // change is still reported as it happens.
    moved.clear();
    for (int x = 149; x >= -20; --x) {
        const int before = slider.GetPos();
        moveTo(&slider, x);
        if (slider.GetPos() != before)
            QCOMPARE(positions(moved).constLast(), slider.GetPos());
    }
    const QList<int> down = positions(moved);
    QVERIFY(down.size() > 50);
    for (int i = 1; i < down.size(); ++i)
        QVERIFY(down[i] < down[i - 1]);
    QCOMPARE(down.constLast(), 0);
    const qsizetype reported = moved.count();

    release(&slider, -20);
    QVERIFY(!slider.isDragging());
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
    QTest::newRow("on the centre") << 61 << 45 << 71 << 52;
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

    BitmapSlider slider(ControlId);
    setUpVolume(slider);
    QSignalSpy moved(&slider, &BitmapSlider::sliderMoved);
    press(&slider, pressAt);
    QCOMPARE(slider.GetPos(), positionAfterPress);
    QCOMPARE(moved.count(), positionAfterPress == 45 ? 0 : 1);
    if (pressAt > 66) // the centre came to the press, give or take the truncation
        QVERIFY(qAbs(slider.thumbCentre() - pressAt) <= 1);
    moveTo(&slider, moveToX);
    QCOMPARE(slider.GetPos(), positionAfterMove);
    release(&slider, moveToX);
}

void TestSlider::keysReportOnlyRelease_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("start");
    QTest::addColumn<bool>("enabled");
    QTest::addColumn<int>("expected");

    QTest::newRow("Page Up") << int(Qt::Key_PageUp) << 45 << true << 25;
    QTest::newRow("Page Down") << int(Qt::Key_PageDown) << 45 << true << 65;
    QTest::newRow("Page Up at the start") << int(Qt::Key_PageUp) << 10 << true << 0;
    QTest::newRow("Page Down at the end") << int(Qt::Key_PageDown) << 95 << true << 100;
    QTest::newRow("Home") << int(Qt::Key_Home) << 45 << true << 0;
    QTest::newRow("End") << int(Qt::Key_End) << 45 << true << 100;
    QTest::newRow("Left") << int(Qt::Key_Left) << 45 << true << 44;
    QTest::newRow("Up") << int(Qt::Key_Up) << 45 << true << 44;
    QTest::newRow("Right") << int(Qt::Key_Right) << 45 << true << 46;
    QTest::newRow("Down") << int(Qt::Key_Down) << 45 << true << 46;
    QTest::newRow("Right at the end") << int(Qt::Key_Right) << 100 << true << 100;
    QTest::newRow("disabled") << int(Qt::Key_End) << 45 << false << 45;
}

void TestSlider::keysReportOnlyRelease()
{
    QFETCH(int, key);
    QFETCH(int, start);
    QFETCH(bool, enabled);
    QFETCH(int, expected);

    BitmapSlider slider(ControlId);
    setUpVolume(slider);
    slider.SetPos(start);
    slider.setEnabled(enabled);
    QSignalSpy moved(&slider, &BitmapSlider::sliderMoved);
    QSignalSpy released(&slider, &BitmapSlider::sliderReleased);
    QTest::keyClick(&slider, Qt::Key(key));
    QCOMPARE(slider.GetPos(), expected);
    QCOMPARE(moved.count(), 0);
    QCOMPARE(positions(released), enabled ? QList<int>{expected} : QList<int>{});
    QCOMPARE(slider.thumbCentre(), slider.thumbCentreForPos(expected));
}

void TestSlider::painting()
{
    BitmapSlider slider(ControlId);
    setUpVolume(slider);
    auto render = [&slider] {
        QImage image(slider.size(), QImage::Format_ARGB32);
        image.fill(Qt::black);
        slider.render(&image);
        return image;
    };

    // Position 45: centre 61, thumb at (56, 4). The active channel fills the part left of it.
    QImage image = render();
    QCOMPARE(image.pixelColor(30, 1), ActiveChannel);
    QCOMPARE(image.pixelColor(60, 1), ActiveChannel);
    QCOMPARE(image.pixelColor(61, 1), Channel);
    QCOMPARE(image.pixelColor(120, 1), Channel);
    QCOMPARE(image.pixelColor(61, 12), Thumb);
    QCOMPARE(image.pixelColor(56, 4), ActiveChannel); // keyed-out corner of the thumb
    QCOMPARE(image.pixelColor(57, 4), Thumb);

    press(&slider, 61);
    QCOMPARE(render().pixelColor(61, 12), ActiveThumb);
    release(&slider, 61);
    QCOMPARE(render().pixelColor(61, 12), Thumb);

    // Disabled: the plain channel, no thumb.
    slider.setEnabled(false);
    image = render();
    QCOMPARE(image.pixelColor(30, 1), Channel);
    QCOMPARE(image.pixelColor(61, 12), Channel);

    // An explicit key colour instead of a pixel's.
    slider.setEnabled(true);
    QVERIFY(slider.SetBitmapThumb(m_dir.filePath(QStringLiteral("thumb.png")), QString(), true,
                                  Thumb));
    image = render();
    QCOMPARE(image.pixelColor(61, 12), Channel);
    QCOMPARE(image.pixelColor(56, 4), ThumbKey);
}

QTEST_MAIN(TestSlider)
#include "test_slider.moc"
