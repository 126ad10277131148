// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "job/Job.h"
#include "transfer/TransferPlan.h"

#include <QSet>

namespace dpx {

class TransferSession;

// A transfer plan run as a command-line job: status texts and messages become progress
// lines, the outcome the exit code. Refused while the session runs another transfer.
class TransferJob : public Job {
    Q_OBJECT
public:
    TransferJob(TransferSession &session, TransferPlan plan, QObject *parent = nullptr);

    void start() override;
    void cancel() override;

    static QString busyMessage();

private:
    void report(const QString &line);

    TransferSession &m_session;
    TransferPlan m_plan;
    QString m_lastLine;
    QSet<QString> m_printed;
    bool m_running = false;
};

} // namespace dpx
