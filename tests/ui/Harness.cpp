#include "Driver.h"

#include "Startup.h"

#include <condition_variable>
#include <mutex>
#include <thread>

namespace uitest {

namespace {

std::mutex g_mutex;
std::condition_variable g_changed;
bool g_runRequested = false;
bool g_running = false;
bool g_testsDone = false;
int g_exitStatus = 0;

} // namespace

int RunBesideProgram(const std::function<int()>& tests) {
    int result = 1;
    std::thread worker([&] {
        result = tests();
        std::lock_guard lock(g_mutex);
        g_testsDone = true;
        g_changed.notify_all();
    });
    for (;;) {
        {
            std::unique_lock lock(g_mutex);
            g_changed.wait(lock, [] { return g_runRequested || g_testsDone; });
            if (!g_runRequested)
                break;
            g_runRequested = false;
            g_running = true;
        }
        const int status = varkelo::RunProgram();
        std::lock_guard lock(g_mutex);
        g_running = false;
        g_exitStatus = status;
        g_changed.notify_all();
    }
    worker.join();
    return result;
}

void RequestRun() {
    std::lock_guard lock(g_mutex);
    g_runRequested = true;
    g_changed.notify_all();
}

std::optional<int> WaitRunEnded(std::chrono::milliseconds timeout) {
    std::unique_lock lock(g_mutex);
    if (!g_changed.wait_for(lock, timeout, [] { return !g_running && !g_runRequested; }))
        return std::nullopt;
    return g_exitStatus;
}

bool RunInProgress() {
    std::lock_guard lock(g_mutex);
    return g_running || g_runRequested;
}

bool TProgram::Running() {
    return RunInProgress();
}

std::optional<int> TProgram::WaitEnd() {
    return WaitRunEnded(std::chrono::seconds(5));
}

} // namespace uitest
