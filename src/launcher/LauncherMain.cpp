// The launcher at the start of a portable gift. It unpacks the bundle that
// follows it (the player, every library it loads down to the dynamic loader
// and the C library, Qt's platform plugin, a font and the soundfont) into the
// user's cache once, then runs the player through the bundled loader, so the
// gift starts whatever libraries the machine has. The player is told the
// gift's own path and reads the puzzle from it.
//
// This program is linked statically and uses only the C library's system calls.

#include "files/GiftPath.h"
#include "launcher/BundleCache.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

using namespace zg::bundle;

constexpr const char* kProgram = "zanthoria-gift";

std::string ownPath() {
    std::string path(4096, '\0');
    const ssize_t n = ::readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (n <= 0) {
        return {};
    }
    path.resize(std::size_t(n));
    return path;
}

void noteUnpacking(const std::string& dir) {
    std::fprintf(stderr, "%s: unpacking the libraries this gift needs into %s (first start only)\n", kProgram,
                 dir.c_str());
}

/// The environment for the player: ours, without the variables that would
/// make the bundled loader mix the machine's libraries in, plus the gift's
/// path and the bundle's folder.
std::vector<std::string> playerEnvironment(const std::string& gift, const std::string& dir) {
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        if (name != "LD_LIBRARY_PATH" && name != "LD_PRELOAD" && name != zg::kGiftPathVariable &&
            name != zg::kBundleDirVariable) {
            env.push_back(entry);
        }
    }
    env.push_back(std::string(zg::kGiftPathVariable) + "=" + gift);
    env.push_back(std::string(zg::kBundleDirVariable) + "=" + dir);
    return env;
}

/// Runs the bundled player through the bundled loader in place of this process.
/// Returns only when that fails.
void runPlayer(const std::string& gift, const std::string& dir, int argc, char** argv) {
    const std::string loader = dir + "/lib/ld-linux-x86-64.so.2";
    const std::string libs = dir + "/lib";
    const std::string player = dir + "/bin/" + kProgram;
    std::vector<std::string> args = {loader,    "--library-path",          libs,
                                     "--argv0", argc > 0 ? argv[0] : gift, player};
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    const std::vector<std::string> env = playerEnvironment(gift, dir);
    std::vector<char*> argp;
    for (const std::string& a : args) {
        argp.push_back(const_cast<char*>(a.c_str()));
    }
    argp.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env) {
        envp.push_back(const_cast<char*>(e.c_str()));
    }
    envp.push_back(nullptr);
    ::execve(loader.c_str(), argp.data(), envp.data());
}

pid_t g_child = 0;

void forwardSignal(int sig) {
    if (g_child > 0) {
        ::kill(g_child, sig);
    }
}

/// Runs the player from a private folder as a child, waits for it and removes
/// the folder. Returns the exit status to pass on.
int runFromPrivateFolder(const std::string& gift, const std::string& dir, int argc, char** argv) {
    g_child = ::fork();
    if (g_child < 0) {
        std::fprintf(stderr, "%s: cannot start the player: %s\n", kProgram, std::strerror(errno));
        zg::bundle::removeTree(dir);
        return 1;
    }
    if (g_child == 0) {
        runPlayer(gift, dir, argc, argv);
        std::fprintf(stderr, "%s: cannot start the player: %s\n", kProgram, std::strerror(errno));
        ::_exit(127);
    }
    struct sigaction forward {};
    forward.sa_handler = forwardSignal;
    for (const int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) {
        ::sigaction(sig, &forward, nullptr);
    }
    int status = 0;
    while (::waitpid(g_child, &status, 0) < 0 && errno == EINTR) {
    }
    zg::bundle::removeTree(dir);
    if (WIFSIGNALED(status)) {
        return 128 + WTERMSIG(status);
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

std::string tempRoot() {
    const char* tmp = std::getenv("TMPDIR");
    return tmp != nullptr && tmp[0] == '/' ? tmp : "/tmp";
}

} // namespace

int main(int argc, char** argv) {
    const std::string gift = ownPath();
    const int fd = ::open("/proc/self/exe", O_RDONLY | O_CLOEXEC);
    if (gift.empty() || fd < 0) {
        std::fprintf(stderr, "%s: cannot open the gift file: %s\n", kProgram, std::strerror(errno));
        return 1;
    }
    try {
        const Bundle bundle = readBundle(fd);
        const std::string root = cacheRoot();
        std::string cached;
        if (!root.empty()) {
            try {
                cached = prepareCached(root, bundle, noteUnpacking);
            } catch (const UnpackError& e) {
                std::fprintf(stderr, "%s: %s; using a temporary folder instead\n", kProgram, e.what());
            }
        }
        if (!cached.empty()) {
            ::close(fd);
            runPlayer(gift, cached, argc, argv);
            std::fprintf(stderr, "%s: cannot start the player: %s\n", kProgram, std::strerror(errno));
            return 1;
        }
        const std::string dir = preparePrivate(tempRoot(), bundle);
        ::close(fd);
        return runFromPrivateFolder(gift, dir, argc, argv);
    } catch (const DamagedGiftError& e) {
        std::fprintf(stderr, "%s: %s\n", kProgram, e.what());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s: %s\n", kProgram, e.what());
    }
    return 1;
}
