// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "device/HidTransport.h"

#include <functional>
#include <memory>
#include <span>
#include <vector>

namespace dpx {

// The command link to the box over one HidConnection: discovery, open/close, writing
// command frames and bulk data as whole output reports, and reading replies.
// Used from one thread at a time (the window's for keys, a transfer worker's for EEPROM work).
class UsbHidDevice {
public:
    // Receives the (code, value) pairs of event reports that turn up while a reply is read.
    using EventSink = std::function<void(quint8 code, quint8 value)>;

    static constexpr int FramePauseMs = 1; // the box's pacing after each command report
    // ReadReports / ReadReply: the connection reported that the box is gone.
    static constexpr int DeviceGone = -1;

    // Whether a command frame is followed by the 1 ms pause. A frame whose reply is awaited
    // needs none: the wait for the reply paces the box.
    enum class FramePause { After, None };

    explicit UsbHidDevice(HidTransport &transport);
    ~UsbHidDevice();
    UsbHidDevice(const UsbHidDevice &) = delete;
    UsbHidDevice &operator=(const UsbHidDevice &) = delete;

    // Finds the first box in enumeration order and stores its path; false when none is present.
    bool Detect();
    // Detect, then open the box. -1 on failure, 0 on success. An open device is reopened.
    int Open();
    bool IsOpen() const;
    // Closes the connection and clears the path; safe when closed.
    void Close();

    // Writes `length` bytes of the buffer as consecutive output reports, one report per chunk
    // of the output report length; bytes past the end of the buffer go out as 0xFF. After each
    // chunk of a command frame (byte 0 = 0x01) waits 1 ms unless `pause` is None. Returns the
    // bytes written (whole reports, so possibly more than length), 0 when closed or nothing
    // could be written.
    int WriteReports(std::span<const quint8> buffer, int length, FramePause pause = FramePause::After);
    // Rounds length up to a multiple of the output report length, then WriteReports.
    int WriteFrame(std::span<const quint8> buffer, int length, FramePause pause = FramePause::After);

    // Reads whole input reports into the buffer until `length` bytes have arrived, no report is
    // waiting, or a report came short. Only the first report may wait, up to timeoutMs
    // (0 = never wait). Never writes past the buffer. Returns the bytes stored; 0 leaves the
    // buffer untouched; DeviceGone when the box went away before anything was stored.
    int ReadReports(std::span<quint8> buffer, int length, int timeoutMs = 0);

    // Rounds length up to a multiple of the input report length (one 8-byte report for every
    // frame), reads, then: an event report goes to the event sink and gives 0; a report with
    // another ID than asked gives 0; a report of ID 2 gives its byte count; a reply frame of ID 1
    // gives its byte count when its checksum holds (byte k = NOT of the sum of bytes 1..k-1,
    // k = byte 1 & 0x1F, k inside the report), else 0. The bytes stay in the buffer as read.
    // DeviceGone when the box went away.
    int ReadReply(std::span<quint8> buffer, int length, quint8 reportId, int timeoutMs = 0);

    void setEventSink(EventSink sink);
    const EventSink &eventSink() const { return m_eventSink; }

    QString devicePath() const { return m_path; }
    int inputReportLength() const { return m_inputLength; }
    int outputReportLength() const { return m_outputLength; }
    HidTransport &transport() const { return m_transport; }

    // The reply rules on a report already read (exposed for the fuzzer and tests).
    static int judgeReply(std::span<const quint8> report, quint8 reportId, const EventSink &sink);

private:
    HidTransport &m_transport;
    std::unique_ptr<HidConnection> m_connection;
    QString m_path;
    int m_inputLength = 0;
    int m_outputLength = 0;
    std::vector<quint8> m_readScratch;
    std::vector<quint8> m_writeScratch;
    EventSink m_eventSink;
};

} // namespace dpx
