// The window tests' driver over Win32: keys go in through SendInput, as from a user's
// keyboard; what the user sees is read on the program's thread. A step waits until that
// thread has handled all the input and messages queued for it.

#include "Win32Driver.h"

#include "../Driver.h"
#include "WideText.h"

#include <thread>

#include <gtest/gtest.h>

namespace uitest {

using varkelo::WindowText;

namespace {

// A WM_NULL with this in wParam carries a step for the program's thread, run by the hook.
constexpr WPARAM kStep = 0x5641524B;

LRESULT CALLBACK RunStep(int code, WPARAM wParam, LPARAM lParam) {
    const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_NULL && message->wParam == kStep)
        (*reinterpret_cast<const std::function<void()>*>(message->lParam))();
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// The program's windows, which are the only ones on the test's desktop: its forms shown, and
// its message box.
std::vector<HWND> Forms() {
    std::vector<HWND> forms;
    for (HWND form = nullptr; (form = FindWindowExW(nullptr, form, L"VarkeloForm", nullptr));)
        if (IsWindowVisible(form))
            forms.push_back(form);
    return forms;
}

HWND Box() {
    return FindWindowW(L"#32770", L"Варкело");
}

// The foreground window, if it is a form; a minimised one is not active to its user.
HWND ActiveForm() {
    const HWND active = GetForegroundWindow();
    return std::ranges::count(Forms(), active) && !IsIconic(active) ? active : nullptr;
}

HWND Control(std::string_view name) {
    return ActiveForm() ? FindControl(ActiveForm(), name) : nullptr;
}

INPUT Key(WORD key, DWORD flags) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki = {(flags & KEYEVENTF_UNICODE) ? WORD(0) : key,
                (flags & KEYEVENTF_UNICODE) ? key : WORD(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)),
                flags, 0, 0};
    return input;
}

void Send(std::vector<INPUT> inputs) {
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
    Settle();
}

// Posted, as a click may open a box that holds the program's thread until it is closed.
void Post(HWND window, UINT message, WPARAM wParam = 0) {
    PostMessageW(window, message, wParam, 0);
    Settle();
}

} // namespace

bool OnGui(const std::function<void()>& step) {
    const HWND form = FindWindowW(L"VarkeloForm", nullptr);
    DWORD_PTR result = 0;
    if (form &&
        SendMessageTimeoutW(form, WM_NULL, kStep, LPARAM(&step), SMTO_NORMAL, 20000, &result))
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
    DWORD pending = 1;
    for (int i = 0; i < 100000 && pending; ++i, std::this_thread::yield())
        if (!OnGui([&] { pending = HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE)); }))
            return;
}

const varkelo::TControlDesc* ControlOf(HWND control) {
    wchar_t root[16] = {};
    GetClassNameW(GetAncestor(control, GA_ROOT), root, 16);
    if (std::wstring_view(root) != L"VarkeloForm" || !GetParent(control))
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
    for (HWND form : Forms())
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
    static const WORD keys[] = {VK_F1, VK_F2,     VK_F3,    VK_F4,  VK_F5,  VK_F6,  VK_RETURN,
                                0,     VK_ESCAPE, VK_SPACE, VK_TAB, VK_TAB, VK_BACK};
    if (key == TKey::KeypadEnter)
        return Send({Key(VK_RETURN, KEYEVENTF_EXTENDEDKEY),
                     Key(VK_RETURN, KEYEVENTF_EXTENDEDKEY | KEYEVENTF_KEYUP)});
    if (key == TKey::BackTab)
        return Send({Key(VK_SHIFT, 0), Key(VK_TAB, 0), Key(VK_TAB, KEYEVENTF_KEYUP),
                     Key(VK_SHIFT, KEYEVENTF_KEYUP)});
    Send({Key(keys[int(key)], 0), Key(keys[int(key)], KEYEVENTF_KEYUP)});
}

void TProgram::Type(std::string_view text) {
    for (wchar_t unit : varkelo::Wide(text)) // as an input method delivers it
        Send({Key(unit, KEYEVENTF_UNICODE), Key(unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)});
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

void TProgram::CloseBox() {
    Post(GetDlgItem(Box(), IDOK), BM_CLICK);
}

TView TProgram::View() {
    TView view;
    OnGui([&view] {
        if (ActiveForm()) {
            view.Active = WindowText(ActiveForm());
            if (const auto* focus = ControlOf(GetFocus()))
                view.Focus = focus->Name.View();
        }
        for (HWND form : Forms())
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
    TBounds bounds{};
    OnGui([&] {
        const HWND form = ActiveForm();
        RECT r{};
        if (control.empty()) {
            GetClientRect(form, &r);
        } else {
            GetWindowRect(FindControl(form, control), &r);
            MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
        }
        const int dpi = int(GetDpiForWindow(form));
        bounds = {MulDiv(r.left, 96, dpi), MulDiv(r.top, 96, dpi),
                  MulDiv(r.right - r.left, 96, dpi), MulDiv(r.bottom - r.top, 96, dpi)};
    });
    return bounds;
}

} // namespace uitest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    SetWindowsHookExW(WH_CALLWNDPROC, uitest::RunStep, nullptr, GetCurrentThreadId());
    return uitest::RunBesideProgram([] { return RUN_ALL_TESTS(); });
}
