#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace zg::test {

/// The value of environment variable `name`, or "" when unset.
std::string env(const char* name);

std::vector<uint8_t> readBytes(const std::filesystem::path& path);
void writeBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes);
std::string readText(const std::filesystem::path& path);

/// What a program run printed and how it ended (-1 when it did not exit normally).
struct RunResult {
    int status = -1;
    std::string out;
    std::string err;
};

/// Runs `program` with `args` through the shell (every word quoted), catching
/// its output in files inside `scratch`, which are removed afterwards.
RunResult runProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::filesystem::path& scratch);

/// A fresh private folder in the temporary directory, named from `prefix`.
/// @throws std::runtime_error when it cannot be made.
std::filesystem::path makePrivateFolder(const std::string& prefix);

} // namespace zg::test
