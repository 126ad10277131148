// SPDX-License-Identifier: GPL-3.0-or-later
// The telephone on a private session bus (started by the test script): Dial accepted and
// refused, each signal seen by a subscriber during calls on the simulated telephone, and the
// properties following the mirrored display.
#include "../app/PhoneFixture.h"

#include "app/CallHistoryHookup.h"
#include "app/DesktopIntegration.h"
#include "history/CallHistoryRecorder.h"
#include "sim/SimTelephone.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QFile>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>

using namespace dpx;

namespace {

// Every signal of the phone's interface a client receives, as "Name(arg, arg)".
class Subscriber : public QObject {
    Q_OBJECT
public:
    QStringList seen;
public Q_SLOTS:
    void onSignal(const QDBusMessage &message)
    {
        QStringList args;
        for (const QVariant &arg : message.arguments())
            args << arg.toString();
        seen << message.member() + QLatin1Char('(') + args.join(QStringLiteral(", ")) + QLatin1Char(')');
    }
};

} // namespace

class TestPhoneBus : public QObject {
    Q_OBJECT

    QString m_address;

    QDBusMessage call(QDBusConnection &client, const QString &service, const QString &interface,
                      const QString &method, const QVariantList &arguments)
    {
        QDBusMessage message = QDBusMessage::createMethodCall(service, QLatin1String(PhoneBusPath),
                                                              interface, method);
        message.setArguments(arguments);
        // Asynchronous: the object answers on this same thread.
        QDBusPendingCall pending = client.asyncCall(message);
        if (!QTest::qWaitFor([&] { return pending.isFinished(); }, 5000))
            return {};
        return pending.reply();
    }
    QVariant property(QDBusConnection &client, const QString &service, const QString &name)
    {
        const QDBusMessage reply = call(client, service, QStringLiteral("org.freedesktop.DBus.Properties"),
                                        QStringLiteral("Get"), {QLatin1String(PhoneBusInterface), name});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        m_address = qEnvironmentVariable("DPX_TEST_BUS");
    }

    void dialRules_data()
    {
        QTest::addColumn<QString>("request");
        QTest::addColumn<bool>("dialling");
        QTest::addColumn<bool>("present");
        QTest::addColumn<int>("verdict");
        QTest::addColumn<QString>("number");
        QTest::newRow("tel link") << "tel:02-2345-6789" << false << true << int(DialAnswer::Accepted) << "0223456789";
        QTest::newRow("plain with pause") << "(02) 2345p12#" << false << true << int(DialAnswer::Accepted) << "022345p12#";
        QTest::newRow("letters") << "02ABC" << false << true << int(DialAnswer::InvalidNumber) << "";
        QTest::newRow("longest") << QString(MaxDialLength, u'1') << false << true << int(DialAnswer::Accepted)
                                 << QString(MaxDialLength, u'1');
        QTest::newRow("over-long") << QString(MaxDialLength + 1, u'1') << false << true
                                   << int(DialAnswer::InvalidNumber) << "";
        QTest::newRow("huge") << QString(100000, u'9') << false << true << int(DialAnswer::InvalidNumber) << "";
        QTest::newRow("busy") << "123" << true << true << int(DialAnswer::Busy) << "";
        QTest::newRow("invalid while busy") << "abc" << true << true << int(DialAnswer::InvalidNumber) << "";
        QTest::newRow("no box") << "123" << false << false << int(DialAnswer::NoDevice) << "";
    }
    void dialRules()
    {
        QFETCH(QString, request);
        QFETCH(bool, dialling);
        QFETCH(bool, present);
        QFETCH(int, verdict);
        QFETCH(QString, number);
        const DialAnswer answer = checkDialRequest(request, dialling, present);
        QCOMPARE(int(answer.verdict), verdict);
        QCOMPARE(answer.number, number);
        QCOMPARE(answer.text.isEmpty(), verdict == DialAnswer::Accepted);
    }

