#include "platform/QtText.h"

#include "platform/TextEncoding.h"

namespace pabuko {

QString FromCp1250(const std::string& bytes) {
    return QString::fromStdString(Cp1250ToUtf8(bytes));
}

std::string ToCp1250(const QString& text) {
    return Utf8ToCp1250Lossy(text.toStdString());
}

}  // namespace pabuko
