#pragma once

#include <cstdint>
#include <functional>

namespace zg {

/// How many threads the per-piece steps of a build use by default: the
/// number in the environment variable ZG_THREADS when it is a whole number
/// from 1 on, otherwise as many as the hardware runs at once (at least 1).
/// Read once per process.
int32_t defaultWorkerCount();

/// Runs work(i) for every piece index i in [0, count) on up to `threads`
/// threads, the calling thread being one of them; with 1 thread (or a single
/// piece) every piece runs in index order on the calling thread. The other
/// threads are kept for the whole process and lent to one loop at a time; a
/// loop started from a loop's work, or while another thread's loop has them,
/// runs on the calling thread alone. `work` must
/// touch only what belongs to piece i (plus shared data it only reads), and
/// must not call the Host: only the calling thread may.
///
/// `done` runs on the calling thread only, with k = 1, 2, ... as pieces
/// finish: k counts finished pieces, one call per value, never repeated, so a
/// ProgressReporter fed from it shows the same texts as a serial loop.
///
/// When work throws, no further pieces start; the threads are joined and the
/// exception of the lowest failing index reaches the caller, as the serial
/// loop would throw it. Every piece below that index has run by then.
void forEachPiece(int64_t count, int32_t threads, const std::function<void(int64_t)>& work,
                  const std::function<void(int64_t)>& done = {});

} // namespace zg
