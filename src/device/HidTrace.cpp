// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/HidTrace.h"

#include <QByteArrayView>

namespace dpx {

namespace {

constexpr QByteArrayView Magic = "dpx-hid-trace";

bool isHexDigit(char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Whole hex bytes, at least one: "0104ff".
std::optional<QByteArray> readHexBytes(QByteArrayView text)
{
    if (text.isEmpty() || text.size() % 2 != 0)
        return std::nullopt;
    for (char c : text) {
        if (!isHexDigit(c))
            return std::nullopt;
    }
    return QByteArray::fromHex(text.toByteArray());
}

std::optional<quint16> readHex16(QByteArrayView text)
{
    if (text.size() != 4)
        return std::nullopt;
    const auto bytes = readHexBytes(text);
    if (!bytes)
        return std::nullopt;
    return quint16((quint8(bytes->at(0)) << 8) | quint8(bytes->at(1)));
}

// "04d9 2851 0100 /dev/hidraw3": the path is the rest of the line and may hold spaces.
std::optional<HidDeviceInfo> readDevice(const QByteArray &text)
{
    const QList<QByteArray> parts = text.split(' ');
    if (parts.size() < 4)
        return std::nullopt;
    const auto vendor = readHex16(parts[0]);
    const auto product = readHex16(parts[1]);
    const auto release = readHex16(parts[2]);
    const qsizetype pathStart = parts[0].size() + parts[1].size() + parts[2].size() + 3;
    const QString path = QString::fromUtf8(text.mid(pathStart));
    if (!vendor || !product || !release || path.isEmpty())
        return std::nullopt;
    return HidDeviceInfo{path, *vendor, *product, *release};
}

QByteArray deviceText(const HidDeviceInfo &info)
{
    // A path never spans lines: control characters become '?'.
    QByteArray path = info.path.toUtf8();
    for (char &c : path) {
        if (quint8(c) < 0x20)
            c = '?';
    }
    return QByteArray::number(info.vendorId, 16).rightJustified(4, '0') + ' '
        + QByteArray::number(info.productId, 16).rightJustified(4, '0') + ' '
        + QByteArray::number(info.releaseNumber, 16).rightJustified(4, '0') + ' ' + path;
}

std::optional<HidTraceEvent> readEvent(const QByteArray &line, QString &problem)
{
    const qsizetype timeEnd = line.indexOf(' ');
    bool timeOk = false;
    const qint64 time = line.left(timeEnd).toLongLong(&timeOk);
    if (timeEnd <= 0 || !timeOk || time < 0 || line.at(0) == '+') {
        problem = QStringLiteral("not a trace line");
        return std::nullopt;
    }
    const QByteArray rest = line.mid(timeEnd + 1);
    const qsizetype kindEnd = rest.indexOf(' ');
    const QByteArray kind = kindEnd < 0 ? rest : rest.left(kindEnd);
    const QByteArray argument = kindEnd < 0 ? QByteArray() : rest.mid(kindEnd + 1);

    HidTraceEvent event;
    event.timeUs = time;
    if (kind == "in" || kind == "out") {
        event.kind = kind == "in" ? HidTraceEvent::In : HidTraceEvent::Out;
        const auto bytes = readHexBytes(argument);
        if (!bytes) {
            problem = QStringLiteral("a report must be whole hex bytes");
            return std::nullopt;
        }
        event.report = *bytes;
    } else if (kind == "arrived") {
        event.kind = HidTraceEvent::Arrived;
        const auto device = readDevice(argument);
        if (!device) {
            problem = QStringLiteral("arrived needs vendor, product, release (4 hex digits each) and a path");
            return std::nullopt;
        }
        event.device = *device;
    } else if (kind == "removed" && argument.isEmpty()) {
        event.kind = HidTraceEvent::Removed;
    } else if (kind == "mark") {
        event.kind = HidTraceEvent::Mark;
        event.note = QString::fromUtf8(argument);
    } else {
        problem = QStringLiteral("unknown event \"%1\"").arg(QString::fromUtf8(kind));
        return std::nullopt;
    }
    return event;
}

} // namespace

HidTraceParse parseHidTrace(const QByteArray &text)
{
    HidTraceParse result;
    const auto fail = [&result](int line, const QString &message) {
        result.error = QStringLiteral("line %1: %2").arg(line).arg(message);
        result.errorLine = line;
        return result;
    };
    bool haveMagic = false, haveProgram = false, haveBox = false;
    qint64 lastTime = 0;
    int lineNumber = 0;
    qsizetype pos = 0;
    while (pos < text.size()) {
        ++lineNumber;
        const qsizetype end = text.indexOf('\n', pos);
        if (end < 0)
            return fail(lineNumber, QStringLiteral("the last line is cut short (no line end)"));
        QByteArray line = text.mid(pos, end - pos);
        pos = end + 1;
        if (line.size() > HidTrace::MaxLineBytes)
            return fail(lineNumber, QStringLiteral("longer than %1 bytes").arg(HidTrace::MaxLineBytes));
        if (line.endsWith('\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        if (!haveMagic) {
            if (line != Magic.toByteArray() + ' ' + QByteArray::number(HidTrace::FormatVersion))
                return fail(lineNumber, QStringLiteral("not a DPX HID trace (version %1)").arg(HidTrace::FormatVersion));
            haveMagic = true;
        } else if (line.startsWith("program ") && !haveProgram && result.trace.events.isEmpty()) {
            result.trace.program = QString::fromUtf8(line.mid(8));
            haveProgram = true;
        } else if (line.startsWith("box ") && !haveBox && result.trace.events.isEmpty()) {
            const QByteArray box = line.mid(4);
            if (box != "none") {
                result.trace.box = readDevice(box);
                if (!result.trace.box)
                    return fail(lineNumber, QStringLiteral("box needs vendor, product, release and a path, or none"));
            }
            haveBox = true;
        } else {
            QString problem;
            auto event = readEvent(line, problem);
            if (!event)
                return fail(lineNumber, problem);
            if (!haveBox)
                return fail(lineNumber, QStringLiteral("an event before the box line"));
            if (event->timeUs < lastTime)
                return fail(lineNumber, QStringLiteral("the time goes backwards (%1 after %2)")
                                            .arg(event->timeUs).arg(lastTime));
            lastTime = event->timeUs;
            event->line = lineNumber;
            result.trace.events.append(*event);
        }
    }
    if (!haveMagic || !haveBox)
        return fail(lineNumber + 1, QStringLiteral("the trace ends inside its header"));
    return result;
}

QByteArray hidTraceHeader(const QString &program, const std::optional<HidDeviceInfo> &box)
{
    return Magic.toByteArray() + ' ' + QByteArray::number(HidTrace::FormatVersion) + '\n'
        + "program " + program.toUtf8() + '\n'
        + "box " + (box ? deviceText(*box) : QByteArray("none")) + '\n';
}

QByteArray hidTraceLine(const HidTraceEvent &event)
{
    QByteArray line = QByteArray::number(event.timeUs) + ' ';
    switch (event.kind) {
    case HidTraceEvent::In: line += "in " + event.report.toHex(); break;
    case HidTraceEvent::Out: line += "out " + event.report.toHex(); break;
    case HidTraceEvent::Arrived: line += "arrived " + deviceText(event.device); break;
    case HidTraceEvent::Removed: line += "removed"; break;
    case HidTraceEvent::Mark: line += "mark " + event.note.toUtf8().replace('\n', ' '); break;
    }
    return line + '\n';
}

QString describeTraceEvent(const HidTraceEvent &event)
{
    QByteArray line = hidTraceLine(event);
    line.chop(1);
    return QString::fromUtf8(line.mid(line.indexOf(' ') + 1));
}

} // namespace dpx
