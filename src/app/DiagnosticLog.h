// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <memory>

namespace dpx {

// `--log FILE`: turns on every dpx.* logging category and writes each message, with its time
// stamp, category and level, to FILE (appended). The program keeps no log otherwise.
class DiagnosticLog {
public:
    DiagnosticLog();
    // Stops logging to the file and restores the previous message handler.
    ~DiagnosticLog();
    DiagnosticLog(const DiagnosticLog &) = delete;
    DiagnosticLog &operator=(const DiagnosticLog &) = delete;

    // False (see error()) when the file cannot be written; the program then runs without a log.
    bool start(const QString &path);
    QString error() const { return m_error; }

    // A log is meant to be attached to a public report, and the numbers in it are other
    // people's: every telephone number (5 digits or more, separators such as spaces, dashes,
    // dots and brackets allowed) keeps only its last four digits, enough to tell calls apart.
    static QString withNumbersMasked(const QString &message);

private:
    QString m_error;
    bool m_active = false;
};

} // namespace dpx
