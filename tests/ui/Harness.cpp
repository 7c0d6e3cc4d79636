#include "Driver.h"

#include "Startup.h"

#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

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

namespace {

std::optional<int> WaitRunEnded(std::chrono::milliseconds timeout) {
    std::unique_lock lock(g_mutex);
    if (!g_changed.wait_for(lock, timeout, [] { return !g_running && !g_runRequested; }))
        return std::nullopt;
    return g_exitStatus;
}

} // namespace

TProgram::TProgram() {
    {
        std::lock_guard lock(g_mutex);
        g_runRequested = true;
        g_changed.notify_all();
    }
    if (!WaitStarted()) {
        ADD_FAILURE() << "the program did not start";
        std::abort(); // nothing more can be tested
    }
    EXPECT_TRUE(Activate("Варкело")) << "Варкело wanted active, «" << ActiveCaption() << "» active";
}

TProgram::~TProgram() {
    EndRun();
    if (!WaitRunEnded(std::chrono::seconds(20))) {
        ADD_FAILURE() << "the program did not end";
        std::abort();
    }
}

// Clicked again while it does not come up: a window shown a moment before may still take the
// focus from it.
bool TProgram::Activate(std::string_view caption) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        RequestActivation(caption);
        if (WaitActive(caption, 10))
            return true;
    }
    return false;
}

bool TProgram::WaitActive(std::string_view caption, int rounds) {
    for (int i = 0; i < rounds; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10))) {
        Settle();
        if (ActiveCaption() == caption)
            return true;
    }
    return false;
}

bool TProgram::Running() {
    std::lock_guard lock(g_mutex);
    return g_running || g_runRequested;
}

std::optional<int> TProgram::WaitEnd() {
    return WaitRunEnded(std::chrono::seconds(5));
}

} // namespace uitest
