#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace zg::maker {

/// Runs gift-maker on the arguments after the program name: a sub-command
/// ("info", "preview", "help") or the options of making a gift. Messages go to `err`,
/// listings to `out`. Never throws.
/// @return the exit status: 0 done, 1 the gift could not be made or read, 2 usage error.
int runGiftMaker(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace zg::maker
