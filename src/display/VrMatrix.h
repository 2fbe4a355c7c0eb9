#pragma once
// TVrMatrix: the LED-matrix text line. Its state and drawing live in TVrMatrixCore; this
// widget times the scroll steps with a single-shot timer on the UI thread, re-armed after
// each step has run, and puts the offscreen image on screen. It sizes itself.
#include <QTimer>
#include <QWidget>

#include "display/VrMatrixCore.h"

namespace pabuko {

class TVrMatrix : public QWidget {
    Q_OBJECT
  public:
    explicit TVrMatrix(QWidget* parent = nullptr);

    // The published properties; setting one repaints, resizes and re-arms as needed.
    TVrMatrixCore& Matrix() { return core_; }
    const TVrMatrixCore& Matrix() const { return core_; }

    const std::string& Text() const { return core_.Text(); }
    void SetText(std::string text) { core_.SetText(std::move(text)); }
    void SetAutoScroll(bool on) { core_.SetAutoScroll(on); }
    bool AutoScroll() const { return core_.AutoScroll(); }

    std::function<void()> OnScrollDone;

    // Shows every pixel of the line as scale × scale screen pixels (the game on the whole
    // screen); 1 is the line's own size.
    void SetScale(int scale);
    int Scale() const { return scale_; }

    // The timer seam: tests read the timer and run its tick themselves.
    const QTimer& ScrollTimer() const { return timer_; }
    void TimerTick();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void CoreChanged();

    TVrMatrixCore core_;
    QTimer timer_;
    bool inTick_ = false;
    int scale_ = 1;
};

}  // namespace pabuko
