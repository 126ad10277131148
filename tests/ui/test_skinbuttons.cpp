// SPDX-License-Identifier: GPL-3.0-or-later
// The bitmap push button (nine-slice state images, caption) and the drop-down button (parts,
// menu on every arrow press, plain click without a menu), rendered into images.
#include "ui/DropDownButton.h"
#include "ui/SkinBitmapButton.h"

#include <QMenu>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using namespace dpx;

namespace {

constexpr int ImageSize = 16;
const QColor Corner(255, 0, 0), Edge(0, 0, 255);

// Image i of the strip: corners red, edges blue, centre a grey that tells the image.
QColor centreOf(int image)
{
    return QColor(40 + 40 * image, 40 + 40 * image, 40 + 40 * image);
}

QPixmap strip(int images, QMargins border)
{
    QImage strip(ImageSize * images, ImageSize, QImage::Format_RGB32);
    for (int i = 0; i < images; ++i) {
        for (int y = 0; y < ImageSize; ++y) {
            for (int x = 0; x < ImageSize; ++x) {
                const bool inX = x >= border.left() && x < ImageSize - border.right();
                const bool inY = y >= border.top() && y < ImageSize - border.bottom();
                const QColor c = inX && inY ? centreOf(i) : (inX || inY ? Edge : Corner);
                strip.setPixelColor(i * ImageSize + x, y, c);
            }
        }
    }
    return QPixmap::fromImage(strip);
}

QImage shot(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    widget.render(&image);
    return image;
}

void press(QWidget *widget, QPoint at)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, at);
}

} // namespace

class TestSkinButtons : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cornersKeepTheirSize_data();
    void cornersKeepTheirSize();
    void setUpRefusesBadStrips_data();
    void setUpRefusesBadStrips();
    void imageFollowsState();
    void captionGreyWhenDisabledAndShiftedWhenPressed();
    void resizeRebuildsImages();
    void dropDownParts();
    void everyArrowPressOpensTheMenu();
    void arrowWithoutMenuClicks();
    void longCaptionIsElided();
};

void TestSkinButtons::cornersKeepTheirSize_data()
{
    QTest::addColumn<QMargins>("border"); // left, top, right, bottom
    QTest::newRow("3 px") << QMargins(3, 3, 3, 3);
    QTest::newRow("5, 5, 5, 4") << QMargins(5, 5, 4, 5);
}

void TestSkinButtons::cornersKeepTheirSize()
{
    QFETCH(QMargins, border);
    SkinBitmapButton button;
    QVERIFY(button.SetUp(strip(5, border), 5, border.top(), border.bottom(), border.left(), border.right()));
    const QSize size(118, 30);
    const QImage image = button.stateImage(SkinBitmapButton::Normal, size).toImage();
    const int w = size.width(), h = size.height();
    // Corner pixels stay corner-coloured exactly as wide as the border, the edges stretch.
    QCOMPARE(image.pixelColor(border.left() - 1, border.top() - 1), Corner);
    QCOMPARE(image.pixelColor(w - border.right(), h - border.bottom()), Corner);
    QCOMPARE(image.pixelColor(w - 1, 0), Corner);
    QCOMPARE(image.pixelColor(w / 2, 0), Edge);
    QCOMPARE(image.pixelColor(0, h / 2), Edge);
    QCOMPARE(image.pixelColor(w - border.right(), h / 2), Edge);
    QCOMPARE(image.pixelColor(w - border.right() - 2, h / 2), centreOf(0));
    QCOMPARE(image.pixelColor(border.left() + 1, h / 2), centreOf(0));
}

void TestSkinButtons::setUpRefusesBadStrips_data()
{
    QTest::addColumn<QPixmap>("source");
    QTest::addColumn<int>("count");
    QTest::newRow("no bitmap") << QPixmap() << 5;
    QTest::newRow("zero images") << strip(5, {3, 3, 3, 3}) << 0;
    QTest::newRow("negative") << strip(5, {3, 3, 3, 3}) << -2;
    QTest::newRow("three images") << strip(3, {3, 3, 3, 3}) << 3;
    QTest::newRow("more images than pixels") << strip(1, {3, 3, 3, 3}) << ImageSize + 1;
}

