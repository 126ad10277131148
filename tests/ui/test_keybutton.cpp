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
const QPoint On(10, 6); // inside a 20 x 12 key
const QPoint Off(40, 6);

// A left-button press or release at pos, or a move with the button held or not.
void mouse(QWidget *widget, QEvent::Type type, QPoint pos = On, bool held = true)
{
    const bool down = held && type != QEvent::MouseButtonRelease;
    QMouseEvent event(type, pos, widget->mapToGlobal(pos),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                      down ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}
void click(QWidget *w, QPoint pos = On)
{
    mouse(w, QEvent::MouseButtonPress, pos);
    mouse(w, QEvent::MouseButtonRelease, pos);
}

QColor shownAt(QWidget &widget, QPoint pos = On)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(Background);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image.pixelColor(pos);
}

KeyButton *makeKey(QWidget *parent, KeyButton::Kind kind = KeyButton::Kind::PushButton)
{
    auto *key = new KeyButton(parent);
    key->resize(20, 12);
    key->setKind(kind);
    return key;
}

} // namespace

class TestKeyButton : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void imageFollowsState();
    void heldKeyFollowsCursor_data();
    void heldKeyFollowsCursor();
    void doubleClickIsASecondPress();
    void maskShapesTheKey();
    void checkAndRadioKinds();

private:
    // Saves an image of one colour where SetSkin can load it by path.
    QString solid(const QColor &colour, QSize size = QSize(20, 12))
    {
        QImage image(size, QImage::Format_RGB32);
        image.fill(colour);
        const QString path = m_dir.filePath(colour.name() + QString::number(size.width()));
        return image.save(path, "PNG") ? path : QString();
    }
    void skin(KeyButton &key, const QString &disabled = QString())
    {
        key.resize(20, 12);
        key.SetSkin(solid(NormalColour), solid(DownColour), solid(OverColour), disabled);
    }

    QTemporaryDir m_dir;
};

void TestKeyButton::imageFollowsState()
{
    KeyButton key;
    skin(key);
    QCOMPARE(shownAt(key), NormalColour);
    mouse(&key, QEvent::MouseMove, On, false);
    QCOMPARE(shownAt(key), OverColour);
    mouse(&key, QEvent::MouseButtonPress);
    QCOMPARE(shownAt(key), DownColour);
    mouse(&key, QEvent::MouseButtonRelease);
    QCOMPARE(shownAt(key), NormalColour); // clicked: the hover look waits for the next move
    mouse(&key, QEvent::MouseMove, On, false);
    QCOMPARE(shownAt(key), OverColour);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&key, &leave);
    QCOMPARE(shownAt(key), NormalColour);

    // Without a disabled image of its own ("0", none or the normal one) a disabled key shows
    // its normal image, even when it was hovered.
    const QList<QPair<QString, QColor>> disabled = {{QStringLiteral("0"), NormalColour},
                                                    {QString(), NormalColour},
                                                    {solid(NormalColour), NormalColour},
                                                    {solid(DisabledColour), DisabledColour}};
    for (const auto &[image, colour] : disabled) {
        skin(key, image);
        mouse(&key, QEvent::MouseMove, On, false);
        key.setEnabled(false);
        QCOMPARE(shownAt(key), colour);
        key.setEnabled(true);
    }
}

void TestKeyButton::heldKeyFollowsCursor_data()
{
    QTest::addColumn<QPoint>("releaseAt");
    QTest::addColumn<int>("clicks");
    QTest::newRow("released on the key") << On << 1;
    QTest::newRow("released off the key") << Off << 0;
    QTest::newRow("released just past the edge") << QPoint(20, 6) << 0;
}

void TestKeyButton::heldKeyFollowsCursor()
{
    QFETCH(QPoint, releaseAt);
    QFETCH(int, clicks);
    KeyButton key;
    skin(key);
    QSignalSpy clicked(&key, &QAbstractButton::clicked);
    mouse(&key, QEvent::MouseButtonPress);
    QCOMPARE(shownAt(key), DownColour);
    mouse(&key, QEvent::MouseMove, Off);
    QCOMPARE(shownAt(key), NormalColour);
    mouse(&key, QEvent::MouseMove, On);
    QCOMPARE(shownAt(key), DownColour);
    mouse(&key, QEvent::MouseMove, releaseAt);
    mouse(&key, QEvent::MouseButtonRelease, releaseAt);
    QCOMPARE(clicked.count(), clicks);
}

