// What a user does with the program and what they must see, on whichever platform the driver
// serves.
#include "Driver.h"

#include "Catalogue.h"
#include "Profit.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace varkelo;
using namespace uitest;

namespace {

const std::string kMain = "Варкело";
const std::string kDialogs[] = {"Выловленная рыба", "Потраченная приманка", "Потраченные снасти"};
const TGroup kGroups[] = {TGroup::Fish, TGroup::Bait, TGroup::SpentTackle};
const TGroup kLastGroups[] = {TGroup::Fish, TGroup::Bait, TGroup::TackleLongevity};

bool Shown(TProgram& program, const std::string& caption) {
    const auto windows = program.VisibleWindows();
    return std::find(windows.begin(), windows.end(), caption) != windows.end();
}

testing::AssertionResult Wanted(TProgram& program, const std::string& caption, bool active) {
    if (active)
        return testing::AssertionSuccess();
    return testing::AssertionFailure()
           << caption << " wanted active, «" << program.ActiveCaption() << "» active";
}

// Whether the window is active, as it should be by now; else which one is.
testing::AssertionResult Active(TProgram& program, const std::string& caption) {
    return Wanted(program, caption, program.WaitActive(caption));
}

// As a click on its frame makes it active.
testing::AssertionResult Activate(TProgram& program, const std::string& caption) {
    return Wanted(program, caption, program.Activate(caption));
}

// From the main window, as a user opens a dialog.
void Open(TProgram& program, int dialog) {
    ASSERT_TRUE(Activate(program, kMain));
    program.Press(TKey(int(TKey::F1) + dialog));
    ASSERT_TRUE(Active(program, kDialogs[dialog]));
}

void TabTo(TProgram& program, std::string_view control) {
    for (int i = 0; i < 20 && program.Focused() != control; ++i)
        program.Press(TKey::Tab);
    ASSERT_EQ(program.Focused(), control);
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
    EXPECT_EQ(program.ActiveCaption(), kMain);
    EXPECT_EQ(program.Focused(), "CalculationButton");
    EXPECT_EQ(program.VisibleWindows(), std::vector<std::string>{kMain});
    EXPECT_EQ(program.Menu(),
              (std::vector<std::string>{"Меню", "Выловленная рыба\tF1", "Потраченная приманка\tF2",
                                        "Потраченные снасти\tF3", "Расчёт\tF4", "Выход\tF6",
                                        "Дополнительно", "Помощь\tF5"}));
    Open(program, 1);
    Enter(program, "SpoonBaitEdit", "1");
    program.Press(TKey::Enter);
    ASSERT_TRUE(Activate(program, kMain));
    // Tab stands for a click on the button.
    const std::pair<TKey, TKey> ways[] = {{TKey::Tab, TKey::Tab},
                                          {TKey::F4, TKey::Enter},
                                          {TKey::Enter, TKey::Escape},
                                          {TKey::KeypadEnter, TKey::Space},
                                          {TKey::Space, TKey::KeypadEnter}};
    for (const auto& [ask, close] : ways) {
        if (ask == TKey::Tab)
            program.Click("CalculationButton");
        else
            program.Press(ask);
        EXPECT_EQ(program.Box(), FormatProfitMessage(-50)) << int(ask);
        if (close == TKey::Tab)
            program.CloseBox();
        else
            program.Press(close);
        EXPECT_EQ(program.Box(), std::nullopt) << int(close);
    }
    EXPECT_TRUE(program.Running());
}

// F5 opens the help, which lists every item with its value, in Russian style; Esc closes it,
// F5 brings it back.
TEST(MainWindow, Help) {
    TProgram program;
    program.Press(TKey::F5);
    ASSERT_TRUE(Active(program, "Помощь"));
    const std::string help = program.Text("HelpText");
    for (const auto& row : kCatalogue)
        EXPECT_NE(help.find(row.Caption.substr(0, row.Caption.size() - 1)), std::string::npos);
    EXPECT_NE(help.find("2,7"), help.npos);
    EXPECT_EQ(help.find_first_of("*#|"), help.npos); // shown, not as Markdown
    program.Press(TKey::Escape);
    EXPECT_FALSE(Shown(program, "Помощь"));
    ASSERT_TRUE(Activate(program, kMain));
    program.Press(TKey::F5);
    EXPECT_TRUE(Active(program, "Помощь"));
}

// A window's key brings it to the front with the keyboard when it is open behind another
// window, and when it is minimised: what is typed next goes into it.
class BringsForward : public testing::TestWithParam<int> {};

TEST_P(BringsForward, BehindAnotherAndMinimised) {
    const int window = GetParam();
    const std::string caption = window < 3 ? kDialogs[window] : "Помощь";
    const TKey key = window < 3 ? TKey(int(TKey::F1) + window) : TKey::F5;
    const TKey other = window == 1 ? TKey::F1 : TKey::F2;
    const std::string_view field = window < 3 ? CatalogueGroup(kGroups[window])[0].EditName : "";
    TProgram program;
    program.Press(key);
    ASSERT_TRUE(Active(program, caption));
    ASSERT_TRUE(Activate(program, kMain));
    program.Press(other);
    ASSERT_NE(program.ActiveCaption(), caption);
    for (bool minimised : {false, true}) {
        if (minimised) {
            ASSERT_TRUE(Activate(program, caption));
            program.Minimise();
            EXPECT_NE(program.ActiveCaption(), caption);
            ASSERT_TRUE(Activate(program, kMain));
        }
        program.Press(key);
        ASSERT_TRUE(Active(program, caption)) << (minimised ? "minimised" : "behind");
        if (!field.empty()) {
            program.Type(minimised ? "8" : "9");
            EXPECT_EQ(program.Text(field), minimised ? "8" : "9");
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Windows, BringsForward, testing::Range(0, 4));

// OK, Enter in a field and Enter or Space on a focused OK store; Cancel, Esc, Enter on a
// focused Cancel and the close button only hide. The typed text and the focus stay.
enum TWay { kOkClick, kEnter, kEnterOnOk, kSpaceOnOk, kCancelClick, kEsc, kEnterOnCancel, kClose };

class StoreOrDiscard : public testing::TestWithParam<std::tuple<int, TWay>> {};

TEST_P(StoreOrDiscard, KeepsTheTextAndTheFocus) {
    const auto [dialog, way] = GetParam();
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
    EXPECT_EQ(program.Box(), std::nullopt);
    EXPECT_FALSE(Shown(program, kDialogs[dialog]));
    TTripData expected = DefaultTripData();
    if (stores)
        SetInput(expected, row.Group, row.Index, -5);
    EXPECT_EQ(program.Record(), expected);
    Open(program, dialog);
    const bool byKey = way == kEnter || way == kEsc || way == kClose;
    EXPECT_EQ(program.Focused(), byKey ? std::string(row.EditName) : button);
    EXPECT_EQ(program.Text(row.EditName), "-5");
}

INSTANTIATE_TEST_SUITE_P(Ways, StoreOrDiscard,
                         testing::Combine(testing::Range(0, 3),
                                          testing::Values(kOkClick, kEnter, kEnterOnOk, kSpaceOnOk,
                                                          kCancelClick, kEsc, kEnterOnCancel,
                                                          kClose)));

// A bad text anywhere stores nothing, earlier fields included; the box names the field, which
// then has the focus with its text selected, so that typing replaces it.
class BadField
    : public testing::TestWithParam<std::tuple<int, const char*, const char*, const char*>> {};

TEST_P(BadField, StoresNothingAndTakesTheFocus) {
    const auto [dialog, field, text, message] = GetParam();
    TProgram program;
    Open(program, dialog);
    const TCatalogueRow& first = CatalogueGroup(kGroups[dialog])[0];
    Enter(program, first.EditName, "7");
    Enter(program, field, text);
    TabTo(program, "OkButton");
    program.Press(TKey::Enter);
    EXPECT_EQ(program.Box(), message);
    program.CloseBox();
    EXPECT_EQ(program.Record(), DefaultTripData());
    ASSERT_TRUE(Active(program, kDialogs[dialog]));
    EXPECT_EQ(program.Focused(), field);
    program.Type("3");
    EXPECT_EQ(program.Text(field), "3");
    program.Press(TKey::Enter);
    EXPECT_FALSE(Shown(program, kDialogs[dialog]));
    EXPECT_EQ(GetInput(program.Record(), first.Group, first.Index), 7);
}

INSTANTIATE_TEST_SUITE_P(
    Fields, BadField,
    testing::Values(
        std::tuple{0, "GobyEdit", "abc", "Бычок: «abc» не является целым числом"},
        std::tuple{0, "TroutEdit", "", "Форель: пустой текст не является целым числом"},
        std::tuple{1, "SpoonBaitEdit", "<b>1", "Блесна: «<b>1» не является целым числом"},
        std::tuple{2, "NetLongevityEdit", "1 2", "Сачок: «1 2» не является целым числом"}));

// Where everything stands: the main window's button; in each entry window the fields 20
// pixels apart, each label 5 pixels below its field's top, and the buttons; the client areas
// (the tackle window's whole frame is what is fixed, so its client area is not).
TEST(Dialogs, Layout) {
    struct TColumn {
        TGroup Group;
        int LabelLeft, LabelTop, EditLeft;
    };
    struct TWindow {
        TBounds Client;
        std::vector<TColumn> Columns;
        TBounds Ok, Cancel;
    };
    const TWindow windows[] = {
        {{0, 0, 136, 451}, {{TGroup::Fish, 5, 10, 80}}, {5, 415, 60, 30}, {70, 415, 60, 30}},
        {{0, 0, 146, 171}, {{TGroup::Bait, 5, 10, 90}}, {5, 135, 60, 30}, {80, 135, 60, 30}},
        {{},
         {{TGroup::SpentTackle, 5, 40, 205}, {TGroup::TackleLongevity, 5, 220, 205}},
         {60, 370, 60, 30},
         {140, 370, 60, 30}}};
    TProgram program;
    EXPECT_EQ(program.Bounds(), (TBounds{0, 0, 225, 74}));
    EXPECT_EQ(program.Bounds("CalculationButton"), (TBounds{82, 20, 60, 30}));
    for (int dialog = 0; dialog < 3; ++dialog) {
        const TWindow& window = windows[dialog];
        Open(program, dialog);
        if (window.Client.Width > 0) {
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
                const TBounds bounds = program.Bounds(label + "Label");
                EXPECT_GT(bounds.Width, 20) << label;
                EXPECT_EQ((TBounds{bounds.Left, bounds.Top, 1, bounds.Height}),
                          (TBounds{column.LabelLeft, top, 1, 13}))
                    << label;
            }
        }
    }
}

// Round each window and back: the bait and tackle windows go from the first field to the
// buttons before the other fields.
class TabOrder : public testing::TestWithParam<int> {};

TEST_P(TabOrder, GoesRoundTheWindow) {
    const int dialog = GetParam();
    std::vector<std::string> fields;
    for (const auto& row : CatalogueGroups(kGroups[dialog], kLastGroups[dialog]))
        fields.emplace_back(row.EditName);
    std::vector<std::string> order = fields;
    order.insert(order.begin() + (dialog == 0 ? 20 : 1), {"OkButton", "CancelButton"});
    TProgram program;
    Open(program, dialog);
    std::vector<std::string> seen;
    for (std::size_t i = 0; i <= order.size(); ++i, program.Press(TKey::Tab))
        seen.push_back(program.Focused());
    order.push_back(order.front());
    EXPECT_EQ(seen, order);
    program.Press(TKey::BackTab);
    EXPECT_EQ(program.Focused(), order.front());
}

INSTANTIATE_TEST_SUITE_P(Dialogs, TabOrder, testing::Range(0, 3));

// A field entered by the keyboard, or by showing its window again, has its text all selected;
// it takes six characters at most, typed or pasted.
TEST(Dialogs, FieldEntry) {
    TProgram program;
    Open(program, 2);
    program.Type("4");
    EXPECT_EQ(program.Text("NutRodEdit"), "4");
    TabTo(program, "NutRodLongevityEdit");
    program.Type("5");
    EXPECT_EQ(program.Text("NutRodLongevityEdit"), "5");
    program.Press(TKey::Escape);
    Open(program, 2);
    EXPECT_EQ(program.Focused(), "NutRodLongevityEdit");
    program.SetClipboard("123456789");
    program.Press(TKey::Paste);
    program.Type("7");
    EXPECT_EQ(program.Text("NutRodLongevityEdit"), "123456");
}

} // namespace
