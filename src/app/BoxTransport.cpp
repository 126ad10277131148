// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/BoxTransport.h"

#include "app/Options.h"
#include "app/VersionInfo.h"
#include "device/HidapiTransport.h"
#include "device/ReplayTransport.h"
#include "device/TracingTransport.h"
#include "sim/SimulatedBox.h"

#include <QFile>

namespace dpx {

BoxTransport::BoxTransport(const Options &options)
{
    if (!options.replayHid.isEmpty()) {
        QFile file(options.replayHid);
        if (!file.open(QIODevice::ReadOnly)) {
            m_error = QStringLiteral("cannot read the trace %1: %2").arg(options.replayHid, file.errorString());
            return;
        }
        HidTraceParse parsed = parseHidTrace(file.readAll());
        if (!parsed.error.isEmpty()) {
            m_error = QStringLiteral("trace %1, %2").arg(options.replayHid, parsed.error);
            return;
        }
        auto replay = std::make_unique<ReplayTransport>(std::move(parsed.trace), options.replaySpeed);
        m_replay = replay.get();
        m_base = std::move(replay);
        if (!options.simScript.isEmpty())
            m_detachedBox = std::make_unique<SimulatedBox>();
    } else if (options.simulate) {
        auto box = std::make_unique<SimulatedBox>();
        m_simulated = box.get();
        box->plug();
        m_base = std::move(box);
    } else {
        m_base = std::make_unique<HidapiTransport>();
    }
    if (!options.traceHid.isEmpty()) {
        m_tracer = std::make_unique<TracingTransport>(*m_base, options.traceHid, programVersion());
        if (!m_tracer->isOpen())
            m_error = QStringLiteral("cannot write the trace %1: %2").arg(options.traceHid, m_tracer->errorString());
    }
}

BoxTransport::~BoxTransport() = default;

HidTransport &BoxTransport::transport()
{
    if (m_tracer)
        return *m_tracer;
    return *m_base;
}

SimulatedBox *BoxTransport::scriptBox() const
{
    return m_detachedBox ? m_detachedBox.get() : m_simulated;
}

} // namespace dpx
