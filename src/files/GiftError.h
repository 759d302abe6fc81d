#pragma once

#include <stdexcept>
#include <string>

namespace zg {

/// The text shown for any gift that cannot be used.
inline constexpr const char* kDamagedGiftMessage = "This jigsaw gift file is damaged and cannot be opened";

/// Raised when the gift appended to the program cannot be used: a bad trailer,
/// a range outside the file, or a puzzle that cannot be cut.
class GiftDamagedError : public std::runtime_error {
public:
    GiftDamagedError() : std::runtime_error(kDamagedGiftMessage) {}
};

} // namespace zg
