#include "endgame/TopListWindow.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>
#include <QScreen>

#include "display/VrHotImage.h"
#include "platform/QtText.h"

namespace pabuko {

namespace {
constexpr int kNameX = 31;
constexpr int kPointsX = 155;
constexpr int kColumnGap = 4;  // between a cut name and the scores
}  // namespace

QImage DrawTopList(const QImage& background, const TopListEntries& entries) {
    QImage picture = background.isNull() ? QImage(250, 300, QImage::Format_RGB32)
                                         : background.convertToFormat(QImage::Format_RGB32);
    if (background.isNull()) picture.fill(Qt::white);
    QPainter p(&picture);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);  // 8 points at 96 dots per inch
    font.setBold(true);
    p.setPen(QColor(0, 0, 128));
    for (int r = 1; r <= 10; ++r) {
        if (r == 4) font.setBold(false);  // ranks 1 to 3 stand out
        p.setFont(font);
        const QFontMetrics metrics(font);
        const int y = r <= 3 ? 16 * r + 96 : r <= 7 ? 16 * r + 95 : 16 * r + 94;
        const int baseline = y + metrics.ascent();  // y is the top of the text
        const TopListEntry& e = entries[size_t(r - 1)];
        p.setClipRect(QRect(kNameX, y, kPointsX - kColumnGap - kNameX, metrics.height()));
        p.drawText(kNameX, baseline, FromCp1250(e.Name));
        p.setClipping(false);
        p.drawText(kPointsX, baseline, QString::number(e.Points));
    }
    return picture;
}

TfrmTopList::TfrmTopList(const TopListEntries& entries, std::function<QImage()> background,
                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint),
      entries_(entries),
      background_(std::move(background)) {
    setWindowTitle(QStringLiteral("TOP-List"));
    setFixedSize(250, 300);

    image = new QLabel(this);
    image->setObjectName(QStringLiteral("image"));
    image->setGeometry(0, 0, 250, 300);
    image->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    VrHotImage1 = new TVrHotImage(this);
    VrHotImage1->setObjectName(QStringLiteral("VrHotImage1"));
    VrHotImage1->setGeometry(224, 0, 21, 21);
    VrHotImage1->SetCaption(QStringLiteral("X"));
    VrHotImage1->SetTransparent(true);
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(11);
    font.setBold(true);
    VrHotImage1->SetFont(font);
    VrHotImage1->SetFontColor(Qt::white);
    VrHotImage1->SetColorEnter(QColor(255, 255, 0));
    VrHotImage1->SetTextAlignment(TVrTextAlignment::vtaCenter);
    VrHotImage1->SetHotRect({Qt::white, 2, true});
    VrHotImage1->setCursor(Qt::PointingHandCursor);
    VrHotImage1->OnClick = [this] { accept(); };
}

void TfrmTopList::FormShow() {
    picture_ = DrawTopList(background_ ? background_() : QImage(), entries_);
    image->setPixmap(QPixmap::fromImage(picture_));
}

void TfrmTopList::showEvent(QShowEvent* event) {
    FormShow();
    QDialog::showEvent(event);
    if (const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TfrmTopList::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace pabuko