void TestKeyButton::doubleClickIsASecondPress()
{
    // Some platforms send a press before the double click, some do not.
    for (bool platformSendsPress : {false, true}) {
        KeyButton key;
        skin(key);
        QSignalSpy clicked(&key, &QAbstractButton::clicked);
        QSignalSpy pressed(&key, &QAbstractButton::pressed);
        click(&key);
        if (platformSendsPress)
            mouse(&key, QEvent::MouseButtonPress);
        mouse(&key, QEvent::MouseButtonDblClick);
        mouse(&key, QEvent::MouseButtonRelease);
        QCOMPARE(pressed.count(), 2);
        QCOMPARE(clicked.count(), 2);
    }
}

void TestKeyButton::maskShapesTheKey()
{
    // Black is the shape, white and transparent are not: two runs, one to the last column.
    QImage mask(8, 4, QImage::Format_ARGB32);
    mask.fill(Qt::transparent);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 8; ++x)
            mask.setPixel(x, y, x == 2 || x == 3 ? qRgb(255, 255, 255) : qRgb(0, 0, 0));
    QWidget window;
    window.resize(40, 30);
    KeyButton *key = makeKey(&window);
    key->move(10, 10);
    const QString maskFile = m_dir.filePath(QStringLiteral("mask.png"));
    QVERIFY(mask.save(maskFile));
    key->SetSkin(solid(NormalColour, QSize(8, 4)), QString(), QString(), QString(), QString(),
                 maskFile);
    QCOMPARE(key->geometry(), QRect(10, 10, 8, 4)); // copy mode takes the mask's size
    QVERIFY((key->shapeRegion() ^ (QRegion(0, 0, 2, 3) + QRegion(4, 0, 4, 3))).isEmpty());
    QCOMPARE(shownAt(*key, QPoint(1, 1)), NormalColour);
    QCOMPARE(shownAt(*key, QPoint(2, 1)), Background); // white in the mask: nothing drawn

    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QSignalSpy clicked(key, &QAbstractButton::clicked);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(13, 11)); // white
    click(key, QPoint(3, 1)); // even sent straight to the key
    QCOMPARE(clicked.count(), 0);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, QPoint(17, 11)); // the shape
    QCOMPARE(clicked.count(), 1);
}

void TestKeyButton::checkAndRadioKinds()
{
    using Kind = KeyButton::Kind;
    QWidget dialog, otherDialog;
    KeyButton *box = makeKey(&dialog, Kind::CheckBox), *push = makeKey(&dialog);
    click(box);
    QVERIFY(box->GetCheck());
    click(box);
    QVERIFY(!box->GetCheck());
    QTest::keyClick(box, Qt::Key_Space);
    QVERIFY(box->GetCheck());
    push->SetCheck(true); // a push button never keeps the flag
    QVERIFY(!push->GetCheck());

    // Radio buttons of one group in one dialog exclude each other, and nothing else.
    KeyButton *a = makeKey(&dialog, Kind::RadioButton), *b = makeKey(&dialog, Kind::RadioButton);
    KeyButton *c = makeKey(&dialog, Kind::RadioButton);
    KeyButton *otherGroup = makeKey(&dialog, Kind::RadioButton);
    KeyButton *otherDialogKey = makeKey(&otherDialog, Kind::RadioButton);
    for (KeyButton *key : {a, b, c, otherDialogKey, box})
        key->setGroupId(1);
    otherGroup->setGroupId(2);
    for (KeyButton *key : {a, otherGroup, otherDialogKey})
        key->SetCheck(true);
    click(b);
    click(b); // a second click leaves it checked
    QVERIFY(b->GetCheck());
    QVERIFY(!a->GetCheck() && !c->GetCheck());
    QVERIFY(otherGroup->GetCheck() && otherDialogKey->GetCheck() && box->GetCheck());
    c->SetCheck(true); // from code as well as by click
    QVERIFY(!b->GetCheck() && c->GetCheck());
}

QTEST_MAIN(TestKeyButton)
#include "test_keybutton.moc"
