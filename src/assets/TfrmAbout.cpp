#include "assets/TfrmAbout.h"

#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>

#include "display/VrHotImage.h"

namespace pabuko {

namespace {

TVrHotImage* MakeButton(QWidget* parent, const QString& caption, const QString& hint, int x) {
    auto* b = new TVrHotImage(parent);
    b->setGeometry(x, 312, 85, 25);
    b->SetCaption(caption);
    b->setToolTip(hint);
    b->setCursor(Qt::PointingHandCursor);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(true);
    b->SetFont(font);
    b->SetFontColor(Qt::white);
    b->SetColorEnter(Qt::red);
    b->SetColorLeave(Qt::black);
    b->SetTextAlignment(TVrTextAlignment::vtaCenter);
    b->SetHotRect(TVrHotRect{Qt::white, 2, true});
    return b;
}

}  // namespace

TfrmAbout::TfrmAbout(const QImage& title, std::function<void()> showHelp, QWidget* parent)
    : QDialog(parent), showHelp_(std::move(showHelp)) {
    setWindowTitle(QStringLiteral("frmAbout"));
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
    setFixedSize(300, 417);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);

    Image = new QLabel(this);
    Image->setObjectName(QStringLiteral("Image"));
    Image->setGeometry(0, 0, 300, 300);
    Image->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // unscaled, from the top-left corner
    if (!title.isNull()) Image->setPixmap(QPixmap::fromImage(title));

    btnJakHrat = MakeButton(this, QStringLiteral("Jak hrát?"), QStringLiteral("Nápověda"), 24);
    btnJakHrat->setObjectName(QStringLiteral("btnJakHrat"));
    btnJakHrat->OnClick = [this] { btnJakHratClick(); };
    btnHrat = MakeButton(this, QStringLiteral("Hrát!"),
                         QStringLiteral("Vstoupit / Vrátit se do hry"), 192);
    btnHrat->setObjectName(QStringLiteral("btnHrat"));
    btnHrat->OnClick = [this] { btnHratClick(); };

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setGeometry(0, 351, 300, 66);
    Memo1->setReadOnly(true);
    Memo1->setFrameShape(QFrame::NoFrame);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setContextMenuPolicy(Qt::NoContextMenu);
    QFont memoFont(QStringLiteral("Arial"));
    memoFont.setPixelSize(11);  // 8 points at 96 dots per inch
    Memo1->setFont(memoFont);
    QPalette memo = Memo1->palette();
    memo.setColor(QPalette::Base, Qt::black);
    memo.setColor(QPalette::Text, QColor(0, 255, 0));
    Memo1->setPalette(memo);
    Memo1->setPlainText(
        QStringLiteral("V tomto programu bylo použito těchto komponent:\n"
                       "Qt 6 (okna a kreslení) – The Qt Company a komunita Qt\n"
                       "SDL 2 (zvuk) – Sam Lantinga a vývojáři SDL\n"
                       "FluidSynth (hudba) – Peter Hanappe a vývojáři FluidSynth"));
    Memo1->installEventFilter(this);
    Memo1->setFocus();
}

void TfrmAbout::btnJakHratClick() {
    if (showHelp_) showHelp_();
}

void TfrmAbout::btnHratClick() {
    accept();
}

void TfrmAbout::showEvent(QShowEvent* event) {
    if (const QScreen* s = screen()) move(s->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
    Memo1->setFocus();
}

bool TfrmAbout::FormKeyDown(const QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            reject();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            btnHratClick();
            return true;
        default:
            return false;
    }
}

void TfrmAbout::keyPressEvent(QKeyEvent* event) {
    if (!FormKeyDown(event)) QDialog::keyPressEvent(event);
}

bool TfrmAbout::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Memo1 && event->type() == QEvent::KeyPress &&
        FormKeyDown(static_cast<QKeyEvent*>(event)))
        return true;
    return QDialog::eventFilter(watched, event);
}

}  // namespace pabuko
