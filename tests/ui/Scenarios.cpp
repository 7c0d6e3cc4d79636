// What a user does with the program and what they must see, on whichever platform the driver
// serves.
#include "Driver.h"

#include "Catalogue.h"
#include "Convert.h"
#include "Profit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <random>
#include <thread>
#include <tuple>

using namespace varkelo;
using namespace uitest;

// Clicked again while it does not come up: a window shown a moment before may still take the
// focus from it.
bool TProgram::Activate(std::string_view caption, bool click) {
    for (int attempt = 0; attempt < (click ? 20 : 1); ++attempt) {
        if (click)
            RequestActivation(caption);
        for (int i = 0; i < 100 && View().Active != caption; ++i, Settle())
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        if (View().Active == caption)
            return true;
    }
    return false;
}

namespace {

const std::string kMain = "Варкело";
const std::string kHelp = "Помощь";
const std::string kDialogs[] = {"Выловленная рыба", "Потраченная приманка", "Потраченные снасти"};
// The groups whose fields each dialog shows, the first and the last.
using enum TGroup;
const std::pair<TGroup, TGroup> kGroups[] = {
    {Fish, Fish}, {Bait, Bait}, {SpentTackle, TackleLongevity}};

// Whether the window is active, as it should be by now, or becomes so as by a click on its
// frame; else which one is.
testing::AssertionResult Active(TProgram& program, const std::string& caption, bool click = false) {
    if (program.Activate(caption, click))
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << caption << " wanted, «" << program.View().Active << "» active";
}

// The help lists every item with its value, in Russian style and not as Markdown; open behind
// another window, its key brings it forward.
TEST(Help, ListsEveryItemAndComesForward) {
    TProgram program;
    program.Press(TKey::F5);
    ASSERT_TRUE(Active(program, kHelp));
    const std::string help = program.Text("HelpText");
    for (const auto& row : kCatalogue)
        EXPECT_NE(help.find(row.Caption.substr(0, row.Caption.size() - 1)), help.npos);
    EXPECT_NE(help.find("2,7"), help.npos);
    EXPECT_EQ(help.find_first_of("*#|"), help.npos);
    ASSERT_TRUE(Active(program, kMain, true));
    program.Press(TKey::F5);
    EXPECT_TRUE(Active(program, kHelp));
}

// From the main window, as a user opens a dialog.
void Open(TProgram& program, int dialog) {
    ASSERT_TRUE(Active(program, kMain, true));
    program.Press(TKey(int(TKey::F1) + dialog));
    ASSERT_TRUE(Active(program, kDialogs[dialog]));
}

// Where everything stands: the main window's button; in each entry window the buttons, and the
// fields 20 pixels apart, each label 5 pixels below its field's top; the client areas (the
// tackle window's whole frame is what is fixed, so its client area is not). Tab goes round
// each window, the bait and tackle windows' from the first field to the buttons before the
// other fields; Shift+Tab goes back. A field takes what is typed as typed, six characters at
// most, however wide; hidden, a window keeps its texts and where the focus was, and shown again,
// gives the focus back there, the text all selected, as it does to a field it refuses.
TEST(Dialogs, LayoutAndTabOrder) {
    struct TWindow {
        TBounds Client, Ok, Cancel;
        // Each column: its group, its labels' left and top, its fields' left.
        std::vector<std::tuple<TGroup, int, int, int>> Columns;
        std::vector<std::tuple<std::string, int, int>> Headings{};
    };
    // clang-format off
    const TWindow windows[] = {
        {{0, 0, 136, 451}, {5, 415, 60, 30}, {70, 415, 60, 30}, {{TGroup::Fish, 5, 10, 80}}},
        {{0, 0, 146, 171}, {5, 135, 60, 30}, {80, 135, 60, 30}, {{TGroup::Bait, 5, 10, 90}}},
        {{}, {60, 370, 60, 30}, {140, 370, 60, 30},
         {{TGroup::SpentTackle, 5, 40, 205}, {TGroup::TackleLongevity, 5, 220, 205}},
         {{"CaptionLabel", 44, 10}, {"Caption2Label", 26, 190}}}};
    // clang-format on
    TProgram program;
    EXPECT_EQ(program.Bounds(), (TBounds{0, 0, 225, 74}));
    EXPECT_EQ(program.Bounds("CalculationButton"), (TBounds{82, 20, 60, 30}));
    for (int dialog = 0; dialog < 3; ++dialog) {
        const TWindow& window = windows[dialog];
        Open(program, dialog);
        EXPECT_EQ(dialog < 2 ? program.Bounds() : window.Client, window.Client);
        EXPECT_EQ(program.Bounds("OkButton"), window.Ok);
        EXPECT_EQ(program.Bounds("CancelButton"), window.Cancel);
        auto labels = window.Headings; // and then each field's, 5 pixels below its top
        for (const auto& [group, labelLeft, labelTop, editLeft] : window.Columns) {
            for (const auto& row : CatalogueGroup(group)) {
                const int top = labelTop + 20 * row.Index;
                EXPECT_EQ(program.Bounds(row.EditName), (TBounds{editLeft, top - 5, 50, 21}));
                const std::string_view stem = row.EditName.substr(0, row.EditName.size() - 4);
                labels.emplace_back(std::string(stem) + "Label", labelLeft, top);
            }
        }
        for (const auto& [label, left, top] : labels) {
            TBounds bounds = program.Bounds(label);
            EXPECT_GT(bounds.Width, 20) << label;
            bounds.Width = 1;
            EXPECT_EQ(bounds, (TBounds{left, top, 1, 13})) << label;
        }
        std::vector<std::string> order, seen;
        for (const auto& row : CatalogueGroups(kGroups[dialog].first, kGroups[dialog].second))
            order.emplace_back(row.EditName);
        order.insert(order.begin() + (dialog == 0 ? 20 : 1), {"OkButton", "CancelButton"});
        order.push_back(order.front());
        for (std::size_t i = 0; i < order.size(); ++i, program.Press(TKey::Tab))
            seen.push_back(program.View().Focus);
        EXPECT_EQ(seen, order);
        const std::string field = order[dialog == 0 ? 19 : order.size() - 2]; // the last one
        for (int i = 0; i < 9 && program.View().Focus != field; ++i)
            program.Press(TKey::BackTab);
        program.Type("-ЖЖЖ５<b");
        EXPECT_EQ(program.Text(field), "-ЖЖЖ５<");
        program.Press(TKey::Escape);
        Open(program, dialog);
        EXPECT_EQ(program.View().Focus, field);
        EXPECT_EQ(program.Text(field), "-ЖЖЖ５<");
        // Stored from another control, the bad field is refused; the box closed, it has the focus,
        // its text all selected. On Wayland the compositor decides what a closed box leaves active.
        if (!std::getenv("VARKELO_WAYLAND")) {
            for (TKey key : {TKey::Tab, TKey::Enter, TKey::Escape})
                program.Press(key);
            ASSERT_TRUE(Active(program, kDialogs[dialog]));
            program.Type("7");
            EXPECT_EQ(program.Text(field), "7");
        }
        program.Press(TKey::Escape);
    }
}

// Digits and signs mostly, with blanks, letters, other scripts' digits and markup.
const char* const kTyped[] = {"0", "1", "2", "3", "4", "5", "6", "7",  "8",      "9",   "0",
                              "1", "-", "+", " ", "a", "я", "٣", "５", "\u00a0", "<b>", "."};

// Random use: random user actions on the real windows (VARKELO_ACTIONS of them, from the seed
// VARKELO_SEED). After every step the record must equal what a plain model of the user's
// stores predicts; every box, asked for by F4, Enter, keypad Enter, Space or a click, must show
// the model's own profit or the refusal of the first bad field, as typed, and each of the box's
// keys must close it and do nothing else; a window stored or dismissed must hide; a
// window's key must bring it forward, from behind another window or minimised; and the program must
// end by Esc, F6 or closing the main window and by nothing else.
TEST(RandomUse, RecordBoxesAndEndingFollowTheModel) {
    const char* seed = std::getenv("VARKELO_SEED");
    std::mt19937 random(seed ? std::uint32_t(std::atoll(seed)) : 20261206u);
    const auto pick = [&random](int n) { return int(random() % unsigned(n)); };
    const int actions =
        std::getenv("VARKELO_ACTIONS") ? std::atoi(std::getenv("VARKELO_ACTIONS")) : 1500;
    int done = 0;
    while (done < actions && !HasFailure()) {
        TTripData model;
        ResetTripData(model);
        TProgram program;
        EXPECT_EQ(program.View().Focus, "CalculationButton");
        for (bool ended = false; !ended && done < actions && !HasFailure(); ++done) {
            // None active: a user clicks a window's frame.
            EXPECT_TRUE(!program.View().Active.empty() || program.Activate(kMain));
            const TView view = program.View();
            const int dialog = int(std::ranges::find(kDialogs, view.Active) - kDialogs);
            const bool main = view.Active == kMain, onButton = view.Focus.ends_with("Button");
            std::vector<std::string> expected;
            std::string_view refused;
            bool hides = false;  // the active window, once the action is done
            std::string brought; // the window that the action brings forward
            // Storing the active dialog: all its texts convert, or nothing is stored, and the
            // first bad field is named and takes the focus.
            const auto store = [&] {
                TTripData next = model;
                for (const auto& row :
                     CatalogueGroups(kGroups[dialog].first, kGroups[dialog].second)) {
                    const TConversion conversion = ConvertInt(program.Text(row.EditName));
                    if (!conversion.Value) {
                        expected.push_back(std::string(row.Caption) + " " + conversion.Error);
                        refused = row.EditName;
                        return false;
                    }
                    SetInput(next, row.Group, row.Index, *conversion.Value);
                }
                model = next;
                return true;
            };
            const auto result = [&] {
                CalculateProfit(model);
                expected.push_back(FormatProfitMessage(model.NetProfit));
            };
            const int action = pick(20);
            SCOPED_TRACE("action " + std::to_string(done) + ": " + std::to_string(action) +
                         " in «" + view.Active + "» on " + view.Focus);
            if (action < 3) {
                const int window = pick(4);
                program.Press(TKey(int(TKey::F1) + (window < 3 ? window : 4)));
                brought = window < 3 ? kDialogs[window] : kHelp;
            } else if (action < 4) {
                result();
                program.Press(TKey::F4);
            } else if (action < 7) { // Space types in a field, and presses a button
                const TKey key = std::array{TKey::Enter, TKey::KeypadEnter, TKey::Space}[pick(3)];
                if (main && (onButton || key != TKey::Space))
                    result();
                else if (dialog < 3 && (onButton || key != TKey::Space))
                    hides = view.Focus == "CancelButton" || store();
                program.Press(key);
            } else if (action < 8) {
                ended = main && pick(20) == 0; // most runs long
                hides = !main;
                if (ended || !main)
                    program.Press(TKey::Escape);
            } else if (action < 10) {
                program.Press(pick(3) ? TKey::Tab : TKey::BackTab);
            } else if (action < 16) {
                for (int i = pick(2); view.Focus.ends_with("Edit") && i >= 0; --i)
                    pick(6) ? program.Type(kTyped[pick(std::size(kTyped))])
                            : program.Press(TKey::Backspace);
            } else if (action < 18 && main) {
                result();
                program.Click("CalculationButton");
            } else if (action < 18 && dialog < 3) {
                const bool ok = pick(2);
                hides = !ok || store();
                program.Click(ok ? "OkButton" : "CancelButton");
            } else if (action < 19 && (main || pick(3))) { // a click on a window's frame
                const std::string window = view.Shown.at(std::size_t(pick(int(view.Shown.size()))));
                EXPECT_TRUE(program.Activate(window)) << window;
            } else if (action < 19) {
                program.Minimise();
            } else if (!main || pick(10) == 0) {
                const bool f6 = pick(10) == 0;
                ended = main || f6;
                hides = true;
                f6 ? program.Press(TKey::F6) : program.CloseWindow();
            }
            if (ended) {
                EXPECT_TRUE(program.Ended());
                break;
            }
            std::vector<std::string> seen;
            while (seen.size() <= expected.size() && program.View().Box) {
                seen.push_back(*program.View().Box);
                program.Press(
                    std::array{TKey::Enter, TKey::KeypadEnter, TKey::Escape, TKey::Space}[pick(4)]);
            }
            EXPECT_EQ(refused.empty() ? std::string() : program.View().Focus, refused);
            EXPECT_EQ(std::ranges::count(program.View().Shown, view.Active), hides ? 0 : 1);
            EXPECT_TRUE(brought.empty() || !seen.empty() ? testing::AssertionSuccess()
                                                         : Active(program, brought));
            EXPECT_EQ(program.Record(), model);
            EXPECT_EQ(seen.size(), expected.size());
            for (std::size_t i = 0; i < std::min(seen.size(), expected.size()); ++i)
                EXPECT_TRUE(seen[i].starts_with(expected[i])) << seen[i] << " | " << expected[i];
        }
    }
}

} // namespace
