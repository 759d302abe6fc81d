#include "files/SaveFiles.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zg {

namespace fs = std::filesystem;

namespace {

constexpr const char* kDataFolderName = "zanthoria-gift";

std::string withExtension(const std::string& path, const char* extension) {
    fs::path p(path);
    p.replace_extension(extension);
    return p.string();
}

const char* extensionOf(SavedGameFiles::Kind kind) {
    return kind == SavedGameFiles::Kind::Save ? ".sav" : ".rec";
}

/// FNV-1a, 64 bits: a stable short name for a full path.
uint64_t pathHash(const std::string& text) {
    uint64_t h = 0xcbf29ce484222325ull;
    for (const char c : text) {
        h ^= uint8_t(c);
        h *= 0x100000001b3ull;
    }
    return h;
}

std::optional<fs::file_time_type> modified(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
        return std::nullopt;
    }
    const fs::file_time_type t = fs::last_write_time(path, ec);
    if (ec) {
        return std::nullopt;
    }
    return t;
}

/// The newer of two existing files, `first` winning a tie; "" when neither exists.
std::string newer(const std::string& first, const std::string& second) {
    const auto a = modified(first);
    const auto b = modified(second);
    if (a && (!b || *a >= *b)) {
        return first;
    }
    return b ? second : std::string();
}

bool removeFile(const std::string& path) {
    if (path.empty()) {
        return true;
    }
    std::error_code ec;
    fs::remove(path, ec);
    return !fs::exists(path, ec);
}

} // namespace

long systemWrite(int fd, const uint8_t* data, std::size_t size) {
    return long(::write(fd, data, size));
}

bool writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes, const FileWriter& write) {
    std::string temp = path + ".XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return false;
    }
    bool ok = true;
    std::size_t done = 0;
    while (ok && done < bytes.size()) {
        const long n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        ok = n > 0;
        if (ok) {
            done += std::size_t(n);
        }
    }
    // The data reaches the disk before the name changes, so that a crash
    // leaves either the old file or the whole new one.
    ok = ok && ::fsync(fd) == 0;
    // mkstemp makes the file for its owner only; a save gets the ordinary
    // permissions the user's mask allows.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ok = ok && ::fchmod(fd, 0666 & ~mask) == 0;
    ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        return false;
    }
    // Make the rename itself durable.
    const std::string folder = fs::path(path).parent_path().string();
    const int dir = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

std::optional<std::vector<uint8_t>> readWholeFile(const std::string& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || uint64_t(size) > limit) {
        return std::nullopt;
    }
    in.seekg(0, std::ios::beg);
    std::vector<uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        return std::nullopt;
    }
    return bytes;
}

std::string savedGamePath(const std::string& giftPath) {
    return withExtension(giftPath, ".sav");
}

std::string defaultDataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return xdg;
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.local/share";
    }
    return {};
}

SavedGameFiles::SavedGameFiles(std::string giftPath, std::string dataHome)
    : m_giftPath(std::move(giftPath)), m_dataHome(std::move(dataHome)) {}

std::string SavedGameFiles::besideGift(Kind kind) const {
    return m_giftPath.empty() ? std::string() : withExtension(m_giftPath, extensionOf(kind));
}

std::string SavedGameFiles::inDataFolder(Kind kind) const {
    if (m_dataHome.empty() || m_giftPath.empty()) {
        return {};
    }
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(pathHash(m_giftPath)));
    const std::string name = fs::path(m_giftPath).stem().string() + "-" + hash + extensionOf(kind);
    return (fs::path(m_dataHome) / kDataFolderName / name).string();
}

std::optional<std::string> SavedGameFiles::write(Kind kind, std::span<const uint8_t> bytes,
                                                 const FileWriter& writer) const {
    const std::string beside = besideGift(kind);
    const std::string data = inDataFolder(kind);
    if (!beside.empty() && writeFileAtomically(beside, bytes, writer)) {
        // The copy in the data folder is older now; it must not shadow this one.
        removeFile(data);
        return beside;
    }
    if (data.empty()) {
        return std::nullopt;
    }
    std::error_code ec;
    fs::create_directories(fs::path(data).parent_path(), ec);
    if (writeFileAtomically(data, bytes, writer)) {
        return data;
    }
    return std::nullopt;
}

std::optional<SavedGameFiles::Found> SavedGameFiles::findResumable() const {
    const std::string save = newer(besideGift(Kind::Save), inDataFolder(Kind::Save));
    const std::string recovery = newer(besideGift(Kind::Recovery), inDataFolder(Kind::Recovery));
    if (!recovery.empty() && (save.empty() || *modified(recovery) > *modified(save))) {
        return Found{recovery, Kind::Recovery};
    }
    if (!save.empty()) {
        return Found{save, Kind::Save};
    }
    return std::nullopt;
}

bool SavedGameFiles::removeAll() const {
    bool gone = true;
    for (const Kind kind : {Kind::Save, Kind::Recovery}) {
        gone = removeFile(besideGift(kind)) && gone;
        gone = removeFile(inDataFolder(kind)) && gone;
    }
    return gone;
}

void SavedGameFiles::removeRecovery() const {
    removeFile(besideGift(Kind::Recovery));
    removeFile(inDataFolder(Kind::Recovery));
}

std::string SavedGameFiles::setAside(const std::string& path) {
    const std::string bad = path + ".bad";
    if (::rename(path.c_str(), bad.c_str()) == 0) {
        return bad;
    }
    removeFile(path);
    return {};
}

} // namespace zg
