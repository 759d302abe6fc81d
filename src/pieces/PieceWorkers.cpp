#include "pieces/PieceWorkers.h"

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace zg {

namespace {

int32_t workerCountFromEnvironment() {
    if (const char* text = std::getenv("ZG_THREADS")) {
        char* end = nullptr;
        const long n = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && n >= 1) {
            return int32_t(std::min<long>(n, 256));
        }
    }
    return int32_t(std::max(1u, std::thread::hardware_concurrency()));
}

/// The shared state of one parallel loop. Pieces are handed out in chunks of
/// rising indices, so every chunk below a failing piece was handed out before
/// it and runs to its end.
class PieceLoop {
public:
    PieceLoop(int64_t count, int64_t chunk, const std::function<void(int64_t)>& work)
        : m_count(count), m_chunk(chunk), m_work(work) {}

    /// Takes chunks until none is left or a piece has failed, calling
    /// `afterChunk` (when given) after each.
    void runChunks(const std::function<void()>& afterChunk = {}) {
        for (;;) {
            if (afterChunk) {
                afterChunk();
            }
            int64_t from = 0;
            {
                std::lock_guard lock(m_mutex);
                if (m_failed || m_next >= m_count) {
                    return;
                }
                from = m_next;
                m_next = std::min(m_count, m_next + m_chunk);
            }
            const int64_t to = std::min(m_count, from + m_chunk);
            int64_t i = from;
            try {
                for (; i < to; ++i) {
                    m_work(i);
                }
            } catch (...) {
                std::lock_guard lock(m_mutex);
                if (!m_failed || i < m_failedIndex) {
                    m_failedIndex = i;
                    m_error = std::current_exception();
                }
                m_failed = true;
                m_finished += i - from;
                m_changed.notify_all();
                return;
            }
            std::lock_guard lock(m_mutex);
            m_finished += to - from;
            m_changed.notify_all();
        }
    }

    /// A worker thread's whole life.
    void runWorker() {
        runChunks();
        std::lock_guard lock(m_mutex);
        --m_running;
        m_changed.notify_all();
    }

    void addWorker() {
        std::lock_guard lock(m_mutex);
        ++m_running;
    }

    /// Takes back an addWorker whose thread could not be started.
    void dropWorker() {
        std::lock_guard lock(m_mutex);
        --m_running;
    }

    /// On the calling thread: reports every finished count up to what is
    /// finished now.
    void reportFinished(const std::function<void(int64_t)>& done, int64_t& reported) {
        const int64_t now = finished();
        while (done && reported < now) {
            done(++reported);
        }
    }

    /// On the calling thread: reports every finished count up to what is
    /// finished now, and once the calling thread has no chunk left, waits for
    /// the workers, reporting as they go. Returns when every worker has ended.
    void reportUntilDone(const std::function<void(int64_t)>& done, int64_t& reported) {
        std::unique_lock lock(m_mutex);
        for (;;) {
            const int64_t finished = m_finished;
            const bool over = m_running == 0;
            if (done && finished > reported) {
                lock.unlock();
                while (reported < finished) {
                    done(++reported);
                }
                lock.lock();
                continue;
            }
            if (over) {
                return;
            }
            m_changed.wait(lock);
        }
    }

    int64_t finished() {
        std::lock_guard lock(m_mutex);
        return m_finished;
    }

    void rethrowFailure() {
        if (m_error) {
            std::rethrow_exception(m_error);
        }
    }

private:
    const int64_t m_count;
    const int64_t m_chunk;
    const std::function<void(int64_t)>& m_work;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    int64_t m_next = 0;
    int64_t m_finished = 0;
    int32_t m_running = 0;
    bool m_failed = false;
    int64_t m_failedIndex = 0;
    std::exception_ptr m_error;
};

/// Threads kept for the whole process and lent to one parallel loop at a
/// time, so that a build's many short loops do not each start and join
/// threads of their own. Started as loops first ask for them.
class WorkerPool {
public:
    static WorkerPool& instance() {
        static WorkerPool pool;
        return pool;
    }
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;
    ~WorkerPool() {
        {
            std::lock_guard lock(m_mutex);
            m_stopping = true;
        }
        m_wake.notify_all();
        // The jthreads join as they are destroyed.
    }

    /// Whether the calling thread is one of the pool's own or is running a
    /// loop with them now: a loop it starts then runs on it alone.
    static bool inLoop() { return t_inLoop; }
    static void setInLoop(bool inLoop) { t_inLoop = inLoop; }

    /// Serialises the loops that borrow the pool; a second loop started
    /// meanwhile from another thread runs on its own thread instead.
    std::mutex& lendLock() { return m_lend; }

    /// Has `helpers` pool threads each call `job` once (the caller holds
    /// lendLock and keeps `job` alive until every one has returned from it).
    /// Returns how many will: fewer when no more threads could be started.
    int64_t lend(int64_t helpers, const std::function<void()>& job) {
        std::lock_guard lock(m_mutex);
        while (int64_t(m_threads.size()) < helpers) {
            try {
                m_threads.emplace_back([this] { serve(); });
            } catch (const std::system_error&) {
                break;
            }
        }
        m_job = &job;
        m_pending = std::min<int64_t>(helpers, int64_t(m_threads.size()));
        m_wake.notify_all();
        return m_pending;
    }

    /// Waits until every thread lent has returned from its job, so that the
    /// job and what it refers to may go.
    void waitIdle() {
        std::unique_lock lock(m_mutex);
        m_idle.wait(lock, [this] { return m_active == 0 && m_pending == 0; });
    }

private:
    WorkerPool() = default;

    void serve() {
        t_inLoop = true;
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_wake.wait(lock, [this] { return m_stopping || m_pending > 0; });
            if (m_stopping) {
                return;
            }
            --m_pending;
            ++m_active;
            const std::function<void()>* job = m_job;
            lock.unlock();
            (*job)();
            lock.lock();
            if (--m_active == 0 && m_pending == 0) {
                m_idle.notify_all();
            }
        }
    }

    static thread_local bool t_inLoop;
    std::mutex m_lend;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    const std::function<void()>* m_job = nullptr;
    int64_t m_pending = 0; ///< lent threads that have not taken the job yet
    int64_t m_active = 0;  ///< lent threads inside the job
    bool m_stopping = false;
    std::vector<std::jthread> m_threads; // last: joined before the rest goes
};

