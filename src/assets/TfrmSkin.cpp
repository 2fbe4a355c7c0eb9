#include "assets/TfrmSkin.h"

namespace pabuko {

TfrmSkin::TfrmSkin(std::string skinFolder, std::function<void(const std::string&)> loadSkin,
                   QWidget* parent)
    : ChoiceDialog(QStringLiteral("Vyberte skin"), parent),
      skinFolder_(std::move(skinFolder)),
      loadSkin_(std::move(loadSkin)) {}

std::vector<std::string> TfrmSkin::Names() const {
    return ListDataFiles(skinFolder_, ".qvs");
}

void TfrmSkin::Choose(const std::string& name) {
    if (loadSkin_) loadSkin_(name);
}

}  // namespace pabuko
