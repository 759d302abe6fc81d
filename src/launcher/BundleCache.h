#pragma once

#include "launcher/BundleFormat.h"
#include "launcher/GiftLayout.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace zg::bundle {

/// A folder could not be made or written (disk full, no permission).
class UnpackError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// The bundle of a portable gift, read from the gift open on `fd`.
struct Bundle {
    int fd = -1;
    GiftLayout layout;
    std::vector<Entry> entries;
};

/// Reads and checks the manifest of the portable gift open on `fd`.
/// @throws DamagedGiftError when the gift has no bundle or its manifest is
///         damaged or does not match the header's content hash.
Bundle readBundle(int fd);

/// True when `dir` holds every file of the bundle as a regular file (not a
/// link) with the bundle's size and content hash.
bool matchesBundle(const std::string& dir, const Bundle& bundle);

/// Unpacks every file into `dir`, an existing empty folder, checking each
/// file's hash as it is written.
/// @throws DamagedGiftError when the compressed data is damaged.
/// @throws UnpackError when a file cannot be written.
void unpackInto(const std::string& dir, const Bundle& bundle);

/// The folder the gift's bundles are kept in: $XDG_CACHE_HOME/zanthoria-gift
/// (when that is an absolute path) or else $HOME/.cache/zanthoria-gift; ""
/// when neither is known.
std::string cacheRoot();

/// Makes sure `root`/<content hash> holds a complete, unchanged copy of the
/// bundle and returns its path. Every file is hashed and compared with the
/// bundle, except when the file system reports no change at all to any of
/// them (inode, size, mode, modification and change times) since they were
/// last hashed or unpacked, as recorded in `root`/<content hash>.checked.
/// A folder that matches is used as it is;
/// otherwise the bundle is unpacked into a temporary folder beside it and
/// renamed into place, under a lock on `root`/<content hash>.lock, so two
/// gifts starting at once unpack it once and a process killed mid-way never
/// leaves a partial folder under the final name. A damaged or changed folder
/// is moved aside and removed, never used. `note` is told when unpacking starts.
/// @throws DamagedGiftError when the bundle's data is damaged.
/// @throws UnpackError when the folder cannot be made or written.
std::string prepareCached(const std::string& root, const Bundle& bundle,
                          void (*note)(const std::string& dir));

/// Unpacks the bundle into a new private folder inside `tempRoot` and returns it.
/// @throws as prepareCached.
std::string preparePrivate(const std::string& tempRoot, const Bundle& bundle);

/// Removes a folder and everything in it; errors are ignored.
void removeTree(const std::string& dir);

} // namespace zg::bundle
