#pragma once
// The name prompt of the top list: at most 20 characters, each one that Windows-1250
// can hold, since the name is stored as 20 such bytes.
#include <QValidator>
#include <string>

class QWidget;

namespace pabuko {

// Drops what the top list cannot store (a character outside Windows-1250, a control
// character) from typed or pasted text instead of refusing the whole input.
class TopListNameValidator : public QValidator {
  public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// Caption "Zápis do TopListu", prompt "Zadejte své jméno:", default "anonym". OK gives
// the edited name, Cancel "anonym"; the result is in Windows-1250, at most 20 bytes.
std::string AskTopListName(QWidget* parent);

}  // namespace pabuko
