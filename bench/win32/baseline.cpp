// The yardstick for start-up under Windows: a bare Win32 program with a window of the same
// size, one menu and one button, and nothing else.
#include <windows.h>

namespace {

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DESTROY)
        PostQuitMessage(0);
    return DefWindowProcW(window, message, wParam, lParam);
}

} // namespace

int main() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW form{};
    form.lpfnWndProc = Proc;
    form.hInstance = instance;
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = L"Baseline";
    RegisterClassW(&form);
    HMENU bar = CreateMenu();
    HMENU menu = CreatePopupMenu();
    AppendMenuW(menu, MF_STRING, 1, L"Выход");
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), L"Меню");
    RECT frame{0, 0, 225, 74};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, TRUE);
    HWND window = CreateWindowW(L"Baseline", L"Baseline", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                CW_USEDEFAULT, frame.right - frame.left, frame.bottom - frame.top,
                                nullptr, bar, instance, nullptr);
    CreateWindowW(L"BUTTON", L"Расчёт", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 82, 20, 60, 30,
                  window, nullptr, instance, nullptr);
    ShowWindow(window, SW_SHOW);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0)
        DispatchMessageW(&message);
    return 0;
}
