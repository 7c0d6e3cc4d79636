#include "Driver.h"

#include "Fishingunit.h"
#include "Startup.h"

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

namespace uitest {

namespace {

using namespace std::chrono_literals;

std::mutex g_mutex;
std::condition_variable g_changed;
bool g_runRequested = false, g_running = false, g_testsDone = false;

template <class Change> void Announce(Change change) {
    std::lock_guard lock(g_mutex);
    change();
    g_changed.notify_all();
}

bool WaitRunEnded(std::chrono::seconds timeout) {
    std::unique_lock lock(g_mutex);
    return g_changed.wait_for(lock, timeout, [] { return !g_running && !g_runRequested; });
}

// Runs the tests on a second thread and the program on this one, a run at a time as the tests
// ask.
int RunBesideProgram(const std::function<int()>& tests) {
    int result = 1;
    std::thread worker([&] {
        result = tests();
        Announce([] { g_testsDone = true; });
    });
    for (std::unique_lock lock(g_mutex);;) {
        g_changed.wait(lock, [] { return g_runRequested || g_testsDone; });
        if (!g_runRequested)
            break;
        g_runRequested = false, g_running = true;
        lock.unlock();
        varkelo::RunProgram();
        lock.lock();
        g_running = false;
        g_changed.notify_all();
    }
    worker.join();
    return result;
}

} // namespace

TProgram::TProgram() {
    Announce([] { g_runRequested = true; });
    if (!Activate("Варкело")) {
        ADD_FAILURE() << "the program did not start";
        std::abort(); // nothing more can be tested
    }
}

TProgram::~TProgram() {
    EndRun();
    if (!WaitRunEnded(20s)) {
        ADD_FAILURE() << "the program did not end";
        std::abort();
    }
}

varkelo::TTripData TProgram::Record() {
    varkelo::TTripData record{};
    OnGui([&] { record = Form1->TripData(); });
    return record;
}

// Its forms gone with it: no global still reaches one.
bool TProgram::Ended() {
    return WaitRunEnded(5s) && Form1 == nullptr;
}

} // namespace uitest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return uitest::RunBesideProgram([] { return RUN_ALL_TESTS(); });
}
