#include "platform/PulseStream.h"

#include <pulse/pulseaudio.h>
#include <sys/eventfd.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>

#include "platform/SharedLibrary.h"

// clang-format off
#define PABUKO_PULSE_FUNCTIONS(X) \
    X(pa_threaded_mainloop_new) X(pa_threaded_mainloop_free) X(pa_threaded_mainloop_start) \
    X(pa_threaded_mainloop_stop) X(pa_threaded_mainloop_lock) X(pa_threaded_mainloop_unlock) \
    X(pa_threaded_mainloop_wait) X(pa_threaded_mainloop_signal) X(pa_threaded_mainloop_get_api) \
    X(pa_context_new) X(pa_context_set_state_callback) X(pa_context_connect) \
    X(pa_context_get_state) X(pa_context_disconnect) X(pa_context_unref) \
    X(pa_stream_new) X(pa_stream_set_state_callback) X(pa_stream_set_write_callback) \
    X(pa_stream_connect_playback) X(pa_stream_get_state) X(pa_stream_begin_write) \
    X(pa_stream_cancel_write) X(pa_stream_write) X(pa_stream_cork) X(pa_stream_flush) \
    X(pa_stream_disconnect) X(pa_stream_unref) X(pa_operation_unref)
// clang-format on

namespace pabuko {

namespace {

struct PulseLibrary {
    PABUKO_PULSE_FUNCTIONS(PABUKO_LIBRARY_POINTER)
};

const PulseLibrary* Pulse() {
    static const PulseLibrary* const library =
        PABUKO_OPEN_TABLE(PABUKO_PULSE_SONAME, PulseLibrary, PABUKO_PULSE_FUNCTIONS);
    return library;
}

constexpr int kFrameBytes = 2 * sizeof(float);
// What the server keeps queued, and how much of it must have played before it asks for
// more (it then asks for all that is missing). With a request of half the queue or more,
// PulseAudio 16 runs short at every request and its null sink wakes some 2000 times a
// second: a quarter keeps it at its ordinary rate.
constexpr uint32_t kQueuedFrames = 32768;
constexpr uint32_t kRequestFrames = 8192;
// A stream starts playing once this much is queued.
constexpr uint32_t kStartFrames = 4096;
// How long the server may take to accept the connection and the stream.
constexpr int kConnectSeconds = 3;

}  // namespace

struct PulseStream::State {
    const PulseLibrary& pa;
    Fill fill;
    Sounding sounding;
    pa_threaded_mainloop* loop = nullptr;
    pa_context* context = nullptr;
    pa_stream* stream = nullptr;
    pa_io_event* wakeEvent = nullptr;
    int wakeFd = -1;
    bool timedOut = false;  // under the loop's lock
    // Bytes of silence written since the last sound; under the loop's lock.
    uint64_t silentBytes = 0;
    std::atomic<bool> corked{true};
    std::atomic<bool> wakeRequested{false};
    std::atomic<bool> discardRequested{false};

    explicit State(const PulseLibrary& library) : pa(library) {}

    void Signal() {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = write(wakeFd, &one, sizeof one);
    }
    void Unref(pa_operation* op) {
        if (op) pa.pa_operation_unref(op);
    }
    void Cork(bool cork) { Unref(pa.pa_stream_cork(stream, cork ? 1 : 0, nullptr, nullptr)); }
    void Flush() { Unref(pa.pa_stream_flush(stream, nullptr, nullptr)); }

