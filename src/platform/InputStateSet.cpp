#include "platform/InputStateSet.h"

#include <cstddef>

namespace pabuko {

bool InputStateSet::Has(int state) const {
    if (state < 0 || state >= kInputStateCount) return false;
    return (bytes_[state / 8] >> (state % 8)) & 1;
}

void InputStateSet::Add(int state) {
    if (state < 0 || state >= kInputStateCount) return;
    bytes_[state / 8] |= uint8_t(1u << (state % 8));
}

void InputStateSet::Remove(int state) {
    if (state < 0 || state >= kInputStateCount) return;
    bytes_[state / 8] &= uint8_t(~(1u << (state % 8)));
}

InputStateSet& InputStateSet::operator|=(const InputStateSet& other) {
    for (size_t i = 0; i < bytes_.size(); ++i) bytes_[i] |= other.bytes_[i];
    return *this;
}

}  // namespace pabuko
