// What the Win32 windows must be beyond what keys and clicks show, at whatever DPI the
// desktop has: frames, placement, the menu bar, the font, hints, cursors, the order a screen
// reader reads, a new DPI, and the box.
#include "../Driver.h"
#include "Win32Driver.h"

#include "Catalogue.h"
#include "WideText.h"

#include <commctrl.h>

#include <gtest/gtest.h>

using namespace varkelo;
using namespace uitest;

namespace {

TEST(Win32Windows, FramesFontsHintsAndCursors) {
    TProgram program;
    for (TKey key : {TKey::F1, TKey::F2, TKey::F3})
        program.Press(key);
    OnGui([] {
        const char* const forms[] = {"Варкело", "Выловленная рыба", "Потраченная приманка",
                                     "Потраченные снасти"};
        const HWND main = FindForm(forms[0]), tackle = FindForm(forms[3]);
        const int dpi = int(GetDpiForWindow(main));
        RECT work, frame;
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        for (int i = 0; i < 4; ++i) { // centred on the work area, the whole frame
            GetWindowRect(FindForm(forms[i]), &frame);
            EXPECT_LE(std::abs(frame.left + frame.right - work.left - work.right), 2) << i;
            EXPECT_LE(std::abs(frame.top + frame.bottom - work.top - work.bottom), 2) << i;
            const LONG style = GetWindowLongW(FindForm(forms[i]), GWL_STYLE);
            EXPECT_EQ(style & (WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME),
                      WS_SYSMENU | (i % 3 ? 0 : WS_MINIMIZEBOX) | (i == 3 ? WS_THICKFRAME : 0));
        }
        EXPECT_EQ(frame.right - frame.left, MulDiv(268, dpi, 96)); // the tackle window's
        EXPECT_EQ(frame.bottom - frame.top, MulDiv(433, dpi, 96));
        EXPECT_NE(GetClassLongPtrW(main, GCLP_HICONSM), 0);
        EXPECT_EQ(GetMenuItemCount(GetMenu(main)), 2); // "Меню" and "Дополнительно"
        // Each field directly after its label, which a screen reader therefore reads as its
        // name, clear of it in "MS Sans Serif" at an 11-pixel em (a bitmap font comes in
        // steps: the nearest at this DPI).
        for (const auto& row : kCatalogue) {
            const HWND edit =
                FindControl(FindForm(forms[std::min(int(row.Group), 2) + 1]), row.EditName);
            const HWND label = GetWindow(edit, GW_HWNDPREV);
            RECT labelBounds, editBounds;
            GetWindowRect(label, &labelBounds);
            GetWindowRect(edit, &editBounds);
            EXPECT_EQ(WindowText(label), row.Caption);
            EXPECT_LE(labelBounds.right, editBounds.left) << row.EditName;
            HDC dc = GetDC(edit);
            SelectObject(dc, HFONT(SendMessageW(edit, WM_GETFONT, 0, 0)));
            wchar_t face[LF_FACESIZE] = {};
            TEXTMETRICW metrics{};
            GetTextFaceW(dc, LF_FACESIZE, face);
            GetTextMetricsW(dc, &metrics);
            ReleaseDC(edit, dc);
            EXPECT_STREQ(face, L"MS Sans Serif");
            EXPECT_NEAR(metrics.tmHeight - metrics.tmInternalLeading, MulDiv(11, dpi, 96), 1);
        }
        // Hints are tooltips of one tooltip window (the tackle window's Cancel has none).
        const auto hint = [](HWND form, const char* control) {
            wchar_t text[80] = {};
            TTTOOLINFOW tool{};
            tool.cbSize = sizeof tool;
            tool.hwnd = form;
            tool.uId = UINT_PTR(FindControl(form, control));
            tool.lpszText = text;
            HWND tips = nullptr;
            while ((tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) &&
                   GetWindowThreadProcessId(tips, nullptr) != GetCurrentThreadId()) {
            }
            SendMessageW(tips, TTM_GETTEXTW, 80, LPARAM(&tool));
            return std::wstring(text);
        };
        EXPECT_EQ(hint(main, "CalculationButton"), L"Произвести расчёт прибыли");
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
// document fills it, also once resized.
TEST(Win32Windows, NewDpiAndHelpPlace) {
    TProgram program;
    program.Press(TKey::F2);
    OnGui([] {
        const HWND bait = FindForm("Потраченная приманка");
        const int dpi = int(GetDpiForWindow(bait));
        RECT frame, field, client, work;
        GetWindowRect(bait, &frame);
        SendMessageW(bait, WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2), LPARAM(&frame));
        for (const char* name : {"BreadLabel", "SpoonBaitEdit"}) {
            GetWindowRect(FindControl(bait, name), &field);
            MapWindowPoints(nullptr, bait, reinterpret_cast<POINT*>(&field), 2);
            EXPECT_EQ(field.left, MulDiv(name[0] == 'B' ? 10 : 180, dpi, 96)) << name;
        }
        GetClientRect(bait, &client);
        EXPECT_EQ(client.right, MulDiv(292, dpi, 96));
        EXPECT_EQ(field.bottom - field.top, MulDiv(42, dpi, 96));
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        // Near the top left corner, where the help cannot be centred on it.
        SetWindowPos(FindForm("Варкело"), nullptr, work.left + 40, work.top + 30, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER);
    });
    ASSERT_TRUE(program.Activate("Варкело"));
    program.Press(TKey::F5);
    OnGui([] {
        const HWND help = FindForm("Помощь"), document = FindControl(help, "HelpText");
        RECT frame, work, text, inside;
        GetWindowRect(help, &frame);
        SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
        EXPECT_EQ(frame.left, work.left); // over the main window, then back on the work area
        EXPECT_EQ(frame.top, work.top);
        SetWindowPos(help, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
        GetClientRect(help, &inside);
        GetWindowRect(document, &text);
        MapWindowPoints(nullptr, help, reinterpret_cast<POINT*>(&text), 2);
        EXPECT_TRUE(EqualRect(&text, &inside));
        const LONG style = GetWindowLongW(document, GWL_STYLE);
        EXPECT_EQ(style & (ES_MULTILINE | ES_READONLY | WS_VSCROLL),
                  ES_MULTILINE | ES_READONLY | WS_VSCROLL);
    });
}

// Enter reaches the main window's key handler when the button does not have the focus. The
// box has one button, and every other window waits for it.
TEST(Win32Windows, Box) {
    TProgram program;
    program.Press(TKey::F1);
    ASSERT_TRUE(program.Activate("Варкело"));
    OnGui([] { SetFocus(FindForm("Варкело")); });
    program.Press(TKey::Enter);
    EXPECT_EQ(program.View().Box, "Чистая прибыль составляет: 0 НВ.");
    const HWND box = FindWindowW(L"#32770", L"Варкело");
    EXPECT_TRUE(GetDlgItem(box, IDOK) && !GetDlgItem(box, IDCANCEL));
    EXPECT_FALSE(IsWindowEnabled(FindForm("Выловленная рыба")));
    program.CloseBox();
    EXPECT_TRUE(IsWindowEnabled(FindForm("Выловленная рыба")));
}

} // namespace
