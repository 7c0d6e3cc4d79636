// Random use: 20,000 random user actions on the real windows. After every step the record
// must equal what a plain model of the user's successful stores predicts, every box must show
// the model's own profit or name the refused field (and Ctrl+C must copy it), and the program
// must end, with status 0, by Esc, F6 or closing the main window and by nothing else.
#include "Driver.h"

#include "Catalogue.h"
#include "Convert.h"
#include "Profit.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

using namespace varkelo;
using namespace uitest;

namespace {

// VARKELO_ACTIONS changes the number where each action costs more, as under a window manager.
const int kActions = [] {
    const char* text = std::getenv("VARKELO_ACTIONS");
    return text ? std::atoi(text) : 20000;
}();
const std::string kMain = "Варкело";

// The entry windows and the rows each stores.
struct TDialog {
    std::string Caption;
    TGroup First, Last;
};
const TDialog kDialogs[] = {{"Выловленная рыба", TGroup::Fish, TGroup::Fish},
                            {"Потраченная приманка", TGroup::Bait, TGroup::Bait},
                            {"Потраченные снасти", TGroup::SpentTackle, TGroup::TackleLongevity}};

class TSession {
public:
    explicit TSession(std::uint32_t seed) : m_random(seed) {}

    int Done = 0, Runs = 0, Boxes = 0, Stores = 0, Refusals = 0;
    std::string Failure;

    // One run of the program: random steps until one ends it or the budget is spent.
    void Run() {
        ++Runs;
        m_model = DefaultTripData();
        TProgram program;
        bool ending = false;
        while (!ending && Done < kActions && Failure.empty()) {
            ++Done;
            ending = Step(program);
        }
        if (ending && program.WaitEnd() != 0)
            Fail("the program did not end with status 0");
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }

    void Fail(const std::string& why) {
        if (Failure.empty())
            Failure = "action " + std::to_string(Done) + " (" + m_step + "): " + why;
    }

    // Digits and signs mostly, with blanks, letters, other scripts' digits and control keys.
    void Type(TProgram& program, int length) {
        static const char* const pool[] = {"0",  "1",      "2", "3", "4", "5",    "6", "7", "8",
                                           "9",  "0",      "0", "0", "1", "1",    "1", "-", "+",
                                           "-",  " ",      " ", "a", "b", "c",    "я", "Ж", "٣",
                                           "５", "\u00a0", "$", "e", ".", "\x01", "\b"};
        for (int i = 0; i < length; ++i) {
            const std::string_view c = pool[Pick(std::size(pool))];
            if (c == "\b")
                program.Press(TKey::Backspace);
            else
                program.Type(c);
        }
    }

    // Storing this dialog: all its texts convert, or nothing is stored and the first bad
    // field is named.
    void ExpectStore(TProgram& program, const TDialog& dialog) {
        TTripData next = m_model;
        for (const auto& row : CatalogueGroups(dialog.First, dialog.Last)) {
            // Which texts are numbers is the conversion's own tests' concern.
            const auto value = ConvertInt(program.Text(row.EditName)).Value;
            if (!value) {
                ++Refusals;
                m_expected.emplace_back(row.Caption);
                return;
            }
            SetInput(next, row.Group, row.Index, *value);
        }
        ++Stores;
        m_model = next;
    }

    void ExpectResult() {
        TTripData calculated = m_model;
        CalculateProfit(calculated);
        m_expected.push_back(FormatProfitMessage(calculated.NetProfit));
    }

