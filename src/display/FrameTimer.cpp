#include "display/FrameTimer.h"

#include <QGuiApplication>
#include <chrono>

namespace pabuko {

namespace {
uint32_t SteadyMs() {
    using namespace std::chrono;
    return static_cast<uint32_t>(
        duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
}  // namespace

TDXTimer::TDXTimer(QObject* parent) : QObject(parent), Now(SteadyMs) {
    timer_.setSingleShot(true);
    timer_.setTimerType(Qt::PreciseTimer);
    connect(&timer_, &QTimer::timeout, this, &TDXTimer::Fire);
    appActive_ = QGuiApplication::applicationState() == Qt::ApplicationActive;
    connect(qGuiApp, &QGuiApplication::applicationStateChanged, this,
            &TDXTimer::ApplicationStateChanged);
}

TDXTimer::~TDXTimer() {
    Stop();
}

void TDXTimer::SetActiveOnly(bool activeOnly) {
    if (activeOnly == activeOnly_) return;
    activeOnly_ = activeOnly;
    if (running_) Start();
}

void TDXTimer::SetEnabled(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    if (enabled)
        Start();
    else
        Stop();
}

void TDXTimer::Start() {
    Stop();
    if (!activeOnly_ || appActive_) Hook();
    running_ = true;
}

void TDXTimer::Stop() {
    if (!running_) return;
    Unhook();
    running_ = false;
}

void TDXTimer::Hook() {
    const uint32_t now = Now();
    core_.Restart(now);
    hooked_ = true;
    Arm(now);
}

void TDXTimer::Unhook() {
    hooked_ = false;
    timer_.stop();
}

void TDXTimer::Arm(uint32_t now) {
    timer_.start(static_cast<int>(core_.MsUntilDue(now)));
}

void TDXTimer::Fire() {
    if (!hooked_) return;
    const auto lag = core_.Tick(Now());
    if (lag && OnTimer) OnTimer(*lag);
    // The handler may have stopped, restarted or suspended the timer meanwhile.
    if (hooked_ && !timer_.isActive()) Arm(Now());
}

void TDXTimer::ApplicationStateChanged(Qt::ApplicationState state) {
    const bool active = state == Qt::ApplicationActive;
    if (active == appActive_) return;
    appActive_ = active;
    if (active) {
        if (OnActivate) OnActivate();
        if (running_ && activeOnly_ && !hooked_) Hook();
    } else {
        if (OnDeactivate) OnDeactivate();
        if (running_ && activeOnly_) Unhook();
    }
}

}  // namespace pabuko
