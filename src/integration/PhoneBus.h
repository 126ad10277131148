// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>

#include <functional>

namespace dpx {

class CallEvents;
struct CallRecord;

// The program's reverse-DNS id, as its desktop entry and AppStream data name it; the D-Bus
// service and interface are this id followed by ".Phone" (also in Q_CLASSINFO below and in
// packaging/org.dpx.DPX.Phone.xml).
inline constexpr char ApplicationId[] = "org.dpx.DPX";
inline constexpr char PhoneBusInterface[] = "org.dpx.DPX.Phone";
inline constexpr char PhoneBusPath[] = "/Phone";

// How a dial request from another program is answered.
struct DialAnswer {
    enum Verdict { Accepted, InvalidNumber, Busy, NoDevice };
    Verdict verdict = Accepted;
    QString number; // what is dialled (separators dropped) when accepted
    QString text;   // the refusal as the user would read it
};

// The longest number the telephone is asked to dial: more is no telephone number, and would
// keep the telephone busy pressing keys.
inline constexpr int MaxDialLength = 32;

// The rules of a tel: link (separators dropped, digits, '*', '#', p/P only, at most
// MaxDialLength), then one number at a time and the box present.
DialAnswer checkDialRequest(const QString &request, bool dialling, bool boxPresent);

// The D-Bus error name of a refusal: "<interface>.Error.InvalidNumber" and so on.
QString dialErrorName(DialAnswer::Verdict verdict);

// The telephone on the session bus: object /Phone with Dial(), the mirrored display and the
// box's presence as properties, and the call events as signals. A thin layer: every signal
// comes from CallEvents or the display on the UI thread, and Dial goes through the function
// the program gives it (the same dial path as a tel: link).
class PhoneBus : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.dpx.DPX.Phone")
    Q_PROPERTY(bool BoxPresent READ boxPresent)
    Q_PROPERTY(QString DisplayLine1 READ displayLine1)
    Q_PROPERTY(QString DisplayLine2 READ displayLine2)
public:
    using DialFunction = std::function<DialAnswer(const QString &request)>;

    explicit PhoneBus(DialFunction dial, QObject *parent = nullptr);
    ~PhoneBus() override;

    // Puts the object on the connection and, when claimName, takes the service name; false
    // when the bus is not there (no session bus) or the name belongs to another program.
    bool publish(QDBusConnection connection, bool claimName = true);
    bool isPublished() const { return m_published; }

    void watch(const CallEvents &events);
    void setBoxPresent(bool present);
    // The two mirrored lines, 16 characters each; a change is signalled once.
    void setDisplay(const QString &line1, const QString &line2);

    bool boxPresent() const { return m_boxPresent; }
    QString displayLine1() const { return m_line1; }
    QString displayLine2() const { return m_line2; }

public Q_SLOTS:
    Q_SCRIPTABLE void Dial(const QString &number);

Q_SIGNALS:
    Q_SCRIPTABLE void IncomingCall(const QString &number, const QString &name, const QString &line);
    Q_SCRIPTABLE void CallAnswered(const QString &number);
    Q_SCRIPTABLE void CallEnded(const QString &number, int durationSeconds);
    Q_SCRIPTABLE void MissedCall(const QString &number, const QString &name);
    Q_SCRIPTABLE void DisplayChanged(const QString &line1, const QString &line2);

private:
    void propertiesChanged(const QVariantMap &changed);

    DialFunction m_dial;
    QDBusConnection m_connection{QString()};
    bool m_published = false;
    bool m_ownsName = false;
    bool m_boxPresent = false;
    QString m_line1;
    QString m_line2;
};

} // namespace dpx
