#include "endgame/NamePrompt.h"

#include <QInputDialog>
#include <QLineEdit>

#include "platform/TextEncoding.h"

namespace pabuko {

namespace {

constexpr int kNameLength = 20;

bool Storable(QChar c) {
    if (c.unicode() < 0x20 || c.isSurrogate()) return false;
    return Utf8ToCp1250(QString(c).toStdString()).has_value();
}

}  // namespace

QValidator::State TopListNameValidator::validate(QString& input, int& pos) const {
    QString kept;
    kept.reserve(input.size());
    int keptBeforeCursor = 0;
    for (int i = 0; i < input.size(); ++i) {
        if (!Storable(input[i])) continue;
        kept += input[i];
        if (i < pos) ++keptBeforeCursor;
    }
    input = kept.left(kNameLength);
    pos = std::min<int>(keptBeforeCursor, input.size());
    return Acceptable;
}

std::string AskTopListName(QWidget* parent) {
    QInputDialog dialog(parent);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(QStringLiteral("Zápis do TopListu"));
    dialog.setLabelText(QStringLiteral("Zadejte své jméno:"));
    dialog.setTextValue(QStringLiteral("anonym"));
    if (auto* edit = dialog.findChild<QLineEdit*>()) {
        edit->setMaxLength(kNameLength);
        edit->setValidator(new TopListNameValidator(edit));
    }
    const QString name =
        dialog.exec() == QDialog::Accepted ? dialog.textValue() : QStringLiteral("anonym");
    // The prompt already kept the name storable; the conversion only guards the length.
    std::string bytes = Utf8ToCp1250Lossy(name.toStdString());
    if (bytes.size() > kNameLength) bytes.resize(kNameLength);
    return bytes;
}

}  // namespace pabuko
