// SPDX-License-Identifier: GPL-3.0-or-later
// Threaded main loop rather than a Qt-driven one: the volume queries are synchronous for the
// caller, and waiting on a loop that runs on the caller's own thread would mean nested event
// loops on the UI thread. Every touch of the context happens with the loop's lock held.
#include "audio/PulseMixer.h"

#include "audio/AudioLog.h"

#include <pulse/context.h>
#include <pulse/introspect.h>
#include <pulse/subscribe.h>
#include <pulse/thread-mainloop.h>
#include <pulse/timeval.h>
#include <pulse/volume.h>

#include <algorithm>

namespace dpx {

namespace {

constexpr pa_usec_t kAnswerTimeout = 2 * PA_USEC_PER_SEC;
constexpr pa_usec_t kFirstRetry = 1 * PA_USEC_PER_SEC;
constexpr pa_usec_t kLongestRetry = 10 * PA_USEC_PER_SEC;
constexpr const char *kDefaultSink = "@DEFAULT_SINK@";

class LoopLock {
  public:
    explicit LoopLock(pa_threaded_mainloop *loop) : m_loop(loop)
    {
        pa_threaded_mainloop_lock(m_loop);
    }
    ~LoopLock() { pa_threaded_mainloop_unlock(m_loop); }
    LoopLock(const LoopLock &) = delete;
    LoopLock &operator=(const LoopLock &) = delete;

  private:
    pa_threaded_mainloop *m_loop;
};

SinkVolume sinkVolumeOf(const pa_sink_info &info)
{
    SinkVolume sink;
    sink.index = info.index;
    sink.channels = info.volume.channels;
    sink.volume = info.volume.channels > 0 ? info.volume.values[0] : 0;
    sink.steps = info.n_volume_steps;
    sink.muted = info.mute != 0;
    return sink;
}

} // namespace

struct PulseMixer::Private {
    pa_threaded_mainloop *loop = nullptr;
    pa_context *context = nullptr;
    pa_time_event *retryTimer = nullptr;
    pa_usec_t retryDelay = kFirstRetry;
    bool shuttingDown = false;
    bool timedOut = false;
    VolumeHandler onVolumeChanged;

    // Change tracking, touched on the loop's thread only.
    bool refreshRunning = false;
    bool refreshAgain = false;
    std::optional<quint32> lastVolume;
    std::optional<SinkVolume> known; // the default sink from the last answer (lock held)
    // Our own volume changes not answered yet: the sink's news until then are echoes of them
    // (a late server would otherwise move the slider back through the values it passed).
    int pendingSets = 0;

    pa_mainloop_api *api() const { return pa_threaded_mainloop_get_api(loop); }
    pa_time_event *newTimer(pa_usec_t delay, pa_time_event_cb_t callback)
    {
        struct timeval when;
        pa_timeval_add(pa_gettimeofday(&when), delay);
        return api()->time_new(api(), &when, callback, this);
    }
    bool contextGood() const
    {
        return context && PA_CONTEXT_IS_GOOD(pa_context_get_state(context));
    }
    bool contextReady() const
    {
        return context && pa_context_get_state(context) == PA_CONTEXT_READY;
    }

    void startConnect();
    void releaseContext();
    void scheduleRetry();
    bool waitUntil(const std::function<bool()> &done);
    bool waitFor(pa_operation *operation);
    bool ready();
    std::optional<SinkVolume> queryDefaultSink();
    void requestRefresh();
    void noteVolume(quint32 volume);

