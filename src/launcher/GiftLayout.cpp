#include "launcher/GiftLayout.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <elf.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace zg::bundle {

namespace {

uint32_t get32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

/// The end of the 64-bit ELF image at the start of the file: the furthest of
/// the section header table and every segment's file bytes. 0 when the file
/// does not start with a 64-bit ELF header.
uint64_t elfImageEnd(int fd, uint64_t fileSize) {
    Elf64_Ehdr eh;
    if (!readAt(fd, 0, &eh, sizeof eh) || std::memcmp(eh.e_ident, ELFMAG, SELFMAG) != 0 ||
        eh.e_ident[EI_CLASS] != ELFCLASS64) {
        return 0;
    }
    uint64_t end = sizeof eh;
    if (eh.e_shnum > 0) {
        end = std::max<uint64_t>(end, eh.e_shoff + uint64_t(eh.e_shnum) * eh.e_shentsize);
    }
    if (eh.e_phnum > 0 && eh.e_phentsize == sizeof(Elf64_Phdr)) {
        end = std::max<uint64_t>(end, eh.e_phoff + uint64_t(eh.e_phnum) * eh.e_phentsize);
        std::vector<Elf64_Phdr> ph(eh.e_phnum);
        if (!readAt(fd, eh.e_phoff, ph.data(), ph.size() * sizeof(Elf64_Phdr))) {
            return 0;
        }
        for (const Elf64_Phdr& p : ph) {
            end = std::max<uint64_t>(end, p.p_offset + p.p_filesz);
        }
    }
    return end <= fileSize ? end : 0;
}

/// True when [offset, offset + length) lies inside [0, limit), in arithmetic that cannot wrap.
bool inside(uint64_t offset, uint64_t length, uint64_t limit) {
    return offset <= limit && length <= limit - offset;
}

} // namespace

bool readAt(int fd, uint64_t offset, void* out, std::size_t length) {
    auto* p = static_cast<uint8_t*>(out);
    while (length > 0) {
        const ssize_t n = ::pread(fd, p, length, off_t(offset));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        p += n;
        offset += uint64_t(n);
        length -= std::size_t(n);
    }
    return true;
}

std::optional<Header> findBundle(int fd, uint64_t fileSize, uint64_t& programEnd) {
    programEnd = elfImageEnd(fd, fileSize);
    uint8_t headerBytes[kHeaderSize];
    if (programEnd == 0 || !inside(programEnd, kHeaderSize, fileSize) ||
        !readAt(fd, programEnd, headerBytes, kHeaderSize)) {
        return std::nullopt;
    }
    return decodeHeader(headerBytes);
}

std::optional<Header> findBundle(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        const std::string why = std::strerror(errno);
        if (fd >= 0) {
            ::close(fd);
        }
        throw std::runtime_error("cannot open \"" + path + "\": " + why);
    }
    uint64_t programEnd = 0;
    std::optional<Header> header = findBundle(fd, uint64_t(st.st_size), programEnd);
    ::close(fd);
    return header;
}

GiftLayout inspectGift(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        throw std::runtime_error(std::strerror(errno));
    }
    GiftLayout layout;
    layout.fileSize = uint64_t(st.st_size);
    if (layout.fileSize < kTrailerSize) {
        throw DamagedGiftError();
    }
    layout.trailerOffset = layout.fileSize - kTrailerSize;
    uint8_t head[18];
    if (!readAt(fd, layout.trailerOffset, head, sizeof head)) {
        throw std::runtime_error("cannot read the gift's trailer");
    }
    if ((uint32_t(head[0]) | uint32_t(head[1]) << 8) != kTrailerSize) {
        throw DamagedGiftError();
    }
    layout.pictureOffset = get32(head + 2);
    layout.pictureLength = get32(head + 6);
    layout.musicOffset = get32(head + 10);
    layout.musicLength = int32_t(get32(head + 14));
    if (layout.pictureLength == 0 || !inside(layout.pictureOffset, layout.pictureLength, layout.fileSize)) {
        throw DamagedGiftError();
    }

    const std::optional<Header> header = findBundle(fd, layout.fileSize, layout.programEnd);
    if (!header) {
        return layout;
    }
    // The bundle must sit wholly before the trailer and clear of the picture.
    layout.manifestOffset = layout.programEnd + kHeaderSize;
    const uint64_t limit = layout.trailerOffset;
    if (!inside(layout.manifestOffset, header->manifestLength, limit)) {
        throw DamagedGiftError();
    }
    layout.dataOffset = layout.manifestOffset + header->manifestLength;
    if (!inside(layout.dataOffset, header->dataLength, limit)) {
        throw DamagedGiftError();
    }
    const uint64_t bundleEnd = layout.dataOffset + header->dataLength;
    const uint64_t pictureEnd = layout.pictureOffset + layout.pictureLength;
    if (layout.pictureOffset < bundleEnd && pictureEnd > layout.programEnd) {
        throw DamagedGiftError();
    }
    layout.bundle = header;
    return layout;
}

GiftLayout inspectGift(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        throw std::runtime_error("cannot open \"" + path + "\": " + std::strerror(errno));
    }
    try {
        GiftLayout layout = inspectGift(fd);
        ::close(fd);
        return layout;
    } catch (...) {
        ::close(fd);
        throw;
    }
}

} // namespace zg::bundle
