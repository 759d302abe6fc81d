#include "launcher/BundleCache.h"

#include "launcher/Xxh64.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <ftw.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zstd.h>

namespace zg::bundle {

namespace {

std::string errnoText(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

/// Creates every missing folder of `path` below `base` (which exists).
void makeParents(const std::string& base, const std::string& path) {
    for (std::size_t slash = path.find('/'); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        const std::string dir = base + "/" + path.substr(0, slash);
        if (::mkdir(dir.c_str(), 0755) != 0 && errno != EEXIST) {
            throw UnpackError(errnoText("cannot make \"" + dir + "\""));
        }
    }
}

void writeAll(int fd, const uint8_t* p, std::size_t length, const std::string& path) {
    while (length > 0) {
        const ssize_t n = ::write(fd, p, length);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            throw UnpackError(errnoText("cannot write \"" + path + "\""));
        }
        p += n;
        length -= std::size_t(n);
    }
}

/// Streams the decompressed bundle content out, file by file.
class ContentStream {
public:
    explicit ContentStream(const Bundle& bundle)
        : m_bundle(bundle), m_ctx(ZSTD_createDStream()), m_in(ZSTD_DStreamInSize()),
          m_out(ZSTD_DStreamOutSize()), m_inAt(bundle.layout.dataOffset),
          m_inEnd(bundle.layout.dataOffset + bundle.layout.bundle->dataLength) {
        if (m_ctx == nullptr) {
            throw std::bad_alloc();
        }
        ZSTD_initDStream(m_ctx);
    }
    ~ContentStream() { ZSTD_freeDStream(m_ctx); }
    ContentStream(const ContentStream&) = delete;
    ContentStream& operator=(const ContentStream&) = delete;

    /// Hands the next `length` decompressed bytes to `sink` in pieces.
    template <typename Sink> void take(uint64_t length, Sink&& sink) {
        while (length > 0) {
            if (m_outPos == m_outFill) {
                refill();
            }
            const std::size_t n = std::size_t(std::min<uint64_t>(length, m_outFill - m_outPos));
            sink(m_out.data() + m_outPos, n);
            m_outPos += n;
            length -= n;
        }
    }

    /// True when the frame ended exactly where the content did.
    bool finishedCleanly() const {
        return m_outPos == m_outFill && m_frameDone && m_buffer.pos == m_buffer.size && m_inAt == m_inEnd;
    }

private:
    void refill() {
        m_outPos = 0;
        m_outFill = 0;
        while (m_outFill == 0) {
            if (m_frameDone) {
                throw DamagedGiftError(); // the content is longer than the frame
            }
            if (m_buffer.pos == m_buffer.size) {
                const std::size_t n = std::size_t(std::min<uint64_t>(m_in.size(), m_inEnd - m_inAt));
                if (n == 0 || !readAt(m_bundle.fd, m_inAt, m_in.data(), n)) {
                    throw DamagedGiftError();
                }
                m_inAt += n;
                m_buffer = {m_in.data(), n, 0};
            }
            ZSTD_outBuffer out{m_out.data(), m_out.size(), 0};
            const std::size_t rc = ZSTD_decompressStream(m_ctx, &out, &m_buffer);
            if (ZSTD_isError(rc)) {
                throw DamagedGiftError();
            }
            m_frameDone = rc == 0;
            m_outFill = out.pos;
        }
    }

    const Bundle& m_bundle;
    ZSTD_DStream* m_ctx;
    std::vector<uint8_t> m_in;
    std::vector<uint8_t> m_out;
    ZSTD_inBuffer m_buffer{nullptr, 0, 0};
    std::size_t m_outPos = 0;
    std::size_t m_outFill = 0;
    uint64_t m_inAt;
    uint64_t m_inEnd;
    bool m_frameDone = false;
};

bool fileMatches(const std::string& path, const Entry& entry) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && uint64_t(st.st_size) == entry.size &&
              ((st.st_mode & S_IXUSR) != 0) == entry.executable;
    if (ok && entry.size > 0) {
        void* map = ::mmap(nullptr, entry.size, PROT_READ, MAP_PRIVATE, fd, 0);
        ok = map != MAP_FAILED &&
             Xxh64::of({static_cast<const uint8_t*>(map), std::size_t(entry.size)}) == entry.hash;
        if (map != MAP_FAILED) {
            ::munmap(map, entry.size);
        }
    } else if (ok) {
        ok = Xxh64::of({}) == entry.hash;
    }
    ::close(fd);
    return ok;
}

/// A name beside `target` for a temporary or cast-off folder of the same bundle.
std::string sideName(const std::string& root, const std::string& hash, const char* kind) {
    return root + "/." + hash + "." + kind + "-XXXXXX";
}

/// Removes folders left by earlier runs that were killed mid-way: temporary
/// and cast-off folders of this bundle. Called with the lock held.
void removeLeftovers(const std::string& root, const std::string& hash) {
    DIR* dir = ::opendir(root.c_str());
    if (dir == nullptr) {
        return;
    }
    const std::string prefix = "." + hash + ".";
    std::vector<std::string> doomed;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (name.starts_with(prefix)) {
            doomed.push_back(root + "/" + name);
        }
    }
    ::closedir(dir);
    for (const std::string& path : doomed) {
        removeTree(path);
    }
}

