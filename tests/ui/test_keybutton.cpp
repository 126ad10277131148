// SPDX-License-Identifier: GPL-3.0-or-later
// Key buttons: the image shown in each state, the held key following the cursor, shapes from
// masks, and check box and radio behaviour.
#include "ui/KeyButton.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace dpx;

namespace {

const QColor Background(10, 20, 30);
const QColor NormalColour(200, 0, 0);
const QColor DownColour(0, 200, 0);
const QColor OverColour(0, 0, 200);
const QColor DisabledColour(200, 200, 0);

void sendMouse(QWidget *widget, QEvent::Type type, QPoint pos, Qt::MouseButtons buttons,
               Qt::MouseButton button = Qt::NoButton)
{
    QMouseEvent event(type, pos, widget->mapToGlobal(pos), button, buttons, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

void press(QWidget *w, QPoint pos)
{
    sendMouse(w, QEvent::MouseButtonPress, pos, Qt::LeftButton, Qt::LeftButton);
}
void dragTo(QWidget *w, QPoint pos) { sendMouse(w, QEvent::MouseMove, pos, Qt::LeftButton); }
void hoverAt(QWidget *w, QPoint pos) { sendMouse(w, QEvent::MouseMove, pos, Qt::NoButton); }
void release(QWidget *w, QPoint pos)
{
    sendMouse(w, QEvent::MouseButtonRelease, pos, Qt::NoButton, Qt::LeftButton);
}

void pressKey(QWidget *w, int key)
{
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QStringLiteral(" "));
    QCoreApplication::sendEvent(w, &up);
}

QImage rendered(QWidget &widget)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Background);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// Images drawn for the test, saved where SetSkin can load them by path.
class Art {
public:
    QString solid(const QString &name, const QColor &colour, QSize size = QSize(20, 12))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        return save(name, image);
    }
    // Rows of '#' (black, part of the shape), '.' (white) and ' ' (fully transparent).
    QString mask(const QString &name, const QStringList &rows)
    {
        QImage image(int(rows.value(0).size()), int(rows.size()), QImage::Format_ARGB32);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                const QChar c = rows[y][x];
                image.setPixel(x, y,
                               c == QLatin1Char('#')   ? qRgb(0, 0, 0)
                               : c == QLatin1Char('.') ? qRgb(255, 255, 255)
                                                       : qRgba(0, 0, 0, 0));
            }
        }
        return save(name, image);
    }
    QString save(const QString &name, const QImage &image)
    {
        const QString path = m_dir.filePath(name + QStringLiteral(".png"));
        image.save(path);
        return path;
    }

private:
    QTemporaryDir m_dir;
};

} // namespace

class TestKeyButton : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void imageFollowsState_data();
    void imageFollowsState();
    void heldKeyFollowsCursor_data();
    void heldKeyFollowsCursor();
    void focusLossWhileHeldSendsNoClick();
    void doubleClickIsASecondPress_data();
    void doubleClickIsASecondPress();
    void drawModes_data();
    void drawModes();
    void regionFromMask_data();
    void regionFromMask();
    void maskShapesTheKey();
    void checkStateByInput_data();
    void checkStateByInput();
    void radioGroupExcludesOthers();

private:
    Art m_art;
};

void TestKeyButton::imageFollowsState_data()
{
    QTest::addColumn<QString>("disabledImage"); // "n": the normal image, "own": a distinct one
    QTest::addColumn<QString>("action");
    QTest::addColumn<QColor>("expected");

    QTest::newRow("at rest") << "n" << "" << NormalColour;
    QTest::newRow("hovered") << "n" << "hover" << OverColour;
    QTest::newRow("held") << "n" << "press" << DownColour;
    QTest::newRow("hovered then held") << "n" << "hover press" << DownColour;
    QTest::newRow("hovered then left") << "n" << "hover leave" << NormalColour;
    QTest::newRow("clicked, not moved since") << "n" << "hover press release" << NormalColour;
    QTest::newRow("clicked, then moved") << "n" << "press release hover" << OverColour;
    QTest::newRow("disabled") << "n" << "disable" << NormalColour;
    QTest::newRow("disabled while hovered") << "n" << "hover disable" << NormalColour;
    QTest::newRow("disabled, image 0") << "0" << "disable" << NormalColour;
    QTest::newRow("disabled, no image") << "" << "disable" << NormalColour;
    QTest::newRow("disabled, own image") << "own" << "disable" << DisabledColour;
}

