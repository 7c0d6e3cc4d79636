// The program's windows over the Win32 API: builds each form from its description, in the
// wide-character API, and gives it the desktop behaviour the program relies on. Every
// handler runs through Dispatch, and every window procedure catches what it could let out,
// so no exception crosses a Win32 callback.

#include "Platform.h"

#include "Convert.h"
#include "NewerUser32.h"
#include "WideText.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace varkelo {

// A form's native window. GWLP_USERDATA holds this on the form's window, and on each control
// its description.
struct TWindow {
    explicit TWindow(TForm& form) : Form(form) {}
    TForm& Form;
    HWND Handle = nullptr;
    UINT Dpi = USER_DEFAULT_SCREEN_DPI;
    HWND LastFocus = nullptr;   // given back when the window is active again
    bool Placed = false;        // once first shown
    std::vector<HWND> Controls; // in the description's order
};

namespace {

constexpr wchar_t kFormClass[] = L"VarkeloForm";
constexpr wchar_t kProgramName[] = L"Варкело";
// A control's id is this plus its place in the description, a menu item's the other plus
// its place in the menu; both keep clear of IDOK and IDCANCEL, which dialog navigation sends.
constexpr int kFirstControlId = 100;
constexpr int kFirstCommandId = 1000;

HINSTANCE g_instance = nullptr;
HICON g_smallIcon = nullptr; // the frames' icon, loaded at its size
TWindow* g_main = nullptr;
HACCEL g_accelerators = nullptr;
std::vector<std::pair<UINT, HFONT>> g_fonts; // one a DPI, shared by every window
// Shows every window's hints: one window, made once the main window is up, as it costs as
// much as the rest of that window does.
HWND g_tooltip = nullptr;
constexpr UINT_PTR kHintsTimer = 1;
// Run's preparation, which comes with the tooltip.
std::function<void()> g_prepare;

int Scale(int pixels, UINT dpi) {
    return MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

// A window's DPI, that of its monitor where the system keeps one for each (Windows 10 1607
// and later); else the system's, which the program scales by on earlier Windows.
UINT DpiOf(HWND window) {
    static const auto forWindow = NewerUser32<UINT(WINAPI*)(HWND)>("GetDpiForWindow");
    if (forWindow != nullptr)
        return forWindow(window);
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
    ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

void AdjustFrame(RECT& frame, DWORD style, bool menu, DWORD exStyle, UINT dpi) {
    static const auto forDpi =
        NewerUser32<BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT)>("AdjustWindowRectExForDpi");
    if (forDpi != nullptr)
        forDpi(&frame, style, menu, exStyle, dpi);
    else
        AdjustWindowRectEx(&frame, style, menu, exStyle);
}

TWindow* WindowOf(HWND handle) {
    wchar_t name[32] = {};
    if (handle == nullptr || GetClassNameW(handle, name, 32) == 0 ||
        std::wstring_view(name) != kFormClass)
        return nullptr;
    return reinterpret_cast<TWindow*>(GetWindowLongPtrW(handle, GWLP_USERDATA));
}

const TControlDesc* ControlOf(HWND control) {
    // A form's own window is no control: its user data is its TWindow.
    const HWND form = control != nullptr ? GetAncestor(control, GA_ROOT) : nullptr;
    if (form == control || WindowOf(form) == nullptr)
        return nullptr;
    return reinterpret_cast<const TControlDesc*>(GetWindowLongPtrW(control, GWLP_USERDATA));
}

HWND FindControl(const TWindow& window, std::string_view name) {
    const auto controls = window.Form.Layout().Controls;
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].Name.View() == name)
            return window.Controls[i];
    return nullptr;
}

DWORD StyleOf(const TFormDesc& layout) {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    if (layout.Border == TBorder::Sizeable)
        style |= WS_THICKFRAME;
    if (layout.HasMinimiseBox())
        style |= WS_MINIMIZEBOX;
    if (layout.HasMaximiseBox())
        style |= WS_MAXIMIZEBOX;
    return style;
}

DWORD ExStyleOf(const TFormDesc& layout) {
    // Tab walks the controls, nested or not, as in a dialog.
    DWORD style = WS_EX_CONTROLPARENT;
    if (layout.Border == TBorder::Dialog)
        style |= WS_EX_DLGMODALFRAME;
    return style;
}