thread_local bool WorkerPool::t_inLoop = false;

} // namespace

int32_t defaultWorkerCount() {
    static const int32_t count = workerCountFromEnvironment();
    return count;
}

void forEachPiece(int64_t count, int32_t threads, const std::function<void(int64_t)>& work,
                  const std::function<void(int64_t)>& done) {
    if (count <= 0) {
        return;
    }
    const int64_t helpers = std::min<int64_t>(std::max(threads, 1), count) - 1;
    WorkerPool& pool = WorkerPool::instance();
    // A loop inside a loop's work, or one started while another thread's
    // loop has the pool, runs on its own thread.
    std::unique_lock<std::mutex> lent;
    if (helpers > 0 && !WorkerPool::inLoop()) {
        lent = std::unique_lock(pool.lendLock(), std::try_to_lock);
    }
    if (!lent.owns_lock()) {
        for (int64_t i = 0; i < count; ++i) {
            work(i);
            if (done) {
                done(i + 1);
            }
        }
        return;
    }
    // Chunks small enough that the threads end close together and progress
    // moves smoothly, large enough that handing them out costs nothing.
    const int64_t chunk = std::clamp<int64_t>(count / ((helpers + 1) * 16), 1, 64);
    PieceLoop loop(count, chunk, work);
    int64_t reported = 0;
    for (int64_t t = 0; t < helpers; ++t) {
        loop.addWorker();
    }
    const std::function<void()> job = [&loop] { loop.runWorker(); };
    // Without enough threads to be had, the ones lent (and the calling
    // thread) share the pieces.
    for (int64_t missing = helpers - pool.lend(helpers, job); missing > 0; --missing) {
        loop.dropWorker();
    }
    // The loop and the job live here: leaving, even by an exception from
    // `done`, first waits until no lent thread touches them.
    struct WaitForLent {
        WorkerPool& pool;
        ~WaitForLent() {
            pool.waitIdle();
            WorkerPool::setInLoop(false);
        }
    } waitForLent{pool};
    WorkerPool::setInLoop(true);
    loop.runChunks([&] { loop.reportFinished(done, reported); });
    loop.reportUntilDone(done, reported);
    pool.waitIdle();
    loop.rethrowFailure();
}

} // namespace zg
