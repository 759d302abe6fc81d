#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace zg {

/// Size of a zero-terminated text block in the file records.
constexpr std::size_t kTextBlockSize = 1025;
/// Most characters a text block holds (one byte stays for the terminator).
constexpr std::size_t kTextBlockCapacity = kTextBlockSize - 1;

/// Reads the packed little-endian records of the gift and the saved game from
/// a byte range. Every read checks the remaining length first.
class PackedReader {
public:
    explicit PackedReader(std::span<const uint8_t> bytes) : m_bytes(bytes) {}

    std::size_t position() const { return m_pos; }
    std::size_t remaining() const { return m_bytes.size() - m_pos; }

    /// @throws std::out_of_range when fewer bytes remain than the read needs (as for all reads).
    uint8_t u8();
    uint16_t u16();
    int16_t i16() { return int16_t(u16()); }
    uint32_t u32();
    int32_t i32() { return int32_t(u32()); }
    double f64();
    void skip(std::size_t count);
    std::span<const uint8_t> bytes(std::size_t count);

    /// A short string of `capacity` characters (capacity + 1 bytes). A length
    /// byte above the capacity is cut to the capacity. Returns the raw bytes.
    std::string shortString(std::size_t capacity);

    /// A 1,025-byte text block: the raw bytes before the terminator, or nullopt
    /// when the block holds no terminator. Consumes the whole block either way.
    std::optional<std::string> textBlock();

private:
    void need(std::size_t count) const;

    std::span<const uint8_t> m_bytes;
    std::size_t m_pos = 0;
};

/// Appends packed little-endian fields to a byte vector.
class PackedWriter {
public:
    explicit PackedWriter(std::vector<uint8_t>& out) : m_out(out) {}

    void u8(uint8_t v) { m_out.push_back(v); }
    void u16(uint16_t v);
    void i16(int16_t v) { u16(uint16_t(v)); }
    void u32(uint32_t v);
    void i32(int32_t v) { u32(uint32_t(v)); }
    void f64(double v);
    void zeros(std::size_t count) { m_out.insert(m_out.end(), count, 0); }
    void bytes(std::span<const uint8_t> data) { m_out.insert(m_out.end(), data.begin(), data.end()); }

    /// Writes a short string of `capacity` characters: length byte, text, zero fill.
    /// @throws std::length_error when `raw` is longer than the capacity.
    void shortString(std::string_view raw, std::size_t capacity);

    /// Writes a 1,025-byte text block: text, terminator, zero fill.
    /// @throws std::length_error when `raw` is longer than 1,024 bytes or holds a zero byte.
    void textBlock(std::string_view raw);

private:
    std::vector<uint8_t>& m_out;
};

} // namespace zg
