// SPDX-License-Identifier: GPL-3.0-or-later
#include "audio/ConvertJob.h"

#include <QCoreApplication>
#include <QtConcurrent/QtConcurrentRun>

namespace dpx {

ConvertJob::ConvertJob(SegmentRequest request, QString target, QObject *parent)
    : Job(parent), m_request(std::move(request)), m_target(std::move(target))
{
    connect(&m_watcher, &QFutureWatcher<QString>::finished, this, [this] {
        const QString error = m_watcher.result();
        if (error.isEmpty())
            Q_EMIT finished(Done, QString::number(m_bytes));
        else
            Q_EMIT finished(Failed, failureText() + QLatin1Char(' ') + error);
    });
}

ConvertJob::~ConvertJob()
{
    m_watcher.waitForFinished();
}

QString ConvertJob::failureText()
{
    return QCoreApplication::translate("ConvertJob", "音檔轉換失敗!");
}

void ConvertJob::start()
{
    m_watcher.setFuture(QtConcurrent::run([this] {
        const SegmentConverter::Result result = SegmentConverter::convert(m_request);
        if (!result.ok())
            return result.error;
        const QString error = SegmentConverter::write(m_target, result.raw);
        if (error.isEmpty())
            m_bytes = result.raw.size();
        return error;
    }));
}

} // namespace dpx
