#pragma once
// The list dialog the level-set and skin choices share: a list of names, "OK" and
// "Zrušit". OK, Enter in the list or a double click choose the selected name; Esc cancels.
#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace pabuko {

// The names of the files in `folder` that end in `extension` (four characters, dot
// included), each less its extension, in the order the file system gives them.
std::vector<std::string> ListDataFiles(const std::string& folder, const std::string& extension);

class ChoiceDialog : public QDialog {
    Q_OBJECT
  public:
    ChoiceDialog(const QString& caption, QWidget* parent);

    QListWidget* ListBox = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;

    // What OK, Enter and a double click do; with nothing selected they do nothing.
    void OK();

  protected:
    // The names to list, asked at every showing.
    virtual std::vector<std::string> Names() const = 0;
    // The choice of `name`; the dialog closes afterwards.
    virtual void Choose(const std::string& name) = 0;

    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void Fill();
};

}  // namespace pabuko
