// SPDX-License-Identifier: GPL-3.0-or-later
#include "integration/PhoneBus.h"

#include "app/DialSequencer.h"
#include "integration/CallEvents.h"

#include <QDBusMessage>

namespace dpx {

namespace {
const char *const InvalidNumberText = "該電話號碼不合法,不能撥出!";
const char *const DeviceErrorText = "USB設備錯誤!";
}

DialAnswer checkDialRequest(const QString &request, bool dialling, bool boxPresent)
{
    DialAnswer answer;
    answer.number = numberFromDialRequest(request);
    if (answer.number.isEmpty() || answer.number.size() > MaxDialLength) {
        answer.verdict = DialAnswer::InvalidNumber;
        answer.text = QString::fromUtf8(InvalidNumberText);
    } else if (dialling) {
        answer.verdict = DialAnswer::Busy;
        answer.text = QStringLiteral("正在撥號");
    } else if (!boxPresent) {
        answer.verdict = DialAnswer::NoDevice;
        answer.text = QString::fromUtf8(DeviceErrorText);
    }
    if (answer.verdict != DialAnswer::Accepted)
        answer.number.clear();
    return answer;
}

QString dialErrorName(DialAnswer::Verdict verdict)
{
    const QString prefix = QLatin1String(PhoneBusInterface) + QStringLiteral(".Error.");
    switch (verdict) {
    case DialAnswer::InvalidNumber: return prefix + QStringLiteral("InvalidNumber");
    case DialAnswer::Busy: return prefix + QStringLiteral("Busy");
    case DialAnswer::NoDevice: return prefix + QStringLiteral("NoDevice");
    case DialAnswer::Accepted: break;
    }
    return {};
}

PhoneBus::PhoneBus(DialFunction dial, QObject *parent) : QObject(parent), m_dial(std::move(dial)) {}

PhoneBus::~PhoneBus()
{
    if (!m_published)
        return;
    m_connection.unregisterObject(QLatin1String(PhoneBusPath));
    if (m_ownsName)
        m_connection.unregisterService(QLatin1String(PhoneBusInterface));
}

bool PhoneBus::publish(QDBusConnection connection, bool claimName)
{
    if (!connection.isConnected())
        return false;
    const auto contents = QDBusConnection::ExportScriptableSlots | QDBusConnection::ExportScriptableSignals
        | QDBusConnection::ExportAllProperties;
    if (!connection.registerObject(QLatin1String(PhoneBusPath), this, contents))
        return false;
    m_connection = connection;
    m_published = true;
    if (claimName) {
        m_ownsName = connection.registerService(QLatin1String(PhoneBusInterface));
        if (!m_ownsName)
            return false;
    }
    return true;
}

void PhoneBus::watch(const CallEvents &events)
{
    connect(&events, &CallEvents::incomingCall, this, [this](const CallRecord &call) {
        Q_EMIT IncomingCall(call.number, call.name,
                            call.direction == CallDirection::Intercom ? QStringLiteral("icm")
                                                                      : QStringLiteral("co"));
    });
    connect(&events, &CallEvents::answered, this,
            [this](const CallRecord &call) { Q_EMIT CallAnswered(call.number); });
    connect(&events, &CallEvents::talkEnded, this,
            [this](const CallRecord &call) { Q_EMIT CallEnded(call.number, call.talkSeconds); });
    connect(&events, &CallEvents::missed, this,
            [this](const CallRecord &call) { Q_EMIT MissedCall(call.number, call.name); });
}

void PhoneBus::setBoxPresent(bool present)
{
    if (present == m_boxPresent)
        return;
    m_boxPresent = present;
    propertiesChanged({{QStringLiteral("BoxPresent"), present}});
}

void PhoneBus::setDisplay(const QString &line1, const QString &line2)
{
    if (line1 == m_line1 && line2 == m_line2)
        return;
    QVariantMap changed;
    if (line1 != m_line1)
        changed.insert(QStringLiteral("DisplayLine1"), line1);
    if (line2 != m_line2)
        changed.insert(QStringLiteral("DisplayLine2"), line2);
    m_line1 = line1;
    m_line2 = line2;
    Q_EMIT DisplayChanged(line1, line2);
    propertiesChanged(changed);
}

void PhoneBus::propertiesChanged(const QVariantMap &changed)
{
    if (!m_published)
        return;
    QDBusMessage signal = QDBusMessage::createSignal(QLatin1String(PhoneBusPath),
        QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("PropertiesChanged"));
    signal << QLatin1String(PhoneBusInterface) << changed << QStringList();
    m_connection.send(signal);
}

void PhoneBus::Dial(const QString &number)
{
    const DialAnswer answer = m_dial ? m_dial(number)
                                     : DialAnswer{DialAnswer::NoDevice, {}, QString::fromUtf8(DeviceErrorText)};
    if (answer.verdict != DialAnswer::Accepted && calledFromDBus())
        sendErrorReply(dialErrorName(answer.verdict), answer.text);
}

} // namespace dpx