    // On the loop's thread, with its lock held.
    void OnWrite(size_t bytes) {
        while (bytes >= kFrameBytes) {
            void* data = nullptr;
            size_t size = bytes;
            if (pa.pa_stream_begin_write(stream, &data, &size) < 0 || !data) return;
            size = std::min(size, bytes) / kFrameBytes * kFrameBytes;
            if (size == 0) {
                pa.pa_stream_cancel_write(stream);
                return;
            }
            auto* out = static_cast<float*>(data);
            std::memset(out, 0, size);
            wakeRequested = false;
            if (fill(out, static_cast<int>(size / kFrameBytes)))
                silentBytes = 0;
            else
                silentBytes += size;
            pa.pa_stream_write(stream, data, size, nullptr, 0, PA_SEEK_RELATIVE);
            bytes -= size;
        }
        // Only silence is left in the queue: nothing to ask for until something sounds.
        if (silentBytes >= uint64_t(kQueuedFrames) * kFrameBytes && !corked) {
            corked = true;
            Cork(true);
            // A wake that came while this was decided would otherwise be missed.
            if (wakeRequested) Signal();
        }
    }
    // On the loop's thread, with its lock held.
    void OnWake() {
        uint64_t count = 0;
        [[maybe_unused]] const ssize_t n = read(wakeFd, &count, sizeof count);
        wakeRequested = false;
        const bool discard = discardRequested.exchange(false);
        if (corked) {
            if (!sounding()) return;
            // What is queued is silence: the sound starts without waiting behind it.
            corked = false;
            silentBytes = 0;
            Flush();
            Cork(false);
        } else if (discard) {
            Flush();
        }
    }
};

namespace {

using State = PulseStream::State;

void OnContextState(pa_context*, void* user) {
    auto* s = static_cast<State*>(user);
    s->pa.pa_threaded_mainloop_signal(s->loop, 0);
}
void OnStreamState(pa_stream*, void* user) {
    auto* s = static_cast<State*>(user);
    s->pa.pa_threaded_mainloop_signal(s->loop, 0);
}
void OnStreamWrite(pa_stream*, size_t bytes, void* user) {
    static_cast<State*>(user)->OnWrite(bytes);
}
void OnWakeEvent(pa_mainloop_api*, pa_io_event*, int, pa_io_event_flags_t, void* user) {
    static_cast<State*>(user)->OnWake();
}
void OnTimeout(pa_mainloop_api*, pa_time_event*, const struct timeval*, void* user) {
    auto* s = static_cast<State*>(user);
    s->timedOut = true;
    s->pa.pa_threaded_mainloop_signal(s->loop, 0);
}

// Tears down whatever of the connection exists. The loop must not be locked by the caller.
void Close(State& s) {
    if (s.loop) {
        s.pa.pa_threaded_mainloop_lock(s.loop);
        if (s.stream) {
            s.pa.pa_stream_set_write_callback(s.stream, nullptr, nullptr);
            s.pa.pa_stream_set_state_callback(s.stream, nullptr, nullptr);
            s.pa.pa_stream_disconnect(s.stream);
            s.pa.pa_stream_unref(s.stream);
            s.stream = nullptr;
        }
        if (s.wakeEvent) {
            s.pa.pa_threaded_mainloop_get_api(s.loop)->io_free(s.wakeEvent);
            s.wakeEvent = nullptr;
        }
        if (s.context) {
            s.pa.pa_context_set_state_callback(s.context, nullptr, nullptr);
            s.pa.pa_context_disconnect(s.context);
            s.pa.pa_context_unref(s.context);
            s.context = nullptr;
        }
        s.pa.pa_threaded_mainloop_unlock(s.loop);
        s.pa.pa_threaded_mainloop_stop(s.loop);
        s.pa.pa_threaded_mainloop_free(s.loop);
        s.loop = nullptr;
    }
    if (s.wakeFd >= 0) close(s.wakeFd);
    s.wakeFd = -1;
}

// With the loop locked: waits until `ready` or `failed` holds or the time is up.
template <class Ready, class Failed>
bool WaitFor(State& s, Ready ready, Failed failed) {
    pa_mainloop_api* api = s.pa.pa_threaded_mainloop_get_api(s.loop);
    timeval deadline{};
    gettimeofday(&deadline, nullptr);
    deadline.tv_sec += kConnectSeconds;
    s.timedOut = false;
    pa_time_event* timer = api->time_new(api, &deadline, OnTimeout, &s);
    bool ok = false;
    while (true) {
        if (ready()) {
            ok = true;
            break;
        }
        if (failed() || s.timedOut) break;
        s.pa.pa_threaded_mainloop_wait(s.loop);
    }
    if (timer) api->time_free(timer);
    return ok;
}

// With the loop locked: connects and opens the stream, paused.
bool Connect(State& s, int rate) {
    const PulseLibrary& pa = s.pa;
    pa_mainloop_api* api = pa.pa_threaded_mainloop_get_api(s.loop);
    s.context = pa.pa_context_new(api, "Pabuko");
    if (!s.context) return false;
    pa.pa_context_set_state_callback(s.context, OnContextState, &s);
    if (pa.pa_context_connect(s.context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
        return false;
    if (!WaitFor(
            s, [&] { return pa.pa_context_get_state(s.context) == PA_CONTEXT_READY; },
            [&] { return !PA_CONTEXT_IS_GOOD(pa.pa_context_get_state(s.context)); }))
        return false;

    const pa_sample_spec format{PA_SAMPLE_FLOAT32NE, uint32_t(rate), 2};
    s.stream = pa.pa_stream_new(s.context, "Hudba", &format, nullptr);
    if (!s.stream) return false;
    pa.pa_stream_set_state_callback(s.stream, OnStreamState, &s);
    pa.pa_stream_set_write_callback(s.stream, OnStreamWrite, &s);
    pa_buffer_attr attr{};
    attr.maxlength = uint32_t(-1);
    attr.tlength = kQueuedFrames * kFrameBytes;
    attr.prebuf = kStartFrames * kFrameBytes;
    attr.minreq = kRequestFrames * kFrameBytes;
    attr.fragsize = uint32_t(-1);
    if (pa.pa_stream_connect_playback(s.stream, nullptr, &attr, PA_STREAM_START_CORKED, nullptr,
                                      nullptr) < 0)
        return false;
    if (!WaitFor(
            s, [&] { return pa.pa_stream_get_state(s.stream) == PA_STREAM_READY; },
            [&] { return !PA_STREAM_IS_GOOD(pa.pa_stream_get_state(s.stream)); }))
        return false;
    s.wakeEvent = api->io_new(api, s.wakeFd, PA_IO_EVENT_INPUT, OnWakeEvent, &s);
    return s.wakeEvent != nullptr;
}

}  // namespace

PulseStream::PulseStream(std::unique_ptr<State> state) : state_(std::move(state)) {}

PulseStream::~PulseStream() {
    Close(*state_);
}

std::unique_ptr<PulseStream> PulseStream::Open(int rate, Fill fill, Sounding sounding) {
    const PulseLibrary* pa = Pulse();
    if (!pa || rate <= 0 || !fill || !sounding) return nullptr;
    auto state = std::make_unique<State>(*pa);
    State& s = *state;
    s.fill = std::move(fill);
    s.sounding = std::move(sounding);
    s.wakeFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (s.wakeFd < 0) return nullptr;
    s.loop = pa->pa_threaded_mainloop_new();
    if (!s.loop || pa->pa_threaded_mainloop_start(s.loop) < 0) {
        if (s.loop) pa->pa_threaded_mainloop_free(s.loop);
        s.loop = nullptr;
        Close(s);
        return nullptr;
    }
    pa->pa_threaded_mainloop_lock(s.loop);
    const bool connected = Connect(s, rate);
    pa->pa_threaded_mainloop_unlock(s.loop);
    if (!connected) {
        Close(s);
        return nullptr;
    }
    std::unique_ptr<PulseStream> stream(new PulseStream(std::move(state)));
    stream->Wake();
    return stream;
}

void PulseStream::Wake() {
    State& s = *state_;
    s.wakeRequested = true;
    if (s.corked) s.Signal();
}

void PulseStream::Discard() {
    State& s = *state_;
    s.discardRequested = true;
    s.Signal();
}

bool PulseStream::Paused() const {
    return state_->corked;
}

}  // namespace pabuko
