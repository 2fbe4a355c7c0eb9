#pragma once
// TfrmAbout: the title screen. A borderless black window with the title picture, "Jak hrát?"
// (the help) and "Hrát!" (to the game), and the credits of the libraries the game is made
// with. Esc, Enter and "Hrát!" close it.
#include <QDialog>
#include <QImage>
#include <functional>

class QLabel;
class QPlainTextEdit;

namespace pabuko {

class TVrHotImage;

class TfrmAbout : public QDialog {
    Q_OBJECT
  public:
    // `title`: item 0 of the basic graphics, null when they are missing (no picture then).
    TfrmAbout(const QImage& title, std::function<void()> showHelp, QWidget* parent);

    QLabel* Image = nullptr;
    TVrHotImage* btnJakHrat = nullptr;
    TVrHotImage* btnHrat = nullptr;
    QPlainTextEdit* Memo1 = nullptr;

    void btnJakHratClick();
    void btnHratClick();

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;  // FormKeyDown
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool FormKeyDown(const QKeyEvent* event);

    std::function<void()> showHelp_;
};

}  // namespace pabuko
