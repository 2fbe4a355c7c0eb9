#include "main/StandInDialogs.h"

#include <QCloseEvent>
#include <QFont>
#include <QKeyEvent>
#include <QThread>

namespace pabuko {

namespace {

void MakeBlack(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, Qt::black);
    w->setPalette(p);
    w->setAutoFillBackground(true);
}

QFont Arial(int pixels, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

const char* kButtonStyle =
    "QPushButton { color: white; background: black; border: none; }"
    "QPushButton:hover { color: navy; }";

}  // namespace

// --- end of level --------------------------------------------------------------------

EndOfLevelDialog::EndOfLevelDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Hurbo's Pabuko"));
    setFixedSize(311, 308);
    MakeBlack(this);
    setStyleSheet(kButtonStyle);

    title_ = new QLabel(this);
    title_->setGeometry(8, 16, 289, 25);
    title_->setFont(Arial(19, true));
    title_->setStyleSheet(QStringLiteral("color: red;"));
    title_->setAlignment(Qt::AlignCenter);

    text_ = new QLabel(this);
    text_->setGeometry(8, 48, 289, 73);
    text_->setFont(Arial(15, true));
    text_->setStyleSheet(QStringLiteral("color: silver;"));
    text_->setAlignment(Qt::AlignCenter);
    text_->setWordWrap(true);

    for (int k = 1; k <= 4; ++k) {
        auto* b = new QPushButton(this);
        b->setGeometry(0, 128 + 32 * (k - 1), 311, 21);
        b->setFont(Arial(12, true));
        b->setAutoDefault(false);
        // Answers are clicked, as the hot images were; Space must not answer for the player.
        b->setFocusPolicy(Qt::NoFocus);
        b->setCursor(Qt::PointingHandCursor);
        connect(b, &QPushButton::clicked, this, [this, k] { Answer(k); });
        answers_[k - 1] = b;
    }

    points_ = new QLabel(this);
    points_->setGeometry(75, 264, 161, 35);
    points_->setFont(Arial(28, true));
    points_->setAlignment(Qt::AlignCenter);

    close_ = new QPushButton(QStringLiteral("X"), this);
    close_->setGeometry(280, 0, 21, 21);
    close_->setFont(Arial(11, true));
    close_->setAutoDefault(false);
    close_->setFocusPolicy(Qt::NoFocus);
    close_->setCursor(Qt::PointingHandCursor);
    connect(close_, &QPushButton::clicked, this, &QDialog::reject);
    Reset();
}

void EndOfLevelDialog::Reset() {
    for (auto* b : answers_) b->hide();
    points_->hide();
    points_->setStyleSheet(QStringLiteral("color: lime;"));
    close_->hide();
    closeAllowed_ = false;
    answered_ = false;
}

void EndOfLevelDialog::SetTitle(const QString& title) {
    title_->setText(title);
}
void EndOfLevelDialog::SetText(const QString& text) {
    text_->setText(text);
}

void EndOfLevelDialog::SetAnswers(const std::array<QString, 4>& answers) {
    for (int i = 0; i < 4; ++i) {
        answers_[i]->setText(answers[i]);
        answers_[i]->setVisible(!answers[i].isEmpty());
    }
}

void EndOfLevelDialog::ShowPoints(int points) {
    points_->setText(QString::number(points));
    points_->show();
}

void EndOfLevelDialog::ShowCloseButton() {
    close_->show();
}

void EndOfLevelDialog::Answer(int k) {
    closeAllowed_ = true;
    if (answered_) return;  // only the first click of a showing counts
    answered_ = true;
    const bool right = OnAnswer && OnAnswer(k);
    // Right: the points stand out; wrong: they fade into the unlit colour.
    points_->setStyleSheet(right ? QStringLiteral("color: lime; background: black;")
                                 : QStringLiteral("color: green;"));
    points_->repaint();
    QThread::msleep(1000);  // the answer stays on view; the game waits
    accept();
}

void EndOfLevelDialog::done(int result) {
    if (!closeAllowed_) return;
    QDialog::done(result);
}

void EndOfLevelDialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            done(QDialog::Rejected);  // subject to the close rule
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void EndOfLevelDialog::closeEvent(QCloseEvent* event) {
    if (closeAllowed_)
        QDialog::closeEvent(event);
    else
        event->ignore();
}

}  // namespace pabuko
