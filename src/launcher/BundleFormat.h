#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zg::bundle {

/// A portable player is the launcher program, then a bundle: a fixed header,
/// a manifest naming every file, and one zstd frame holding the files'
/// contents one after another in manifest order. A gift appends its payload
/// and trailer to that, as it would to a plain player.
inline constexpr std::array<char, 8> kMagic = {'Z', 'G', 'B', 'U', 'N', 'D', 'L', '1'};
inline constexpr std::size_t kHeaderSize = 40;

/// Limits that keep a damaged manifest from asking for absurd amounts of memory.
inline constexpr uint64_t kMaxManifestLength = 1u << 20;
inline constexpr std::size_t kMaxPathLength = 255;

struct Header {
    uint64_t manifestLength = 0; ///< bytes of manifest after the header
    uint64_t dataLength = 0;     ///< bytes of the zstd frame after the manifest
    uint64_t contentSize = 0;    ///< sum of the files' sizes
    /// xxHash of the manifest. The manifest holds every file's size and hash,
    /// so this names the bundle's whole content: it is the cache folder's name.
    uint64_t contentHash = 0;
};

struct Entry {
    std::string path; ///< relative, '/'-separated, no "." or ".." parts
    bool executable = false;
    uint64_t size = 0;
    uint64_t hash = 0; ///< Xxh64 of the content
};

std::array<uint8_t, kHeaderSize> encodeHeader(const Header& header);

/// The header in `bytes`, or nothing when the magic is absent or the
/// manifest length is beyond kMaxManifestLength.
std::optional<Header> decodeHeader(std::span<const uint8_t> bytes);

std::vector<uint8_t> encodeManifest(const std::vector<Entry>& entries);

/// The entries in `bytes`, or nothing when the manifest is damaged: it must
/// parse exactly, every path must be safe to create under a folder (see
/// isSafePath) and appear once, and the sizes must add up to `contentSize`.
std::optional<std::vector<Entry>> decodeManifest(std::span<const uint8_t> bytes, uint64_t contentSize);

/// True for a relative path of ordinary names: not empty, no leading '/', no
/// empty, "." or ".." parts, no NUL, at most kMaxPathLength bytes.
bool isSafePath(const std::string& path);

/// The content hash as the cache folder names it: 16 lower-case hex digits.
std::string hashName(uint64_t hash);

} // namespace zg::bundle