void TestSkinButtons::setUpRefusesBadStrips()
{
    QFETCH(QPixmap, source);
    QFETCH(int, count);
    SkinBitmapButton button(QStringLiteral("OK"));
    QVERIFY(!button.SetUp(source, count, 3, 3, 3, 3));
    QVERIFY(!button.isSetUp());
    button.resize(60, 24);
    shot(button); // still paints, as a plain button

    // Borders larger than the image are cut to half of it.
    QVERIFY(button.SetUp(strip(4, {3, 3, 3, 3}), 4, 100, 100, -1, 9));
    QCOMPARE(button.borders(), QMargins(0, ImageSize / 2, ImageSize / 2, ImageSize / 2));
}

void TestSkinButtons::imageFollowsState()
{
    QWidget window;
    auto *button = new SkinBitmapButton(QString(), &window);
    auto *other = new QPushButton(&window);
    other->move(0, 40);
    QVERIFY(button->SetUp(strip(5, {3, 3, 3, 3}), 5, 3, 3, 3, 3));
    button->resize(60, 24);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    other->setFocus();
    const QPoint middle(30, 12);
    QCOMPARE(shot(*button).pixelColor(middle), centreOf(SkinBitmapButton::Normal));
    button->setDown(true);
    QCOMPARE(shot(*button).pixelColor(middle), centreOf(SkinBitmapButton::Pressed));
    button->setDown(false);
    button->setFocus();
    QCOMPARE(button->currentImage(), SkinBitmapButton::Focused);
    QCOMPARE(shot(*button).pixelColor(middle), centreOf(SkinBitmapButton::Focused));
    button->setDown(true); // pressed wins over focus
    QCOMPARE(button->currentImage(), SkinBitmapButton::Pressed);
    button->setDown(false);
    button->setEnabled(false);
    QCOMPARE(shot(*button).pixelColor(middle), centreOf(SkinBitmapButton::Disabled));
}

void TestSkinButtons::captionGreyWhenDisabledAndShiftedWhenPressed()
{
    SkinBitmapButton button(QStringLiteral("IIIIIIII"));
    QVERIFY(button.SetUp(strip(5, {3, 3, 3, 3}), 5, 3, 3, 3, 3));
    button.resize(120, 30);
    // A light palette ink (as a dark look sets) must not reach the caption on the bitmap.
    QPalette palette = button.palette();
    palette.setColor(QPalette::Active, QPalette::ButtonText, QColor(250, 250, 0));
    palette.setColor(QPalette::Inactive, QPalette::ButtonText, QColor(250, 250, 0));
    button.setPalette(palette);
    const QColor ink(Qt::black), grey(128, 128, 128);
    auto inkColumns = [](const QImage &image, QColor ink) {
        QList<int> columns;
        for (int x = 0; x < image.width(); ++x)
            for (int y = 0; y < image.height(); ++y)
                if (image.pixelColor(x, y) == ink) {
                    columns << x;
                    break;
                }
        return columns;
    };
    const QList<int> normal = inkColumns(shot(button), ink);
    QVERIFY(!normal.isEmpty());
    button.setDown(true);
    const QList<int> pressed = inkColumns(shot(button), ink);
    QCOMPARE(pressed.first(), normal.first() + SkinBitmapButton::PressedCaptionShift);
    button.setDown(false);
    button.setEnabled(false);
    QVERIFY(!inkColumns(shot(button), grey).isEmpty());
    QVERIFY(inkColumns(shot(button), ink).isEmpty());
}

