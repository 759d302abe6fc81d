#include "files/PackedIo.h"

#include <bit>
#include <cstring>

namespace zg {

void PackedReader::need(std::size_t count) const {
    if (count > remaining()) {
        throw std::out_of_range("packed record ends early");
    }
}

uint8_t PackedReader::u8() {
    need(1);
    return m_bytes[m_pos++];
}

uint16_t PackedReader::u16() {
    need(2);
    const uint16_t v = uint16_t(m_bytes[m_pos] | (m_bytes[m_pos + 1] << 8));
    m_pos += 2;
    return v;
}

uint32_t PackedReader::u32() {
    need(4);
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) {
        v = (v << 8) | m_bytes[m_pos + std::size_t(i)];
    }
    m_pos += 4;
    return v;
}

double PackedReader::f64() {
    need(8);
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) {
        v = (v << 8) | m_bytes[m_pos + std::size_t(i)];
    }
    m_pos += 8;
    return std::bit_cast<double>(v);
}

void PackedReader::skip(std::size_t count) {
    need(count);
    m_pos += count;
}

std::span<const uint8_t> PackedReader::bytes(std::size_t count) {
    need(count);
    const std::span<const uint8_t> part = m_bytes.subspan(m_pos, count);
    m_pos += count;
    return part;
}

std::string PackedReader::shortString(std::size_t capacity) {
    need(capacity + 1);
    std::size_t length = m_bytes[m_pos];
    if (length > capacity) {
        length = capacity;
    }
    std::string text(reinterpret_cast<const char*>(m_bytes.data() + m_pos + 1), length);
    m_pos += capacity + 1;
    return text;
}

std::optional<std::string> PackedReader::textBlock() {
    const std::span<const uint8_t> block = bytes(kTextBlockSize);
    const void* end = std::memchr(block.data(), 0, block.size());
    if (end == nullptr) {
        return std::nullopt;
    }
    const std::size_t length = std::size_t(static_cast<const uint8_t*>(end) - block.data());
    return std::string(reinterpret_cast<const char*>(block.data()), length);
}

void PackedWriter::u16(uint16_t v) {
    m_out.push_back(uint8_t(v));
    m_out.push_back(uint8_t(v >> 8));
}

void PackedWriter::u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        m_out.push_back(uint8_t(v >> (8 * i)));
    }
}

void PackedWriter::f64(double v) {
    const uint64_t bits = std::bit_cast<uint64_t>(v);
    for (int i = 0; i < 8; ++i) {
        m_out.push_back(uint8_t(bits >> (8 * i)));
    }
}

void PackedWriter::shortString(std::string_view raw, std::size_t capacity) {
    if (raw.size() > capacity || capacity > 255) {
        throw std::length_error("text longer than its field");
    }
    u8(uint8_t(raw.size()));
    m_out.insert(m_out.end(), raw.begin(), raw.end());
    zeros(capacity - raw.size());
}

void PackedWriter::textBlock(std::string_view raw) {
    if (raw.size() > kTextBlockCapacity) {
        throw std::length_error("text longer than its block");
    }
    if (raw.find('\0') != std::string_view::npos) {
        throw std::length_error("text holds a zero byte, which would end it early");
    }
    m_out.insert(m_out.end(), raw.begin(), raw.end());
    zeros(kTextBlockSize - raw.size());
}

} // namespace zg
