// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/TransferJob.h"

#include "transfer/TransferSession.h"

namespace dpx {

TransferJob::TransferJob(TransferSession &session, TransferPlan plan, QObject *parent)
    : Job(parent)
    , m_session(session)
    , m_plan(std::move(plan))
{
}

QString TransferJob::busyMessage()
{
    return QStringLiteral("A transfer into the box is running: try again when it has ended.");
}

void TransferJob::start()
{
    if (m_session.isRunning()) {
        Q_EMIT finished(Failed, busyMessage());
        return;
    }
    // Failures come back as the outcome's message; the status line tells the rest.
    connect(&m_session, &TransferSession::statusText, this, &TransferJob::report);
    connect(&m_session, &TransferSession::finished, this, [this](const TransferOutcome &outcome) {
        m_running = false;
        disconnect(&m_session, nullptr, this, nullptr);
        if (outcome.ok)
            Q_EMIT finished(Done, QString());
        else if (outcome.cancelled)
            Q_EMIT finished(Failed, QStringLiteral("Cancelled."));
        else
            Q_EMIT finished(Failed, m_printed.contains(outcome.message) ? QString() : outcome.message);
    });
    m_running = m_session.start(m_plan);
    if (!m_running) {
        disconnect(&m_session, nullptr, this, nullptr);
        Q_EMIT finished(Failed, busyMessage());
    }
}

void TransferJob::cancel()
{
    if (m_running)
        m_session.cancel();
}

void TransferJob::report(const QString &line)
{
    // Repeats (the status line is written once per page) and clears say nothing new.
    if (line.isEmpty() || line == m_lastLine)
        return;
    m_lastLine = line;
    // The percentage (the digits before a closing '%', whatever the language says around
    // them) goes to the command line in tens.
    if (line.endsWith(QLatin1Char('%'))) {
        qsizetype digits = line.size() - 1;
        while (digits > 0 && line.at(digits - 1).isDigit())
            --digits;
        if (digits < line.size() - 1 && QStringView(line).mid(digits).chopped(1).toInt() % 10 != 0)
            return;
    }
    m_printed.insert(line);
    Q_EMIT progress(line);
}

} // namespace dpx
