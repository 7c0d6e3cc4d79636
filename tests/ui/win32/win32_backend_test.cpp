// What the Win32 windows must be beyond what keys and clicks show, at whatever DPI the
// desktop has: frames, placement, the icon, the font's fit, hints, cursors, and the order a
// screen reader reads.
#include "../Driver.h"
#include "Win32Driver.h"

#include "Catalogue.h"
#include "WideText.h"

#include <commctrl.h>

#include <gtest/gtest.h>

using namespace varkelo;
using namespace uitest;

namespace {

const char* const kForms[] = {"Варкело", "Выловленная рыба", "Потраченная приманка",
                              "Потраченные снасти"};

TEST(Win32Windows, FramesPlacesAndFonts) {
    TProgram program;
    for (TKey key : {TKey::F1, TKey::F2, TKey::F3})
        program.Press(key);
    const HWND main = FindForm(kForms[0]);
    const int dpi = int(GetDpiForWindow(main));
    MONITORINFO monitor{sizeof monitor, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(main, MONITOR_DEFAULTTOPRIMARY), &monitor);
    const RECT& work = monitor.rcWork;
    for (int i = 0; i < 4; ++i) {
        const HWND form = FindForm(kForms[i]);
        ASSERT_NE(form, nullptr) << kForms[i];
        RECT frame;
        GetWindowRect(form, &frame);
        if (i == 3) { // the tackle window's whole frame is what is fixed
            EXPECT_EQ(frame.right - frame.left, MulDiv(268, dpi, 96));
            EXPECT_EQ(frame.bottom - frame.top, MulDiv(433, dpi, 96));
        }
        // Centred on the work area, the whole frame.
        EXPECT_LE(std::abs(frame.left + frame.right - work.left - work.right), 2) << kForms[i];
        EXPECT_LE(std::abs(frame.top + frame.bottom - work.top - work.bottom), 2) << kForms[i];
        const LONG style = GetWindowLongW(form, GWL_STYLE);
        EXPECT_EQ(style & (WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME),
                  WS_SYSMENU | (i == 0 || i == 3 ? WS_MINIMIZEBOX : 0) |
                      (i == 3 ? WS_THICKFRAME : 0))
            << kForms[i];
        EXPECT_EQ(bool(GetWindowLongW(form, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME), i == 1 || i == 2);
    }
    EXPECT_NE(GetClassLongPtrW(main, GCLP_HICON), 0);
    EXPECT_NE(GetClassLongPtrW(main, GCLP_HICONSM), 0);

    // Each field directly after its label, which a screen reader therefore reads as its
    // name; the label clear of the field in "MS Sans Serif" at an 11-pixel em.
    for (const auto& row : kCatalogue) {
        const HWND form = FindForm(kForms[std::min(int(row.Group), 2) + 1]);
        const HWND edit = FindControl(form, row.EditName);
        const HWND label = GetWindow(edit, GW_HWNDPREV);
        EXPECT_EQ(WindowText(label), row.Caption);
        RECT labelBounds, editBounds;
        GetWindowRect(label, &labelBounds);
        GetWindowRect(edit, &editBounds);
        EXPECT_LE(labelBounds.right, editBounds.left) << row.EditName;
        EXPECT_TRUE(GetWindowLongW(edit, GWL_EXSTYLE) & WS_EX_CLIENTEDGE); // sunken, as a field is
        // The font the field is drawn in, as the font mapper found it.
        HDC dc = GetDC(edit);
        SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
        wchar_t face[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, face);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        ReleaseDC(edit, dc);
        EXPECT_STREQ(face, L"MS Sans Serif");
        // A bitmap font comes in steps: the nearest to an 11-pixel em at this DPI.
        EXPECT_NEAR(metrics.tmHeight - metrics.tmInternalLeading, MulDiv(11, dpi, 96), 1);
    }
}

// Hints are tooltips (the tackle window's Cancel has none); each control shows its cursor.
TEST(Win32Windows, HintsAndCursors) {
    TProgram program;
    program.Press(TKey::F3);
    const HWND tackle = FindForm("Потраченные снасти");
    OnGui([tackle] {
        HWND tips = nullptr; // the program's one tooltip window
        EnumThreadWindows(
            GetCurrentThreadId(),
            [](HWND window, LPARAM found) -> BOOL {
                wchar_t name[32] = {};
                GetClassNameW(window, name, 32);
                if (std::wstring_view(name) == TOOLTIPS_CLASSW)
                    *reinterpret_cast<HWND*>(found) = window;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&tips));
        const auto hint = [tips](HWND form, const char* control) {
            wchar_t text[80] = {};
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = form;
            tool.uId = reinterpret_cast<UINT_PTR>(FindControl(form, control));
            tool.lpszText = text;
            SendMessageW(tips, TTM_GETTEXTW, 80, reinterpret_cast<LPARAM>(&tool));
            return std::wstring(text);
        };
        EXPECT_EQ(hint(FindForm("Варкело"), "CalculationButton"), L"Произвести расчёт прибыли");
        EXPECT_EQ(hint(tackle, "OkButton"), L"Запомнить введённые данные");
        EXPECT_EQ(hint(tackle, "CancelButton"), L"");
        for (const auto& [control, cursor] :
             {std::pair{"NetEdit", IDC_IBEAM}, {"NetLabel", IDC_CROSS}, {"OkButton", IDC_HAND}}) {
            SendMessageW(tackle, WM_SETCURSOR, WPARAM(FindControl(tackle, control)),
                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
            EXPECT_EQ(GetCursor(), LoadCursorW(nullptr, cursor)) << control;
        }
    });
}

// Moved to a monitor of another DPI, a window lays itself out again at that DPI; the help
// opens over the main window wherever that is, kept on the work area, and its read-only
// document fills it.
TEST(Win32Windows, NewDpiAndHelpPlace) {
    TProgram program;
    program.Press(TKey::F2);
    const HWND bait = FindForm("Потраченная приманка");
    const auto spoonAt = [&](UINT dpi) {
        RECT frame, field, client;
        GetWindowRect(bait, &frame);
        OnGui([&] { SendMessageW(bait, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), LPARAM(&frame)); });
        GetWindowRect(FindControl(bait, "SpoonBaitEdit"), &field);
        MapWindowPoints(nullptr, bait, reinterpret_cast<POINT*>(&field), 2);
        GetClientRect(bait, &client);
        return std::vector<LONG>{field.left, field.top, field.right - field.left, client.right};
    };
    const int dpi = int(GetDpiForWindow(bait));
    EXPECT_EQ(spoonAt(UINT(dpi) * 2),
              (std::vector<LONG>{MulDiv(180, dpi, 96), MulDiv(210, dpi, 96), MulDiv(100, dpi, 96),
                                 MulDiv(292, dpi, 96)}));
    spoonAt(UINT(dpi));
    ASSERT_TRUE(program.Activate("Варкело"));
    RECT help, work, text, inside;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    OnGui([&] { // near the top left corner, where the help cannot be centred on it
        SetWindowPos(FindForm("Варкело"), nullptr, work.left + 40, work.top + 30, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    });
    program.Press(TKey::F5);
    const HWND helpForm = FindForm("Помощь");
    GetWindowRect(helpForm, &help);
    EXPECT_EQ(help.left, work.left); // over it, then moved back onto the work area
    EXPECT_EQ(help.top, work.top);
    const HWND document = FindControl(helpForm, "HelpText");
    GetClientRect(helpForm, &inside);
    GetWindowRect(document, &text);
    MapWindowPoints(nullptr, helpForm, reinterpret_cast<POINT*>(&text), 2);
    EXPECT_TRUE(EqualRect(&text, &inside));
    const LONG style = GetWindowLongW(document, GWL_STYLE);
    EXPECT_TRUE((style & ES_MULTILINE) && (style & ES_READONLY) && (style & WS_VSCROLL));
}

// Enter reaches the main window's key handler when the button does not have the focus. The
// box has one button, and every other window waits for it.
TEST(Win32Windows, EnterWithoutTheButtonFocusedCalculates) {
    TProgram program;
    program.Press(TKey::F1);
    ASSERT_TRUE(program.Activate("Варкело"));
    OnGui([] { SetFocus(FindForm("Варкело")); });
    program.Press(TKey::Enter);
    EXPECT_EQ(program.View().Box, "Чистая прибыль составляет: 0 НВ.");
    HWND box = FindWindowW(L"#32770", L"Варкело");
    EXPECT_TRUE(GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL));
    EXPECT_FALSE(IsWindowEnabled(FindForm("Выловленная рыба")));
    program.CloseBox();
    EXPECT_TRUE(IsWindowEnabled(FindForm("Выловленная рыба")));
}

} // namespace
