#pragma once
// Which of the two banks a routine works on.
#include <cstdint>

namespace kavrel {

enum class BankId : uint8_t { A, B };

inline constexpr char bankLetter(BankId bank) {
    return bank == BankId::A ? 'A' : 'B';
}
inline constexpr BankId otherBank(BankId bank) {
    return bank == BankId::A ? BankId::B : BankId::A;
}

}  // namespace kavrel
