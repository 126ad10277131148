// SPDX-License-Identifier: GPL-3.0-or-later
// The image button rendered into images: which image shows in which state, the mask of the
// transparent colour, borders, pressed offsets, result codes and double clicks.
#include "ui/ImageButton.h"

#include <QApplication>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

using namespace dpx;

namespace {

constexpr QRgb Key = 0xFFFF00FF; // the transparent colour
constexpr QRgb Back = 0xFF204060;

// An 8x8 image of one colour with its left column in the transparent colour.
QImage square(QRgb colour)
{
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(colour);
    for (int y = 0; y < 8; ++y)
        image.setPixel(0, y, Key);
    return image;
}

QImage render(ImageButton &button)
{
    QImage out(button.size(), QImage::Format_RGB32);
    out.fill(Qt::white);
    button.render(&out);
    return out;
}

void prepare(ImageButton &button)
{
    button.resize(20, 20);
    for (int i = 0; i < ImageButton::ColorCount; i += 2)
        button.SetStateColor(i, QColor::fromRgb(Back), false);
}

} // namespace

class ImageButtonTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void imageByState_data();
    void imageByState();
    void maskShowsTheBackground();
    void pressedOffsets_data();
    void pressedOffsets();
    void nonFlatFocusedIsFramed();
    void resultCodes();
    void doubleClickTogglesTwice();
    void hoverFollowsTheActiveApplication_data();
    void hoverFollowsTheActiveApplication();
};

void ImageButtonTest::imageByState_data()
{
    QTest::addColumn<bool>("twoImages");
    QTest::addColumn<bool>("hover");
    QTest::addColumn<QRgb>("centre");
    QTest::newRow("one image, idle") << false << false << QRgb(0xFFFF0000);
    QTest::newRow("one image, hovered") << false << true << QRgb(0xFFFF0000);
    QTest::newRow("two images, idle shows image 1") << true << false << QRgb(0xFF0000FF);
    QTest::newRow("two images, hovered shows image 0") << true << true << QRgb(0xFFFF0000);
}

void ImageButtonTest::imageByState()
{
    QFETCH(bool, twoImages);
    QFETCH(bool, hover);
    QFETCH(QRgb, centre);
    ImageButton button;
    prepare(button);
    QCOMPARE(button.LoadImages(square(0xFFFF0000), QColor::fromRgb(Key),
                               twoImages ? square(0xFF0000FF) : QImage(), QColor::fromRgb(Key)),
             int(ImageButton::Ok));
    button.setHovering(hover);
    QCOMPARE(render(button).pixel(11, 10), centre); // the 8x8 image is centred: x 6..13
}

void ImageButtonTest::maskShowsTheBackground()
{
    ImageButton button;
    prepare(button);
    button.LoadImages(square(0xFFFF0000), QColor::fromRgb(Key));
    const QImage out = render(button);
    QCOMPARE(out.pixel(6, 10), Back); // the transparent column of the image
    QCOMPARE(out.pixel(7, 10), QRgb(0xFFFF0000));
    QCOMPARE(button.mask(0).pixelColor(0, 0), QColor(Qt::white)); // left out
    QCOMPARE(button.mask(0).pixelColor(3, 3), QColor(Qt::black));
}

void ImageButtonTest::pressedOffsets_data()
{
    QTest::addColumn<int>("style");
    QTest::addColumn<QPoint>("shift");
    QTest::newRow("style 0: (1, 1)") << 0 << QPoint(1, 1);
    QTest::newRow("style 1: (0, 2)") << 1 << QPoint(0, 2);
}

void ImageButtonTest::pressedOffsets()
{
    QFETCH(int, style);
    QFETCH(QPoint, shift);
    ImageButton button;
    prepare(button);
    button.LoadImages(square(0xFFFF0000), QColor::fromRgb(Key));
    QCOMPARE(button.SetPressOffsetStyle(style), int(ImageButton::Ok));
    button.setDown(true);
    const QImage out = render(button);
    // The first opaque column moves from x = 7 by the offset; the rows likewise.
    QCOMPARE(out.pixel(7 + shift.x(), 6 + shift.y()), QRgb(0xFFFF0000));
    QCOMPARE(out.pixel(6 + shift.x(), 10), Back);
    QVERIFY(out.pixel(7 + shift.x(), 5 + shift.y()) != QRgb(0xFFFF0000));
}

void ImageButtonTest::nonFlatFocusedIsFramed()
{
    ImageButton button;
    prepare(button);
    button.SetFlatLook(false);
    button.setDefault(true);
    const QImage out = render(button);
    QCOMPARE(out.pixel(0, 0), QRgb(0xFF000000));
    QCOMPARE(out.pixel(19, 19), QRgb(0xFF000000));
    QVERIFY(out.pixel(1, 10) != QRgb(0xFF000000)); // the raised edge starts one pixel inside
    button.SetFlatLook(true);
    QCOMPARE(render(button).pixel(0, 0), Back); // flat and idle: no border at all
}

