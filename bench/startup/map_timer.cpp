// Starts a program and reports how long it took until its first top-level window was mapped,
// and the process's peak resident set. Watches the root window for MapNotify, so there is no
// polling delay. Usage: map_timer PROGRAM [ARGS...]; prints "<ms> <peak RSS KiB>".
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s PROGRAM [ARGS...]\n", argv[0]);
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
    XEvent event;
    do
        XNextEvent(display, &event);
    while (event.type != MapNotify);
    const auto mapped = std::chrono::steady_clock::now();

    // Let it settle as a user would see it, then end it and read its peak memory.
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    kill(child, SIGTERM);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    XCloseDisplay(display);
    const double ms = std::chrono::duration<double, std::milli>(mapped - start).count();
    std::printf("%.1f %ld\n", ms, usage.ru_maxrss);
    return 0;
}
