#include "platform/Workers.h"

#include <cstdlib>

namespace platform {

bool ParseThreadCount(const std::string& text, int& threads) {
    if (text.empty() || text.size() > 3 ||
        text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    int n = std::stoi(text);
    if (n < 1 || n > MaxWorkerThreads) return false;
    threads = n;
    return true;
}

int WorkerThreads(std::string* warning) {
    const int hardware =
        std::clamp(static_cast<int>(std::thread::hardware_concurrency()), 1, MaxWorkerThreads);
    const char* set = std::getenv("ZOLT_THREADS");
    if (!set) return hardware;
    int threads = 0;
    if (ParseThreadCount(set, threads)) return threads;
    if (warning)
        *warning = "ZOLT_THREADS=" + std::string(set) + " is not a number of threads from 1 to " +
                   std::to_string(MaxWorkerThreads) + "; " + std::to_string(hardware) + " are used";
    return hardware;
}

} // namespace platform
