#pragma once
// Feeds DXInput's key table from Qt key events of the application, and keeps it
// empty while the watched window is not the active window.
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <span>

#include "display/KeyboardStates.h"

namespace pabuko {

// The Windows virtual-key code of a Qt key (0 for keys the game has no code for).
// Keypad keys give the numpad codes whatever the Num Lock state.
int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers);

struct KeyCode {
    int qtKey;
    int virtualKey;
};
// The tables VirtualKeyFromQt reads: keys with the keypad modifier, and the keys other than
// the letters, the digits and F1-F12 (whose codes follow from their Qt codes).
std::span<const KeyCode> KeypadKeyCodes();
std::span<const KeyCode> OtherKeyCodes();

class KeyboardFilter : public QObject {
    Q_OBJECT
  public:
    // Installs itself on the application; input counts only while `window` is active.
    KeyboardFilter(TDXInput& input, QWidget* window);
    ~KeyboardFilter() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    TDXInput& input_;
    QPointer<QWidget> window_;
    QHash<quint32, int> pressedByScanCode_;  // a release maps like its press
};

}  // namespace pabuko
