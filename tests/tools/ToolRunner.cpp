#include "ToolRunner.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/wait.h>

namespace zg::test {

namespace fs = std::filesystem;

namespace {

std::string shellQuote(const std::string& arg) {
    std::string quoted = "'";
    for (char c : arg) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace

std::string env(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::vector<uint8_t> readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

std::string readText(const fs::path& path) {
    const std::vector<uint8_t> bytes = readBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const fs::path& scratch) {
    std::string command = shellQuote(program);
    for (const std::string& arg : args) {
        command += " " + shellQuote(arg);
    }
    const fs::path outFile = scratch / "stdout";
    const fs::path errFile = scratch / "stderr";
    command += " >" + shellQuote(outFile.string()) + " 2>" + shellQuote(errFile.string());
    const int raw = std::system(command.c_str());
    RunResult result;
    result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    result.out = readText(outFile);
    result.err = readText(errFile);
    fs::remove(outFile);
    fs::remove(errFile);
    return result;
}

fs::path makePrivateFolder(const std::string& prefix) {
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot make a folder like " + pattern);
    }
    return pattern;
}

} // namespace zg::test
