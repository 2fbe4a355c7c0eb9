#include "display/VrMatrix.h"

#include <QPainter>

#include "display/PixelImage.h"

namespace pabuko {

TVrMatrix::TVrMatrix(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    timer_.setSingleShot(true);
    connect(&timer_, &QTimer::timeout, this, &TVrMatrix::TimerTick);
    core_.OnScrollDone = [this] {
        if (OnScrollDone) OnScrollDone();
    };
    core_.OnChanged = [this] { CoreChanged(); };
    core_.Loaded();
    setFixedSize(core_.Width(), core_.Height());
}

void TVrMatrix::CoreChanged() {
    if (size() != QSize(core_.Width(), core_.Height())) setFixedSize(core_.Width(), core_.Height());
    update();
    // Inside a tick the timer is re-armed once the step has run.
    if (inTick_) return;
    if (core_.AutoScroll() && core_.TimeInterval() > 0) {
        if (!timer_.isActive() || timer_.interval() != core_.TimeInterval())
            timer_.start(core_.TimeInterval());
    } else {
        timer_.stop();
    }
}

void TVrMatrix::TimerTick() {
    if (!core_.AutoScroll()) return;
    inTick_ = true;
    core_.ScrollStep();
    inTick_ = false;
    if (core_.AutoScroll() && core_.TimeInterval() > 0) timer_.start(core_.TimeInterval());
}

void TVrMatrix::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, PixelImage(core_.Paint()));
}

}  // namespace pabuko