    // Performs one random action and checks its outcome; true when it ends the program.
    bool Step(TProgram& program) {
        m_expected.clear();
        std::string window = program.ActiveCaption();
        if (window.empty() || Pick(10) == 0) { // a click on a window's frame
            const auto windows = program.VisibleWindows();
            if (windows.empty()) {
                Fail("no window is shown");
                return false;
            }
            window = windows[Pick(int(windows.size()))];
            if (!program.Activate(window))
                Fail(window + " wanted active, " + program.ActiveCaption() + " active");
        }
        const std::string focus = program.Focused();
        const TDialog* dialog = nullptr;
        for (const TDialog& d : kDialogs)
            if (d.Caption == window)
                dialog = &d;
        const bool onMain = window == kMain;
        const bool inField = focus.ends_with("Edit");
        bool ending = false;
        const int action = Pick(100);
        m_step = std::to_string(action) + " in «" + window + "» on " + focus;
        if (action < 12) {
            const TKey keys[] = {TKey::F1, TKey::F2, TKey::F3, TKey::F5};
            program.Press(keys[Pick(4)]);
        } else if (action < 17) {
            ExpectResult();
            program.Press(TKey::F4);
        } else if (action < 30) {
            if (onMain)
                ExpectResult();
            else if (dialog && focus != "CancelButton")
                ExpectStore(program, *dialog);
            program.Press(Pick(2) ? TKey::Enter : TKey::KeypadEnter);
        } else if (action < 36) {
            if (onMain && Pick(10) != 0)
                return false; // keep most runs long
            ending = onMain;
            program.Press(TKey::Escape);
        } else if (action < 50) {
            program.Press(Pick(3) ? TKey::Tab : TKey::BackTab);
        } else if (action < 85) {
            if (inField && Pick(8) == 0) {
                program.SetClipboard(std::string(Pick(100), '9'));
                program.Press(TKey::Paste);
            } else if (inField) {
                Type(program, 1 + Pick(4));
            }
        } else if (action < 93) {
            if (dialog) {
                const bool ok = Pick(2);
                if (ok)
                    ExpectStore(program, *dialog);
                program.Click(ok ? "OkButton" : "CancelButton");
            }
        } else if (action < 97) {
            if (!onMain || Pick(20) == 0) {
                ending = onMain;
                program.CloseWindow();
            }
        } else if (Pick(10) == 0) {
            ending = true;
            program.Press(TKey::F6);
        }
        if (ending)
            return true;

        std::vector<std::string> seen;
        while (const auto box = program.Box()) {
            ++Boxes;
            seen.push_back(*box);
            if (kBoxesCopy && Pick(4) == 0) {
                program.Press(TKey::Copy);
                if (program.Clipboard() != *box)
                    Fail("Ctrl+C did not copy the box's text");
            }
            program.CloseBox();
            if (seen.size() > m_expected.size())
                break;
        }
        if (!program.Running())
            Fail("the program ended");
        const TTripData record = program.Record();
        if (std::memcmp(&record, &m_model, 40 * sizeof(std::int32_t)) != 0)
            Fail("the record differs from the model");
        if (seen.size() != m_expected.size())
            Fail("expected " + std::to_string(m_expected.size()) + " boxes, saw " +
                 std::to_string(seen.size()));
        for (std::size_t i = 0; i < std::min(seen.size(), m_expected.size()); ++i)
            if (!seen[i].starts_with(m_expected[i]))
                Fail("box «" + seen[i] + "», expected «" + m_expected[i] + "»");
        return false;
    }

    std::mt19937 m_random;
    TTripData m_model{};
    std::vector<std::string> m_expected;
    std::string m_step; // what the current step does, to name it in a failure
};

TEST(RandomUse, RecordBoxesAndEndingFollowTheModel) {
    const char* seedText = std::getenv("VARKELO_SEED");
    const std::uint32_t seed =
        seedText ? std::uint32_t(std::strtoul(seedText, nullptr, 10)) : 20261206u;
    std::printf("seed %u (set VARKELO_SEED to change it)\n", seed);
    TSession session(seed);
    while (session.Done < kActions && session.Failure.empty())
        session.Run();
    std::printf("%d actions in %d runs: %d boxes, %d stores, %d refused\n", session.Done,
                session.Runs, session.Boxes, session.Stores, session.Refusals);
    EXPECT_EQ(session.Failure, "");
}

} // namespace