void TestKeyButton::imageFollowsState()
{
    QFETCH(QString, disabledImage);
    QFETCH(QString, action);
    QFETCH(QColor, expected);

    const QString normal = m_art.solid(QStringLiteral("n"), NormalColour);
    QString disabled = disabledImage;
    if (disabledImage == QLatin1String("n"))
        disabled = normal;
    else if (disabledImage == QLatin1String("own"))
        disabled = m_art.solid(QStringLiteral("x"), DisabledColour);

    KeyButton key;
    key.SetSkin(normal, m_art.solid(QStringLiteral("d"), DownColour),
                m_art.solid(QStringLiteral("o"), OverColour), disabled);
    key.resize(20, 12);
    const QPoint centre(10, 6);
    for (const QString &step : action.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        if (step == QLatin1String("hover"))
            hoverAt(&key, centre);
        else if (step == QLatin1String("leave")) {
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(&key, &leave);
        } else if (step == QLatin1String("press"))
            press(&key, centre);
        else if (step == QLatin1String("release"))
            release(&key, centre);
        else if (step == QLatin1String("disable"))
            key.setEnabled(false);
    }
    QCOMPARE(rendered(key).pixelColor(centre), expected);
    if (action.endsWith(QLatin1String("press")))
        QVERIFY(!key.isHovered()); // a press ends the hover look
}

void TestKeyButton::heldKeyFollowsCursor_data()
{
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<int>("clicks");

    QTest::newRow("released on the key") << QPoint(10, 6) << 1;
    QTest::newRow("released off the key") << QPoint(40, 6) << 0;
    QTest::newRow("released just past the edge") << QPoint(20, 6) << 0;
}

void TestKeyButton::heldKeyFollowsCursor()
{
    QFETCH(QPoint, releaseAt);
    QFETCH(int, clicks);

    KeyButton key;
    key.SetSkin(m_art.solid(QStringLiteral("n"), NormalColour),
                m_art.solid(QStringLiteral("d"), DownColour),
                m_art.solid(QStringLiteral("o"), OverColour));
    key.resize(20, 12);
    QSignalSpy clicked(&key, &QAbstractButton::clicked);
    const QPoint on(10, 6), off(40, 6);

    press(&key, on);
    QCOMPARE(rendered(key).pixelColor(on), DownColour);
    dragTo(&key, off);
    QVERIFY(!key.isDown());
    QCOMPARE(rendered(key).pixelColor(on), NormalColour);
    dragTo(&key, on);
    QVERIFY(key.isDown());
    QCOMPARE(rendered(key).pixelColor(on), DownColour);
    dragTo(&key, releaseAt);
    release(&key, releaseAt);
    QCOMPARE(clicked.count(), clicks);
    QVERIFY(!key.isDown());
}

void TestKeyButton::focusLossWhileHeldSendsNoClick()
{
    KeyButton key;
    key.resize(20, 12);
    QSignalSpy clicked(&key, &QAbstractButton::clicked);
    press(&key, QPoint(10, 6));
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&key, &focusOut);
    QVERIFY(!key.isDown());
    dragTo(&key, QPoint(11, 6)); // no longer followed: the key stays up
    QVERIFY(!key.isDown());
    release(&key, QPoint(11, 6));
    QCOMPARE(clicked.count(), 0);
}

void TestKeyButton::doubleClickIsASecondPress_data()
{
    // Some platforms send a press before the double click, some do not.
    QTest::addColumn<bool>("platformSendsPress");
    QTest::newRow("double click alone") << false;
    QTest::newRow("press, then double click") << true;
}

void TestKeyButton::doubleClickIsASecondPress()
{
    QFETCH(bool, platformSendsPress);
    KeyButton key;
    key.resize(20, 12);
    QSignalSpy clicked(&key, &QAbstractButton::clicked);
    QSignalSpy pressed(&key, &QAbstractButton::pressed);
    const QPoint on(10, 6);
    press(&key, on);
    release(&key, on);
    if (platformSendsPress)
        press(&key, on);
    sendMouse(&key, QEvent::MouseButtonDblClick, on, Qt::LeftButton, Qt::LeftButton);
    QVERIFY(key.isDown());
    release(&key, on);
    QCOMPARE(pressed.count(), 2);
    QCOMPARE(clicked.count(), 2);
}