void makeFolder(const std::string& path, mode_t mode) {
    if (::mkdir(path.c_str(), mode) != 0 && errno != EEXIST) {
        throw UnpackError(errnoText("cannot make \"" + path + "\""));
    }
}

/// Makes `path` and any missing parents.
void makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        makeFolder(path.substr(0, slash), 0700);
    }
    makeFolder(path, 0700);
}

class LockFile {
public:
    explicit LockFile(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600)) {
        if (m_fd < 0) {
            throw UnpackError(errnoText("cannot open \"" + path + "\""));
        }
        while (::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(m_fd);
                throw UnpackError(errnoText("cannot lock \"" + path + "\""));
            }
        }
    }
    ~LockFile() { ::close(m_fd); }
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

private:
    int m_fd;
};

std::string makeTempFolder(std::string pattern) {
    if (::mkdtemp(pattern.data()) == nullptr) {
        throw UnpackError(errnoText("cannot make a folder like \"" + pattern + "\""));
    }
    return pattern;
}

/// The number of entries other than folders in the tree under `dir`
/// (links are counted, not followed).
std::size_t countNonFolders(const std::string& dir) {
    static thread_local std::size_t count = 0;
    count = 0;
    ::nftw(
        dir.c_str(),
        [](const char*, const struct stat*, int type, FTW*) {
            if (type != FTW_D && type != FTW_DP) {
                ++count;
            }
            return 0;
        },
        16, FTW_PHYS);
    return count;
}

/// What the file system says about every file of the bundle in `dir`: device,
/// inode, size, mode, and modification and change times to the nanosecond.
/// Any write to a file, any replacement and any change of its mode changes
/// this, and the change time cannot be set back by an ordinary program.
/// "" when a file is missing or no regular file.
std::string treeStamp(const std::string& dir, const Bundle& bundle) {
    std::string stamp;
    for (const Entry& entry : bundle.entries) {
        struct stat st {};
        if (::lstat((dir + "/" + entry.path).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) {
            return {};
        }
        const uint64_t fields[] = {uint64_t(st.st_dev),         uint64_t(st.st_ino),
                                   uint64_t(st.st_size),        uint64_t(st.st_mode),
                                   uint64_t(st.st_mtim.tv_sec), uint64_t(st.st_mtim.tv_nsec),
                                   uint64_t(st.st_ctim.tv_sec), uint64_t(st.st_ctim.tv_nsec)};
        stamp.append(reinterpret_cast<const char*>(fields), sizeof fields);
    }
    return stamp;
}

std::string readSmallFile(const std::string& path) {
    std::string text;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return text;
    }
    char buffer[65536];
    ssize_t n = 0;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
        text.append(buffer, std::size_t(n));
    }
    ::close(fd);
    return text;
}

/// Records the stamp of a folder whose every file was just checked or
/// written, through a temporary file and a rename. Failure only costs the
/// next start a full check.
void recordStamp(const std::string& root, const std::string& hash, const std::string& stamp) {
    if (stamp.empty()) {
        return;
    }
    const std::string stampPath = root + "/" + hash + ".checked";
    std::string temp = sideName(root, hash, "checked");
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        return;
    }
    bool ok = true;
    try {
        writeAll(fd, reinterpret_cast<const uint8_t*>(stamp.data()), stamp.size(), temp);
    } catch (const UnpackError&) {
        ok = false;
    }
    ok = ::close(fd) == 0 && ok && ::rename(temp.c_str(), stampPath.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
    }
}

/// True when the folder is, file for file, as it was when it was last checked
/// in full or unpacked, and holds nothing else.
bool unchangedSinceChecked(const std::string& dir, const std::string& stampPath, const Bundle& bundle) {
    const std::string recorded = readSmallFile(stampPath);
    return !recorded.empty() && recorded == treeStamp(dir, bundle) &&
           countNonFolders(dir) == bundle.entries.size();
}

} // namespace

