// SPDX-License-Identifier: GPL-3.0-or-later
// The session around the worker: the reader suspended once and resumed once on every path,
// cancel in each phase with one clean-up, a quit in the middle, one run at a time.
#include "TransferTestSupport.h"

#include "transfer/TransferSession.h"
#include "transfer/TransferTexts.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using namespace dpx;
using namespace dpx::test;

Q_DECLARE_METATYPE(dpx::TransferOutcome)

namespace {

struct Counted {
    int suspends = 0;
    int resumes = 0;
};

TransferSession::Hooks hooks(SimulatedBox &box, Counted &counted)
{
    TransferSession::Hooks h;
    h.transport = &box;
    h.suspendReader = [&counted] { ++counted.suspends; };
    h.resumeReader = [&counted] { ++counted.resumes; };
    return h;
}

TransferOutcome waitForOutcome(QSignalSpy &finished)
{
    if (finished.isEmpty() && !finished.wait(20000))
        return {};
    return finished.first().first().value<TransferOutcome>();
}

} // namespace

class TransferSessionTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qRegisterMetaType<TransferOutcome>(); }
    void oneSuspendOneResume_data();
    void oneSuspendOneResume();
    void cancelInEachPhase_data();
    void cancelInEachPhase();
    void quitInTheMiddleCleansUp();
};

void TransferSessionTest::oneSuspendOneResume_data()
{
    QTest::addColumn<int>("situation");
    QTest::addColumn<QString>("message");
    QTest::newRow("success") << 0 << QString();
    QTest::newRow("no box: cannot open") << 1 << transfer_text::openFailed();
    QTest::newRow("no reply to LinkOn") << 2 << transfer_text::linkFailed();
    QTest::newRow("the second file fails") << 3 << QStringLiteral("傳輸 gone.raw 錯誤");
}

void TransferSessionTest::oneSuspendOneResume()
{
    QFETCH(int, situation);
    QFETCH(QString, message);
    BoxFixture f;
    Counted counted;
    TransferSession session(hooks(f.box, counted));
    session.setLimits(shortLimits());
    QSignalSpy finished(&session, &TransferSession::finished);
    QSignalSpy running(&session, &TransferSession::runningChanged);
    QSignalSpy messages(&session, &TransferSession::message);
    if (situation == 1)
        f.box.unplug();
    if (situation == 2)
        f.box.setFaults({.dropReplies = true});
    TransferPlan plan;
    const QString path = f.file(QStringLiteral("ok.raw"), pattern(3000));
    plan.jobs = {{path, 1, {}}};
    if (situation == 3)
        plan.jobs.append({f.file(QStringLiteral("gone.raw"), QByteArray()), 2, {}}); // empty
    QVERIFY(session.start(plan));
    QVERIFY(!session.start(plan)); // one run at a time
    const TransferOutcome outcome = waitForOutcome(finished);
    QCOMPARE(outcome.ok, message.isEmpty());
    QCOMPARE(counted.suspends, 1);
    QCOMPARE(counted.resumes, 1);
    QCOMPARE(running.size(), 2);
    QVERIFY(!session.isRunning());
    QCOMPARE(outcome.message, message);
    QCOMPARE(messages.size(), message.isEmpty() ? 0 : 1); // one message per failure
    QVERIFY(!f.box.linkOn());
    QVERIFY(!f.box.eepromAccessOn());
}

void TransferSessionTest::cancelInEachPhase_data()
{
    QTest::addColumn<int>("phase");
    QTest::newRow("erase") << int(TransferProgress::Phase::Erase);
    QTest::newRow("write") << int(TransferProgress::Phase::Write);
    QTest::newRow("verify") << int(TransferProgress::Phase::Verify);
}

void TransferSessionTest::cancelInEachPhase()
{
    QFETCH(int, phase);
    BoxFixture f;
    f.box.setPacing(true); // the box's own speed, so each phase lasts long enough to be caught
    f.box.setEraseTimeMs(40);
    Counted counted;
    TransferSession session(hooks(f.box, counted));
    QSignalSpy finished(&session, &TransferSession::finished);
    QSignalSpy messages(&session, &TransferSession::message);
    QElapsedTimer sinceCancel;
    connect(&session, &TransferSession::progress, this, [&](const TransferProgress &p) {
        if (int(p.phase) == phase && !sinceCancel.isValid()) {
            sinceCancel.start();
            session.cancel();
        }
    });
    TransferPlan plan;
    plan.jobs = {{f.file(QStringLiteral("c.raw"), pattern(40000)), 2, {}}};
    QVERIFY(session.start(plan));
    const TransferOutcome outcome = waitForOutcome(finished);
    QVERIFY(sinceCancel.isValid());
    QVERIFY(outcome.cancelled);
    QVERIFY(!outcome.ok);
    QCOMPARE(messages.size(), 0); // none on cancel
    QVERIFY2(sinceCancel.elapsed() < 2000, QByteArray::number(sinceCancel.elapsed()));
    QCOMPARE(framesSent(f.box, "01240000DB"), 1); // EepromOff once
    QCOMPARE(framesSent(f.box, "01040000FB"), 1); // LinkOff once
    QCOMPARE(counted.suspends, 1);
    QCOMPARE(counted.resumes, 1);
    // The slot's entry states what the region holds after the cancel: nothing.
    QCOMPARE(InfoTable(f.table()).musicLength(2), 0);
}

void TransferSessionTest::quitInTheMiddleCleansUp()
{
    BoxFixture f;
    f.box.setPacing(true);
    Counted counted;
    {
        TransferSession session(hooks(f.box, counted));
        QSignalSpy progress(&session, &TransferSession::progress);
        TransferPlan plan;
        plan.jobs = {{f.file(QStringLiteral("q.raw"), pattern(60000)), 0, {}}};
        QVERIFY(session.start(plan));
        QVERIFY(progress.wait(5000));
    } // the program quits: the session goes before the link
    QCOMPARE(counted.suspends, 1);
    QCOMPARE(counted.resumes, 1);
    QVERIFY(!f.box.linkOn());
    QCOMPARE(framesSent(f.box, "01040000FB"), 1);
}

QTEST_GUILESS_MAIN(TransferSessionTest)
#include "tst_transfer_session.moc"
