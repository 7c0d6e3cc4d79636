// The window tests' driver over Win32: keys go in through SendInput, as from a user's
// keyboard; focus, texts and boxes are read with the Win32 API. A step waits until the
// program's thread has handled all the input and messages queued for it.

#include "Win32Driver.h"

#include "../Driver.h"
#include "WideText.h"

#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace uitest {

using varkelo::WindowText;

namespace {

// A WM_NULL with this in wParam carries a step for the program's thread, run by the hook.
constexpr WPARAM kStep = 0x5641524B;

DWORD g_programThread = 0;

LRESULT CALLBACK RunStep(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_NULL && message->wParam == kStep)
        (*reinterpret_cast<const std::function<void()>*>(message->lParam))();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

bool OfClass(HWND window, std::wstring_view wanted) {
    wchar_t name[64] = {};
    return GetClassNameW(window, name, 64) && name == wanted;
}

// The program's top-level windows of a class, the visible ones unless all.
std::vector<HWND> Windows(const wchar_t* windowClass, bool all = false) {
    std::vector<HWND> windows;
    EnumThreadWindows(
        g_programThread,
        [](HWND window, LPARAM found) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&windows));
    std::erase_if(windows, [&](HWND window) {
        return !OfClass(window, windowClass) || !(all || IsWindowVisible(window));
    });
    return windows;
}

GUITHREADINFO ThreadState() {
    GUITHREADINFO state{};
    state.cbSize = sizeof state;
    GetGUIThreadInfo(g_programThread, &state);
    return state;
}

HWND ActiveForm() {
    const HWND active = ThreadState().hwndActive;
    return OfClass(active, L"VarkeloForm") && IsWindowVisible(active) && !IsIconic(active)
               ? active
               : nullptr;
}

HWND Box() {
    const auto boxes = Windows(L"#32770");
    return boxes.empty() ? nullptr : boxes.front();
}

INPUT KeyInput(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = (flags & KEYEVENTF_UNICODE) ? 0 : key;
    input.ki.wScan = (flags & KEYEVENTF_UNICODE) ? key : WORD(MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = flags;
    return input;
}

// As a user waits for a window to take the keyboard before typing, so does the driver.
void Send(std::vector<INPUT> inputs) {
    for (int i = 0; i < 100 && !ThreadState().hwndFocus && !Box(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        Settle();
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
    Settle();
}

// Posted, as a click may open a box that holds the program's thread until it is closed.
void Post(HWND window, UINT message, WPARAM wParam = 0) {
    if (window) {
        PostMessageW(window, message, wParam, 0);
        Settle();
    }
}

HWND Control(std::string_view name) {
    return ActiveForm() ? FindControl(ActiveForm(), name) : nullptr;
}

} // namespace

bool OnGui(const std::function<void()>& step) {
    const auto windows = Windows(L"VarkeloForm", true);
    DWORD_PTR result = 0;
    if (!windows.empty() &&
        SendMessageTimeoutW(windows.front(), WM_NULL, kStep, reinterpret_cast<LPARAM>(&step),
                            SMTO_NORMAL, 20000, &result))
        return true;
    if (GetLastError() == ERROR_TIMEOUT) {
        ADD_FAILURE() << "the program did not answer for 20 s";
        std::abort(); // its thread is stuck: nothing more can be tested
    }
    return false; // no window of it is left: the program ended
}

// Until the program's thread has no input and no posted message waiting, a box it opened
// being up.
void Settle() {
    for (int i = 0; i < 100000; ++i, std::this_thread::yield()) {
        DWORD pending = 0;
        if (!OnGui([&] { pending = HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)); }) ||
            pending == 0)
            return;
    }
}

const varkelo::TControlDesc* ControlOf(HWND control) {
    if (!OfClass(GetAncestor(control, GA_ROOT), L"VarkeloForm") || !GetParent(control))
        return nullptr;
    return reinterpret_cast<const varkelo::TControlDesc*>(
        GetWindowLongPtrW(control, GWLP_USERDATA));
}

