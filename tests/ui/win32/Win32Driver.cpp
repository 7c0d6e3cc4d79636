// The window tests' driver over Win32: keys and clicks go in through SendInput, as from a
// user's devices; focus, texts and boxes are read with the Win32 API. A step waits until the
// program's thread has handled all the input and messages queued for it.

#include "Win32Driver.h"

#include "../Driver.h"
#include "Fishingunit.h"
#include "WideText.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include <gtest/gtest.h>

namespace uitest {

using varkelo::Utf8;
using varkelo::Wide;

namespace {

using namespace std::chrono_literals;

// A WM_NULL with this in wParam carries a step for the program's thread, run by the hook.
constexpr WPARAM kStep = 0x5641524B;

DWORD g_programThread = 0;
HWND g_main = nullptr; // the current run's main window

LRESULT CALLBACK RunStep(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_NULL && message->wParam == kStep)
        (*reinterpret_cast<const std::function<void()>*>(message->lParam))();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Utf8(name);
}

GUITHREADINFO ThreadState() {
    GUITHREADINFO state{};
    state.cbSize = sizeof state;
    GetGUIThreadInfo(g_programThread, &state);
    return state;
}

// The program's visible top-level windows of a class: its forms, or its message boxes.
std::vector<HWND> Windows(const char* windowClass) {
    std::pair<const char*, std::vector<HWND>> search{windowClass, {}};
    EnumThreadWindows(
        g_programThread,
        [](HWND window, LPARAM found) -> BOOL {
            auto& [wanted, windows] = *reinterpret_cast<decltype(search)*>(found);
            if (IsWindowVisible(window) && ClassOf(window) == wanted)
                windows.push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND ActiveForm() {
    const HWND active = ThreadState().hwndActive;
    return active && ClassOf(active) == "VarkeloForm" && IsWindowVisible(active) &&
                   !IsIconic(active)
               ? active
               : nullptr;
}

HWND Box() {
    const auto boxes = Windows("#32770");
    return boxes.empty() ? nullptr : boxes.front();
}

} // namespace

// Lets the program handle what was sent to it: until its thread's queue holds no input and
// no posted message, a box it opened being up.
void Settle() {
    for (int i = 0; i < 5000; ++i) {
        DWORD pending = 0;
        if (!OnGui([&] { pending = HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)); }) ||
            pending == 0)
            return;
        std::this_thread::sleep_for(1ms);
    }
}

namespace {

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
        std::this_thread::sleep_for(10ms);
        Settle();
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
    Settle();
}

// A click as the button itself takes one, button down and up; posted, since it may open a
// box that holds the program's thread until closed.
void ClickAt(HWND button) {
    PostMessageW(button, BM_CLICK, 0, 0);
    Settle();
}

} // namespace

const bool kBoxesCopy =
    GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") == nullptr;

bool OnGui(const std::function<void()>& step) {
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(g_main, WM_NULL, kStep, reinterpret_cast<LPARAM>(&step), SMTO_NORMAL,
                            20000, &result))
        return true;
    if (GetLastError() == ERROR_TIMEOUT) {
        ADD_FAILURE() << "the program did not answer for 20 s";
        std::abort(); // its thread is stuck: nothing more can be tested
    }
    return false; // its window is gone: the program ended
}

const varkelo::TControlDesc* ControlOf(HWND control) {
    if (ClassOf(GetAncestor(control, GA_ROOT)) != "VarkeloForm" || GetParent(control) == nullptr)
        return nullptr;
    return reinterpret_cast<const varkelo::TControlDesc*>(
        GetWindowLongPtrW(control, GWLP_USERDATA));
}

HWND FindControl(HWND form, std::string_view name) {
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (const auto* desc = ControlOf(child); desc && desc->Name.View() == name)
            return child;
    return nullptr;
}

HWND FindForm(std::string_view caption) {
    for (HWND form : Windows("VarkeloForm"))
        if (Caption(form) == caption)
            return form;
    return nullptr;
}

std::string Caption(HWND window) {
    return varkelo::WindowText(window);
}

bool WaitStarted() {
    for (int i = 0; i < 2000 && !(g_main = FindForm("Варкело")); ++i)
        std::this_thread::sleep_for(10ms);
    return g_main != nullptr;
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
        {VK_BACK, 0},   {'C', 0},      {'V', 0}};
    const auto [code, flags] = keys[int(key)];
    const WORD modifier = key == TKey::BackTab                      ? VK_SHIFT
                          : key == TKey::Copy || key == TKey::Paste ? VK_CONTROL
                                                                    : 0;
    std::vector<INPUT> inputs;
    if (modifier)
        inputs.push_back(KeyInput(modifier, 0));
    inputs.push_back(KeyInput(code, flags));
    inputs.push_back(KeyInput(code, flags | KEYEVENTF_KEYUP));
    if (modifier)
        inputs.push_back(KeyInput(modifier, KEYEVENTF_KEYUP));
    Send(inputs);
}