// The order the controls stand in, which is also the order Tab walks them: the tab order,
// with each field's label, and a heading before it, kept directly before the field, as a
// screen reader names a field by the label before it.
std::vector<std::size_t> CreationOrder(std::span<const TControlDesc> controls) {
    std::vector<std::pair<int, std::vector<std::size_t>>> groups;
    std::vector<std::size_t> waiting;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        waiting.push_back(i);
        if (controls[i].TabIndex >= 0)
            groups.emplace_back(controls[i].TabIndex, std::exchange(waiting, {}));
    }
    std::stable_sort(groups.begin(), groups.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    std::vector<std::size_t> order;
    for (const auto& group : groups)
        order.insert(order.end(), group.second.begin(), group.second.end());
    order.insert(order.end(), waiting.begin(), waiting.end());
    return order;
}

// The help comes as Markdown; an edit control shows it as plain text, tables in columns.
std::wstring PlainText(std::string_view markdown) {
    std::string text;
    std::size_t start = 0;
    while (start < markdown.size()) {
        std::size_t end = markdown.find('\n', start);
        if (end == std::string_view::npos)
            end = markdown.size();
        std::string line(markdown.substr(start, end - start));
        start = end + 1;
        if (line.starts_with("|:") || line.starts_with("|-"))
            continue; // a table's rule
        line.erase(0, line.find_first_not_of("# "));
        for (std::size_t at; (at = line.find("**")) != std::string::npos;)
            line.erase(at, 2);
        if (line.starts_with("| ") && line.ends_with(" |")) {
            std::string_view cells = std::string_view(line).substr(2, line.size() - 4);
            std::string row;
            for (std::size_t at; (at = cells.find(" | ")) != std::string_view::npos;
                 cells.remove_prefix(at + 3)) {
                row.append(cells.substr(0, at));
                row += '\t';
            }
            line = row.append(cells);
        }
        text += line + "\r\n";
    }
    return Wide(text);
}