HWND FindControl(HWND form, std::string_view name) {
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ControlOf(child) && ControlOf(child)->Name.View() == name)
            return child;
    return nullptr;
}

HWND FindForm(std::string_view caption) {
    for (HWND form : Windows(L"VarkeloForm"))
        if (WindowText(form) == caption)
            return form;
    return nullptr;
}

void EndRun() {
    OnGui([] { PostQuitMessage(0); });
}

void RequestActivation(std::string_view caption) {
    OnGui([form = FindForm(caption)] { SetForegroundWindow(form); });
}

void TProgram::Press(TKey key) {
    static const std::pair<WORD, DWORD> keys[] = {
        {VK_F1, 0},     {VK_F2, 0},    {VK_F3, 0},     {VK_F4, 0},
        {VK_F5, 0},     {VK_F6, 0},    {VK_RETURN, 0}, {VK_RETURN, KEYEVENTF_EXTENDEDKEY},
        {VK_ESCAPE, 0}, {VK_SPACE, 0}, {VK_TAB, 0},    {VK_TAB, 0},
        {VK_BACK, 0}};
    const auto [code, flags] = keys[int(key)];
    std::vector<INPUT> inputs{KeyInput(code, flags), KeyInput(code, flags | KEYEVENTF_KEYUP)};
    if (key == TKey::BackTab) {
        inputs.insert(inputs.begin(), KeyInput(VK_SHIFT, 0));
        inputs.push_back(KeyInput(VK_SHIFT, KEYEVENTF_KEYUP));
    }
    Send(inputs);
}

void TProgram::Type(std::string_view text) {
    for (wchar_t unit : varkelo::Wide(text)) // as an input method delivers it
        Send({KeyInput(WORD(unit), KEYEVENTF_UNICODE),
              KeyInput(WORD(unit), KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)});
}

void TProgram::Click(std::string_view control) {
    ASSERT_NE(Control(control), nullptr) << "no button " << control << " in the active window";
    Post(Control(control), BM_CLICK);
}

void TProgram::CloseWindow() {
    Post(ActiveForm(), WM_SYSCOMMAND, SC_CLOSE);
}

void TProgram::Minimise() {
    Post(ActiveForm(), WM_SYSCOMMAND, SC_MINIMIZE);
}

TView TProgram::View() {
    TView view;
    OnGui([&view] {
        if (const HWND form = ActiveForm()) {
            view.Active = WindowText(form);
            if (const auto* focus = ControlOf(GetFocus()))
                view.Focus = focus->Name.View();
        }
        for (HWND form : Windows(L"VarkeloForm"))
            view.Shown.push_back(WindowText(form));
        if (Box())
            view.Box = WindowText(GetDlgItem(Box(), 0xFFFF)); // the box's message
    });
    return view;
}

std::string TProgram::Text(std::string_view field) {
    std::string text;
    OnGui([&] { text = Control(field) ? WindowText(Control(field)) : ""; });
    return text;
}

TBounds TProgram::Bounds(std::string_view control) {
    const HWND form = ActiveForm();
    RECT r{};
    if (control.empty()) {
        GetClientRect(form, &r);
    } else {
        GetWindowRect(FindControl(form, control), &r);
        MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    }
    const auto at96 = [dpi = int(GetDpiForWindow(form))](LONG pixels) {
        return MulDiv(int(pixels), 96, dpi);
    };
    return {at96(r.left), at96(r.top), at96(r.right - r.left), at96(r.bottom - r.top)};
}

void TProgram::CloseBox() {
    if (Box())
        Post(GetDlgItem(Box(), IDOK), BM_CLICK);
}

} // namespace uitest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    uitest::g_programThread = GetCurrentThreadId();
    SetWindowsHookExW(WH_CALLWNDPROC, uitest::RunStep, nullptr, uitest::g_programThread);
    return uitest::RunBesideProgram([] { return RUN_ALL_TESTS(); });
}