void TestKeyButton::drawModes_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QPoint>("pixel");
    QTest::addColumn<QColor>("expected");

    // A 3 x 3 image, left column red and the rest green, on an 8 x 8 key.
    const QColor red(255, 0, 0), green(0, 255, 0);
    QTest::newRow("copy: inside the image") << 0 << QPoint(1, 1) << green;
    QTest::newRow("copy: beyond the image") << 0 << QPoint(6, 6) << Background;
    QTest::newRow("below 0 means copy") << -3 << QPoint(6, 6) << Background;
    QTest::newRow("stretch: fills the key") << 1 << QPoint(7, 7) << green;
    QTest::newRow("stretch: left column widened") << 1 << QPoint(1, 4) << red;
    QTest::newRow("tile: second tile starts") << 2 << QPoint(3, 0) << red;
    QTest::newRow("tile: third tile starts") << 2 << QPoint(6, 5) << red;
    QTest::newRow("tile: last tile cut") << 2 << QPoint(7, 7) << green;
    QTest::newRow("above 2 means tile") << 9 << QPoint(6, 5) << red;
}

void TestKeyButton::drawModes()
{
    QFETCH(int, mode);
    QFETCH(QPoint, pixel);
    QFETCH(QColor, expected);

    QImage image(3, 3, QImage::Format_RGB32);
    image.fill(QColor(0, 255, 0));
    for (int y = 0; y < 3; ++y)
        image.setPixelColor(0, y, QColor(255, 0, 0));
    KeyButton key;
    key.SetSkin(m_art.save(QStringLiteral("tile"), image), QString(), QString(), QString(),
                QString(), QString(), mode);
    QCOMPARE(key.drawMode(), qBound(0, mode, 2));
    key.resize(8, 8);
    QCOMPARE(rendered(key).pixelColor(pixel), expected);
}

void TestKeyButton::regionFromMask_data()
{
    QTest::addColumn<QStringList>("rows");
    QTest::addColumn<QList<QRect>>("expected");

    QTest::newRow("run to the last column") << QStringList{QStringLiteral("...###")}
                                            << QList<QRect>{QRect(3, 0, 3, 1)};
    QTest::newRow("two runs in a row") << QStringList{QStringLiteral("#.##..")}
                                       << QList<QRect>{QRect(0, 0, 1, 1), QRect(2, 0, 2, 1)};
    QTest::newRow("whole row") << QStringList{QStringLiteral("####")}
                               << QList<QRect>{QRect(0, 0, 4, 1)};
    QTest::newRow("white and transparent rows") << QStringList{QStringLiteral("...."),
                                                               QStringLiteral(".##."),
                                                               QStringLiteral("    ")}
                                                << QList<QRect>{QRect(1, 1, 2, 1)};
    QTest::newRow("a diamond") << QStringList{QStringLiteral("..#.."), QStringLiteral(".###."),
                                              QStringLiteral("#####"), QStringLiteral(".###."),
                                              QStringLiteral("..#..")}
                               << QList<QRect>{QRect(2, 0, 1, 1), QRect(1, 1, 3, 1),
                                               QRect(0, 2, 5, 1), QRect(1, 3, 3, 1),
                                               QRect(2, 4, 1, 1)};
    QTest::newRow("all white") << QStringList{QStringLiteral("...")} << QList<QRect>{};
}

void TestKeyButton::regionFromMask()
{
    QFETCH(QStringList, rows);
    QFETCH(QList<QRect>, expected);

    QRegion wanted;
    for (const QRect &r : expected)
        wanted += r;
    const QRegion region = KeyButton::regionFromMask(QImage(m_art.mask(QStringLiteral("m"), rows)));
    QVERIFY((region ^ wanted).isEmpty());
}

