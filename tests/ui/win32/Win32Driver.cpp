// The window tests' driver over Win32: keys go in through SendInput, as from a user's
// keyboard; what the user sees is read on the program's thread. A step waits until that
// thread has handled all the input and messages queued for it.

#include "../Driver.h"

#include "Catalogue.h"
#include "FormLayout.h"
#include "WideText.h"

#include <commctrl.h>

#include <cstdlib>
#include <set>
#include <thread>
#include <tuple>

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

// Set before main() on the thread that runs the program.
const HHOOK g_hook = SetWindowsHookExW(WH_CALLWNDPROC, RunStep, nullptr, GetCurrentThreadId());

// The program's forms that are shown; its windows are the only ones on the test's desktop.
std::vector<HWND> Forms() {
    std::vector<HWND> forms;
    for (HWND form = nullptr; (form = FindWindowExW(nullptr, form, L"VarkeloForm", nullptr));)
        if (IsWindowVisible(form))
            forms.push_back(form);
    return forms;
}

// A control of a form carries its description.
const varkelo::TControlDesc* ControlOf(HWND control) {
    wchar_t form[16] = {};
    GetClassNameW(GetParent(control), form, 16);
    return std::wstring_view(form) == L"VarkeloForm"
               ? reinterpret_cast<const varkelo::TControlDesc*>(
                     GetWindowLongPtrW(control, GWLP_USERDATA))
               : nullptr;
}

HWND FindControl(HWND form, std::string_view name) {
    for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        if (ControlOf(child) && ControlOf(child)->Name.View() == name)
            return child;
    return nullptr;
}

HWND FindForm(std::string_view caption) {
    return FindWindowW(L"VarkeloForm", varkelo::Wide(caption).c_str());
}

// The desktop's, as its Wine prefix was made (scripts/wine-prefix.sh).
const int kDpi = std::getenv("VARKELO_DPI") ? std::atoi(std::getenv("VARKELO_DPI")) : 96;

HWND Box() {
    return FindWindowW(L"#32770", L"Варкело");
}

// The foreground window, if it is a form in front, under none but its own windows (which
// always stand over it); a minimised one is not active to its user.
HWND ActiveForm() {
    const HWND active = GetForegroundWindow();
    for (HWND form : Forms()) // from the front
        if (form == active || GetWindow(form, GW_OWNER) != active)
            return form == active && !IsIconic(active) ? active : nullptr;
    return nullptr;
}

