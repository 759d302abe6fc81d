#pragma once

#include <cstdint>

namespace zg::bench {

/// The number of global operator new calls since the program started. The
/// benchmark program replaces the global allocation functions to count them.
int64_t allocationCount();

} // namespace zg::bench
