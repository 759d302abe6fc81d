#pragma once

#include <stdexcept>
#include <string>

namespace zg {

/// The text shown when a new piece size needs more picture memory than the
/// puzzle may use; the piece size dialog shows it and rebuilds at 100 %.
inline constexpr const char* kLargePieceSizeMessage =
    "Insufficient graphics resources to set such a large piece size - reducing the number of Windows "
    "desktop colors may help. Setting scale factor back to 100%...";

/// Raised by the labelling step, before anything is allocated, when the piece
/// atlases of a cut would be wider or taller than 65,535 pixels or would need
/// more than kMaxAtlasBytes. A puzzle built from the gift reports it as a
/// damaged gift; a rescale reports kLargePieceSizeMessage.
class AtlasTooLargeError : public std::runtime_error {
public:
    explicit AtlasTooLargeError(const std::string& what) : std::runtime_error(what) {}
};

} // namespace zg
