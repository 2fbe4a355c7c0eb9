#pragma once
// TDXTimer: the game's heartbeat. Ticks on the UI thread at Interval spacing or later,
// never earlier, from whatever event loop runs (modal dialogs' loops included), and
// only while the application is active. A single-shot precise QTimer is re-armed for
// the next due time, so the thread sleeps between ticks instead of polling.
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>

#include "display/FrameTimerCore.h"

namespace pabuko {

class TDXTimer : public QObject {
    Q_OBJECT
  public:
    explicit TDXTimer(QObject* parent = nullptr);
    ~TDXTimer() override;

    bool ActiveOnly() const { return activeOnly_; }
    void SetActiveOnly(bool activeOnly);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled);
    int32_t Interval() const { return core_.Interval(); }
    void SetInterval(int32_t interval) { core_.SetInterval(interval); }
    int32_t FrameRate() const { return core_.FrameRate(); }
    // Running but waiting for the application to become active again.
    bool Suspended() const { return running_ && !hooked_; }

    std::function<void(int32_t lagCount)> OnTimer;
    std::function<void()> OnActivate;
    std::function<void()> OnDeactivate;

    // The millisecond clock; tests may replace it.
    std::function<uint32_t()> Now;

  private:
    void Start();
    void Stop();
    void Hook();
    void Unhook();
    void Arm(uint32_t now);
    void Fire();
    void ApplicationStateChanged(Qt::ApplicationState state);

    FrameTimerCore core_;
    QTimer timer_;
    bool activeOnly_ = true;
    bool enabled_ = false;
    bool running_ = false;
    bool hooked_ = false;
    bool appActive_ = false;
};

}  // namespace pabuko