void ImageButtonTest::resultCodes()
{
    ImageButton button;
    prepare(button);
    const QColor before = button.stateColor(ImageButton::BackHot);
    QCOMPARE(button.SetStateColor(6, Qt::red), int(ImageButton::BadColorIndex));
    QCOMPARE(button.stateColor(ImageButton::BackHot), before);
    QCOMPARE(button.SetPressOffsetStyle(2), int(ImageButton::BadStyle));
    QCOMPARE(button.pressOffset(), QPoint(1, 1));
    QCOMPARE(button.LoadImages(QImage(), QColor::fromRgb(Key)), int(ImageButton::ImageUnreadable));
    QCOMPARE(button.LoadImages(999999, QColor::fromRgb(Key)), int(ImageButton::ImageUnreadable));
    QCOMPARE(button.shownImage(), -1);
    button.SetLinkTarget(QString(300, QLatin1Char('x')));
    QCOMPARE(button.linkTarget().size(), ImageButton::MaxLinkBytes);
    button.SetTipText(QStringLiteral("tip"), false);
    QVERIFY(button.toolTip().isEmpty());
    button.SetTipText(QStringLiteral("tip"), true);
    QVERIFY(button.toolTip().contains(QStringLiteral("tip")));
}

void ImageButtonTest::doubleClickTogglesTwice()
{
    ImageButton button;
    prepare(button);
    button.SetCheckBox(true);
    button.LoadImages(square(0xFFFF0000), QColor::fromRgb(Key), square(0xFF0000FF), QColor::fromRgb(Key));
    button.show();
    QCOMPARE(render(button).pixel(11, 10), QRgb(0xFF0000FF));
    button.SetChecked(true);
    QCOMPARE(render(button).pixel(11, 10), QRgb(0xFFFF0000)); // checked shows image 0
    button.SetChecked(false);
    QSignalSpy toggled(&button, &QAbstractButton::toggled);
    // A double click as the system delivers it: press, release, double-click, release.
    const QPoint at(10, 10);
    QTest::mousePress(&button, Qt::LeftButton, {}, at);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, at);
    QMouseEvent twice(QEvent::MouseButtonDblClick, QPointF(at), button.mapToGlobal(QPointF(at)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&button, &twice);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, at);
    QCOMPARE(toggled.size(), 2);
    QVERIFY(!button.isChecked());
}

// The button lights under the mouse while the application is active (or always, when asked);
// moves are followed throughout, so the first move after the application comes forward lights
// it, and the application going to the background darkens it.
void ImageButtonTest::hoverFollowsTheActiveApplication_data()
{
    QTest::addColumn<bool>("trackAlways");
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("litOnEntry");
    QTest::newRow("active") << false << true << true;
    QTest::newRow("in the background") << false << false << false;
    QTest::newRow("in the background, tracking always") << true << false << true;
    QTest::newRow("active, tracking always") << true << true << true;
}

void ImageButtonTest::hoverFollowsTheActiveApplication()
{
    QFETCH(bool, trackAlways);
    QFETCH(bool, active);
    QFETCH(bool, litOnEntry);
    QWidget window;
    window.resize(60, 40);
    auto *button = new ImageButton(&window);
    prepare(*button);
    button->LoadImages(square(0xFFFF0000), QColor::fromRgb(Key), square(0xFF0000FF), QColor::fromRgb(Key));
    button->SetTrackAlways(trackAlways);
    button->setFocusPolicy(Qt::NoFocus); // losing the focus darkens it anyway
    window.show();
    const auto setActive = [&window](bool on) {
        QApplication::setActiveWindow(on ? &window : nullptr);
        QTRY_COMPARE(QApplication::activeWindow() == &window, on);
    };
    setActive(active);
    const QPointF at(10, 10);
    QEnterEvent enter(at, at, button->mapToGlobal(at));
    QApplication::sendEvent(button, &enter);
    QCOMPARE(button->isHovering(), litOnEntry);
    QCOMPARE(button->shownImage(), litOnEntry ? 0 : 1);
    if (!litOnEntry) {
        setActive(true);
        QMouseEvent move(QEvent::MouseMove, at, button->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(button, &move);
        QVERIFY(button->isHovering());
    } else {
        setActive(false);
        QCOMPARE(button->isHovering(), trackAlways);
    }
}

QTEST_MAIN(ImageButtonTest)
#include "test_imagebutton.moc"