INPUT Key(WORD key, DWORD flags) {
    INPUT input{INPUT_KEYBOARD, {}};
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

void EndRun() {
    OnGui([] { PostQuitMessage(0); });
}

void RequestActivation(std::string_view caption) {
    OnGui([form = FindForm(caption)] {
        if (IsIconic(form)) // as its taskbar button does
            ShowWindow(form, SW_RESTORE);
        BringWindowToTop(form); // as a click on its frame does
        SetForegroundWindow(form);
    });
    // The X server's focus events for an earlier activation may come after this one's: Wine
    // gives the earlier window the focus for a moment.
    Sleep(50);
}

void TProgram::Press(TKey key) {
    static const WORD keys[] = {VK_F1,     VK_F2,     VK_F3,    VK_F4,  VK_F5,  VK_F6,  VK_RETURN,
                                VK_RETURN, VK_ESCAPE, VK_SPACE, VK_TAB, VK_TAB, VK_BACK};
    const DWORD extended = key == TKey::KeypadEnter ? KEYEVENTF_EXTENDEDKEY : 0;
    std::vector<INPUT> keystroke{Key(keys[int(key)], extended),
                                 Key(keys[int(key)], extended | KEYEVENTF_KEYUP)};
    if (key == TKey::BackTab)
        keystroke = {Key(VK_SHIFT, 0), keystroke[0], keystroke[1], Key(VK_SHIFT, KEYEVENTF_KEYUP)};
    Send(keystroke);
}

void TProgram::Type(std::string_view text) {
    for (wchar_t unit : varkelo::Wide(text)) // as an input method delivers it
        Send({Key(unit, KEYEVENTF_UNICODE), Key(unit, KEYEVENTF_UNICODE | KEYEVENTF_KEYUP)});
}

void TProgram::Click(std::string_view control) {
    // Waited for: a window the system activated a moment before may still take the focus back.
    HWND button = nullptr;
    for (int i = 0; i < 100 && !(button = FindControl(ActiveForm(), control)); ++i)
        Sleep(10);
    ASSERT_NE(button, nullptr) << "no button " << control << " in the active window";
    Post(button, BM_CLICK);
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
    OnGui([&] { text = WindowText(FindControl(ActiveForm(), field)); }); // none: empty
    return text;
}

TBounds TProgram::Bounds(std::string_view control) {
    TBounds bounds{};
    OnGui([&] {
        const HWND form = ActiveForm();
        RECT r{};
        if (control.empty())
            GetClientRect(form, &r);
        else // the control's bounds in the form's client area
            GetWindowRect(FindControl(form, control), &r), MapWindowPoints(0, form, LPPOINT(&r), 2);
        bounds = {MulDiv(r.left, 96, kDpi), MulDiv(r.top, 96, kDpi),
                  MulDiv(r.right - r.left, 96, kDpi), MulDiv(r.bottom - r.top, 96, kDpi)};
    });
    return bounds;
}

// What the Win32 windows must be beyond what keys and clicks show, at whatever DPI the
// desktop has: frames, placement, the menu bar, the font, the order a screen reader reads,
// and the box.
namespace {

TEST(Win32Windows, FramesFontsCursorsAndBox) {
    TProgram program;
    // The pointer over a label of each entry window is the cross; over its empty part, the
    // arrow.
    for (TKey key : {TKey::F1, TKey::F2, TKey::F3}) {
        program.Press(key);
        RECT label; // the first control: the first field's label, or a heading
        GetWindowRect(GetWindow(ActiveForm(), GW_CHILD), &label);
        POINT corner{1, 1};
        ClientToScreen(ActiveForm(), &corner);
        for (POINT at : {POINT{(label.left + label.right) / 2, label.top + 2}, corner}) {
            const HCURSOR expected = LoadCursorW(nullptr, at.x == corner.x ? IDC_ARROW : IDC_CROSS);
            HCURSOR cursor = nullptr;
            // A move comes back through the X server, and Wine may take one for a window that
            // is just being raised: the pointer goes on moving a pixel, as a hand does.
            for (int i = 0; i < 100 && cursor != expected; ++i, Sleep(10)) {
                SetCursorPos(at.x, at.y + i % 2);
                OnGui([&] { cursor = GetCursor(); });
            }
            EXPECT_EQ(cursor, expected) << int(key) << " at " << at.x;
        }
    }
    OnGui([] {
        const char* const forms[] = {"Варкело", "Выловленная рыба", "Потраченная приманка",
                                     "Потраченные снасти"};
        const HWND main = FindForm(forms[0]), tackle = FindForm(forms[3]);
        RECT work, frame;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        for (int i = 0; i < 4; ++i) { // centred on the work area, the whole frame
            GetWindowRect(FindForm(forms[i]), &frame);
            EXPECT_LE(std::abs(frame.left + frame.right - work.left - work.right), 2) << i;
            EXPECT_LE(std::abs(frame.top + frame.bottom - work.top - work.bottom), 2) << i;
            const LONG style = GetWindowLongW(FindForm(forms[i]), GWL_STYLE);
            EXPECT_EQ(style & (WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME),
                      WS_SYSMENU | (i % 3 ? 0 : WS_MINIMIZEBOX) | (i == 3 ? WS_THICKFRAME : 0));
            EXPECT_EQ(bool(GetWindowLongW(FindForm(forms[i]), GWL_EXSTYLE) & WS_EX_DLGMODALFRAME),
                      i % 3 != 0); // the entry windows' dialog frame
        }
        RECT client; // the frame round it measured right
        GetClientRect(main, &client);
        EXPECT_EQ(std::pair(client.right, client.bottom),
                  std::pair(LONG(MulDiv(225, kDpi, 96)), LONG(MulDiv(74, kDpi, 96))));
        EXPECT_EQ(frame.right - frame.left, MulDiv(268, kDpi, 96)); // the tackle window's
        EXPECT_EQ(frame.bottom - frame.top, MulDiv(433, kDpi, 96));
        EXPECT_TRUE(GetClassLongPtrW(main, GCLP_HICON) && GetClassLongPtrW(main, GCLP_HICONSM));
        EXPECT_EQ(GetMenuItemCount(GetMenu(main)), 2); // "Меню" and "Дополнительно"
        EXPECT_EQ(GetMenuItemCount(GetSubMenu(GetMenu(main), 0)), 5);
        // Each field directly after its label, which a screen reader therefore reads as its
        // name; the fields in "MS Sans Serif" at an 11-pixel em.
        for (const auto& row : varkelo::kCatalogue) {
            const HWND edit =
                FindControl(FindForm(forms[std::min(int(row.Group), 2) + 1]), row.EditName);
            EXPECT_EQ(WindowText(GetWindow(edit, GW_HWNDPREV)), row.Caption);
            wchar_t kind[8] = {}; // a static text, as a screen reader reads a name
            GetClassNameW(GetWindow(edit, GW_HWNDPREV), kind, 8);
            EXPECT_STREQ(kind, L"Static");
            EXPECT_TRUE(GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE); // sunken
        }
        LOGFONTW font{};
        GetObjectW(HFONT(SendMessageW(FindControl(tackle, "NetEdit"), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        EXPECT_STREQ(font.lfFaceName, L"MS Sans Serif");
        EXPECT_EQ(font.lfHeight, -MulDiv(11, kDpi, 96));
    });
    // The hints of a window made before the tooltip and of one made after it; the tooltip
    // comes once the main window is up and the program has nothing else to do.
    for (auto [caption, button, hint] :
         {std::tuple{"Варкело", "CalculationButton", L"Произвести расчёт прибыли"},
          std::tuple{"Потраченные снасти", "OkButton", L"Запомнить введённые данные"}}) {
        wchar_t text[80] = {};
        for (int i = 0; i < 100 && !*text; ++i, Sleep(10))
            OnGui([&, caption = caption, button = button] {
                const HWND form = FindForm(caption), control = FindControl(form, button);
                TTTOOLINFOW tool{sizeof tool, 0, form, UINT_PTR(control), {}, {}, text, 0, nullptr};
                SendMessageW(FindWindowW(TOOLTIPS_CLASSW, 0), TTM_GETTEXTW, 80, LPARAM(&tool));
            });
        EXPECT_STREQ(text, hint) << button;
    }
    // Six hints in all: the tackle window's "Отмена" has none. Held over a button, the pointer
    // brings its hint up by the tooltip's timers, which the program's message loop runs.
    const HWND tips = FindWindowW(TOOLTIPS_CLASSW, nullptr);
    EXPECT_EQ(SendMessageW(tips, TTM_GETTOOLCOUNT, 0, 0), 6);
    RECT ok;
    GetWindowRect(FindControl(FindForm("Потраченные снасти"), "OkButton"), &ok);
    for (int i = 0; i < 3 && !IsWindowVisible(tips); ++i, Sleep(1000))
        SetCursorPos((ok.left + ok.right) / 2 + i, (ok.top + ok.bottom) / 2);
    EXPECT_TRUE(IsWindowVisible(tips));
    // Enter reaches the main window's key handler when the button does not have the focus.
    // The box has one button, and every other window waits for it.
    ASSERT_TRUE(program.Activate("Варкело"));
    OnGui([] { SetFocus(FindForm("Варкело")); });
    program.Press(TKey::Enter);
    EXPECT_EQ(program.View().Box, "Чистая прибыль составляет: 0 НВ.");
    EXPECT_TRUE(GetDlgItem(Box(), IDOK) && !GetDlgItem(Box(), IDCANCEL));
    EXPECT_FALSE(IsWindowEnabled(FindForm("Выловленная рыба")));
    program.Press(TKey::Escape);
    EXPECT_TRUE(IsWindowEnabled(FindForm("Выловленная рыба")));
    // A focused button takes Enter itself, once: the key handler does not see it.
    OnGui([] { SetFocus(FindControl(FindForm("Варкело"), "CalculationButton")); });
    program.Press(TKey::Enter);
    EXPECT_TRUE(program.View().Box);
    program.Press(TKey::Escape);
    EXPECT_FALSE(program.View().Box);
}

// The values of the help's tables line up under their heading, a gap of 16 pixels or a little
// more past the longest name: what follows each tab starts at one place.
void ExpectColumns(HWND document, int dpi) {
    const std::wstring shown = varkelo::Wide(WindowText(document));
    std::set<WORD> column;
    int names = 0;
    for (auto tab = shown.find(L'\t'); tab != shown.npos; tab = shown.find(L'\t', tab + 1)) {
        column.insert(LOWORD(SendMessageW(document, EM_POSFROMCHAR, tab + 1, 0)));
        names = std::max(names, int(LOWORD(SendMessageW(document, EM_POSFROMCHAR, tab, 0))));
    }
    ASSERT_EQ(column.size(), 1u);
    const int gap = *column.begin() - names, least = MulDiv(16, dpi, 96);
    EXPECT_TRUE(gap >= least && gap <= least + 3) << gap << " at " << dpi;
}

// The help opens over the main window wherever that is, kept on the work area, and its
// read-only document fills it, also once resized. A new DPI, as on moving to another monitor,
// lays every window out anew: the controls where their descriptions put them, the font, the
// fixed windows' client areas, the help's columns.
TEST(Win32Windows, HelpPlaceAndDpiChange) {
    TProgram program;
    for (int i = 0; !FindForm("Помощь"); ++i, Sleep(10)) // built while the program waits
        ASSERT_LT(i, 100);
    OnGui([] { // near the top left corner, where the help cannot be centred on it
        RECT work;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        SetWindowPos(FindForm("Варкело"), nullptr, work.left + 40, work.top + 30, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
        // Wherever a window was made, it is placed when first shown.
        SetWindowPos(FindForm("Выловленная рыба"), nullptr, 300, 200, 0, 0, SWP_NOSIZE);
    });
    for (TKey key : {TKey::F1, TKey::F2, TKey::F3, TKey::F5})
        program.Press(key);
    OnGui([] {
        const HWND help = FindForm("Помощь"), document = FindControl(help, "HelpText");
        RECT frame, work, text, inside, fish;
        GetWindowRect(help, &frame);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        GetWindowRect(FindForm("Выловленная рыба"), &fish); // centred on the work area
        EXPECT_LE(std::abs(fish.left + fish.right - work.left - work.right), 2);
        // Over the main window, then back on the work area.
        EXPECT_EQ(std::pair(frame.left, frame.top), std::pair(work.left, work.top));
        ExpectColumns(document, kDpi);
        EXPECT_TRUE(GetWindowLongW(help, GWL_STYLE) & WS_MAXIMIZEBOX);
        SetWindowPos(help, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(help, &inside);
        GetWindowRect(document, &text);
        MapWindowPoints(nullptr, help, reinterpret_cast<POINT*>(&text), 2);
        EXPECT_TRUE(EqualRect(&text, &inside));
        EXPECT_EQ(GetWindowLongW(document, GWL_STYLE) & (ES_MULTILINE | ES_READONLY | WS_VSCROLL),
                  ES_MULTILINE | ES_READONLY | WS_VSCROLL);
    });
    const int dpi = 120; // 125 %: Wine keeps frames within its desktop and above a smallest size
    OnGui([dpi] {
        for (HWND form : Forms()) {
            RECT client, frame;
            GetClientRect(form, &client);
            GetWindowRect(form, &frame);
            SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&frame));
            const LONG width = client.right, height = client.bottom;
            GetClientRect(form, &client);
            if (!(GetWindowLongW(form, GWL_STYLE) & WS_THICKFRAME)) { // else the frame is fixed
                EXPECT_LE(std::abs(client.right - MulDiv(width, dpi, kDpi)) +
                              std::abs(client.bottom - MulDiv(height, dpi, kDpi)),
                          2);
            }
            for (HWND child = GetWindow(form, GW_CHILD); child;
                 child = GetWindow(child, GW_HWNDNEXT)) {
                const varkelo::TControlDesc* desc = ControlOf(child);
                RECT r;
                GetWindowRect(child, &r);
                MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
                LOGFONTW font{};
                GetObjectW(HFONT(SendMessageW(child, WM_GETFONT, 0, 0)), sizeof font, &font);
                const auto scaled = [dpi](int pixels) { return MulDiv(pixels, dpi, 96); };
                if (desc != nullptr && desc->Kind != varkelo::TControlKind::Document) {
                    EXPECT_EQ(std::tuple(r.left, r.top, desc->Width ? r.right - r.left : 0,
                                         r.bottom - r.top, font.lfHeight),
                              std::tuple(scaled(desc->Left), scaled(desc->Top), scaled(desc->Width),
                                         scaled(desc->Height), -scaled(11)))
                        << desc->Name.View();
                }
            }
        }
        ExpectColumns(FindControl(FindForm("Помощь"), "HelpText"), dpi);
    });
}

// The program itself, started as its user starts it, ends with status 0 by Esc and by F6 in
// its main window, and by that window's close box.
TEST(Win32Windows, ExitStatus) {
    for (WORD key : {WORD(VK_ESCAPE), WORD(VK_F6), WORD(0)}) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        // The build's, beside the tests' folder where they run.
        ASSERT_TRUE(CreateProcessW(L"..\\varkelo.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                                   nullptr, &startup, &process));
        WaitForInputIdle(process.hProcess, 20000);
        HWND main = nullptr;
        for (int i = 0; i < 100 && GetForegroundWindow() != main; ++i, Sleep(20))
            SetForegroundWindow(main = FindForm("Варкело"));
        INPUT keystroke[] = {Key(key, 0), Key(key, KEYEVENTF_KEYUP)}; // or else the close box
        key ? SendInput(2, keystroke, sizeof(INPUT))
            : UINT(PostMessageW(main, WM_SYSCOMMAND, SC_CLOSE, 0));
        DWORD status = 1;
        if (WaitForSingleObject(process.hProcess, 20000) != WAIT_OBJECT_0)
            TerminateProcess(process.hProcess, 1);
        EXPECT_EQ(GetExitCodeProcess(process.hProcess, &status) ? status : 1, 0u) << key;
        CloseHandle(process.hThread), CloseHandle(process.hProcess);
    }
}

} // namespace

} // namespace uitest
