#pragma once

// Drives the real program as its user does: keys, typing and clicks go to the focused control
// of the active window, and what is read is what the user sees. The program runs on the main
// thread, as a desktop program must; the tests run on a second thread. One implementation per
// platform (tests/ui/qt, tests/ui/win32); the scenarios are written once, against this.

#include "TripData.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace uitest {

// clang-format off
enum class TKey {
    F1, F2, F3, F4, F5, F6,
    Enter, KeypadEnter, Escape, Space, Tab, BackTab, Backspace,
    Copy,  // Ctrl+C
    Paste, // Ctrl+V
};
// clang-format on

// A rectangle in pixels at 96 dots per inch.
struct TBounds {
    int Left, Top, Width, Height;
    friend bool operator==(const TBounds&, const TBounds&) = default;
};

// Whether Ctrl+C in a message box copies its text: Qt's boxes are taught to, Windows' do it
// themselves, and Wine's do not.
extern const bool kBoxesCopy;

// One run of the program: started by the constructor, with its main window active; ended by
// the user, or else by the destructor. Each step returns once the program has handled it.
class TProgram {
public:
    TProgram();
    ~TProgram();
    TProgram(const TProgram&) = delete;
    TProgram& operator=(const TProgram&) = delete;

    // Input goes where a user's does: to the open box, or to the active window.
    void Press(TKey key);
    void Type(std::string_view text);        // UTF-8, a character at a time
    void Click(std::string_view control);    // a button of the active window
    void CloseWindow();                      // the active window's close button
    void Minimise();                         // the active window's minimise button
    bool Activate(std::string_view caption); // as a click on its frame
    bool WaitActive(std::string_view caption, int rounds = 200);

    std::string ActiveCaption(); // empty when none of the program's windows is active
    std::vector<std::string> VisibleWindows();
    std::string Focused();                    // the name of the active window's focused control
    std::string Text(std::string_view field); // a field of the active window
    // The main window's menu bar: each menu's caption, then its items as "caption\tshortcut".
    std::vector<std::string> Menu();
    // A control of the active window, in its client area; with no name, the client area.
    TBounds Bounds(std::string_view control = {});
    std::optional<std::string> Box(); // the open message box's text
    void CloseBox();                  // with its OK button
    std::string Clipboard();
    void SetClipboard(std::string_view text);

    varkelo::TTripData Record(); // what the program holds
    bool Running();
    std::optional<int> WaitEnd(); // the exit status, unless the program goes on
};

// For the drivers. The program runs on the main thread, a run at a time as the tests ask;
// the tests run on a second thread: main() returns what RunBesideProgram does. Each driver
// provides the rest of this section; Harness.cpp builds the program's start, end and
// activation on it.
int RunBesideProgram(const std::function<int()>& tests);
bool WaitStarted();                               // a run began: its main window is up
void EndRun();                                    // however it stands
void Settle();                                    // until the program has handled its input
void RequestActivation(std::string_view caption); // as a click on the window's frame

} // namespace uitest
