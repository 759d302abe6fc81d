#include "launcher/BundleFormat.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace zg::bundle {

namespace {

void put64(uint8_t* p, uint64_t v) {
    for (int i = 0; i < 8; ++i) {
        p[i] = uint8_t(v >> (8 * i));
    }
}

uint64_t get64(const uint8_t* p) {
    uint64_t v = 0;
    for (int i = 7; i >= 0; --i) {
        v = (v << 8) | p[i];
    }
    return v;
}

void append64(std::vector<uint8_t>& out, uint64_t v) {
    uint8_t bytes[8];
    put64(bytes, v);
    out.insert(out.end(), bytes, bytes + 8);
}

} // namespace

std::array<uint8_t, kHeaderSize> encodeHeader(const Header& header) {
    std::array<uint8_t, kHeaderSize> out{};
    std::memcpy(out.data(), kMagic.data(), kMagic.size());
    put64(out.data() + 8, header.manifestLength);
    put64(out.data() + 16, header.dataLength);
    put64(out.data() + 24, header.contentSize);
    put64(out.data() + 32, header.contentHash);
    return out;
}

std::optional<Header> decodeHeader(std::span<const uint8_t> bytes) {
    if (bytes.size() < kHeaderSize || std::memcmp(bytes.data(), kMagic.data(), kMagic.size()) != 0) {
        return std::nullopt;
    }
    Header header;
    header.manifestLength = get64(bytes.data() + 8);
    header.dataLength = get64(bytes.data() + 16);
    header.contentSize = get64(bytes.data() + 24);
    header.contentHash = get64(bytes.data() + 32);
    if (header.manifestLength > kMaxManifestLength) {
        return std::nullopt;
    }
    return header;
}

std::vector<uint8_t> encodeManifest(const std::vector<Entry>& entries) {
    std::vector<uint8_t> out;
    for (const Entry& e : entries) {
        out.push_back(uint8_t(e.path.size()));
        out.insert(out.end(), e.path.begin(), e.path.end());
        out.push_back(e.executable ? 1 : 0);
        append64(out, e.size);
        append64(out, e.hash);
    }
    return out;
}

std::optional<std::vector<Entry>> decodeManifest(std::span<const uint8_t> bytes, uint64_t contentSize) {
    std::vector<Entry> entries;
    std::set<std::string> seen;
    uint64_t total = 0;
    std::size_t at = 0;
    while (at < bytes.size()) {
        const std::size_t length = bytes[at++];
        if (bytes.size() - at < length + 17) {
            return std::nullopt;
        }
        Entry e;
        e.path.assign(reinterpret_cast<const char*>(bytes.data() + at), length);
        at += length;
        const uint8_t flags = bytes[at++];
        e.executable = flags == 1;
        e.size = get64(bytes.data() + at);
        e.hash = get64(bytes.data() + at + 8);
        at += 16;
        if (flags > 1 || !isSafePath(e.path) || !seen.insert(e.path).second || e.size > contentSize - total) {
            return std::nullopt;
        }
        total += e.size;
        entries.push_back(std::move(e));
    }
    if (total != contentSize || entries.empty()) {
        return std::nullopt;
    }
    // A file cannot also be the folder of another.
    for (const Entry& e : entries) {
        for (std::size_t slash = e.path.find('/'); slash != std::string::npos;
             slash = e.path.find('/', slash + 1)) {
            if (seen.contains(e.path.substr(0, slash))) {
                return std::nullopt;
            }
        }
    }
    return entries;
}

bool isSafePath(const std::string& path) {
    if (path.empty() || path.size() > kMaxPathLength || path.front() == '/' ||
        path.find('\0') != std::string::npos) {
        return false;
    }
    std::size_t start = 0;
    while (start <= path.size()) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        const std::string part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") {
            return false;
        }
        start = end + 1;
    }
    return true;
}

std::string hashName(uint64_t hash) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string name(16, '0');
    for (int i = 15; i >= 0; --i) {
        name[std::size_t(i)] = kDigits[hash & 0xF];
        hash >>= 4;
    }
    return name;
}

} // namespace zg::bundle
