#pragma once
// A playback stream straight to a PulseAudio server (PipeWire's pulse server too), for
// sound that needs no low latency: the music. It keeps three quarters of a second queued
// and asks for more only when a quarter of it has played, so its thread wakes five times a
// second, where an SDL device is woken for every message the server sends, at the period
// of the shortest latency any stream asks for. libpulse is opened when the stream first is.
#include <functional>
#include <memory>

namespace pabuko {

class PulseStream {
  public:
    // Called on the stream's thread to add `frames` frames of interleaved stereo float into
    // a zeroed buffer; returns false, without adding, when there is nothing to play.
    using Fill = std::function<bool(float*, int)>;
    // Called on the stream's thread: whether Fill would play anything now.
    using Sounding = std::function<bool()>;

    // Connects to the server the environment names (or the user's own) and opens a stream
    // at `rate` Hz; null when libpulse or the server is missing or refuses. The stream
    // starts paused and looks at once whether to play.
    static std::unique_ptr<PulseStream> Open(int rate, Fill fill, Sounding sounding);
    ~PulseStream();
    PulseStream(const PulseStream&) = delete;
    PulseStream& operator=(const PulseStream&) = delete;

    // From any thread, whatever lock it holds: something may have started, the stream
    // should look whether to resume. Once a queue's worth of silence has been played, the
    // stream pauses: no requests, no wake-ups.
    void Wake();
    // From any thread: what is queued is dropped, so that a stop is heard at once rather
    // than after the queue has played out.
    void Discard();
    bool Paused() const;

    struct State;

  private:
    explicit PulseStream(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace pabuko