    static void onState(pa_context *context, void *self);
    static void onEvent(pa_context *, pa_subscription_event_type_t type, uint32_t, void *self);
    static void onRefreshInfo(pa_context *, const pa_sink_info *info, int eol, void *self);
    static void onRetry(pa_mainloop_api *, pa_time_event *, const struct timeval *, void *self);
    static void onTimeout(pa_mainloop_api *, pa_time_event *, const struct timeval *, void *self);
};

void PulseMixer::Private::startConnect()
{
    releaseContext();
    pa_proplist *properties = pa_proplist_new();
    pa_proplist_sets(properties, PA_PROP_APPLICATION_NAME, "DPX");
    pa_proplist_sets(properties, PA_PROP_APPLICATION_ID, "dpx");
    context = pa_context_new_with_proplist(api(), "DPX", properties);
    pa_proplist_free(properties);
    if (!context) {
        scheduleRetry();
        return;
    }
    pa_context_set_state_callback(context, &Private::onState, this);
    // Never start a server of our own: no server means no master volume.
    if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        scheduleRetry();
}

void PulseMixer::Private::releaseContext()
{
    if (!context)
        return;
    pa_context_set_state_callback(context, nullptr, nullptr);
    pa_context_set_subscribe_callback(context, nullptr, nullptr);
    pa_context_disconnect(context);
    pa_context_unref(context);
    context = nullptr;
}

void PulseMixer::Private::scheduleRetry()
{
    if (shuttingDown || retryTimer)
        return;
    retryTimer = newTimer(retryDelay, &Private::onRetry);
    retryDelay = std::min(retryDelay * 2, kLongestRetry);
}

void PulseMixer::Private::onRetry(pa_mainloop_api *api, pa_time_event *event,
                                  const struct timeval *, void *self)
{
    auto *d = static_cast<Private *>(self);
    api->time_free(event);
    d->retryTimer = nullptr;
    if (!d->shuttingDown)
        d->startConnect();
}

void PulseMixer::Private::onTimeout(pa_mainloop_api *, pa_time_event *, const struct timeval *,
                                    void *self)
{
    auto *d = static_cast<Private *>(self);
    d->timedOut = true;
    pa_threaded_mainloop_signal(d->loop, 0);
}

void PulseMixer::Private::onState(pa_context *context, void *self)
{
    auto *d = static_cast<Private *>(self);
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        qCDebug(lcAudio) << "sound server connected";
        d->retryDelay = kFirstRetry;
        d->refreshRunning = false;
        d->refreshAgain = false;
        d->pendingSets = 0;
        pa_context_set_subscribe_callback(context, &Private::onEvent, d);
        if (pa_operation *op = pa_context_subscribe(
                context,
                pa_subscription_mask_t(PA_SUBSCRIPTION_MASK_SINK | PA_SUBSCRIPTION_MASK_SERVER),
                nullptr, nullptr))
            pa_operation_unref(op);
        d->requestRefresh(); // the baseline, or news of what changed while we were away
        break;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        qCDebug(lcAudio) << "sound server gone";
        d->known.reset();
        d->scheduleRetry();
        break;
    default:
        break;
    }
    pa_threaded_mainloop_signal(d->loop, 0);
}

void PulseMixer::Private::onEvent(pa_context *, pa_subscription_event_type_t type, uint32_t,
                                  void *self)
{
    const int facility = type & PA_SUBSCRIPTION_EVENT_FACILITY_MASK;
    // A sink's volume or the choice of default sink may have changed.
    if (facility == PA_SUBSCRIPTION_EVENT_SINK || facility == PA_SUBSCRIPTION_EVENT_SERVER)
        static_cast<Private *>(self)->requestRefresh();
}

void PulseMixer::Private::requestRefresh()
{
    if (!contextReady())
        return;
    if (refreshRunning) {
        refreshAgain = true; // one more read once this one is in: coalesces event bursts
        return;
    }
    if (pa_operation *op = pa_context_get_sink_info_by_name(context, kDefaultSink,
                                                            &Private::onRefreshInfo, this)) {
        refreshRunning = true;
        pa_operation_unref(op);
    }
}

void PulseMixer::Private::onRefreshInfo(pa_context *, const pa_sink_info *info, int eol, void *self)
{
    auto *d = static_cast<Private *>(self);
    if (info)
        d->known = sinkVolumeOf(*info);
    if (info && info->volume.channels > 0)
        d->noteVolume(info->volume.values[0]);
    if (eol == 0)
        return;
    d->refreshRunning = false;
    if (d->refreshAgain) {
        d->refreshAgain = false;
        d->requestRefresh();
    }
}

void PulseMixer::Private::noteVolume(quint32 volume)
{
    if (pendingSets > 0)
        return;
    const bool known = lastVolume.has_value();
    if (known && *lastVolume == volume)
        return;
    lastVolume = volume;
    if (known && onVolumeChanged)
        onVolumeChanged(int(volume));
}

bool PulseMixer::Private::waitUntil(const std::function<bool()> &done)
{
    timedOut = false;
    pa_time_event *timer = newTimer(kAnswerTimeout, &Private::onTimeout);
    while (!done() && !timedOut && contextGood())
        pa_threaded_mainloop_wait(loop);
    if (timer)
        api()->time_free(timer);
    if (timedOut && !done()) {
        // A server that does not answer counts as gone; the retry will find it again.
        qCDebug(lcAudio) << "sound server does not answer";
        known.reset();
        if (context)
            pa_context_disconnect(context);
        return false;
    }
    return done();
}

