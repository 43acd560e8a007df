// Work on a list of items spread over worker threads and handed back to the calling thread in
// the list's order, so a run on many threads delivers exactly what a run on one does.
#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace platform {

constexpr int MaxWorkerThreads = 256;

// The threads a scan uses: ZOLT_THREADS when it holds a count from 1 to MaxWorkerThreads, else
// the processor's hardware threads. A value that is set but unusable is named in `warning`.
int WorkerThreads(std::string* warning = nullptr);

// A thread count as given on a command line or in the environment; false when it is not a
// whole number from 1 to MaxWorkerThreads.
bool ParseThreadCount(const std::string& text, int& threads);

// Runs compute(item, worker) for items 0..count-1 on `threads` workers (on the calling thread
// itself when 1), and deliver(item, result) on the calling thread in item order. While it waits
// for the next item, idle() is called every 25 ms. When deliver or idle gives false, nothing
// more is delivered and the workers end after the item each is on. An exception from compute
// reaches the caller when its item's turn comes.
template <class Result, class Compute, class Deliver, class Idle>
void RunInOrder(int count, int threads, Compute compute, Deliver deliver, Idle idle) {
    if (threads <= 1 || count <= 1) {
        for (int i = 0; i < count; ++i)
            if (!deliver(i, compute(i, 0))) return;
        return;
    }
    threads = std::min(threads, count);
    struct Slot {
        std::optional<Result> result;
        std::exception_ptr error;
        bool ready = false;
    };
    // Workers run at most this far ahead of delivery, which bounds the results held.
    const int ahead = 32 * threads;
    std::vector<Slot> held(static_cast<std::size_t>(count));
    std::mutex m;
    std::condition_variable workReady, resultReady;
    int next = 0, delivered = 0;
    bool stop = false;

    auto work = [&](int worker) {
        std::unique_lock lock(m);
        for (;;) {
            workReady.wait(lock, [&] { return stop || next >= count || next < delivered + ahead; });
            if (stop || next >= count) return;
            const int item = next++;
            lock.unlock();
            Slot done;
            try {
                done.result.emplace(compute(item, worker));
            } catch (...) {
                done.error = std::current_exception();
            }
            lock.lock();
            Slot& slot = held[static_cast<std::size_t>(item)];
            slot.result = std::move(done.result);
            slot.error = done.error;
            slot.ready = true;
            if (item == delivered) resultReady.notify_one();
        }
    };
    auto end = [&] {
        {
            std::lock_guard lock(m);
            stop = true;
        }
        workReady.notify_all();
    };
    std::vector<std::jthread> workers;
    struct EndOnExit {
        decltype(end)& e;
        ~EndOnExit() { e(); }
    } endOnExit{end}; // before the workers are joined, also when deliver throws
    workers.reserve(static_cast<std::size_t>(threads));
    for (int w = 0; w < threads; ++w) workers.emplace_back(work, w);

    for (int i = 0; i < count; ++i) {
        Slot slot;
        {
            std::unique_lock lock(m);
            Slot& s = held[static_cast<std::size_t>(i)];
            while (!resultReady.wait_for(lock, std::chrono::milliseconds(25),
                                         [&] { return s.ready; })) {
                lock.unlock();
                const bool go = idle();
                lock.lock();
                if (!go) return;
            }
            slot = std::move(s);
            s = Slot{};
            delivered = i + 1;
        }
        workReady.notify_all();
        if (slot.error) std::rethrow_exception(slot.error);
        if (!deliver(i, std::move(*slot.result))) return;
    }
}

} // namespace platform
