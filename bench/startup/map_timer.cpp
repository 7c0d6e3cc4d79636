// Starts a program and reports how long it took until its first top-level window was mapped,
// and the process's peak resident set. Watches the root window for MapNotify, so there is no
// polling delay. Usage: map_timer [--f1] PROGRAM [ARGS...]; prints "<ms> <peak RSS KiB>".
// With --f1 it then presses F1, Esc and F1 again, and also prints how long each F1 took until
// the window it opens was mapped: the first builds that window, the second shows it again.
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string_view>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

void WaitFor(Display* display, int type) {
    XEvent event;
    do
        XNextEvent(display, &event);
    while (event.type != type);
}

// Presses and releases the key, and returns how long until a window was mapped or unmapped.
double Press(Display* display, const char* key, int until) {
    const KeyCode code = XKeysymToKeycode(display, XStringToKeysym(key));
    const auto start = std::chrono::steady_clock::now();
    XTestFakeKeyEvent(display, code, True, CurrentTime);
    XTestFakeKeyEvent(display, code, False, CurrentTime);
    XFlush(display);
    WaitFor(display, until);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

} // namespace

int main(int argc, char** argv) {
    const bool f1 = argc > 1 && std::string_view(argv[1]) == "--f1";
    argv += f1;
    argc -= f1;
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s [--f1] PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "no X display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    WaitFor(display, MapNotify);
    const auto mapped = std::chrono::steady_clock::now();

    // Let it settle as a user would see it, then end it and read its peak memory.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    double keys[2] = {};
    if (f1) {
        keys[0] = Press(display, "F1", MapNotify);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        Press(display, "Escape", UnmapNotify);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        keys[1] = Press(display, "F1", MapNotify);
    }
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    XCloseDisplay(display);
    const double ms = std::chrono::duration<double, std::milli>(mapped - start).count();
    if (f1)
        std::printf("%.1f %ld %.1f %.1f\n", ms, usage.ru_maxrss, keys[0], keys[1]);
    else
        std::printf("%.1f %ld\n", ms, usage.ru_maxrss);
    return 0;
}