// "MS Sans Serif" at an 11-pixel em, as the program has always looked, with its Cyrillic.
HFONT FontFor(UINT dpi) {
    for (const auto& [fontDpi, font] : g_fonts)
        if (fontDpi == dpi)
            return font;
    const HFONT font = CreateFontW(-Scale(11, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                   RUSSIAN_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                   DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, L"MS Sans Serif");
    g_fonts.emplace_back(dpi, font);
    return font;
}

// Where each control stands at the window's DPI: labels of no width fit their text; a
// document fills the client area.
std::vector<RECT> ControlBounds(const TWindow& window) {
    const auto controls = window.Form.Layout().Controls;
    const UINT dpi = window.Dpi;
    RECT client;
    GetClientRect(window.Handle, &client);
    HDC dc = GetDC(window.Handle);
    const HGDIOBJ oldFont = SelectObject(dc, FontFor(dpi));
    std::vector<RECT> bounds;
    for (const TControlDesc& desc : controls) {
        const int left = Scale(desc.Left, dpi);
        const int top = Scale(desc.Top, dpi);
        int width = Scale(desc.Width, dpi);
        if (desc.Kind == TControlKind::Label && desc.Width == 0) {
            const std::wstring text = Wide(desc.Text);
            SIZE extent{};
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
            width = extent.cx;
        }
        bounds.push_back(desc.Kind == TControlKind::Document
                             ? client
                             : RECT{left, top, left + width, top + Scale(desc.Height, dpi)});
    }
    SelectObject(dc, oldFont);
    ReleaseDC(window.Handle, dc);
    return bounds;
}

// Sizes the window at its DPI: its client area, or its whole frame where that is given.
void SizeWindow(const TWindow& window) {
    const TFormDesc& layout = window.Form.Layout();
    const UINT dpi = window.Dpi;
    const bool menu = GetMenu(window.Handle) != nullptr;
    RECT frame{0, 0, Scale(layout.Width, dpi), Scale(layout.Height, dpi)};
    if (!layout.OuterSize)
        AdjustFrame(frame, StyleOf(layout), menu, ExStyleOf(layout), dpi);
    SetWindowPos(window.Handle, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    if (!layout.OuterSize) {
        // A menu bar that wraps takes more room than was allowed for: make up for it.
        RECT client;
        GetClientRect(window.Handle, &client);
        const int shortBy = Scale(layout.Height, dpi) - client.bottom;
        if (shortBy != 0)
            SetWindowPos(window.Handle, nullptr, 0, 0, frame.right - frame.left,
                         frame.bottom - frame.top + shortBy,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

// Everything again at a new DPI.
void LayOut(TWindow& window) {
    SizeWindow(window);
    const std::vector<RECT> bounds = ControlBounds(window);
    for (std::size_t i = 0; i < bounds.size(); ++i) {
        const RECT& r = bounds[i];
        SendMessageW(window.Controls[i], WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(window.Dpi)),
                     FALSE);
        SetWindowPos(window.Controls[i], nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void FillWithDocument(const TWindow& window) {
    RECT client;
    GetClientRect(window.Handle, &client);
    const auto controls = window.Form.Layout().Controls;
    // The window is sized before its controls are made: only those made so far.
    for (std::size_t i = 0; i < window.Controls.size(); ++i)
        if (controls[i].Kind == TControlKind::Document)
            MoveWindow(window.Controls[i], 0, 0, client.right, client.bottom, TRUE);
}

// Centred on the work area, or over the main window, and kept on the work area.
void Centre(const TWindow& window) {
    RECT frame;
    GetWindowRect(window.Handle, &frame);
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(window.Handle, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT work = monitor.rcWork;
    RECT around = work;
    if (window.Form.Layout().Position == TPosition::OverMainForm && g_main != nullptr)
        GetWindowRect(g_main->Handle, &around);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    SetWindowPos(window.Handle, nullptr,
                 PlaceCentred(around.left, around.right, width, work.left, work.right),
                 PlaceCentred(around.top, around.bottom, height, work.top, work.bottom), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// A table's second column starts at one tab stop, past the widest first cell, so that the
// values line up under their heading. A tab stop is given in dialog units, which controls
// convert by one font or another: a stop of 100 units, measured, tells what a unit is here.
void AlignColumns(HWND document, UINT dpi) {
    const std::wstring shown = Wide(WindowText(document));
    const std::wstring_view text = shown;
    HDC dc = GetDC(document);
    const HGDIOBJ oldFont = SelectObject(dc, FontFor(dpi));
    LONG widest = 0;
    std::size_t firstTab = std::wstring_view::npos; // and the start of its line
    std::size_t firstLine = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(L"\r\n", start), text.size());
        const std::size_t tab = text.substr(start, end - start).find(L'\t');
        SIZE extent{};
        if (tab != std::wstring_view::npos &&
            GetTextExtentPoint32W(dc, text.data() + start, static_cast<int>(tab), &extent)) {
            widest = std::max(widest, extent.cx);
            if (firstTab == std::wstring_view::npos) {
                firstTab = start + tab;
                firstLine = start;
            }
        }
        start = end + 2;
    }
    SelectObject(dc, oldFont);
    ReleaseDC(document, dc);
    int stop = 100;
    SendMessageW(document, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
    const auto x = [document](std::size_t at) {
        return static_cast<short>(LOWORD(SendMessageW(document, EM_POSFROMCHAR, at, 0)));
    };
    if (firstTab == std::wstring_view::npos)
        return;
    const int hundred = x(firstTab + 1) - x(firstLine);
    if (hundred <= 0)
        return;
    stop = MulDiv(widest + Scale(16, dpi), 100, hundred) + 1;
    SendMessageW(document, EM_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&stop));
    InvalidateRect(document, nullptr, TRUE);
}

bool IsPushButton(HWND control) {
    const TControlDesc* desc = ControlOf(control);
    return desc != nullptr && desc->Kind == TControlKind::Button;
}

void SelectAll(HWND control) {
    const TControlDesc* desc = ControlOf(control);
    if (desc != nullptr && desc->Kind == TControlKind::Edit)
        SendMessageW(control, EM_SETSEL, 0, -1);
}

void OnCommand(TWindow& window, WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    const auto menu = window.Form.Layout().Menu;
    if (lParam == 0 && id >= kFirstCommandId &&
        static_cast<std::size_t>(id - kFirstCommandId) < menu.size()) {
        if (THandler handler = menu[static_cast<std::size_t>(id - kFirstCommandId)].OnClick)
            Dispatch(window.Form, handler);
    } else if (HIWORD(wParam) == BN_CLICKED) {
        const TControlDesc* desc = ControlOf(reinterpret_cast<HWND>(lParam));
        if (desc != nullptr && desc->OnClick != nullptr)
            Dispatch(window.Form, desc->OnClick);
    }
}

void AddHint(HWND control, const TControlDesc& desc, const TWindow& window) {
    if (g_tooltip == nullptr || desc.Hint.empty())
        return; // added with the tooltip
    std::wstring hint = Wide(desc.Hint);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window.Handle;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.lpszText = hint.data();
    SendMessageW(g_tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// The hints of a window made before the tooltip.
BOOL CALLBACK AddHints(HWND handle, LPARAM) {
    if (const TWindow* window = WindowOf(handle)) {
        const auto controls = window->Form.Layout().Controls;
        for (std::size_t i = 0; i < window->Controls.size(); ++i)
            AddHint(window->Controls[i], controls[i], *window);
    }
    return TRUE;
}

// The tooltip, owned by the main window, with the hints of every window made so far.
void MakeTooltip(HWND owner) {
    g_tooltip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                0, 0, 0, 0, owner, nullptr, g_instance, nullptr);
    EnumThreadWindows(GetCurrentThreadId(), AddHints, 0);
}

LRESULT FormMessage(TWindow& window, HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(window, wParam, lParam);
        return 0;
    case WM_CLOSE:
        FrameClosed(window.Form);
        return 0;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            const HWND focus = GetFocus();
            if (focus != nullptr && IsChild(handle, focus))
                window.LastFocus = focus;
        } else if (HIWORD(wParam) == 0 && window.LastFocus != nullptr) {
            // Unless minimised, the control that had the focus gets it back with its whole
            // text selected, however the window came up; a click into a field then places the
            // caret itself.
            SetFocus(window.LastFocus);
            SelectAll(window.LastFocus);
        }
        return 0;
    case WM_SETCURSOR:
        if (const TControlDesc* desc = ControlOf(reinterpret_cast<HWND>(wParam));
            desc != nullptr && LOWORD(lParam) == HTCLIENT) {
            static const LPCWSTR cursors[] = {IDC_ARROW, IDC_IBEAM, IDC_CROSS, IDC_HAND};
            SetCursor(LoadCursorW(nullptr, cursors[static_cast<int>(desc->Cursor)]));
            return TRUE;
        }
        break;
    case WM_CTLCOLORSTATIC:
        if (const TControlDesc* desc = ControlOf(reinterpret_cast<HWND>(lParam));
            desc != nullptr && desc->Kind == TControlKind::Label) {
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        break;
    case WM_SIZE:
        FillWithDocument(window);
        return 0;
    case WM_TIMER:
        if (wParam != kHintsTimer)
            break;
        KillTimer(handle, kHintsTimer); // once
        MakeTooltip(handle);
        if (g_prepare)
            std::exchange(g_prepare, {})();
        return 0;
    case WM_DPICHANGED: {
        window.Dpi = HIWORD(wParam);
        LayOut(window);
        for (std::size_t i = 0; i < window.Controls.size(); ++i)
            if (window.Form.Layout().Controls[i].Kind == TControlKind::Document)
                AlignColumns(window.Controls[i], window.Dpi);
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(handle, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        return 0;
    }
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

LRESULT CALLBACK FormProc(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            auto* window = static_cast<TWindow*>(create->lpCreateParams);
            window->Handle = handle; // the first WM_SIZE comes before CreateWindowExW returns
            SetWindowLongPtrW(handle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(window));
            // Windows 10 1607 scales the caption and menu bar of a per-monitor window only
            // when asked; later versions do so by themselves.
            static const auto scaleFrame =
                NewerUser32<BOOL(WINAPI*)(HWND)>("EnableNonClientDpiScaling");
            if (scaleFrame != nullptr)
                scaleFrame(handle);
        }
        if (TWindow* window = WindowOf(handle))
            return FormMessage(*window, handle, message, wParam, lParam);
    } catch (...) {
        // Nothing may unwind into the system; the message gets the default handling.
    }
    return DefWindowProcW(handle, message, wParam, lParam);
}

HMENU BuildMenu(std::span<const TMenuItemDesc> items, std::vector<ACCEL>& accelerators) {
    if (items.empty())
        return nullptr;
    HMENU bar = CreateMenu();
    HMENU current = bar;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const TMenuItemDesc& item = items[i];
        if (item.Heading) {
            current = CreatePopupMenu();
            AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(current),
                        Wide(item.Caption).c_str());
            continue;
        }
        const auto id = static_cast<WORD>(kFirstCommandId + i);
        std::wstring caption = Wide(item.Caption);
        if (item.FunctionKey > 0) {
            caption += L"\tF" + std::to_wstring(item.FunctionKey);
            accelerators.push_back({FVIRTKEY, static_cast<WORD>(VK_F1 + item.FunctionKey - 1), id});
        }
        AppendMenuW(current, MF_STRING, id, caption.c_str());
    }
    return bar;
}

HWND MakeControl(const TControlDesc& desc, std::size_t index, const RECT& bounds,
                 const TWindow& window) {
    const wchar_t* windowClass = L"BUTTON";
    DWORD style = WS_CHILD | WS_VISIBLE | (desc.TabIndex >= 0 ? WS_TABSTOP : 0);
    DWORD exStyle = 0;
    std::wstring text = Wide(desc.Text);
    switch (desc.Kind) {
    case TControlKind::Label:
        windowClass = L"STATIC";
        style |= SS_LEFT | SS_NOPREFIX | SS_NOTIFY; // takes the mouse, to show its cursor
        break;
    case TControlKind::Edit:
        windowClass = L"EDIT";
        style |= ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
    case TControlKind::Button:
        style |= BS_PUSHBUTTON;
        break;
    case TControlKind::Document:
        windowClass = L"EDIT";
        style |= ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL | WS_VSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        text.clear();
        break;
    }
    HWND control =
        CreateWindowExW(exStyle, windowClass, text.c_str(), style, bounds.left, bounds.top,
                        bounds.right - bounds.left, bounds.bottom - bounds.top, window.Handle,
                        reinterpret_cast<HMENU>(kFirstControlId + index), g_instance, nullptr);
    SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&desc));
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(FontFor(window.Dpi)), FALSE);
    if (desc.Kind == TControlKind::Edit)
        SendMessageW(control, EM_LIMITTEXT, static_cast<WPARAM>(desc.MaxLength), 0);
    AddHint(control, desc, window);
    return control;
}

BOOL CALLBACK CollectEnabledForm(HWND window, LPARAM list) {
    if (WindowOf(window) != nullptr && IsWindowEnabled(window))
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

// Shows a box with one OK button. Every window of the program waits for it, as the main
// window's shortcuts do.
void ShowBox(std::string_view text, UINT icon) {
    HWND owner = GetActiveWindow();
    if (WindowOf(owner) == nullptr)
        owner = g_main != nullptr ? g_main->Handle : nullptr;
    std::vector<HWND> waiting;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabledForm, reinterpret_cast<LPARAM>(&waiting));
    waiting.erase(std::remove(waiting.begin(), waiting.end(), owner), waiting.end());
    for (HWND window : waiting)
        EnableWindow(window, FALSE);
    MessageBoxW(owner, Wide(text).c_str(), kProgramName, MB_OK | icon);
    for (HWND window : waiting)
        EnableWindow(window, TRUE);
}

// What the loop does with a message before the window does: the form's key preview, the
// main window's shortcuts, and dialog navigation. True when the message is done with.
bool Preview(MSG& message) {
    const HWND root = GetAncestor(message.hwnd, GA_ROOT);
    TWindow* window = WindowOf(root);
    if (window == nullptr)
        return false;
    if (message.message == WM_KEYDOWN &&
        (message.wParam == VK_RETURN || message.wParam == VK_ESCAPE)) {
        const HWND focus = GetFocus();
        if (message.wParam == VK_RETURN && IsPushButton(focus)) {
            SendMessageW(focus, BM_CLICK, 0, 0); // a focused button takes Enter itself
            return true;
        }
        DispatchKey(window->Form, message.wParam == VK_RETURN ? kKeyEnter : kKeyEscape);
        if (!IsWindow(root) || !IsWindowVisible(root))
            return true;
    }
    if (g_main != nullptr && g_accelerators != nullptr && IsWindowEnabled(g_main->Handle) &&
        TranslateAcceleratorW(g_main->Handle, g_accelerators, &message))
        return true;
    return IsDialogMessageW(root, &message);
}

} // namespace

namespace platform {

void Initialize() {
    g_instance = GetModuleHandleW(nullptr);
    const INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSEXW form{};
    form.cbSize = sizeof form;
    form.lpfnWndProc = FormProc;
    form.hInstance = g_instance;
    form.hIcon = LoadIconW(g_instance, MAKEINTRESOURCEW(1));
    g_smallIcon = static_cast<HICON>(LoadImageW(g_instance, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON),
                                                GetSystemMetrics(SM_CYSMICON), 0));
    form.hIconSm = g_smallIcon;
    form.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    form.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    form.lpszClassName = kFormClass;
    if (RegisterClassExW(&form) == 0)
        throw Exception("Не удалось подготовить окна программы");
}

TWindow* CreateFormWindow(TForm& form) {
    const TFormDesc& layout = form.Layout();
    auto window = std::make_unique<TWindow>(form);
    std::vector<ACCEL> accelerators;
    HMENU menu = BuildMenu(layout.Menu, accelerators);
    const HWND handle = CreateWindowExW(
        ExStyleOf(layout), kFormClass, Wide(layout.Caption).c_str(), StyleOf(layout), CW_USEDEFAULT,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, g_main != nullptr ? g_main->Handle : nullptr,
        menu, g_instance, window.get());
    if (handle == nullptr) {
        if (menu != nullptr)
            DestroyMenu(menu);
        throw Exception("Не удалось создать окно «" + std::string(layout.Caption) + "»");
    }
    // The window points at its TWindow from its first message on: should anything fail before
    // the TWindow is handed over, the window goes first, with its menu.
    try {
        window->Dpi = DpiOf(handle);
        SizeWindow(*window);
        const std::vector<RECT> bounds = ControlBounds(*window);
        window->Controls.resize(layout.Controls.size());
        for (std::size_t i : CreationOrder(layout.Controls)) {
            window->Controls[i] = MakeControl(layout.Controls[i], i, bounds[i], *window);
            if (layout.Controls[i].TabIndex >= 0 && window->LastFocus == nullptr)
                window->LastFocus = window->Controls[i]; // for the first show
        }
        // The others are placed on their first show, by where this one is then.
        window->Placed = g_main == nullptr;
        if (window->Placed)
            Centre(*window);
        if (g_main == nullptr && !accelerators.empty())
            g_accelerators =
                CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));
    } catch (...) {
        ::DestroyWindow(handle);
        throw;
    }
    if (g_main == nullptr)
        g_main = window.get();
    return window.release();
}

void DestroyWindow(TWindow* window) {
    if (window == nullptr)
        return;
    if (window == g_main)
        g_main = nullptr;
    if (window->Handle == GetWindow(g_tooltip, GW_OWNER))
        g_tooltip = nullptr; // it goes with the window that owns it
    ::DestroyWindow(window->Handle);
    delete window;
}

void Finalize() {
    for (const auto& [dpi, font] : g_fonts)
        DeleteObject(font);
    g_fonts.clear();
    if (g_accelerators != nullptr)
        DestroyAcceleratorTable(g_accelerators);
    g_accelerators = nullptr;
    UnregisterClassW(kFormClass, g_instance);
    if (g_smallIcon != nullptr)
        DestroyIcon(g_smallIcon);
    g_smallIcon = nullptr;
}

void Run(const std::function<void()>& prepare) {
    g_prepare = prepare;
    MSG message;
    // An end asked for before the loop began belongs to no run of it.
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
    if (g_main != nullptr) {
        ShowWindow(g_main->Handle, SW_SHOW);
        SetForegroundWindow(g_main->Handle);
        // A timer comes when nothing else waits: after the window is on the screen.
        SetTimer(g_main->Handle, kHintsTimer, USER_TIMER_MINIMUM, nullptr);
    }
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (!Preview(message)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    g_prepare = nullptr;
}

void Terminate() {
    PostQuitMessage(0);
}

void ShowMessage(std::string_view text) {
    ShowBox(text, 0);
}

void ShowError(std::string_view text) {
    ShowBox(text, MB_ICONERROR);
}

void Show(TWindow& window) {
    if (!std::exchange(window.Placed, true))
        Centre(window);
    ShowWindow(window.Handle, IsIconic(window.Handle) ? SW_RESTORE : SW_SHOW);
    // Raised as well: Wine makes a window that is behind another the foreground one in place.
    BringWindowToTop(window.Handle);
    SetForegroundWindow(window.Handle);
}

void Hide(TWindow& window) {
    ShowWindow(window.Handle, SW_HIDE);
}

std::string GetText(const TWindow& window, std::string_view control) {
    const HWND handle = FindControl(window, control);
    return handle ? WindowText(handle) : std::string();
}

void SetText(TWindow& window, std::string_view control, std::string_view text) {
    const HWND handle = FindControl(window, control);
    if (handle == nullptr)
        return;
    if (ControlOf(handle)->Kind != TControlKind::Document) {
        SetWindowTextW(handle, Wide(text).c_str());
        return;
    }
    SetWindowTextW(handle, PlainText(text).c_str());
    AlignColumns(handle, window.Dpi);
}

void FocusControl(TWindow& window, std::string_view control) {
    if (const HWND handle = FindControl(window, control)) {
        SetFocus(handle);
        SelectAll(handle);
    }
}

} // namespace platform

} // namespace varkelo
