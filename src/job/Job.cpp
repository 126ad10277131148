// SPDX-License-Identifier: GPL-3.0-or-later
#include "job/Job.h"

namespace dpx {

ImmediateJob::ImmediateJob(int exitCode, const QStringList &messages, QObject *parent)
    : Job(parent)
    , m_exitCode(exitCode)
    , m_messages(messages)
{
}

void ImmediateJob::start()
{
    for (qsizetype i = 0; i + 1 < m_messages.size(); ++i)
        Q_EMIT progress(m_messages.at(i));
    Q_EMIT finished(m_exitCode, m_messages.isEmpty() ? QString() : m_messages.last());
}

} // namespace dpx
