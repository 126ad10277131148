// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/TransferSession.h"

#include "device/BoxLink.h"
#include "transfer/TransferRun.h"
#include "transfer/TransferTexts.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QPointer>
#include <QThread>

namespace dpx {

TransferSession::Hooks TransferSession::hooksFor(BoxLink &box)
{
    Hooks hooks;
    hooks.transport = &box.transport();
    hooks.eventSink = box.eventSink();
    hooks.suspendReader = [&box] { box.SuspendReader(); };
    hooks.resumeReader = [&box] { box.ResumeReader(); };
    return hooks;
}

TransferSession::TransferSession(Hooks hooks, QObject *parent)
    : QObject(parent)
    , m_hooks(std::move(hooks))
{
}

TransferSession::~TransferSession()
{
    if (!m_worker)
        return;
    cancel();
    m_worker->wait();
    finishRun();
}

bool TransferSession::isRunning() const
{
    return m_worker != nullptr;
}

bool TransferSession::start(const TransferPlan &plan)
{
    if (m_worker || !m_hooks.transport)
        return false;
    m_abort.store(false);
    m_outcome = {};
    if (m_hooks.suspendReader)
        m_hooks.suspendReader();
    Q_EMIT runningChanged(true);
    Q_EMIT statusText(transfer_text::starting());

    QPointer<TransferSession> self(this);
    auto post = [self](auto call) {
        QMetaObject::invokeMethod(
            self.data(),
            [self, call] {
                if (self)
                    call(*self);
            },
            Qt::QueuedConnection);
    };
    m_worker.reset(QThread::create([this, plan, post] {
        UsbHidDevice device(*m_hooks.transport);
        device.setEventSink(m_hooks.eventSink);
        TransferReport report;
        report.status = [post](const QString &text) {
            post([text](TransferSession &s) { Q_EMIT s.statusText(text); });
        };
        report.message = [post](const QString &text) {
            post([text](TransferSession &s) { Q_EMIT s.message(text); });
        };
        report.progress = [post](const TransferProgress &p) {
            post([p](TransferSession &s) { Q_EMIT s.progress(p); });
        };
        TransferRun run(device, m_abort, report);
        run.link().setLimits(m_limits);
        m_outcome = run.run(plan);
        post([](TransferSession &s) { s.finishRun(); });
    }));
    m_worker->setObjectName(QStringLiteral("dpx-transfer"));
    m_worker->start();
    return true;
}

void TransferSession::cancel()
{
    m_abort.store(true);
}

void TransferSession::cancelAndWait()
{
    if (!m_worker)
        return;
    cancel();
    m_worker->wait();
    deliverPosted();
    finishRun();
}

void TransferSession::deliverPosted()
{
    // What the worker reported before it ended arrives before the end of the run.
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

bool TransferSession::waitForIdle(int timeoutMs)
{
    if (!m_worker)
        return true;
    if (!m_worker->wait(QDeadlineTimer(timeoutMs)))
        return false;
    deliverPosted();
    finishRun();
    return true;
}

void TransferSession::finishRun()
{
    if (!m_worker)
        return; // finished already (a wait came before the posted call)
    m_worker->wait();
    m_worker.reset();
    if (m_hooks.resumeReader)
        m_hooks.resumeReader();
    Q_EMIT statusText(transfer_text::stopped());
    Q_EMIT statusText(QString());
    Q_EMIT runningChanged(false);
    Q_EMIT finished(m_outcome);
}

} // namespace dpx
