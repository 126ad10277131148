// SPDX-License-Identifier: GPL-3.0-or-later
// An incoming call through the whole program: the telephone rings on the simulated box, the
// window rings on the PC, captures the number, finds the caller and alerts; keys and dialling.
#include "PhoneFixture.h"
#include "../audio/AudioTestSupport.h"

#include "app/CallerPopup.h"
#include "app/PhoneBookTree.h"
#include "app/PhoneTray.h"
#include "audio/RingTonePlayer.h"
#include "phone/KeyCodes.h"
#include "sim/SimTelephone.h"
#include "audio/MasterOutputVolume.h"
#include "ui/BitmapSlider.h"
#include "ui/KeyButton.h"
#include "ui/PhoneLayout.h"

#include <QMediaDevices>
#include <QAudioDevice>
#include <QTest>

using namespace dpx;

class CallFlowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ringFindsTheCallerAndAlerts();
    void captureGivesUpWithoutDigits();
    void laterRingReportsKeepTheCaller();
    void ringAndHangUpInOneBurst();
    void ringFileRules();
    void ringPlaysOnTheServerAndStops();
    void popupAnswerAndIgnore();
    void pcKeyboardPressesTheSameKeys();
    void phoneBookTreeDials();
    void volumeSliderDrivesTheMasterVolume();
};

void CallFlowTest::ringFindsTheCallerAndAlerts()
{
    Phone phone;
    QVERIFY(phone.db->insertContact(contact(QStringLiteral("王大明"), QStringLiteral("02-2345-6789"))));
    QVERIFY(phone.db->insertContact(contact(QStringLiteral("Zed"), QStringLiteral("0223456789"))));
    MainPhoneWindow &w = *phone.window;
    QSignalSpy card(&w, &MainPhoneWindow::showCallerCardRequested);
    QTRY_VERIFY(phone.listening->size() > 0);

    phone.box.telephone().ring(true, QStringLiteral("0223456789"));
    QTRY_VERIFY(w.isCallerAlertPending());
    QVERIFY(w.tray().isAlerting());
    QTRY_VERIFY(w.callerFound());
    QCOMPARE(w.caller().name(), QStringLiteral("Zed")); // the exact match wins
    QTRY_COMPARE(card.size(), 1);
    QCOMPARE(w.callerPopup().title(), QStringLiteral("Zed"));
    QCOMPARE(w.callerPopup().body(), QStringLiteral("0223456789"));
    QVERIFY(w.callerPopup().isShown());

    phone.box.telephone().hangUp();
    QTRY_VERIFY(!w.isCallerAlertPending());
    QVERIFY(!w.tray().isAlerting());
    QCOMPARE(w.tray().alertIcon(), 128);
    QVERIFY(!w.isCapturingNumber());

    // Without the exact entry, the number saved with separators is found by its digits.
    QCOMPARE(phone.db->deleteContact(contact(QStringLiteral("Zed"), QStringLiteral("0223456789"))), 1);
    phone.box.telephone().ring(false, QStringLiteral("0223456789"));
    QTRY_COMPARE(w.caller().name(), QStringLiteral("王大明"));
    QVERIFY(w.callerFound());
    phone.box.telephone().hangUp();
    QTRY_VERIFY(!w.isCallerAlertPending());
}

void CallFlowTest::captureGivesUpWithoutDigits()
{
    Phone phone;
    QVERIFY(phone.db->insertContact(contact(QStringLiteral("Zed"), QStringLiteral("0223456789"))));
    MainPhoneWindow &w = *phone.window;
    QTRY_VERIFY(phone.listening->size() > 0);
    phone.box.sendEvent({{0x90, 0x04}}); // an intercom ring, nothing on line 2
    QTRY_VERIFY(w.isCapturingNumber());
    QCOMPARE(w.callerPopup().title(), QStringLiteral("—"));
    QTest::qWait(15 * 200 - 400);
    QVERIFY(w.isCapturingNumber());
    QTRY_VERIFY_WITH_TIMEOUT(!w.isCapturingNumber(), 1500);
    QVERIFY(!w.callerFound());
    // Digits that come later are not looked up any more.
    phone.box.telephone().showText(2, QStringLiteral("0223456789"));
    QTest::qWait(300);
    QVERIFY(!w.callerFound());
}

