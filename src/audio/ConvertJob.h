// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "audio/SegmentConverter.h"
#include "job/Job.h"

#include <QFutureWatcher>

namespace dpx {

// A segment of a sound file converted to a box file on a worker thread: the result is the
// number of bytes written; a failure writes nothing and leaves an old target intact.
class ConvertJob : public Job {
    Q_OBJECT
public:
    ConvertJob(SegmentRequest request, QString target, QObject *parent = nullptr);
    ~ConvertJob() override;

    void start() override;

    // The text a failed conversion shows.
    static QString failureText();

private:
    SegmentRequest m_request;
    QString m_target;
    QFutureWatcher<QString> m_watcher;
    qint64 m_bytes = 0;
};

} // namespace dpx