void TProgram::Type(std::string_view text) {
    for (wchar_t unit : Wide(text)) // as an input method delivers it, a character at a time
        Send({KeyInput(WORD(unit), KEYEVENTF_UNICODE),
              KeyInput(WORD(unit), KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)});
}

void TProgram::Click(std::string_view control) {
    const HWND form = ActiveForm();
    const HWND button = form ? FindControl(form, control) : nullptr;
    ASSERT_NE(button, nullptr) << "no button " << control << " in the active window";
    ClickAt(button);
}

void TProgram::CloseWindow() {
    if (const HWND form = ActiveForm()) {
        PostMessageW(form, WM_SYSCOMMAND, SC_CLOSE, 0);
        Settle();
    }
}

void TProgram::Minimise() {
    if (const HWND form = ActiveForm()) {
        PostMessageW(form, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        Settle();
    }
}

std::string TProgram::ActiveCaption() {
    const HWND form = ActiveForm();
    return form ? Caption(form) : std::string();
}

std::vector<std::string> TProgram::VisibleWindows() {
    std::vector<std::string> captions;
    for (HWND form : Windows("VarkeloForm"))
        captions.push_back(Caption(form));
    return captions;
}

std::string TProgram::Focused() {
    const auto* desc = ActiveForm() ? ControlOf(ThreadState().hwndFocus) : nullptr;
    return desc ? std::string(desc->Name.View()) : std::string();
}

std::string TProgram::Text(std::string_view field) {
    const HWND form = ActiveForm();
    const HWND control = form ? FindControl(form, field) : nullptr;
    return control ? Caption(control) : std::string();
}

std::vector<std::string> TProgram::Menu() {
    std::vector<std::string> items;
    const auto text = [](HMENU menu, int at) {
        wchar_t caption[80] = {};
        GetMenuStringW(menu, UINT(at), caption, 80, MF_BYPOSITION);
        return Utf8(caption);
    };
    const HMENU bar = GetMenu(FindForm("Варкело"));
    for (int i = 0; i < GetMenuItemCount(bar); ++i) {
        items.push_back(text(bar, i));
        const HMENU menu = GetSubMenu(bar, i);
        for (int j = 0; j < GetMenuItemCount(menu); ++j)
            items.push_back(text(menu, j));
    }
    return items;
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
    const int dpi = int(GetDpiForWindow(form));
    const auto at96 = [dpi](LONG pixels) { return MulDiv(int(pixels), 96, dpi); };
    return {at96(r.left), at96(r.top), at96(r.right - r.left), at96(r.bottom - r.top)};
}

std::optional<std::string> TProgram::Box() {
    const HWND box = uitest::Box();
    if (box == nullptr)
        return std::nullopt;
    wchar_t text[1024] = {};
    GetDlgItemTextW(box, 0xFFFF, text, 1024); // the box's message
    return Utf8(text);
}

void TProgram::CloseBox() {
    if (const HWND box = uitest::Box())
        ClickAt(GetDlgItem(box, IDOK));
}

std::string TProgram::Clipboard() {
    std::string text;
    if (OpenClipboard(nullptr)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            text = Utf8(static_cast<const wchar_t*>(GlobalLock(data)));
            GlobalUnlock(data);
        }
        CloseClipboard();
    }
    return text;
}

void TProgram::SetClipboard(std::string_view text) {
    const std::wstring wide = Wide(text);
    HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (wide.size() + 1) * sizeof(wchar_t));
    std::copy_n(wide.c_str(), wide.size() + 1, static_cast<wchar_t*>(GlobalLock(data)));
    GlobalUnlock(data);
    if (OpenClipboard(nullptr)) {
        EmptyClipboard();
        SetClipboardData(CF_UNICODETEXT, data);
        CloseClipboard();
    }
}

varkelo::TTripData TProgram::Record() {
    varkelo::TTripData record{};
    OnGui([&] { record = Form1->TripData(); });
    return record;
}

} // namespace uitest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    uitest::g_programThread = GetCurrentThreadId();
    SetWindowsHookExW(WH_CALLWNDPROC, uitest::RunStep, nullptr, uitest::g_programThread);
    return uitest::RunBesideProgram([] { return RUN_ALL_TESTS(); });
}
