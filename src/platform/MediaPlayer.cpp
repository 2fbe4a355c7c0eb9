#include "platform/MediaPlayer.h"

#include <fstream>
#include <iterator>
#include <vector>

#include "platform/MidiSynth.h"
#include "platform/SoundDevice.h"

namespace pabuko {

namespace {

// A Standard MIDI File of a game's track is a few kilobytes; this bounds a damaged one.
constexpr std::streamoff kMaxFileBytes = 4 << 20;

std::string Name(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

// What the audio thread touches; guarded by the device lock.
struct TMediaPlayer::Shared {
    std::unique_ptr<MidiSynth> synth;
    bool playNotifyPending = false;
    bool blockPlayed = false;  // the play has rendered a block and gone on
    bool failedStart = false;
};

TMediaPlayer::TMediaPlayer(SoundDevice& device, Post post, std::string soundFont)
    : device_(device),
      post_(std::move(post)),
      soundFont_(soundFont.empty() ? FindSoundFont() : std::move(soundFont)),
      shared_(std::make_shared<Shared>()) {}

TMediaPlayer::~TMediaPlayer() {
    // With the source gone the audio thread no longer touches the synthesizer.
    if (shared_->synth) device_.SetExtraSource({});
}

bool TMediaPlayer::Available() const {
    if (!device_.Initialized() || soundFont_.empty()) return false;
    std::ifstream in(soundFont_, std::ios::binary);
    return in.good();
}

void TMediaPlayer::PostNotify() {
    if (post_)
        post_([this] {
            if (OnNotify) OnNotify();
        });
}

void TMediaPlayer::Open() {
    const bool notify = Notify;
    Notify = false;
    if (open_) {
        device_.Lock();
        Shared& s = *shared_;
        if (s.synth) s.synth->Stop();
        const bool superseded = s.playNotifyPending;
        s.playNotifyPending = false;
        device_.Unlock();
        device_.DiscardQueuedMusic();
        open_ = false;
        if (superseded) PostNotify();
    }
    if (!device_.Initialized())
        throw MediaError("Hudbu nelze přehrát: není k dispozici žádné zvukové zařízení.");

    std::ifstream in(FileName, std::ios::binary | std::ios::ate);
    const std::streamoff size = in ? std::streamoff(in.tellg()) : -1;
    if (size < 0) throw MediaFileError("Soubor s hudbou „" + Name(FileName) + "“ nelze otevřít.");
    std::vector<uint8_t> bytes;
    if (size <= kMaxFileBytes) {
        bytes.resize(size_t(size));
        in.seekg(0);
        in.read(reinterpret_cast<char*>(bytes.data()), size);
        if (!in) bytes.clear();
    }
    if (!LooksLikeMidiFile(bytes))
        throw MediaFileError("Soubor s hudbou „" + Name(FileName) + "“ není platný soubor MIDI.");

    const auto noFont = [this] {
        return MediaError("Hudbu nelze přehrát: nepodařilo se načíst sadu nástrojů (" + soundFont_ +
                          ").");
    };
    if (!shared_->synth) {
        auto synth = std::make_unique<MidiSynth>(device_.SampleRate());
        if (!synth->LoadSoundFontFor(soundFont_, bytes)) throw noFont();
        device_.Lock();
        shared_->synth = std::move(synth);
        device_.Unlock();
        device_.SetExtraSource(
            [this, s = shared_.get()](float* out, int frames) {
                // Runs on the audio thread with the device lock held.
                const bool ended = s->synth->Render(out, frames);
                if (!s->playNotifyPending) return;
                if (ended) {
                    // Ended before it went on past its first block: the file's events are
                    // nothing the player could read.
                    s->failedStart = !s->blockPlayed;
                    s->playNotifyPending = false;
                    PostNotify();
                } else {
                    s->blockPlayed = true;
                }
            },
            // Silent music lets the device pause; commands run under the device lock,
            // whose release resumes it.
            [s = shared_.get()] { return s->synth->Sounding(); });
    } else if (!shared_->synth->LoadSoundFontFor(soundFont_, bytes)) {
        // FluidSynth takes fonts while the audio thread renders; the track is stopped.
        throw noFont();
    }
    file_ = std::move(bytes);
    open_ = true;
    if (notify) PostNotify();
}

void TMediaPlayer::Play() {
    Notify = false;
    if (!open_) throw MediaError("Hudbu nelze přehrát: žádný soubor není otevřený.");
    device_.Lock();
    Shared& s = *shared_;
    const bool superseded = s.playNotifyPending;
    const bool started = s.synth->Start(file_);
    s.playNotifyPending = started;
    s.blockPlayed = false;
    s.failedStart = false;
    device_.Unlock();
    if (superseded) PostNotify();
    if (!started)
        throw MediaFileError("Soubor s hudbou „" + Name(FileName) + "“ není platný soubor MIDI.");
}

bool TMediaPlayer::FailedToStart() const {
    device_.Lock();
    const bool failed = shared_->failedStart;
    device_.Unlock();
    return failed;
}

void TMediaPlayer::Stop() {
    const bool notify = Notify;
    Notify = false;
    if (!open_) return;  // nothing was ever opened: nothing to stop, and nothing to report
    device_.Lock();
    Shared& s = *shared_;
    s.synth->Stop();
    const bool aborted = s.playNotifyPending;
    s.playNotifyPending = false;
    device_.Unlock();
    device_.DiscardQueuedMusic();  // the stop is heard now, not after what is queued
    if (aborted) PostNotify();
    if (notify) PostNotify();
}

MediaMode TMediaPlayer::Mode() const {
    if (!open_) return MediaMode::NotReady;
    device_.Lock();
    const bool playing = shared_->synth && shared_->synth->Playing();
    device_.Unlock();
    return playing ? MediaMode::Playing : MediaMode::Stopped;
}

}  // namespace pabuko
