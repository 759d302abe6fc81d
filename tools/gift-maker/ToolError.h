#pragma once

#include <stdexcept>

namespace zg::maker {

/// A command line that cannot be understood (unknown option, missing or
/// malformed value). Reported with a hint to --help; exit code 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Inputs that were understood but cannot make a gift (unreadable or corrupt
/// picture, text that does not fit, ...). Exit code 1.
class ToolError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

} // namespace zg::maker
