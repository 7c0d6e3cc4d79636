// What a user does with the program and what they must see, on whichever platform the driver
// serves.
#include "Driver.h"

#include "Catalogue.h"
#include "Convert.h"
#include "Profit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <random>

using namespace varkelo;
using namespace uitest;

namespace {

const std::string kMain = "Варкело";
const std::string kHelp = "Помощь";
const std::string kDialogs[] = {"Выловленная рыба", "Потраченная приманка", "Потраченные снасти"};
const TGroup kGroups[] = {TGroup::Fish, TGroup::Bait, TGroup::SpentTackle};

// The last group that a dialog's fields store into.
TGroup LastGroup(int dialog) {
    return dialog == 2 ? TGroup::TackleLongevity : kGroups[dialog];
}

bool Shown(TProgram& program, const std::string& caption) {
    return std::ranges::count(program.View().Shown, caption) > 0;
}

// Whether the window is active, as it should be by now, or becomes so as by a click on its
// frame; else which one is.
testing::AssertionResult Active(TProgram& program, const std::string& caption, bool click = false) {
    if (click ? program.Activate(caption) : program.WaitActive(caption))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << caption << " wanted, «" << program.View().Active << "» active";
}

// From the main window, as a user opens a dialog.
void Open(TProgram& program, int dialog) {
    ASSERT_TRUE(Active(program, kMain, true));
    program.Press(TKey(int(TKey::F1) + dialog));
    ASSERT_TRUE(Active(program, kDialogs[dialog]));
}

void TabTo(TProgram& program, std::string_view control) {
    for (int i = 0; i < 20 && program.View().Focus != control; ++i)
        program.Press(TKey::Tab);
    ASSERT_EQ(program.View().Focus, control);
}

// Tabs into a field, whose text is then all selected, and types over it.
void Enter(TProgram& program, std::string_view field, std::string_view text) {
    TabTo(program, field);
    program.Press(TKey::Backspace);
    program.Type(text);
}

// The button has the focus at the start; it, F4, Enter, keypad Enter and Space each show
// exactly one box, from what was stored. The box's button, Enter, keypad Enter, Esc and Space
// each close it, and nothing else.
TEST(MainWindow, EachWayOfAskingShowsOneBox) {
    TProgram program;
    EXPECT_EQ(program.View().Focus, "CalculationButton");
    EXPECT_EQ(program.View().Shown, std::vector<std::string>{kMain});
    Open(program, 1);
    Enter(program, "SpoonBaitEdit", "1");
    program.Press(TKey::Enter);
    ASSERT_TRUE(Active(program, kMain, true));
    // Tab stands for a click on a button.
    const std::pair<TKey, TKey> ways[] = {{TKey::Tab, TKey::Tab},
                                          {TKey::F4, TKey::Enter},
                                          {TKey::Enter, TKey::Escape},
                                          {TKey::KeypadEnter, TKey::Space},
                                          {TKey::Space, TKey::KeypadEnter}};
    for (const auto& [ask, close] : ways) {
        ask == TKey::Tab ? program.Click("CalculationButton") : program.Press(ask);
        EXPECT_EQ(program.View().Box, "Чистая прибыль составляет: -50 НВ.") << int(ask);
        close == TKey::Tab ? program.CloseBox() : program.Press(close);
        EXPECT_EQ(program.View().Box, std::nullopt) << int(close);
    }
    EXPECT_TRUE(program.Running());
}

// A window's key brings it to the front with the keyboard when it is open behind another
// window, and when it is minimised: what is typed next goes into it. The help lists every
// item with its value, in Russian style, and Esc closes it.
class BringsForward : public testing::TestWithParam<int> {};

TEST_P(BringsForward, BehindAnotherAndMinimised) {
    const int window = GetParam();
    const std::string caption = window < 3 ? kDialogs[window] : kHelp;
    const std::string_view field = window < 3 ? CatalogueGroup(kGroups[window])[0].EditName : "";
    const TKey key = window < 3 ? TKey(int(TKey::F1) + window) : TKey::F5;
    TProgram program;
    program.Press(key);
    ASSERT_TRUE(Active(program, caption));
    if (window == 3) {
        const std::string help = program.Text("HelpText");
        for (const auto& row : kCatalogue)
            EXPECT_NE(help.find(row.Caption.substr(0, row.Caption.size() - 1)), help.npos);
        EXPECT_NE(help.find("2,7"), help.npos);
        EXPECT_EQ(help.find_first_of("*#|"), help.npos); // shown, not as Markdown
        program.Press(TKey::Escape);
        EXPECT_FALSE(Shown(program, kHelp));
    }
    ASSERT_TRUE(Active(program, kMain, true));
    program.Press(window == 1 ? TKey::F1 : TKey::F2);
    ASSERT_NE(program.View().Active, caption);
    for (const char* typed : {"9", "8"}) {
        if (*typed == '8') {
            ASSERT_TRUE(Active(program, caption, true));
            program.Minimise();
            EXPECT_NE(program.View().Active, caption);
            ASSERT_TRUE(Active(program, kMain, true));
        }
        program.Press(key);
        ASSERT_TRUE(Active(program, caption)) << typed;
        if (!field.empty()) {
            program.Type(typed);
            EXPECT_EQ(program.Text(field), typed);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, BringsForward, testing::Range(0, 4));

// OK, Enter in a field and Enter or Space on a focused OK store; Cancel, Esc, Enter on a
// focused Cancel and the close button only hide. The typed text and the focus stay. Each way
// in another of the three windows.
enum TWay { kOkClick, kEnter, kEnterOnOk, kSpaceOnOk, kCancelClick, kEsc, kEnterOnCancel, kClose };

class StoreOrDiscard : public testing::TestWithParam<TWay> {};

TEST_P(StoreOrDiscard, KeepsTheTextAndTheFocus) {
    const TWay way = GetParam();
    const int dialog = way % 3;
    TProgram program;
    Open(program, dialog);
    const TCatalogueRow& row = CatalogueGroup(kGroups[dialog])[1];
    Enter(program, row.EditName, "-5");
    const bool stores = way <= kSpaceOnOk;
    const std::string button = stores ? "OkButton" : "CancelButton";
    if (way == kOkClick || way == kCancelClick) {
        program.Click(button);
    } else if (way == kClose) {
        program.CloseWindow();
    } else {
        if (way != kEnter && way != kEsc)
            TabTo(program, button);
        program.Press(way == kEsc ? TKey::Escape : way == kSpaceOnOk ? TKey::Space : TKey::Enter);
    }
    EXPECT_EQ(program.View().Box, std::nullopt);
    EXPECT_FALSE(Shown(program, kDialogs[dialog]));
    TTripData expected = DefaultTripData();
    if (stores)
        SetInput(expected, row.Group, row.Index, -5);
    EXPECT_EQ(program.Record(), expected);
    Open(program, dialog);
    const bool byKey = way == kEnter || way == kEsc || way == kClose;
    EXPECT_EQ(program.View().Focus, byKey ? std::string(row.EditName) : button);
    EXPECT_EQ(program.Text(row.EditName), "-5");
}

INSTANTIATE_TEST_SUITE_P(Ways, StoreOrDiscard,
                         testing::Values(kOkClick, kEnter, kEnterOnOk, kSpaceOnOk, kCancelClick,
                                         kEsc, kEnterOnCancel, kClose));

// Where everything stands: the main window's button; in each entry window the buttons, and the
// fields 20 pixels apart, each label 5 pixels below its field's top; the client areas (the
// tackle window's whole frame is what is fixed, so its client area is not).
TEST(Dialogs, Layout) {
    struct TColumn {
        TGroup Group;
        int LabelLeft, LabelTop, EditLeft;
    };
    struct TWindow {
        TBounds Client, Ok, Cancel;
        std::vector<TColumn> Columns;
    };
    const TWindow windows[] = {
        {{0, 0, 136, 451}, {5, 415, 60, 30}, {70, 415, 60, 30}, {{TGroup::Fish, 5, 10, 80}}},
        {{0, 0, 146, 171}, {5, 135, 60, 30}, {80, 135, 60, 30}, {{TGroup::Bait, 5, 10, 90}}},
        {{},
         {60, 370, 60, 30},
         {140, 370, 60, 30},
         {{TGroup::SpentTackle, 5, 40, 205}, {TGroup::TackleLongevity, 5, 220, 205}}}};
    TProgram program;
    EXPECT_EQ(program.Bounds(), (TBounds{0, 0, 225, 74}));
    EXPECT_EQ(program.Bounds("CalculationButton"), (TBounds{82, 20, 60, 30}));
    for (int dialog = 0; dialog < 3; ++dialog) {
        const TWindow& window = windows[dialog];
        Open(program, dialog);
        if (dialog < 2) {
            EXPECT_EQ(program.Bounds(), window.Client);
        }
        EXPECT_EQ(program.Bounds("OkButton"), window.Ok);
        EXPECT_EQ(program.Bounds("CancelButton"), window.Cancel);
        for (const TColumn& column : window.Columns) {
            for (const auto& row : CatalogueGroup(column.Group)) {
                const int top = column.LabelTop + 20 * row.Index;
                EXPECT_EQ(program.Bounds(row.EditName),
                          (TBounds{column.EditLeft, top - 5, 50, 21}));
                std::string label(row.EditName.substr(0, row.EditName.size() - 4));
                TBounds bounds = program.Bounds(label + "Label");
                EXPECT_GT(bounds.Width, 20) << label;
                bounds.Width = 1;
                EXPECT_EQ(bounds, (TBounds{column.LabelLeft, top, 1, 13})) << label;
            }
        }
    }
}

// Round each window and back: the bait and tackle windows go from the first field to the
// buttons before the other fields. A field entered by the keyboard, or by showing its window
// again, has its text all selected, and takes six characters at most.
class TabOrder : public testing::TestWithParam<int> {};

TEST_P(TabOrder, GoesRoundTheWindow) {
    const int dialog = GetParam();
    std::vector<std::string> order;
    for (const auto& row : CatalogueGroups(kGroups[dialog], LastGroup(dialog)))
        order.emplace_back(row.EditName);
    order.insert(order.begin() + (dialog == 0 ? 20 : 1), {"OkButton", "CancelButton"});
    TProgram program;
    Open(program, dialog);
    std::vector<std::string> seen;
    for (std::size_t i = 0; i <= order.size(); ++i, program.Press(TKey::Tab))
        seen.push_back(program.View().Focus);
    order.push_back(order.front());
    EXPECT_EQ(seen, order);
    program.Press(TKey::BackTab);
    program.Type("1234567");
    EXPECT_EQ(program.Text(order.front()), "123456");
    program.Press(TKey::Escape);
    Open(program, dialog);
    program.Type("7");
    EXPECT_EQ(program.Text(order.front()), "7");
}

INSTANTIATE_TEST_SUITE_P(Dialogs, TabOrder, testing::Range(0, 3));

// Digits and signs mostly, with blanks, letters and other scripts' digits.
const char* const kTyped[] = {"0", "1", "2", "3", "4", "5", "6", "7",  "8",      "9", "0",
                              "1", "-", "+", " ", "a", "я", "٣", "５", "\u00a0", "e", "."};

// Random use: random user actions on the real windows (VARKELO_ACTIONS of them, from the seed
// VARKELO_SEED). After every step the record must equal what a plain model of the user's
// stores predicts, every box must show the model's own profit or name the refused field, and
// the program must end, with status 0, by Esc, F6 or closing the main window and by nothing
// else.
TEST(RandomUse, RecordBoxesAndEndingFollowTheModel) {
    const char* seed = std::getenv("VARKELO_SEED");
    std::mt19937 random(seed ? std::uint32_t(std::atoll(seed)) : 20261206u);
    const auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    const int actions =
        std::getenv("VARKELO_ACTIONS") ? std::atoi(std::getenv("VARKELO_ACTIONS")) : 1500;
    int done = 0, runs = 0, boxes = 0;
    while (done < actions && !HasFailure()) {
        ++runs;
        TTripData model = DefaultTripData();
        TProgram program;
        for (bool ended = false; !ended && done < actions && !HasFailure(); ++done) {
            if (program.View().Active.empty()) { // a user clicks a window's frame
                EXPECT_TRUE(program.Activate(program.View().Shown.at(0)));
            }
            const TView view = program.View();
            const int dialog = int(std::ranges::find(kDialogs, view.Active) - kDialogs);
            const bool main = view.Active == "Варкело";
            std::vector<std::string> expected;
            std::string_view refused;
            // Storing the active dialog: all its texts convert, or nothing is stored, and the
            // first bad field is named and takes the focus.
            const auto store = [&] {
                TTripData next = model;
                for (const auto& row : CatalogueGroups(kGroups[dialog], LastGroup(dialog))) {
                    const auto value = ConvertInt(program.Text(row.EditName)).Value;
                    if (!value) {
                        expected.emplace_back(row.Caption);
                        refused = row.EditName;
                        return;
                    }
                    SetInput(next, row.Group, row.Index, *value);
                }
                model = next;
            };
            const auto result = [&] {
                CalculateProfit(model);
                expected.push_back(FormatProfitMessage(model.NetProfit));
            };
            const int action = pick(20);
            SCOPED_TRACE("action " + std::to_string(done) + ": " + std::to_string(action) +
                         " in «" + view.Active + "» on " + view.Focus);
            if (action < 3) {
                program.Press(std::array{TKey::F1, TKey::F2, TKey::F3, TKey::F5}[pick(4)]);
            } else if (action < 4) {
                result();
                program.Press(TKey::F4);
            } else if (action < 7) {
                if (main)
                    result();
                else if (dialog < 3 && view.Focus != "CancelButton")
                    store();
                program.Press(pick(2) ? TKey::Enter : TKey::KeypadEnter);
            } else if (action < 8) {
                ended = main && pick(20) == 0; // most runs long
                if (ended || !main)
                    program.Press(TKey::Escape);
            } else if (action < 10) {
                program.Press(pick(3) ? TKey::Tab : TKey::BackTab);
            } else if (action < 16) {
                for (int i = pick(2); view.Focus.ends_with("Edit") && i >= 0; --i)
                    pick(6) ? program.Type(kTyped[pick(std::size(kTyped))])
                            : program.Press(TKey::Backspace);
            } else if (action < 18 && dialog < 3) {
                const bool ok = pick(2);
                if (ok)
                    store();
                program.Click(ok ? "OkButton" : "CancelButton");
            } else if (action < 19) { // a click on a window's frame
                const std::string window = view.Shown.at(std::size_t(pick(int(view.Shown.size()))));
                EXPECT_TRUE(program.Activate(window)) << window;
            } else if (!main || pick(10) == 0) {
                const bool f6 = pick(10) == 0;
                ended = main || f6;
                f6 ? program.Press(TKey::F6) : program.CloseWindow();
            }
            if (ended) {
                EXPECT_EQ(program.WaitEnd(), 0);
                break;
            }
            std::vector<std::string> seen;
            while (seen.size() <= expected.size() && program.View().Box) {
                seen.push_back(*program.View().Box);
                program.CloseBox();
            }
            boxes += int(seen.size());
            EXPECT_TRUE(program.Running());
            if (!refused.empty()) {
                EXPECT_EQ(program.View().Focus, refused);
            }
            EXPECT_EQ(program.Record(), model);
            EXPECT_EQ(seen.size(), expected.size());
            for (std::size_t i = 0; i < std::min(seen.size(), expected.size()); ++i)
                EXPECT_TRUE(seen[i].starts_with(expected[i])) << seen[i] << " | " << expected[i];
        }
    }
    std::printf("seed %s: %d actions in %d runs, %d boxes\n", seed ? seed : "20261206", done, runs,
                boxes);
}

} // namespace
