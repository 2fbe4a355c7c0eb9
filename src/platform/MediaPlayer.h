#pragma once
// The background music's media player: opens a MIDI file by name, plays it with an end
// notification, stops it, tells its mode. The music is rendered by a MidiSynth inside the
// sound device, on the stream it gives the music, under that stream's lock.
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace pabuko {

class SoundDevice;

enum class MediaMode { NotReady, Stopped, Playing };

class MediaError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};
// The file's own fault (it cannot be read, or it holds no music the synthesizer can play),
// as against a missing device or soundfont: another file may play.
class MediaFileError : public MediaError {
  public:
    using MediaError::MediaError;
};

class TMediaPlayer {
  public:
    // Hands a notification to the user-interface thread, to run later as an event. The
    // audio thread calls it too.
    using Post = std::function<void(std::function<void()>)>;

    // `soundFont` empty: FindSoundFont().
    TMediaPlayer(SoundDevice& device, Post post, std::string soundFont = {});
    ~TMediaPlayer();
    TMediaPlayer(const TMediaPlayer&) = delete;
    TMediaPlayer& operator=(const TMediaPlayer&) = delete;

    // An audio device is open and a soundfont is there: music can play at all.
    bool Available() const;

    std::string FileName;
    // Ask for a notification on the next command; `Play` notifies whether asked or not.
    bool Notify = false;
    // Raised on the user-interface thread when a command that asked for it completes, and
    // when a play ends: at its musical end, or cut off by `Stop` or the next `Open`.
    std::function<void()> OnNotify;

    // Closes the open file, then opens `FileName`. Throws MediaFileError with a Czech text
    // when the file cannot be read or is no MIDI file, MediaError when there is no device.
    void Open();
    // Plays the open file from its beginning. Throws MediaFileError when the synthesizer
    // refuses the file.
    void Play();
    // The last play ended within the first block it was given: its frame was sound, but
    // nothing in it could be played. Told by the end notification; cleared by `Play`.
    bool FailedToStart() const;
    // Cuts the music off at once. Without an open file it does nothing.
    void Stop();
    MediaMode Mode() const;

    struct Shared;

  private:
    void PostNotify();

    SoundDevice& device_;
    Post post_;
    std::string soundFont_;
    std::shared_ptr<Shared> shared_;
    std::vector<uint8_t> file_;  // the open file
    bool open_ = false;
};

}  // namespace pabuko
