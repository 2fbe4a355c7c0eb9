#include "display/KeyboardFilter.h"

#include <QApplication>
#include <QKeyEvent>

namespace pabuko {

int VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers modifiers) {
    if (modifiers & Qt::KeypadModifier) {
        switch (qtKey) {
            case Qt::Key_0:
            case Qt::Key_Insert:
                return 96;
            case Qt::Key_1:
            case Qt::Key_End:
                return 97;
            case Qt::Key_2:
            case Qt::Key_Down:
                return 98;
            case Qt::Key_3:
            case Qt::Key_PageDown:
                return 99;
            case Qt::Key_4:
            case Qt::Key_Left:
                return 100;
            case Qt::Key_5:
            case Qt::Key_Clear:
                return 101;
            case Qt::Key_6:
            case Qt::Key_Right:
                return 102;
            case Qt::Key_7:
            case Qt::Key_Home:
                return 103;
            case Qt::Key_8:
            case Qt::Key_Up:
                return 104;
            case Qt::Key_9:
            case Qt::Key_PageUp:
                return 105;
            case Qt::Key_Asterisk:
                return 42;
            case Qt::Key_Plus:
                return 107;
            case Qt::Key_Minus:
                return 109;
            case Qt::Key_Period:
            case Qt::Key_Comma:
            case Qt::Key_Delete:
                return 110;
            case Qt::Key_Slash:
                return 111;
            case Qt::Key_Enter:
            case Qt::Key_Return:
                return 13;
            default:
                break;
        }
    }
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return qtKey;  // same codes
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
        case Qt::Key_Escape:
            return 27;
        case Qt::Key_Equal:
            return 61;
        case Qt::Key_Backspace:
            return 8;
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
            return 9;
        case Qt::Key_BracketLeft:
            return 91;
        case Qt::Key_BracketRight:
            return 93;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            return 13;
        case Qt::Key_Control:
            return 17;
        case Qt::Key_Semicolon:
            return 59;
        case Qt::Key_Apostrophe:
            return 39;
        case Qt::Key_Shift:
            return 16;
        case Qt::Key_Backslash:
            return 92;
        case Qt::Key_Comma:
            return 44;
        case Qt::Key_Period:
            return 46;
        case Qt::Key_Slash:
            return 47;
        case Qt::Key_Alt:
        case Qt::Key_AltGr:
            return 18;
        case Qt::Key_Space:
            return 32;
        case Qt::Key_CapsLock:
            return 20;
        case Qt::Key_NumLock:
            return 144;
        case Qt::Key_ScrollLock:
            return 145;
        case Qt::Key_Home:
            return 36;
        case Qt::Key_End:
            return 35;
        case Qt::Key_PageUp:
            return 33;
        case Qt::Key_PageDown:
            return 34;
        case Qt::Key_Up:
            return 38;
        case Qt::Key_Down:
            return 40;
        case Qt::Key_Left:
            return 37;
        case Qt::Key_Right:
            return 39;
        case Qt::Key_Insert:
            return 45;
        case Qt::Key_Delete:
            return 46;
        case Qt::Key_Meta:
        case Qt::Key_Super_L:
            return 91;
        case Qt::Key_Super_R:
            return 92;
        case Qt::Key_Menu:
            return 93;
        default:
            return 0;
    }
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
