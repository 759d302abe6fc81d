#pragma once

#include "gfx/Color.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace zg {

class PackedReader;
class PackedWriter;

/// One user tray as the saved game stores it: 148 packed little-endian bytes.
struct TrayRecord {
    static constexpr std::size_t kSize = 148;
    static constexpr std::size_t kDescriptionCapacity = 128;

    int16_t Number = 0;
    int16_t Left = 0;
    int16_t Top = 0;
    uint16_t Width = 0;
    uint16_t Height = 0;
    int32_t StackStamp = 0;
    Color TrayColor = 0;
    bool Open = true;
    std::string Description; ///< UTF-8

    /// Writes the record. The description is encoded to code page 1252 (a
    /// character the code page lacks becomes "?") and cut to 128 bytes.
    void write(PackedWriter& out) const;
    /// Reads a record, always consuming 148 bytes. A description length above
    /// 128 is cut to 128; any Open byte but 0 counts as open.
    /// @throws std::out_of_range when fewer than 148 bytes remain.
    static TrayRecord read(PackedReader& in);
};

/// `utf8` in code page 1252, with "?" for each character the code page lacks,
/// cut to at most `maxBytes` bytes.
std::string toCp1252Lossy(const std::string& utf8, std::size_t maxBytes);

} // namespace zg
