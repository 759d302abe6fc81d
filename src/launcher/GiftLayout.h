#pragma once

#include "launcher/BundleFormat.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>

namespace zg::bundle {

/// The text every damaged gift is reported with.
inline constexpr const char* kDamagedMessage = "This jigsaw gift file is damaged and cannot be opened";
inline constexpr uint64_t kTrailerSize = 3421;

class DamagedGiftError : public std::runtime_error {
public:
    DamagedGiftError() : std::runtime_error(kDamagedMessage) {}
};

/// Where the parts of a gift file lie. A portable gift starts with the
/// launcher program, followed by its bundle; a gift for the system's
/// libraries starts with the plain player. Either way the picture, the
/// music and the trailer are found from the trailer at the end of the file.
struct GiftLayout {
    uint64_t fileSize = 0;
    uint64_t programEnd = 0; ///< where the ELF program image ends

    std::optional<Header> bundle; ///< present for a portable gift
    uint64_t manifestOffset = 0;
    uint64_t dataOffset = 0;

    uint64_t pictureOffset = 0;
    uint64_t pictureLength = 0;
    uint64_t musicOffset = 0;
    int64_t musicLength = 0; ///< 0 or less: no music
    uint64_t trailerOffset = 0;

    bool portable() const { return bundle.has_value(); }
};

/// Reads the layout of the gift open on `fd`.
/// @throws DamagedGiftError when the file is shorter than the trailer, the
///         trailer's size word is not 3421, the picture is empty or leaves the
///         file, or a bundle is announced but its parts overlap the picture or
///         the trailer or reach past them.
/// @throws std::runtime_error when the file cannot be read.
GiftLayout inspectGift(int fd);

/// The same for the file at `path`.
GiftLayout inspectGift(const std::string& path);

/// The bundle header right after the ELF program image at the start of the
/// file open on `fd`, if there is one; `programEnd` gets where that image ends
/// (0 when the file is no 64-bit ELF program).
std::optional<Header> findBundle(int fd, uint64_t fileSize, uint64_t& programEnd);

/// The same for the file at `path` (a player or a gift).
/// @throws std::runtime_error when the file cannot be opened.
std::optional<Header> findBundle(const std::string& path);

/// Reads exactly `length` bytes at `offset`; false on a short read or error.
bool readAt(int fd, uint64_t offset, void* out, std::size_t length);

} // namespace zg::bundle