    void withoutBusNothingIsPublished()
    {
        PhoneBus bus(nullptr);
        QVERIFY(!bus.publish(QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/bus"),
                                                           QStringLiteral("dpx-nowhere"))));
        QVERIFY(!bus.isPublished());
        bus.setDisplay(QStringLiteral("a"), QStringLiteral("b")); // still fine without a bus
        QCOMPARE(bus.displayLine2(), QStringLiteral("b"));
    }

    void callsOnTheBus()
    {
        if (m_address.isEmpty())
            QSKIP("no private session bus: ./test starts one with dbus-daemon (not installed?)");
        QDBusConnection serviceSide = QDBusConnection::connectToBus(m_address, QStringLiteral("dpx-service"));
        QDBusConnection client = QDBusConnection::connectToBus(m_address, QStringLiteral("dpx-client"));
        QVERIFY(serviceSide.isConnected() && client.isConnected());

        Phone phone;
        QVERIFY(phone.listening->wait(3000) || !phone.listening->isEmpty());
        CallHistoryRecorder history(phone.db.get());
        connectCallHistory(history, *phone.window);
        DesktopIntegration integration(history.tracker(), *phone.window, phone.data.path());
        // Addressed by the connection's own name: other tests may hold the service name.
        QVERIFY(integration.bus().publish(serviceSide, false));
        const QString service = serviceSide.baseService();
        const QString phoneInterface = QLatin1String(PhoneBusInterface);

        Subscriber subscriber;
        for (const char *name : {"IncomingCall", "CallAnswered", "CallEnded", "MissedCall", "DisplayChanged"})
            QVERIFY(client.connect(service, QLatin1String(PhoneBusPath), phoneInterface, QLatin1String(name),
                                   &subscriber, SLOT(onSignal(QDBusMessage))));
        const auto seenNames = [&subscriber](const QString &prefix) {
            return subscriber.seen.filter(QRegularExpression(QStringLiteral("^") + prefix));
        };

        QTRY_COMPARE(property(client, service, QStringLiteral("BoxPresent")).toBool(), true);

        // An answered call: the caller first, then the answer and the end with the talk time.
        phone.box.telephone().ring(true, QStringLiteral("0223456789"));
        QTRY_COMPARE(seenNames(QStringLiteral("IncomingCall")),
                     QStringList{QStringLiteral("IncomingCall(0223456789, , co)")});
        QTRY_COMPARE(property(client, service, QStringLiteral("DisplayLine2")).toString(),
                     phone.window->mirror().displayedLine2());
        QVERIFY(property(client, service, QStringLiteral("DisplayLine2")).toString().startsWith(QStringLiteral("0223456789")));
        QVERIFY(!seenNames(QStringLiteral("DisplayChanged")).isEmpty());
        phone.box.telephone().ring(true, QStringLiteral("0223456789")); // the next ring report
        phone.box.telephone().connectCall();
        QTRY_COMPARE(seenNames(QStringLiteral("CallAnswered")), QStringList{QStringLiteral("CallAnswered(0223456789)")});
        phone.box.telephone().hangUp();
        QTRY_COMPARE(seenNames(QStringLiteral("CallEnded")), QStringList{QStringLiteral("CallEnded(0223456789, 0)")});
        QCOMPARE(seenNames(QStringLiteral("IncomingCall")).size(), 1);

        // A missed intercom call.
        phone.box.telephone().ring(false, QStringLiteral("205"));
        QTRY_COMPARE(seenNames(QStringLiteral("IncomingCall")).last(), QStringLiteral("IncomingCall(205, , icm)"));
        phone.box.telephone().hangUp();
        QVERIFY(QTest::qWaitFor([&] { return !seenNames(QStringLiteral("MissedCall")).isEmpty(); },
                                CallTracker::AnswerGraceMs + 3000));
        QCOMPARE(seenNames(QStringLiteral("MissedCall")), QStringList{QStringLiteral("MissedCall(205, )")});
        QCOMPARE(seenNames(QStringLiteral("CallEnded")).size(), 1);

        // Dial: accepted, then busy while it dials, refused numbers dial nothing.
        const auto dial = [&](const QString &number) {
            return call(client, service, phoneInterface, QStringLiteral("Dial"), {number});
        };
        const QString errorPrefix = phoneInterface + QStringLiteral(".Error.");
        for (const QString &bad : {QStringLiteral("02ABC"), QStringLiteral("+886223456789"), QString(40, u'1')}) {
            const QDBusMessage refused = dial(bad);
            QCOMPARE(refused.type(), QDBusMessage::ErrorMessage);
            QCOMPARE(refused.errorName(), errorPrefix + QStringLiteral("InvalidNumber"));
            QCOMPARE(refused.errorMessage(), QStringLiteral("該電話號碼不合法,不能撥出!"));
            QVERIFY(!phone.window->isDialling());
        }
        QCOMPARE(dial(QStringLiteral("tel:123")).type(), QDBusMessage::ReplyMessage);
        QVERIFY(phone.window->isDialling());
        QCOMPARE(dial(QStringLiteral("456")).errorName(), errorPrefix + QStringLiteral("Busy"));

        // Pulled box: the property follows.
        phone.box.unplug();
        QTRY_COMPARE(property(client, service, QStringLiteral("BoxPresent")).toBool(), false);
    }

    // The interface file that ships describes what the object offers.
    void shippedInterfaceMatchesTheObject()
    {
        QFile file(QFINDTESTDATA("../../packaging/org.dpx.DPX.Phone.xml"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString shipped = QString::fromUtf8(file.readAll());
        QVERIFY(shipped.contains(QStringLiteral("<interface name=\"%1\">").arg(QLatin1String(PhoneBusInterface))));
        PhoneBus bus(nullptr);
        const QMetaObject *meta = bus.metaObject();
        int members = 0;
        for (int i = meta->methodOffset(); i < meta->methodCount(); ++i) {
            const QByteArray tag = meta->method(i).methodType() == QMetaMethod::Signal ? "signal" : "method";
            if (meta->method(i).access() != QMetaMethod::Public && tag == "method")
                continue;
            const QString name = QString::fromLatin1(meta->method(i).name());
            if (name.front().isLower())
                continue;
            QVERIFY2(shipped.contains(QStringLiteral("<%1 name=\"%2\"").arg(QLatin1String(tag), name)),
                     qPrintable(name));
            ++members;
        }
        QCOMPARE(members, 6);
        for (const char *name : {"BoxPresent", "DisplayLine1", "DisplayLine2"})
            QVERIFY(shipped.contains(QStringLiteral("<property name=\"%1\"").arg(QLatin1String(name))));
    }
};

QTEST_MAIN(TestPhoneBus)
#include "tst_phonebus.moc"