void TestKeyButton::maskShapesTheKey()
{
    // The left half of an 8 x 4 key is its shape.
    const QString mask = m_art.mask(QStringLiteral("half"),
                                    {QStringLiteral("####...."), QStringLiteral("####...."),
                                     QStringLiteral("####...."), QStringLiteral("####....")});
    QWidget window;
    window.resize(40, 30);
    auto *key = new KeyButton(&window);
    key->move(10, 10);
    key->resize(30, 30);
    key->SetSkin(m_art.solid(QStringLiteral("n"), NormalColour, QSize(8, 4)), QString(),
                 QString(), QString(), QString(), mask);
    QCOMPARE(key->geometry(), QRect(10, 10, 8, 4)); // copy mode takes the mask's size
    QVERIFY((key->shapeRegion() ^ QRegion(0, 0, 4, 4)).isEmpty());

    const QImage image = rendered(*key);
    QCOMPARE(image.pixelColor(1, 1), NormalColour);
    QCOMPARE(image.pixelColor(6, 1), Background); // white in the mask: nothing drawn

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicked(key, &QAbstractButton::clicked);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(16, 12)); // white part
    QCOMPARE(clicked.count(), 0);
    press(key, QPoint(6, 2)); // even sent straight to the key
    release(key, QPoint(6, 2));
    QCOMPARE(clicked.count(), 0);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(12, 12)); // the shape
    QCOMPARE(clicked.count(), 1);

    // A skin without a mask gives the rectangle back.
    key->SetSkin(QStringLiteral("n"), QString(), QString());
    QVERIFY(key->shapeRegion().isEmpty());
    QVERIFY(key->mask().isEmpty());
}

void TestKeyButton::checkStateByInput_data()
{
    QTest::addColumn<KeyButton::Kind>("kind");
    QTest::addColumn<bool>("bySpace");
    QTest::addColumn<QList<bool>>("checkedAfterEach");

    const QList<bool> toggles{true, false, true};
    const QList<bool> sets{true, true, true};
    const QList<bool> never{false, false, false};
    QTest::newRow("check box, clicks") << KeyButton::Kind::CheckBox << false << toggles;
    QTest::newRow("check box, Space") << KeyButton::Kind::CheckBox << true << toggles;
    QTest::newRow("radio button, clicks") << KeyButton::Kind::RadioButton << false << sets;
    QTest::newRow("radio button, Space") << KeyButton::Kind::RadioButton << true << sets;
    QTest::newRow("push button, clicks") << KeyButton::Kind::PushButton << false << never;
    QTest::newRow("push button, Space") << KeyButton::Kind::PushButton << true << never;
}

void TestKeyButton::checkStateByInput()
{
    QFETCH(KeyButton::Kind, kind);
    QFETCH(bool, bySpace);
    QFETCH(QList<bool>, checkedAfterEach);

    KeyButton key;
    key.resize(20, 12);
    key.setKind(kind);
    QSignalSpy clicked(&key, &QAbstractButton::clicked);
    for (int i = 0; i < checkedAfterEach.size(); ++i) {
        if (bySpace) {
            pressKey(&key, Qt::Key_Space);
        } else {
            press(&key, QPoint(10, 6));
            release(&key, QPoint(10, 6));
        }
        QCOMPARE(key.GetCheck(), checkedAfterEach[i]);
    }
    QCOMPARE(clicked.count(), int(checkedAfterEach.size()));

    key.SetCheck(true);
    QCOMPARE(key.GetCheck(), kind != KeyButton::Kind::PushButton);
    key.setKind(KeyButton::Kind::PushButton); // a push button never keeps the flag
    QVERIFY(!key.GetCheck());
}

void TestKeyButton::radioGroupExcludesOthers()
{
    QWidget dialog, otherDialog;
    auto radio = [](QWidget *parent, int group) {
        auto *key = new KeyButton(parent);
        key->resize(20, 12);
        key->setKind(KeyButton::Kind::RadioButton);
        key->setGroupId(group);
        return key;
    };
    KeyButton *a = radio(&dialog, 1), *b = radio(&dialog, 1), *c = radio(&dialog, 1);
    KeyButton *otherGroup = radio(&dialog, 2);
    KeyButton *otherDialogKey = radio(&otherDialog, 1);
    auto *checkBox = new KeyButton(&dialog);
    checkBox->setKind(KeyButton::Kind::CheckBox);
    checkBox->setGroupId(1);
    for (KeyButton *key : {a, otherGroup, otherDialogKey, checkBox})
        key->SetCheck(true);

    press(b, QPoint(10, 6));
    release(b, QPoint(10, 6));
    QVERIFY(b->GetCheck());
    QVERIFY(!a->GetCheck());
    QVERIFY(!c->GetCheck());
    QVERIFY(otherGroup->GetCheck());
    QVERIFY(otherDialogKey->GetCheck());
    QVERIFY(checkBox->GetCheck());

    c->SetCheck(true);
    QVERIFY(!b->GetCheck());
    QVERIFY(c->GetCheck());
    QVERIFY(otherGroup->GetCheck());
}

QTEST_MAIN(TestKeyButton)
#include "test_keybutton.moc"
