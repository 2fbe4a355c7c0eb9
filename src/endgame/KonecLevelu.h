#pragma once
// TfrmKonecLevelu: the borderless end-of-level window with the quiz. RunEndOfLevel drives
// it (the payout, the waves, the end of the game); the window shows what it is told, takes
// the first answer and keeps itself open until closing is allowed.
#include <QDialog>
#include <array>
#include <functional>

#include "core/EndOfLevel.h"

class QLabel;

namespace pabuko {

class Game;
class TVrDigitGroup;
class TVrHotImage;
class TVrLabel;

class TfrmKonecLevelu : public QDialog, public EndOfLevelWindow {
    Q_OBJECT
  public:
    TfrmKonecLevelu(Game& game, QWidget* parent = nullptr);

    // Prepares the window for the mode, shows it modally and returns after it has closed.
    void otevri(uint8_t mode);

    // Whether the window may close now.
    bool CloseAllowed() const { return closeAllowed_; }

    // The pause after an answer; the game does not respond during it. Tests shorten it.
    std::function<void(int ms)> Pause;

    TVrLabel* vrlTitulek = nullptr;
    QLabel* lblText2 = nullptr;
    TVrHotImage* vhiCLose = nullptr;
    std::array<TVrHotImage*, 4> vhiOdpoved{};  // vhiOdpoved1 … vhiOdpoved4
    TVrDigitGroup* vdgBody = nullptr;

    // --- EndOfLevelWindow ---
    void ShowQuiz(const std::string& title, const TLevel& level) override;
    void ShowNotice(const std::string& title, const std::string& text) override;
    void Exec(const std::function<bool(int)>& answer) override;

  protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;  // FormCloseQuery

  private:
    void Reset();
    void vhiOdpoved1Click(int k);
    void vhiCLoseClick();
    void CloseQuery();  // closes when CloseAllowed

    Game& game_;
    std::function<bool(int)> answer_;
    bool closeAllowed_ = false;
    bool answered_ = false;
};

}  // namespace pabuko