void TestSkinButtons::resizeRebuildsImages()
{
    SkinBitmapButton button;
    QVERIFY(button.SetUp(strip(5, {3, 3, 3, 3}), 5, 3, 3, 3, 3));
    button.resize(40, 20);
    shot(button);
    button.resize(90, 44);
    const QImage image = shot(button);
    QCOMPARE(image.pixelColor(89, 43), Corner);
    QCOMPARE(image.pixelColor(86, 40), centreOf(0));
    QCOMPARE(image.pixelColor(88, 20), Edge);
}

void TestSkinButtons::dropDownParts()
{
    QCOMPARE(DropDownButton::mainRect(QSize(59, 15)), QRect(0, 0, 38, 15));
    QCOMPARE(DropDownButton::arrowRect(QSize(59, 15)), QRect(39, 0, 20, 15));
    QCOMPARE(DropDownButton::mainRect(QSize(10, 15)).width(), 0); // narrower than the arrow

    DropDownButton button;
    button.resize(118, 30);
    button.SetFaceColor(QColor(0xCA, 0xCA, 0xCA));
    const QImage image = shot(button);
    const QRect arrow = DropDownButton::arrowRect(button.size());
    QCOMPARE(image.pixelColor(arrow.center()), QColor(Qt::black)); // the triangle
    QCOMPARE(image.pixelColor(arrow.center() + QPoint(0, 5)), QColor(0xCA, 0xCA, 0xCA));
    QCOMPARE(image.pixelColor(arrow.left() - 1, 10), QColor(0xCA, 0xCA, 0xCA)); // the gap
}

void TestSkinButtons::everyArrowPressOpensTheMenu()
{
    DropDownButton button;
    button.resize(118, 30);
    button.SetMenuResource({{32775, QStringLiteral("Default ")}, {32776, QStringLiteral("Browse...")}});
    button.show();
    QVERIFY(QTest::qWaitForWindowExposed(&button));
    QSignalSpy shown(&button, &DropDownButton::menuShown);
    QSignalSpy clicked(&button, &QPushButton::clicked);
    QSignalSpy commands(&button, &DropDownButton::menuCommand);
    const QPoint onArrow = DropDownButton::arrowRect(button.size()).center();
    for (int i = 0; i < 2; ++i) {
        press(&button, onArrow);
        QTest::mouseRelease(&button, Qt::LeftButton, {}, onArrow);
        QVERIFY(button.shownMenu());
    }
    QCOMPARE(shown.size(), 2);
    QCOMPARE(clicked.size(), 0);
    QMenu *menu = button.shownMenu();
    QCOMPARE(menu->actions().size(), 2);
    QCOMPARE(menu->actions().at(1)->text(), QStringLiteral("Browse..."));
    menu->actions().at(1)->trigger();
    QCOMPARE(commands.size(), 1);
    QCOMPARE(commands.at(0).at(0).toInt(), 32776);

    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(10, 10)); // the main part
    QCOMPARE(clicked.size(), 1);
}

void TestSkinButtons::arrowWithoutMenuClicks()
{
    DropDownButton button;
    button.resize(59, 15);
    button.show();
    QSignalSpy clicked(&button, &QPushButton::clicked);
    QSignalSpy shown(&button, &DropDownButton::menuShown);
    QTest::mouseClick(&button, Qt::LeftButton, {}, DropDownButton::arrowRect(button.size()).center());
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(shown.size(), 0);
}

void TestSkinButtons::longCaptionIsElided()
{
    DropDownButton button;
    button.resize(59, 15);
    button.SetCaption(QStringLiteral("Outlook Express Outlook Express"));
    const QImage image = shot(button);
    // No ink of the caption reaches into the gap or the arrow part's left side.
    const QRect arrow = DropDownButton::arrowRect(button.size());
    for (int y = 2; y < 13; ++y)
        QVERIFY(image.pixelColor(arrow.left() - 1, y) != QColor(Qt::black));
}

QTEST_MAIN(TestSkinButtons)
#include "test_skinbuttons.moc"
