#pragma once
// TfrmTopList: the ten best scores drawn over the top list picture of the basic graphics,
// in a borderless window closed by its "X", Esc or Enter.
#include <QDialog>
#include <QImage>
#include <functional>

#include "core/TopListEntry.h"

class QLabel;

namespace pabuko {

class TVrHotImage;

// The window's picture: the background (white when there is none) with the names at x 31
// and the scores at x 155, ranks 1-3 bold, in three groups. A name is cut before the
// score column.
QImage DrawTopList(const QImage& background, const TopListEntries& entries);

class TfrmTopList : public QDialog {
    Q_OBJECT
  public:
    // `background` gives item 1 of the basic graphics at every showing (null when missing).
    TfrmTopList(const TopListEntries& entries, std::function<QImage()> background,
                QWidget* parent = nullptr);

    // The show handler: a fresh copy of the background with the list drawn over it.
    void FormShow();
    const QImage& Picture() const { return picture_; }

    QLabel* image = nullptr;
    TVrHotImage* VrHotImage1 = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    const TopListEntries& entries_;
    std::function<QImage()> background_;
    QImage picture_;
};

}  // namespace pabuko
