// bundle-pack: makes a portable player from the launcher and a folder of
// files: the launcher, then the bundle header, the manifest and one zstd
// frame with the files' contents. gift-maker appends a puzzle to the result
// as it does to the plain player.
//
//   bundle-pack LAUNCHER FOLDER OUTPUT [LEVEL]

#include "launcher/BundleFormat.h"
#include "launcher/Xxh64.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>
#include <zstd.h>

namespace fs = std::filesystem;
using namespace zg::bundle;

namespace {

std::vector<uint8_t> readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw std::runtime_error("cannot read " + path.string());
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void check(std::size_t rc, const char* what) {
    if (ZSTD_isError(rc)) {
        throw std::runtime_error(std::string(what) + ": " + ZSTD_getErrorName(rc));
    }
}

/// Compresses `content` into one frame, at `level`, with a long window and
/// both cores, so the many similar libraries share matches.
std::vector<uint8_t> compress(const std::vector<uint8_t>& content, int level) {
    ZSTD_CCtx* ctx = ZSTD_createCCtx();
    check(ZSTD_CCtx_setParameter(ctx, ZSTD_c_compressionLevel, level), "level");
    check(ZSTD_CCtx_setParameter(ctx, ZSTD_c_checksumFlag, 1), "checksum");
    if (level >= 10) {
        check(ZSTD_CCtx_setParameter(ctx, ZSTD_c_enableLongDistanceMatching, 1), "long");
        check(ZSTD_CCtx_setParameter(ctx, ZSTD_c_windowLog, 27), "window");
    }
    ZSTD_CCtx_setParameter(ctx, ZSTD_c_nbWorkers, 2); // ignored by a single-threaded library
    std::vector<uint8_t> out(ZSTD_compressBound(content.size()));
    const std::size_t n = ZSTD_compress2(ctx, out.data(), out.size(), content.data(), content.size());
    ZSTD_freeCCtx(ctx);
    check(n, "compress");
    out.resize(n);
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 4 || argc > 5) {
        std::cerr << "usage: bundle-pack LAUNCHER FOLDER OUTPUT [LEVEL]\n";
        return 2;
    }
    try {
        const fs::path folder = argv[2];
        const int level = argc == 5 ? std::stoi(argv[4]) : 19;
        std::vector<fs::path> files;
        for (const auto& item : fs::recursive_directory_iterator(folder)) {
            if (item.is_symlink() || (!item.is_regular_file() && !item.is_directory())) {
                throw std::runtime_error("only plain files can be bundled: " + item.path().string());
            }
            if (item.is_regular_file()) {
                files.push_back(item.path());
            }
        }
        std::sort(files.begin(), files.end());

        std::vector<Entry> entries;
        std::vector<uint8_t> content;
        for (const fs::path& file : files) {
            const std::vector<uint8_t> bytes = readFile(file);
            Entry e;
            e.path = fs::relative(file, folder).generic_string();
            if (!isSafePath(e.path)) {
                throw std::runtime_error("unusable name in the bundle: " + e.path);
            }
            e.executable = (fs::status(file).permissions() & fs::perms::owner_exec) != fs::perms::none;
            e.size = bytes.size();
            e.hash = Xxh64::of(bytes);
            entries.push_back(e);
            content.insert(content.end(), bytes.begin(), bytes.end());
        }
        const std::vector<uint8_t> manifest = encodeManifest(entries);
        const std::vector<uint8_t> data = compress(content, level);
        Header header;
        header.manifestLength = manifest.size();
        header.dataLength = data.size();
        header.contentSize = content.size();
        header.contentHash = Xxh64::of(manifest);
        const auto headerBytes = encodeHeader(header);

        const std::vector<uint8_t> launcher = readFile(argv[1]);
        const fs::path output = argv[3];
        const fs::path temp = output.string() + ".tmp";
        {
            std::ofstream out(temp, std::ios::binary | std::ios::trunc);
            out.write(reinterpret_cast<const char*>(launcher.data()), std::streamsize(launcher.size()));
            out.write(reinterpret_cast<const char*>(headerBytes.data()), std::streamsize(headerBytes.size()));
            out.write(reinterpret_cast<const char*>(manifest.data()), std::streamsize(manifest.size()));
            out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
            if (!out.flush()) {
                throw std::runtime_error("cannot write " + temp.string());
            }
        }
        fs::permissions(temp, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                  fs::perms::others_read | fs::perms::others_exec);
        fs::rename(temp, output);
        std::cout << output.string() << ": " << entries.size() << " files, " << content.size() << " bytes, "
                  << data.size() << " compressed, content " << hashName(header.contentHash) << '\n';
    } catch (const std::exception& e) {
        std::cerr << "bundle-pack: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
