#pragma once
// TfrmSkin: the choice of the skin among data/skins/*.qvs.
#include <functional>

#include "assets/ChoiceDialog.h"

namespace pabuko {

class TfrmSkin : public ChoiceDialog {
    Q_OBJECT
  public:
    // `loadSkin` makes the named skin the current one and loads it.
    TfrmSkin(std::string skinFolder, std::function<void(const std::string&)> loadSkin,
             QWidget* parent);

  protected:
    std::vector<std::string> Names() const override;
    void Choose(const std::string& name) override;

  private:
    std::string skinFolder_;
    std::function<void(const std::string&)> loadSkin_;
};

}  // namespace pabuko