void CallFlowTest::laterRingReportsKeepTheCaller()
{
    Phone phone;
    QVERIFY(phone.db->insertContact(contact(QStringLiteral("Zed"), QStringLiteral("0223456789"))));
    MainPhoneWindow &w = *phone.window;
    QTRY_VERIFY(phone.listening->size() > 0);
    phone.box.telephone().ring(true, QStringLiteral("0223456789"));
    QTRY_COMPARE(w.callerPopup().title(), QStringLiteral("Zed"));
    // The telephone repeats the ring report without drawing line 2 again: the new capture
    // finds nothing and the caller stays.
    phone.box.sendEvent({{0x90, 0x02}});
    QTRY_VERIFY(w.isCapturingNumber());
    QCOMPARE(w.callerPopup().title(), QStringLiteral("Zed"));
    QTRY_VERIFY_WITH_TIMEOUT(!w.isCapturingNumber(), 5000);
    QVERIFY(w.callerFound());
    QCOMPARE(w.caller().name(), QStringLiteral("Zed"));
    QCOMPARE(w.callerPopup().title(), QStringLiteral("Zed"));
    QCOMPARE(w.callerPopup().body(), QStringLiteral("0223456789"));
    // A new call starts afresh.
    phone.box.telephone().hangUp();
    QTRY_VERIFY(!w.isCallerAlertPending());
    phone.box.sendEvent({{0x90, 0x04}});
    QTRY_VERIFY(w.isCallerAlertPending());
    QVERIFY(!w.callerFound());
    QCOMPARE(w.callerPopup().title(), QStringLiteral("—"));
}

void CallFlowTest::ringAndHangUpInOneBurst()
{
    REQUIRE_TEST_SERVER();
    Phone phone;
    QVERIFY(phone.db->insertContact(contact(QStringLiteral("Zed"), QStringLiteral("0223456789"))));
    QVERIFY(test::writeTone(phone.data.filePath(QStringLiteral("co.mp3")), 0.5, 16000, 1));
    QVERIFY(phone.db->updateCoRing(QStringLiteral("/home/u/tone.wav")));
    MainPhoneWindow &w = *phone.window;
    // Some audio back ends run the event loop while an output is torn down: this one does too.
    int teardowns = 0;
    w.ringPlayer().setTeardownHook([&] {
        ++teardowns;
        QCoreApplication::processEvents();
    });
    QTRY_VERIFY(phone.listening->size() > 0);

    // The ring report and the number arrive together: the ring starts and the number is
    // still captured.
    phone.box.telephone().ring(true, QStringLiteral("0223456789"));
    QTRY_COMPARE(w.callerPopup().title(), QStringLiteral("Zed"));
    QTRY_VERIFY(w.ringPlayer().isHoldingPlayback());

    // While it rings, the next ring report (which replaces the playing output), the number
    // and the hang-up arrive together: the hang-up is final, and no event was handled inside
    // another.
    phone.box.telephone().ring(true, QStringLiteral("0223456789"));
    phone.box.telephone().hangUp();
    QTRY_VERIFY(teardowns > 0);
    QTest::qWait(600);
    QCOMPARE(w.deepestDeviceEventNesting(), 1);
    QVERIFY(!w.isCallerAlertPending());
    QVERIFY(!w.tray().isAlerting());
    QVERIFY(!w.callerPopup().isShown());
    QVERIFY(!w.ringPlayer().isHoldingPlayback());
}

void CallFlowTest::ringFileRules()
{
    Phone phone;
    MainPhoneWindow &w = *phone.window;
    // No PC ring chosen: nothing, not even a message.
    w.RingRequest(true, false);
    QCOMPARE(w.lastMessage(), QString());
    QVERIFY(!w.ringPlayer().isHoldingPlayback());
    // Chosen, but the file is gone.
    QVERIFY(phone.db->updateCoRing(QStringLiteral("/home/u/ring.mp3")));
    w.RingRequest(true, false);
    QCOMPARE(w.lastMessage(), QStringLiteral("找不到鈴聲文件!"));
    // The intercom ring has its own switch.
    phone.window->showMessage(QString());
    w.RingRequest(false, false);
    QCOMPARE(w.lastMessage(), QString());
}

