#include "endgame/KonecLevelu.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QScreen>
#include <QThread>

#include "display/VrDigitGroup.h"
#include "display/VrHotImage.h"
#include "display/VrLabel.h"
#include "platform/QtText.h"

namespace pabuko {

namespace {

const QColor kGreen(0, 128, 0);
const QColor kLime(0, 255, 0);

QFont Arial(int pixels, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

TVrHotImage* HotButton(QWidget* parent, const QRect& place, const QColor& enter, int fontPixels,
                       TVrTextAlignment alignment, const TVrHotRect& hotRect, bool transparent) {
    auto* b = new TVrHotImage(parent);
    b->setGeometry(place);
    b->SetFont(Arial(fontPixels, true));
    b->SetFontColor(Qt::white);
    b->SetColorEnter(enter);
    b->SetTextAlignment(alignment);
    b->SetHotRect(hotRect);
    b->SetTransparent(transparent);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

}  // namespace

TfrmKonecLevelu::TfrmKonecLevelu(Game& game, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), game_(game) {
    setWindowTitle(QStringLiteral("Hurbo's Pabuko"));
    setFixedSize(311, 308);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    Pause = [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); };

    vrlTitulek = new TVrLabel(this);
    vrlTitulek->setObjectName(QStringLiteral("vrlTitulek"));
    vrlTitulek->setGeometry(8, 16, 289, 25);
    vrlTitulek->SetFont(Arial(19, false));
    vrlTitulek->SetColor(Qt::black);
    vrlTitulek->SetColorHighlight(Qt::red);
    vrlTitulek->SetColorShadow(Qt::red);

    lblText2 = new QLabel(this);
    lblText2->setObjectName(QStringLiteral("lblText2"));
    lblText2->setGeometry(8, 48, 289, 73);
    lblText2->setFont(Arial(15, true));
    QPalette silver = lblText2->palette();
    silver.setColor(QPalette::WindowText, QColor(192, 192, 192));
    lblText2->setPalette(silver);
    lblText2->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    lblText2->setWordWrap(true);
    lblText2->setTextFormat(Qt::PlainText);

    vhiCLose = HotButton(this, QRect(280, 0, 21, 21), QColor(255, 255, 0), 11,
                         TVrTextAlignment::vtaCenter, {QColor(255, 255, 0), 3, true}, true);
    vhiCLose->setObjectName(QStringLiteral("vhiCLose"));
    vhiCLose->SetCaption(QStringLiteral("X"));
    vhiCLose->OnClick = [this] { vhiCLoseClick(); };

    for (int k = 1; k <= 4; ++k) {
        auto* b = HotButton(this, QRect(0, 128 + 32 * (k - 1), 313, 21), QColor(0, 0, 128), 9,
                            TVrTextAlignment::vtaBottom, {QColor(255, 255, 0), 3, true}, false);
        b->setObjectName(QStringLiteral("vhiOdpoved%1").arg(k));
        b->OnClick = [this, k] { vhiOdpoved1Click(k); };
        vhiOdpoved[size_t(k - 1)] = b;
    }

    vdgBody = new TVrDigitGroup(this);
    vdgBody->setObjectName(QStringLiteral("vdgBody"));
    vdgBody->setGeometry(75, 264, 161, 35);
    vdgBody->SetDigits(5);
    vdgBody->SetDecimals(1);
    vdgBody->SetLeadingZero(false);
    vdgBody->SetValue(150.0);

    Reset();
}

void TfrmKonecLevelu::otevri(uint8_t mode) {
    RunEndOfLevel(game_, *this, mode);
}

void TfrmKonecLevelu::Reset() {
    for (TVrHotImage* b : vhiOdpoved) b->hide();
    vdgBody->hide();
    vhiCLose->hide();
    vdgBody->SetPaletteLow(kGreen);
    vdgBody->SetPaletteHigh(kLime);
    closeAllowed_ = false;
    answered_ = false;
}

void TfrmKonecLevelu::ShowQuiz(const std::string& title, const TLevel& level) {
    Reset();
    vrlTitulek->SetCaption(QString::fromStdString(title));
    lblText2->setText(FromCp1250(level.Question));
    const std::array<const std::string*, 4> answers{&level.Answer1, &level.Answer2, &level.Answer3,
                                                    &level.Answer4};
    bool anyAnswer = false;
    for (size_t i = 0; i < 4; ++i) {
        vhiOdpoved[i]->SetCaption(FromCp1250(*answers[i]));
        vhiOdpoved[i]->setVisible(!answers[i]->empty());
        anyAnswer = anyAnswer || !answers[i]->empty();
    }
    vdgBody->SetValue(level.QuizScore);
    vdgBody->SetOutlineColor(Qt::black);
    vdgBody->show();
    lblText2->resize(289, 73);
    // With nothing to click the window could never close: it closes like a notice.
    if (!anyAnswer) {
        vhiCLose->show();
        closeAllowed_ = true;
    }
}

void TfrmKonecLevelu::ShowNotice(const std::string& title, const std::string& text) {
    Reset();
    vrlTitulek->SetCaption(QString::fromStdString(title));
    lblText2->setText(QString::fromStdString(text));
    lblText2->resize(289, 73);
    vhiCLose->show();
    closeAllowed_ = true;
}

void TfrmKonecLevelu::Exec(const std::function<bool(int)>& answer) {
    answer_ = answer;
    exec();
    answer_ = nullptr;
}

void TfrmKonecLevelu::vhiOdpoved1Click(int k) {
    closeAllowed_ = true;
    if (answered_) return;  // only the first click of a showing counts
    answered_ = true;
    const bool right = answer_ && answer_(k);
    // Right: the unlit segments vanish and the points stand out. Wrong: the lit ones take
    // the unlit colour and the points fade out. Either is on the screen before the pause.
    if (right)
        vdgBody->SetPaletteLow(Qt::black);
    else
        vdgBody->SetPaletteHigh(kGreen);
    if (Pause) Pause(1000);
    CloseQuery();
}

void TfrmKonecLevelu::vhiCLoseClick() {
    CloseQuery();
}

void TfrmKonecLevelu::CloseQuery() {
    // Hiding the dialog rather than closing its window keeps the window for the next
    // showing, as the window is reused for the whole run.
    if (closeAllowed_) done(QDialog::Rejected);
}

void TfrmKonecLevelu::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmKonecLevelu::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
        CloseQuery();
        return;
    }
    // Keys 1-4 click the answers, so the quiz can be played without the mouse.
    if (key >= Qt::Key_1 && key <= Qt::Key_4) {
        TVrHotImage* b = vhiOdpoved[size_t(key - Qt::Key_1)];
        if (b->isVisible() && b->isEnabled()) vhiOdpoved1Click(key - Qt::Key_1 + 1);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TfrmKonecLevelu::closeEvent(QCloseEvent* event) {
    if (!closeAllowed_) {
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

}  // namespace pabuko
