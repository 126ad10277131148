// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/ReportDescriptor.h"

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace dpx {

namespace {

enum ItemType { Main = 0, Global = 1, Local = 2 };
enum MainTag { Input = 0x8, Output = 0x9 };
enum GlobalTag { ReportSize = 0x7, ReportId = 0x8, ReportCount = 0x9, Push = 0xA, Pop = 0xB };

struct GlobalState {
    quint32 reportSize = 0;
    quint32 reportCount = 0;
    quint32 reportId = 0;
};

// Bits per report ID, summed over the main items and capped so hostile sizes cannot wrap.
struct ReportBits {
    quint64 input = 0;
    quint64 output = 0;
};

constexpr quint64 MaxReportBits = quint64(1) << 19; // 64 KiB: longer than any HID report

int bytesFor(quint64 bits)
{
    return int((bits + 7) / 8);
}

} // namespace

ReportLengths reportLengthsFromDescriptor(std::span<const quint8> descriptor)
{
    GlobalState state;
    std::vector<GlobalState> stack;
    std::map<quint32, ReportBits> reports;

    size_t pos = 0;
    while (pos < descriptor.size()) {
        const quint8 prefix = descriptor[pos];
        if (prefix == 0xFE) { // long item: size, tag, data; carries nothing we need
            if (pos + 1 >= descriptor.size())
                break;
            pos += 3 + size_t(descriptor[pos + 1]);
            continue;
        }
        static constexpr std::array<size_t, 4> dataSizes{0, 1, 2, 4};
        const size_t size = dataSizes[prefix & 0x3];
        if (pos + 1 + size > descriptor.size())
            break;
        quint32 data = 0;
        for (size_t i = 0; i < size; ++i)
            data |= quint32(descriptor[pos + 1 + i]) << (8 * i);
        pos += 1 + size;

        const int type = (prefix >> 2) & 0x3;
        const int tag = (prefix >> 4) & 0xF;
        if (type == Global) {
            switch (tag) {
            case ReportSize: state.reportSize = data; break;
            case ReportCount: state.reportCount = data; break;
            case ReportId: state.reportId = data; break;
            case Push:
                if (stack.size() < 64)
                    stack.push_back(state);
                break;
            case Pop:
                if (!stack.empty()) {
                    state = stack.back();
                    stack.pop_back();
                }
                break;
            default: break;
            }
        } else if (type == Main && (tag == Input || tag == Output)) {
            const quint64 bits = std::min(quint64(state.reportSize) * state.reportCount, MaxReportBits);
            ReportBits &report = reports[state.reportId];
            quint64 &total = tag == Input ? report.input : report.output;
            total = std::min(total + bits, MaxReportBits);
        }
    }

    ReportLengths lengths;
    for (const auto &[id, bits] : reports) {
        if (bits.input > 0)
            lengths.input = std::max(lengths.input, bytesFor(bits.input) + 1);
        if (bits.output > 0)
            lengths.output = std::max(lengths.output, bytesFor(bits.output) + 1);
    }
    return lengths;
}

} // namespace dpx