Bundle readBundle(int fd) {
    Bundle bundle;
    bundle.fd = fd;
    bundle.layout = inspectGift(fd);
    if (!bundle.layout.portable()) {
        throw DamagedGiftError();
    }
    const Header& header = *bundle.layout.bundle;
    std::vector<uint8_t> manifest(header.manifestLength);
    if (!readAt(fd, bundle.layout.manifestOffset, manifest.data(), manifest.size()) ||
        Xxh64::of(manifest) != header.contentHash) {
        throw DamagedGiftError();
    }
    std::optional<std::vector<Entry>> entries = decodeManifest(manifest, header.contentSize);
    if (!entries) {
        throw DamagedGiftError();
    }
    bundle.entries = std::move(*entries);
    return bundle;
}

bool matchesBundle(const std::string& dir, const Bundle& bundle) {
    struct stat st {};
    if (::lstat(dir.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) {
        return false;
    }
    // Nothing may be there but the bundle's files: a library added to lib/
    // would be loaded as readily as a changed one.
    if (countNonFolders(dir) != bundle.entries.size()) {
        return false;
    }
    for (const Entry& entry : bundle.entries) {
        if (!fileMatches(dir + "/" + entry.path, entry)) {
            return false;
        }
    }
    return true;
}

void unpackInto(const std::string& dir, const Bundle& bundle) {
    ContentStream content(bundle);
    for (const Entry& entry : bundle.entries) {
        makeParents(dir, entry.path);
        const std::string path = dir + "/" + entry.path;
        const int fd =
            ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, entry.executable ? 0755 : 0644);
        if (fd < 0) {
            throw UnpackError(errnoText("cannot create \"" + path + "\""));
        }
        Xxh64 hash;
        try {
            content.take(entry.size, [&](const uint8_t* p, std::size_t n) {
                hash.update({p, n});
                writeAll(fd, p, n, path);
            });
        } catch (...) {
            ::close(fd);
            throw;
        }
        if (::close(fd) != 0) {
            throw UnpackError(errnoText("cannot write \"" + path + "\""));
        }
        if (hash.digest() != entry.hash) {
            throw DamagedGiftError();
        }
    }
    if (!content.finishedCleanly()) {
        throw DamagedGiftError();
    }
}

std::string cacheRoot() {
    const char* xdg = std::getenv("XDG_CACHE_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return std::string(xdg) + "/zanthoria-gift";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.cache/zanthoria-gift";
    }
    return {};
}

std::string prepareCached(const std::string& root, const Bundle& bundle,
                          void (*note)(const std::string& dir)) {
    const std::string hash = hashName(bundle.layout.bundle->contentHash);
    const std::string target = root + "/" + hash;
    const std::string stampPath = root + "/" + hash + ".checked";
    // Hashing every file takes longer than starting the player, so a folder
    // is hashed in full only when the file system reports some change since
    // it was last hashed or unpacked.
    if (unchangedSinceChecked(target, stampPath, bundle)) {
        return target;
    }
    if (const std::string before = treeStamp(target, bundle);
        !before.empty() && matchesBundle(target, bundle)) {
        // Recorded only when nothing changed while the files were hashed.
        if (treeStamp(target, bundle) == before) {
            recordStamp(root, hash, before);
        }
        return target;
    }
    makeFolders(root);
    const LockFile lock(root + "/" + hash + ".lock");
    // Another gift may have unpacked it while we waited for the lock.
    if (matchesBundle(target, bundle)) {
        return target;
    }
    ::unlink(stampPath.c_str());
    removeLeftovers(root, hash);
    struct stat st {};
    if (::lstat(target.c_str(), &st) == 0) {
        // Damaged or changed: move it out of the way first, so nothing starts
        // from it, then remove it.
        const std::string aside = makeTempFolder(sideName(root, hash, "old"));
        if (::rename(target.c_str(), (aside + "/" + hash).c_str()) != 0) {
            removeTree(aside);
            throw UnpackError(errnoText("cannot replace \"" + target + "\""));
        }
        removeTree(aside);
    }
    const std::string temp = makeTempFolder(sideName(root, hash, "new"));
    if (note != nullptr) {
        note(target);
    }
    try {
        unpackInto(temp, bundle);
    } catch (...) {
        removeTree(temp);
        throw;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const std::string why = errnoText("cannot rename \"" + temp + "\"");
        removeTree(temp);
        throw UnpackError(why);
    }
    recordStamp(root, hash, treeStamp(target, bundle));
    return target;
}

std::string preparePrivate(const std::string& tempRoot, const Bundle& bundle) {
    const std::string dir = makeTempFolder(tempRoot + "/zanthoria-gift-XXXXXX");
    try {
        unpackInto(dir, bundle);
    } catch (...) {
        removeTree(dir);
        throw;
    }
    return dir;
}

void removeTree(const std::string& dir) {
    ::nftw(
        dir.c_str(),
        [](const char* path, const struct stat*, int, FTW*) {
            ::remove(path);
            return 0;
        },
        16, FTW_DEPTH | FTW_PHYS);
}

} // namespace zg::bundle
