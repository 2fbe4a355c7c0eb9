#pragma once
// A plain window that already behaves as the game expects: the end-of-level window with
// its quiz.
#include <QDialog>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <array>
#include <functional>

namespace pabuko {

class EndOfLevelDialog : public QDialog {
    Q_OBJECT
  public:
    explicit EndOfLevelDialog(QWidget* parent);

    // Puts the window into its empty state (no answers, no points, no close button).
    void Reset();
    void SetTitle(const QString& title);
    void SetText(const QString& text);
    // Answers with empty text stay hidden.
    void SetAnswers(const std::array<QString, 4>& answers);
    void ShowPoints(int points);
    void ShowCloseButton();
    void SetCloseAllowed(bool allowed) { closeAllowed_ = allowed; }
    bool CloseAllowed() const { return closeAllowed_; }
    QPushButton* AnswerButton(int k) { return answers_[k - 1]; }  // k = 1 … 4
    QPushButton* CloseButton() { return close_; }
    QLabel* PointsLabel() { return points_; }

    // Called with k = 1 … 4 for the first answer clicked; returns whether it was right.
    std::function<bool(int k)> OnAnswer;

    void done(int result) override;  // refused while closing is not allowed

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

  private:
    void Answer(int k);

    QLabel* title_;
    QLabel* text_;
    std::array<QPushButton*, 4> answers_{};
    QLabel* points_;
    QPushButton* close_;
    bool closeAllowed_ = false;
    bool answered_ = false;
};

}  // namespace pabuko
