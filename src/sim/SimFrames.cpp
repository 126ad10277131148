// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimFrames.h"

#include <bit>

namespace dpx::sim {

quint8 notSum(const QByteArray &bytes, int from, int to)
{
    quint8 sum = 0;
    for (int i = from; i < to; ++i)
        sum = quint8(sum + quint8(bytes.at(i)));
    return quint8(~sum);
}

bool parseCommandFrame(const QByteArray &report, CommandFrameView *frame)
{
    if (report.size() < 3 || quint8(report.at(0)) != FrameReportId)
        return false;
    const quint8 header = quint8(report.at(1));
    const int checksumIndex = header & 0x1F;
    if (checksumIndex < 2 || checksumIndex >= report.size())
        return false;
    if (quint8(report.at(checksumIndex)) != notSum(report, 1, checksumIndex))
        return false;
    frame->type = quint8(header >> 5);
    frame->length = checksumIndex + 1;
    frame->payload = report.mid(2, checksumIndex - 2);
    return true;
}

QByteArray replyFrame(quint8 type, quint8 b2, quint8 b3)
{
    QByteArray report(InputReportLength, char(0xFF));
    report[0] = char(FrameReportId);
    report[1] = char(quint8((type & 7) << 5) | 4);
    report[2] = char(b2);
    report[3] = char(b3);
    report[4] = char(notSum(report, 1, 4));
    return report;
}

QList<QByteArray> eventReports(const QList<EventPair> &pairs)
{
    static constexpr quint8 headers[] = {0x43, 0x45, 0x47};
    QList<QByteArray> reports;
    for (qsizetype first = 0; first < pairs.size(); first += 3) {
        const qsizetype count = std::min<qsizetype>(3, pairs.size() - first);
        QByteArray report(InputReportLength, char(0xFF));
        report[0] = char(FrameReportId);
        report[1] = char(headers[count - 1]);
        for (qsizetype i = 0; i < count; ++i) {
            report[2 + 2 * i] = char(pairs.at(first + i).first);
            report[3 + 2 * i] = char(pairs.at(first + i).second);
        }
        reports.append(report);
    }
    return reports;
}

QByteArray padReport(const QByteArray &report, int length)
{
    QByteArray padded = report.left(length);
    if (padded.size() < length)
        padded.append(length - padded.size(), char(0xFF));
    return padded;
}

int keyCodeFromWire(quint8 wire)
{
    if (std::popcount(unsigned(wire)) % 2 != 0)
        return -1;
    return wire & 0x7F;
}

quint8 keyCodeToWire(quint8 code)
{
    code &= 0x7F;
    return std::popcount(unsigned(code)) % 2 != 0 ? quint8(code | 0x80) : code;
}

} // namespace dpx::sim