bool PulseMixer::Private::waitFor(pa_operation *operation)
{
    if (!operation)
        return false;
    waitUntil([operation] { return pa_operation_get_state(operation) != PA_OPERATION_RUNNING; });
    const bool done = pa_operation_get_state(operation) == PA_OPERATION_DONE;
    if (!done)
        pa_operation_cancel(operation);
    pa_operation_unref(operation);
    return done;
}

bool PulseMixer::Private::ready()
{
    if (!context)
        return false;
    // Still connecting (at start or after a retry): wait for the outcome, boundedly.
    if (contextGood() && !contextReady())
        waitUntil([this] { return contextReady(); });
    return contextReady();
}

std::optional<SinkVolume> PulseMixer::Private::queryDefaultSink()
{
    struct Query {
        pa_threaded_mainloop *loop;
        std::optional<SinkVolume> sink;
    } query{loop, std::nullopt};
    const auto onInfo = [](pa_context *, const pa_sink_info *info, int eol, void *data) {
        auto *q = static_cast<Query *>(data);
        if (info)
            q->sink = sinkVolumeOf(*info);
        if (eol != 0)
            pa_threaded_mainloop_signal(q->loop, 0);
    };
    if (!waitFor(pa_context_get_sink_info_by_name(context, kDefaultSink, onInfo, &query)))
        return std::nullopt;
    if (query.sink)
        known = query.sink;
    return query.sink;
}

PulseMixer::PulseMixer(VolumeHandler onVolumeChanged) : d(std::make_unique<Private>())
{
    d->onVolumeChanged = std::move(onVolumeChanged);
    d->loop = pa_threaded_mainloop_new();
    if (!d->loop)
        return;
    if (pa_threaded_mainloop_start(d->loop) < 0) {
        pa_threaded_mainloop_free(d->loop);
        d->loop = nullptr;
        return;
    }
    LoopLock lock(d->loop);
    d->startConnect();
}

PulseMixer::~PulseMixer()
{
    if (!d->loop)
        return;
    {
        LoopLock lock(d->loop);
        d->shuttingDown = true;
        if (d->retryTimer)
            d->api()->time_free(d->retryTimer);
        d->retryTimer = nullptr;
        d->releaseContext();
    }
    pa_threaded_mainloop_stop(d->loop);
    pa_threaded_mainloop_free(d->loop);
}

std::optional<SinkVolume> PulseMixer::defaultSink()
{
    if (!d->loop)
        return std::nullopt;
    LoopLock lock(d->loop);
    if (!d->ready())
        return std::nullopt;
    return d->queryDefaultSink();
}

namespace {
void signalSuccess(pa_context *, int success, void *data)
{
    auto *result = static_cast<std::pair<pa_threaded_mainloop *, bool> *>(data);
    result->second = success != 0;
    pa_threaded_mainloop_signal(result->first, 0);
}
} // namespace

std::optional<SinkVolume> PulseMixer::knownDefaultSink()
{
    if (!d->loop)
        return std::nullopt;
    LoopLock lock(d->loop);
    if (!d->contextReady())
        return std::nullopt;
    return d->known;
}

bool PulseMixer::setVolumeNoWait(quint32 volume)
{
    if (!d->loop)
        return false;
    LoopLock lock(d->loop);
    if (!d->contextReady() || !d->known || d->known->channels <= 0)
        return false;
    pa_cvolume levels;
    pa_cvolume_set(&levels, unsigned(d->known->channels), pa_volume_t(volume));
    const auto answered = [](pa_context *, int, void *self) {
        auto *d = static_cast<Private *>(self);
        if (d->pendingSets > 0)
            --d->pendingSets;
    };
    pa_operation *op = pa_context_set_sink_volume_by_index(d->context, d->known->index, &levels,
                                                           answered, d.get());
    if (!op)
        return false;
    pa_operation_unref(op);
    ++d->pendingSets;
    d->known->volume = volume;
    d->lastVolume = volume; // our own change is no news
    return true;
}

bool PulseMixer::setMute(bool mute)
{
    if (!d->loop)
        return false;
    LoopLock lock(d->loop);
    if (!d->ready())
        return false;
    const std::optional<SinkVolume> sink = d->queryDefaultSink();
    if (!sink || !d->contextReady())
        return false;
    std::pair<pa_threaded_mainloop *, bool> result{d->loop, false};
    const bool answered = d->waitFor(pa_context_set_sink_mute_by_index(
        d->context, sink->index, mute ? 1 : 0, signalSuccess, &result));
    return answered && result.second;
}

quint32 PulseMixer::normalVolume()
{
    return PA_VOLUME_NORM;
}

} // namespace dpx
