#pragma once

// Drives the real program as its user does: keys, typing and clicks go to the focused control
// of the active window, and what is read is what the user sees. The program runs on the main
// thread, as a desktop program must, started as main() starts it; the tests run on a second
// thread. A driver per platform (tests/ui/qt, tests/ui/win32) provides the platform's part of
// this; the scenarios are written once, against it.

#include "TripData.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace uitest {

// clang-format off
enum class TKey { F1, F2, F3, F4, F5, F6,
                  Enter, KeypadEnter, Escape, Space, Tab, BackTab, Backspace };
// clang-format on

struct TBounds { // in pixels at 96 dots per inch
    int Left, Top, Width, Height;
    friend bool operator==(const TBounds&, const TBounds&) = default;
};

// What the user sees at a moment.
struct TView {
    std::string Active; // the active window's caption; empty when none of the program's is
    std::string Focus;  // the name of its focused control
    std::vector<std::string> Shown; // the captions of the visible windows
    std::optional<std::string> Box; // the open message box's text
};

// One run of the program: started with its main window active, ended by the user or else by
// the destructor. Each step returns once the program has handled it.
class TProgram {
public:
    TProgram();
    ~TProgram();

    void Press(TKey key);                 // to the open box, or to the active window
    void Type(std::string_view text);     // UTF-8, a character at a time
    void Click(std::string_view control); // a button of the active window
    void CloseWindow();                   // the active window's close button
    void Minimise();                      // the active window's minimise button
    // As a click on its frame, or else as it should become by itself; true once active.
    bool Activate(std::string_view caption, bool click = true);

    TView View();
    std::string Text(std::string_view field);      // a field of the active window
    TBounds Bounds(std::string_view control = {}); // in the active window; none: its client area
    varkelo::TTripData Record();                   // what the program holds
    bool Ended();                                  // within a moment
};

// Runs a step on the program's thread, in whatever loop turns there, and waits for it; false
// when no run of the program is there to take it.
bool OnGui(const std::function<void()>& step);
void Settle(); // until the program has handled its input
void EndRun(); // however it stands
void RequestActivation(std::string_view caption);

} // namespace uitest
