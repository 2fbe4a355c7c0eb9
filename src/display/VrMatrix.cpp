#include "display/VrMatrix.h"

#include <QPainter>
#include <algorithm>

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

void TVrMatrix::SetScale(int scale) {
    scale_ = std::max(scale, 1);
    setFixedSize(core_.Width() * scale_, core_.Height() * scale_);
    update();
}

void TVrMatrix::CoreChanged() {
    const QSize shown(core_.Width() * scale_, core_.Height() * scale_);
    if (size() != shown) setFixedSize(shown);
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
    const QImage view = PixelImage(core_.Paint());
    QPainter painter(this);
    if (scale_ == 1) {
        painter.drawImage(0, 0, view);
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(QRect(0, 0, view.width() * scale_, view.height() * scale_), view);
    }
}

}  // namespace pabuko