void CallFlowTest::ringPlaysOnTheServerAndStops()
{
    REQUIRE_TEST_SERVER();
    Phone phone;
    MainPhoneWindow &w = *phone.window;
    QVERIFY(test::writeTone(phone.data.filePath(QStringLiteral("co.mp3")), 0.5, 16000, 1)); // the ring file keeps its fixed name
    QVERIFY(phone.db->updateCoRing(QStringLiteral("/home/u/tone.wav")));
    QTRY_VERIFY(phone.listening->size() > 0);
    for (int i = 0; i < 5; ++i)
        phone.box.sendEvent({{0x90, 0x02}}); // every report restarts the one ring
    QTRY_VERIFY(w.ringPlayer().isHoldingPlayback());
    QVERIFY(!w.ringPlayer().deviceNames().isEmpty());
    QCOMPARE(w.lastMessage(), QString());
    phone.box.sendEvent({{0x90, 0x01}});
    QTRY_VERIFY(!w.ringPlayer().isHoldingPlayback());
}

void CallFlowTest::popupAnswerAndIgnore()
{
    Phone phone;
    MainPhoneWindow &w = *phone.window;
    QTRY_VERIFY(phone.listening->size() > 0);
    CallerPopup &popup = w.callerPopup();

    phone.box.telephone().ring(true, QStringLiteral("123"));
    QTRY_VERIFY(popup.isShown());
    QVERIFY(popup.isRising());
    phone.box.clearOutputReports();
    // A click while it still rises counts for nothing; once it has settled it answers.
    QTest::mouseClick(&popup, Qt::LeftButton, {}, QPoint(40, 30));
    QVERIFY(w.isCallerAlertPending());
    QTRY_VERIFY(!popup.isRising());
    QTest::mouseClick(&popup, Qt::LeftButton, {}, QPoint(40, 30));
    QVERIFY(!w.isCallerAlertPending());
    QTRY_COMPARE(phone.box.lastOutputReport().left(4).toHex(), QByteArray("01040447")); // key 29
    QCOMPARE(w.lastMessage(), QString());

    phone.box.telephone().ring(true, QStringLiteral("123"));
    QTRY_VERIFY(popup.isShown());
    QTRY_VERIFY(!popup.isRising());
    phone.box.clearOutputReports();
    const QRect ignore = CallerPopup::ignoreArea(popup.size());
    QVERIFY(ignore.width() >= 60 && ignore.height() >= 22 && popup.rect().contains(ignore));
    QTest::mouseClick(&popup, Qt::LeftButton, {}, ignore.center());
    QCOMPARE(w.lastMessage(), QStringLiteral("Ingore this CALL!"));
    QVERIFY(!w.isCallerAlertPending());
    QTest::qWait(50);
    QVERIFY(phone.box.outputReports().isEmpty());
}

void CallFlowTest::pcKeyboardPressesTheSameKeys()
{
    // Digits, '*' and '#', the numeric keypad's too.
    Phone phone;
    QTRY_VERIFY(phone.listening->size() > 0);
    KeyButton *five = phone.window->keyButton(findKey(dialKeyNumber(u'5'))->id);
    QTest::keyClick(phone.window.get(), Qt::Key_5, Qt::KeypadModifier, 0);
    QVERIFY(five->isDown());
    QTRY_VERIFY(!five->isDown());
    QTest::keyClick(phone.window.get(), '*');
    QTest::keyClick(phone.window.get(), '#');
    QTest::keyClick(phone.window.get(), 'a'); // no key of the telephone
    QTRY_COMPARE(phone.box.outputReports().size(), 3);
    const QList<QByteArray> typed = phone.box.outputReports();
    // The same as clicking those keys of the window.
    phone.box.clearOutputReports();
    for (const char16_t c : {u'5', u'*', u'#'})
        QTest::mouseClick(phone.window->keyButton(findKey(dialKeyNumber(c))->id), Qt::LeftButton);
    QTRY_COMPARE(phone.box.outputReports(), typed);
}

