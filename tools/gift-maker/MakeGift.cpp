#include "MakeGift.h"

#include "PlayerChoice.h"
#include "PreparePicture.h"
#include "ToolError.h"
#include "files/GiftError.h"
#include "files/GiftFile.h"
#include "files/GiftInfo.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace zg::maker {
namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> readFile(const std::string& path, const std::string& what) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throw ToolError("cannot read " + what + " \"" + path + "\": " + std::strerror(errno));
    }
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) {
        throw ToolError("cannot read " + what + " \"" + path + "\"");
    }
    return bytes;
}

/// The text of a text option: its value, or the contents of the file it names
/// (a UTF-8 byte-order mark and the line breaks at the end dropped).
std::string textOf(const TextOption& text) {
    if (!text.fromFile) {
        return text.value;
    }
    const std::vector<uint8_t> bytes = readFile(text.value, "the " + text.option + " text");
    std::string content(bytes.begin(), bytes.end());
    if (content.starts_with("\xEF\xBB\xBF")) {
        content.erase(0, 3);
    }
    while (!content.empty() && (content.back() == '\n' || content.back() == '\r')) {
        content.pop_back();
    }
    return content;
}

std::string checkedShort(const std::string& option, const std::string& text, std::size_t capacity) {
    if (const std::optional<std::string> problem = shortStringProblem(text, capacity)) {
        throw ToolError(option + " " + *problem);
    }
    return text;
}

std::string checkedBlock(const TextOption& option) {
    const std::string text = toCrLfLines(textOf(option));
    if (const std::optional<std::string> problem = textBlockProblem(text)) {
        throw ToolError(option.option + " " + *problem);
    }
    return text;
}

double now() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    const std::optional<double> date = parseGiftDate(text);
    return date ? *date : 0.0;
}

void checkMusic(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 4 || std::memcmp(bytes.data(), "MThd", 4) != 0) {
        throw ToolError("the music \"" + path +
                        "\" is not a standard MIDI file (it does not start with MThd)");
    }
    if (bytes.size() > uint64_t(INT32_MAX)) {
        throw ToolError("the music \"" + path + "\" is too large");
    }
}

void checkPlayer(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) {
        throw ToolError("the player \"" + path + "\" is empty");
    }
    try {
        GiftFile::fromBytes(bytes);
    } catch (const GiftDamagedError&) {
        return; // a bare player has no trailer
    }
    throw ToolError("the player \"" + path + "\" already carries a gift; use the bare player");
}

/// Writes `parts` one after another to a temporary file beside `output`, marks
/// it executable and renames it to `output`. Removes the temporary file on failure.
void writeAtomically(const std::string& output, std::initializer_list<std::span<const uint8_t>> parts) {
    const fs::path target(output);
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
    std::string hidden = ".";
    hidden += target.filename().string();
    hidden += ".tmp-XXXXXX";
    std::string pattern = (folder / hidden).string();
    const int fd = mkstemp(pattern.data());
    if (fd < 0) {
        throw ToolError("cannot write \"" + output + "\": " + std::strerror(errno));
    }
    const auto fail = [&](const std::string& why) {
        ::close(fd);
        ::unlink(pattern.c_str());
        throw ToolError("cannot write \"" + output + "\": " + why);
    };
    for (const std::span<const uint8_t> part : parts) {
        std::size_t done = 0;
        while (done < part.size()) {
            const ssize_t n = ::write(fd, part.data() + done, part.size() - done);
            if (n < 0) {
                if (errno == EINTR) {
                    continue;
                }
                fail(std::strerror(errno));
            }
            done += std::size_t(n);
        }
    }
    if (::fchmod(fd, 0755) != 0) {
        fail(std::strerror(errno));
    }
    if (::close(fd) != 0) {
        ::unlink(pattern.c_str());
        throw ToolError("cannot write \"" + output + "\": " + std::strerror(errno));
    }
    if (std::rename(pattern.c_str(), output.c_str()) != 0) {
        const std::string why = std::strerror(errno);
        ::unlink(pattern.c_str());
        throw ToolError("cannot write \"" + output + "\": " + why);
    }
}

} // namespace

uint32_t seedFromPicture(std::span<const uint8_t> picture) {
    uint32_t hash = 2166136261u;
    for (uint8_t b : picture) {
        hash = (hash ^ b) * 16777619u;
    }
    return hash;
}

void makeGift(const MakeOptions& options, std::ostream& out) {
    TGiftInfo info = options.info;
    info.Title = checkedShort(options.title.option, textOf(options.title), kTitleCapacity);
    info.Creator = checkedShort(options.creator.option, textOf(options.creator), kCreatorCapacity);
    info.MakerVersion =
        checkedShort(options.makerVersion.option, textOf(options.makerVersion), kMakerVersionCapacity);
    info.Description = checkedBlock(options.description);
    info.StartMessage = checkedBlock(options.startMessage);
    info.EndMessage = checkedBlock(options.endMessage);
    info.StartFont.Name = checkedShort(options.startFontOption, info.StartFont.Name, kFontNameCapacity);
    info.EndFont.Name = checkedShort(options.endFontOption, info.EndFont.Name, kFontNameCapacity);
    info.StartBackground =
        checkedShort(options.startBackground.option, options.startBackground.value, kColorNameCapacity);
    info.EndBackground =
        checkedShort(options.endBackground.option, options.endBackground.value, kColorNameCapacity);

    PreparedPicture prepared =
        preparePicture(options.picturePath, readFile(options.picturePath, "the picture"), options.maxSide,
                       info.RequestedPieces);
    const std::vector<uint8_t> picture = std::move(prepared.bytes);
    std::vector<uint8_t> music;
    if (options.musicPath) {
        music = readFile(*options.musicPath, "the music");
        checkMusic(*options.musicPath, music);
    }
    const std::string playerPath = choosePlayer(options);
    const std::vector<uint8_t> player = readFile(playerPath, "the player");
    checkPlayer(playerPath, player);

    const uint64_t total = uint64_t(player.size()) + picture.size() + music.size() + kGiftTrailerSize;
    if (total > UINT32_MAX) {
        throw ToolError("the gift would be larger than 4 GiB");
    }
    info.TrailerSize = kGiftTrailerSize;
    info.PictureOffset = uint32_t(player.size());
    info.PictureLength = uint32_t(picture.size());
    // Without music the music offset points at the trailer, with length 0.
    info.MusicOffset = uint32_t(player.size() + picture.size());
    info.MusicLength = int32_t(music.size());
    info.Seed = options.seed ? *options.seed : seedFromPicture(picture);
    info.Created = options.created ? *options.created : now();

    const std::array<uint8_t, kGiftTrailerSize> trailer = serializeGiftInfo(info);
    writeAtomically(options.outputPath, {player, picture, music, trailer});
    for (const std::string& change : prepared.changes) {
        out << "gift-maker: " << change << '\n';
    }
}

} // namespace zg::maker
