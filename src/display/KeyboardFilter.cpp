#include "display/KeyboardFilter.h"

#include <QApplication>
#include <QKeyEvent>

namespace pabuko {

namespace {

// Keys of the numeric keypad, which Qt reports with the keypad modifier; Num Lock gives
// digits or movement keys, both mean the same key here.
// clang-format off
constexpr KeyCode kKeypadKeys[] = {
    {Qt::Key_0, 96},  {Qt::Key_Insert, 96},
    {Qt::Key_1, 97},  {Qt::Key_End, 97},
    {Qt::Key_2, 98},  {Qt::Key_Down, 98},
    {Qt::Key_3, 99},  {Qt::Key_PageDown, 99},
    {Qt::Key_4, 100}, {Qt::Key_Left, 100},
    {Qt::Key_5, 101}, {Qt::Key_Clear, 101},
    {Qt::Key_6, 102}, {Qt::Key_Right, 102},
    {Qt::Key_7, 103}, {Qt::Key_Home, 103},
    {Qt::Key_8, 104}, {Qt::Key_Up, 104},
    {Qt::Key_9, 105}, {Qt::Key_PageUp, 105},
    {Qt::Key_Asterisk, 42},
    {Qt::Key_Plus, 107},
    {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110}, {Qt::Key_Comma, 110}, {Qt::Key_Delete, 110},
    {Qt::Key_Slash, 111},
    {Qt::Key_Enter, 13}, {Qt::Key_Return, 13},
};

// The other keys the game has a code for, besides the letters, digits and F1-F12.
constexpr KeyCode kOtherKeys[] = {
    {Qt::Key_Backspace, 8},
    {Qt::Key_Tab, 9}, {Qt::Key_Backtab, 9},
    {Qt::Key_Return, 13}, {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18}, {Qt::Key_AltGr, 18},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, 27},
    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},
    {Qt::Key_Right, 39},
    {Qt::Key_Down, 40},
    {Qt::Key_Insert, 45},
    {Qt::Key_Delete, 46},
    {Qt::Key_Meta, 91}, {Qt::Key_Super_L, 91},
    {Qt::Key_Super_R, 92},
    {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    // Punctuation keeps its character code.
    {Qt::Key_Apostrophe, 39},
    {Qt::Key_Comma, 44},
    {Qt::Key_Period, 46},
    {Qt::Key_Slash, 47},
    {Qt::Key_Semicolon, 59},
    {Qt::Key_Equal, 61},
    {Qt::Key_BracketLeft, 91},
    {Qt::Key_Backslash, 92},
    {Qt::Key_BracketRight, 93},
};
// clang-format on

int Find(std::span<const KeyCode> table, int qtKey) {
    for (const KeyCode& key : table)
        if (key.qtKey == qtKey) return key.virtualKey;
    return 0;
}

}  // namespace

std::span<const KeyCode> KeypadKeyCodes() {
    return kKeypadKeys;
}

std::span<const KeyCode> OtherKeyCodes() {
    return kOtherKeys;
}

int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier)
        if (const int vk = Find(kKeypadKeys, qtKey)) return vk;
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;  // same codes
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 112 + (qtKey - Qt::Key_F1);
    return Find(kOtherKeys, qtKey);
}

KeyboardFilter::KeyboardFilter(TDXInput& input, QWidget* window)
    : QObject(window), input_(input), window_(window) {
    input_.IsForeground = [this] {
        return window_ && QApplication::activeWindow() == window_.data();
    };
    qApp->installEventFilter(this);
}

KeyboardFilter::~KeyboardFilter() {
    qApp->removeEventFilter(this);
    input_.IsForeground = nullptr;
}

bool KeyboardFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->isAutoRepeat()) break;
            // The event also passes the filter on its way up the parents; applying it
            // again changes nothing.
            auto* widget = qobject_cast<QWidget*>(watched);
            if (!widget || !window_ || widget->window() != window_.data()) break;
            const bool press = event->type() == QEvent::KeyPress;
            const quint32 scan = key->nativeScanCode();
            int vk = VirtualKeyFromQt(key->key(), key->modifiers());
            if (scan != 0) {
                // A modifier changed meanwhile must not leave the pressed code held.
                if (press)
                    pressedByScanCode_.insert(scan, vk);
                else if (pressedByScanCode_.contains(scan))
                    vk = pressedByScanCode_.take(scan);
            }
            input_.SetKey(vk, press);
            break;
        }
        case QEvent::WindowDeactivate:
            // Releases that happen elsewhere never reach us: start from nothing held.
            if (watched == window_.data()) {
                input_.ReleaseAllKeys();
                pressedByScanCode_.clear();
            }
            break;
        default:
            break;
    }
    return false;
}

}  // namespace pabuko
