#include "files/GiftPath.h"

#include "files/GiftFile.h"

#include <cstdlib>

namespace zg {

namespace {

/// The value of an absolute-path variable set by the launcher, removed from
/// the environment; "" when it is unset or not an absolute path.
std::string takePathVariable(const char* name) {
    const char* value = std::getenv(name);
    std::string path = value != nullptr && value[0] == '/' ? value : "";
    ::unsetenv(name);
    return path;
}

} // namespace

const std::string& giftPath() {
    static const std::string path = [] {
        std::string handed = takePathVariable(kGiftPathVariable);
        return handed.empty() ? currentExecutablePath() : handed;
    }();
    return path;
}

const std::string& bundleDirectory() {
    static const std::string dir = takePathVariable(kBundleDirVariable);
    return dir;
}

} // namespace zg