void CallFlowTest::phoneBookTreeDials()
{
    Phone phone;
    QVERIFY(phone.db->insertContact(contact(QStringLiteral("Amy"), QStringLiteral("12"))));
    QVERIFY(phone.db->updateLineCode(QString())); // stored as "0"
    MainPhoneWindow &w = *phone.window;
    w.FillPhoneBookTree();
    PhoneBookTree *tree = w.phoneBookTree();
    QCOMPARE(tree->topLevelItemCount(), 1);
    QTreeWidgetItem *amy = tree->topLevelItem(0);
    QCOMPARE(amy->text(0), QStringLiteral("Amy"));
    QCOMPARE(amy->childCount(), 4); // home, mobile, business, nickname, also when empty
    QCOMPARE(amy->child(1)->text(0), QStringLiteral("12"));

    w.DialSelectedContact(amy->text(0));
    QCOMPARE(w.lastMessage(), QStringLiteral("該電話號碼不合法,不能撥出!"));
    QVERIFY(!w.isDialling());

    QTRY_VERIFY(phone.listening->size() > 0);
    phone.box.clearOutputReports();
    w.DialSelectedContact(amy->child(1)->text(0));
    QVERIFY(w.isDialling());
    QVERIFY(w.statusText().contains(QStringLiteral("12")));
    QTRY_VERIFY_WITH_TIMEOUT(!w.isDialling(), 5000);
    QStringList keys;
    for (const QByteArray &r : phone.box.outputReports())
        keys << QString::fromLatin1(r.mid(3, 1).toHex());
    QCOMPARE(keys, (QStringList{"9a", "11", "12"})); // line code 0, then 1 and 2

    // Numbers as people write them: the separators go, the digits are dialled.
    for (const QString &written : {QStringLiteral("0912-345-678"), QStringLiteral("(03) 555.1234")}) {
        w.showMessage(QString());
        w.DialSelectedContact(written);
        QCOMPARE(w.lastMessage(), QString());
        QVERIFY(w.isDialling());
        QVERIFY(!w.statusText().contains(u'-') && !w.statusText().contains(u'('));
        QTRY_VERIFY_WITH_TIMEOUT(!w.isDialling(), 8000);
    }
}

void CallFlowTest::volumeSliderDrivesTheMasterVolume()
{
    Phone phone(false);
    MainPhoneWindow &w = *phone.window;
    REQUIRE_TEST_SERVER();
    QVERIFY(w.masterVolume().IsVolumeAvailable());
    BitmapSlider *slider = w.volumeSlider();
    const int maximum = w.masterVolume().GetMaxVolume();
    // Dragging to position 30 sets 70 % of the maximum: the left end is the loud one.
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(slider->thumbCentre(), slider->height() / 2));
    QTest::mouseMove(slider, QPoint(slider->thumbCentreForPos(30), slider->height() / 2));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(slider->thumbCentreForPos(30), slider->height() / 2));
    const int position = slider->GetPos();
    QTRY_COMPARE(w.masterVolume().GetVolume(), int(qint64(maximum) * (100 - position) / 100));
    // Keys move the thumb but leave the volume alone.
    const int volume = w.masterVolume().GetVolume();
    QTest::keyClick(slider, Qt::Key_End);
    QCOMPARE(slider->GetPos(), 100);
    QTest::qWait(100);
    QCOMPARE(w.masterVolume().GetVolume(), volume);
    // A change made in another mixer moves the thumb.
    QVERIFY(test::pactl({"set-sink-volume", "@DEFAULT_SINK@", QString::number(maximum / 4)}));
    QTRY_COMPARE(slider->GetPos(), 75);
}

QTEST_MAIN(CallFlowTest)
#include "test_callflow.moc"
