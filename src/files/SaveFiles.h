#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace zg {

/// Writes `size` bytes of `data` to the open file `fd`; returns the number of
/// bytes written or -1, like the system's write.
using FileWriter = std::function<long(int fd, const uint8_t* data, std::size_t size)>;

/// The system's write.
long systemWrite(int fd, const uint8_t* data, std::size_t size);

/// Replaces the file at `path` with `bytes` so that the file is either the old
/// one or the whole new one, never a mixture: the bytes go to a temporary file
/// in the same folder, are flushed to the disk and renamed over `path`. On any
/// failure the temporary file is removed and false returned. Never throws for
/// a file-system failure.
bool writeFileAtomically(const std::string& path, std::span<const uint8_t> bytes,
                         const FileWriter& write = systemWrite);

/// The whole file at `path`, or nullopt when it cannot be read.
std::optional<std::vector<uint8_t>> readWholeFile(const std::string& path, std::size_t limit);

/// The gift's path with the extension of its file name replaced by ".sav"
/// (added when the name has none; a dot in a folder name is no extension).
std::string savedGamePath(const std::string& giftPath);

/// The user's data folder: $XDG_DATA_HOME when it is an absolute path, else
/// $HOME/.local/share; "" when neither is known.
std::string defaultDataHome();

/// The places a gift's saved game and its recovery copy can live: beside the
/// gift, and in the user's data folder for a gift whose folder cannot be
/// written. The recovery copy is written while playing, so that a game
/// survives a crash; it lies beside the save with the extension ".rec".
class SavedGameFiles {
public:
    /// @param giftPath the gift's full path (the saved game's name derives from it)
    /// @param dataHome the user's data folder ("" when there is none)
    SavedGameFiles(std::string giftPath, std::string dataHome);

    enum class Kind { Save, Recovery };

    /// The file beside the gift.
    std::string besideGift(Kind kind) const;
    /// The file in the data folder: zanthoria-gift/<gift name>-<hash of the
    /// gift's full path>.sav, so that two gifts of the same name never share one.
    std::string inDataFolder(Kind kind) const;

    /// Writes `bytes` beside the gift, or when that fails in the data folder
    /// (made when missing). A save beside the gift removes an older copy from
    /// the data folder. @returns the path written, or nullopt when both failed.
    std::optional<std::string> write(Kind kind, std::span<const uint8_t> bytes,
                                     const FileWriter& writer = systemWrite) const;

    /// A file to resume from: the newer of the saves beside the gift and in
    /// the data folder (the gift's folder wins a tie), unless a recovery copy
    /// is newer than it or there is no save, when the newest recovery copy is
    /// taken instead. nullopt when there is nothing.
    struct Found {
        std::string Path;
        Kind FoundKind = Kind::Save;
    };
    std::optional<Found> findResumable() const;

    /// Removes the saves and the recovery copies in both places.
    /// @returns false when a file remains.
    bool removeAll() const;
    /// Removes the recovery copies in both places.
    void removeRecovery() const;

    /// Renames a file that could not be resumed to its name plus ".bad",
    /// replacing an older one. @returns the new name, or "" when the rename
    /// failed (the file is then removed if possible, so it is not tried again).
    static std::string setAside(const std::string& path);

private:
    std::string m_giftPath;
    std::string m_dataHome;
};

} // namespace zg
