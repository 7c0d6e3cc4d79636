// The window tests' driver over the page: the page runs in headless Chromium, spoken to over
// its DevTools pipe, and keys, typing, clicks and taps go in through the DevTools protocol's
// Input domain, which the page takes for a user's. What is read is read from the page.

#include "../Driver.h"

#include "Catalogue.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <bit>
#include <csignal>
#include <filesystem>
#include <set>

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

namespace uitest {

namespace {

// Headless Chromium: it reads commands from descriptor 3 and answers on 4, each message JSON
// ended by a NUL.
struct TBrowser {
    const std::filesystem::path Profile =
        std::filesystem::temp_directory_path() / ("varkelo-chromium-" + std::to_string(getpid()));
    pid_t Pid = -1;
    int To = -1, From = -1, Id = 0;
    std::string Inbox;
    QString Session;

    // A command's result; a protocol error fails the test, a browser that no longer answers
    // ends the run.
    QJsonObject Call(const QString& method, const QJsonObject& params = {}) {
        QJsonObject command{{"id", ++Id}, {"method", method}, {"params", params}};
        if (!Session.isEmpty())
            command["sessionId"] = Session;
        const QByteArray bytes = QJsonDocument(command).toJson(QJsonDocument::Compact) + '\0';
        if (write(To, bytes.data(), std::size_t(bytes.size())) != bytes.size())
            return {};
        for (std::size_t end;;) {
            while ((end = Inbox.find('\0')) != std::string::npos) {
                const QJsonObject answer =
                    QJsonDocument::fromJson(Inbox.substr(0, end).c_str()).object();
                Inbox.erase(0, end + 1);
                if (answer["id"].toInt() != Id)
                    continue; // an event
                EXPECT_FALSE(answer.contains("error")) << method.toStdString();
                return answer["result"].toObject();
            }
            pollfd ready{From, POLLIN, 0};
            char buffer[65536];
            const ssize_t got = poll(&ready, 1, 20000) == 1 ? read(From, buffer, sizeof buffer) : 0;
            if (got <= 0 && method != "Browser.close") {
                ADD_FAILURE() << "the browser did not answer " << method.toStdString();
                std::abort(); // nothing more can be tested
            }
            if (got <= 0)
                return {};
            Inbox.append(buffer, std::size_t(got));
        }
    }

    void Screen(int width, int height, bool phone) {
        Call("Emulation.setDeviceMetricsOverride",
             {{"width", width}, {"height", height}, {"deviceScaleFactor", 1}, {"mobile", phone}});
        Call("Emulation.setTouchEmulationEnabled", {{"enabled", phone}});
    }

    TBrowser() {
        int commands[2], answers[2];
        if (pipe2(commands, O_CLOEXEC) != 0 || pipe2(answers, O_CLOEXEC) != 0 || (Pid = fork()) < 0)
            std::abort();
        if (Pid == 0) {
            // Above 4 first, so that placing one cannot close the other.
            const int in = fcntl(commands[0], F_DUPFD, 10), out = fcntl(answers[1], F_DUPFD, 10);
            const int null = open("/dev/null", O_WRONLY);
            dup2(in, 3), dup2(out, 4), dup2(null, 1), dup2(null, 2);
            const std::string profile = "--user-data-dir=" + Profile.string();
            execl("/usr/bin/chromium", "chromium", "--headless=new", "--no-sandbox",
                  "--disable-gpu", "--no-first-run", "--disable-background-networking",
                  "--disable-component-update", "--disable-sync", "--remote-debugging-pipe",
                  profile.c_str(), "about:blank", nullptr);
            _exit(127);
        }
        close(commands[0]), close(answers[1]);
        To = commands[1], From = answers[0];
        QString page;
        for (int i = 0; i < 500 && page.isEmpty(); ++i, usleep(10000))
            for (const QJsonValue target : Call("Target.getTargets")["targetInfos"].toArray())
                if (target["type"] == "page")
                    page = target["targetId"].toString();
        Session =
            Call("Target.attachToTarget", {{"targetId", page}, {"flatten", true}})["sessionId"]
                .toString();
        Screen(1024, 768, false);
        Call("Emulation.setFocusEmulationEnabled", {{"enabled", true}}); // as a focused window
    }

    ~TBrowser() {
        Session.clear();
        Call("Browser.close");
        waitpid(Pid, nullptr, 0);
        std::filesystem::remove_all(Profile);
    }
};

TBrowser& Browser() {
    static TBrowser browser;
    return browser;
}

// A script's value in the page, a promise's once settled.
QJsonValue Evaluate(const QString& script) {
    return Browser()
        .Call("Runtime.evaluate",
              {{"expression", script}, {"returnByValue", true}, {"awaitPromise", true}})["result"]
        .toObject()["value"];
}

// The program's windows on the page, its active one and its controls; names and captions hold
// no quotes.
const QString kActive = "document.querySelector('#desktop .window.active:not(.minimised)')";
QString InActive(std::string_view control) {
    return kActive + "?.querySelector('[data-name=\"" + QString::fromUtf8(control) + "\"]')";
}
QString Find(const char* what, std::string_view text) {
    return QString("[...document.querySelectorAll('%1')].find(e => e.textContent === '%2')")
        .arg(what, QString::fromUtf8(text));
}

// A press of the left button, or a finger's tap, on the middle of what the script finds.
void Press(const QString& element, bool tap = false) {
    const QJsonValue at = Evaluate("(r => r && [r.x + r.width / 2, r.y + r.height / 2])(" +
                                   element + "?.getBoundingClientRect())");
    if (!at.isArray())
        return;
    const QJsonObject point{{"x", at[0]}, {"y", at[1]}};
    // clang-format off
    for (const bool down : {true, false})
        tap ? Browser().Call("Input.dispatchTouchEvent",
                  {{"type", down ? "touchStart" : "touchEnd"},
                   {"touchPoints", down ? QJsonArray{point} : QJsonArray{}}})
            : Browser().Call("Input.dispatchMouseEvent",
                  {{"type", down ? "mousePressed" : "mouseReleased"}, {"x", at[0]}, {"y", at[1]},
                   {"button", "left"}, {"clickCount", 1}});
    // clang-format on
    Settle();
}

// A key as a keyboard sends it: down, typing its text if it has one, and up.
void Key(const QString& key, const QString& code, int virtualKey, const QString& text = {},
         int modifiers = 0) {
    // clang-format off
    QJsonObject event{{"type", text.isEmpty() ? "rawKeyDown" : "keyDown"}, {"key", key},
                      {"code", code}, {"windowsVirtualKeyCode", virtualKey}, {"text", text},
                      {"modifiers", modifiers}, {"location", code == "NumpadEnter" ? 3 : 0}};
    // clang-format on
    Browser().Call("Input.dispatchKeyEvent", event);
    event["type"] = "keyUp";
    Browser().Call("Input.dispatchKeyEvent", event);
}

} // namespace

// Until the page has run what the input set off: the program's loop answers in its own time.
void Settle() {
    Evaluate("new Promise(done => setTimeout(done))");
}

void EndRun() {
    Browser().Call("Page.navigate", {{"url", "about:blank"}});
}

// As its button on the task bar does.
void RequestActivation(std::string_view caption) {
    Press(Find("#taskbar .task", caption));
}

TProgram::TProgram() {
    Browser().Call("Page.navigate", {{"url", VARKELO_TEST_PAGE}});
    if (!Activate("Варкело", false)) { // as soon as the page has loaded
        ADD_FAILURE() << "the program did not start";
        std::abort();
    }
}

TProgram::~TProgram() {
    EndRun();
}

void TProgram::Press(TKey key) {
    // clang-format off
    static const char* const keys[][4] = {
        {"F1", "F1", "112", ""}, {"F2", "F2", "113", ""}, {"F3", "F3", "114", ""},
        {"F4", "F4", "115", ""}, {"F5", "F5", "116", ""}, {"F6", "F6", "117", ""},
        {"Enter", "Enter", "13", "\r"}, {"Enter", "NumpadEnter", "13", "\r"},
        {"Escape", "Escape", "27", ""}, {" ", "Space", "32", " "}, {"Tab", "Tab", "9", ""},
        {"Tab", "Tab", "9", ""}, {"Backspace", "Backspace", "8", ""}};
    // clang-format on
    const auto& k = keys[int(key)];
    Key(k[0], k[1], std::atoi(k[2]), k[3], key == TKey::BackTab ? 8 : 0); // 8: Shift
    Settle();
}

void TProgram::Type(std::string_view text) {
    for (const QChar c : QString::fromUtf8(text)) // as an input method delivers it
        Key(c, "", 0, c);
    Settle();
}

void TProgram::Click(std::string_view control) {
    ASSERT_TRUE(Evaluate("!!" + InActive(control)).toBool())
        << "no button " << control << " in the active window";
    uitest::Press(InActive(control));
}

void TProgram::CloseWindow() {
    uitest::Press(kActive + "?.querySelector('.close')");
}

void TProgram::Minimise() {
    uitest::Press(kActive + "?.querySelector('.minimise')");
}

TView TProgram::View() {
    const QJsonObject seen = Evaluate(R"(({
        active: )" + kActive + R"(?.querySelector('.caption').textContent ?? '',
        focus: document.activeElement.closest('#desktop .window.active') &&
               document.activeElement.dataset.name || '',
        shown: [...document.querySelectorAll('#desktop .window:not([hidden]) .caption')]
                   .map(c => c.textContent),
        box: document.querySelector('.box .message')?.textContent ?? null }))")
                                 .toObject();
    TView view{
        seen["active"].toString().toStdString(), seen["focus"].toString().toStdString(), {}, {}};
    for (const QJsonValue caption : seen["shown"].toArray())
        view.Shown.push_back(caption.toString().toStdString());
    if (seen["box"].isString())
        view.Box = seen["box"].toString().toStdString();
    return view;
}

std::string TProgram::Text(std::string_view field) {
    return Evaluate("(e => e ? e.value ?? e.innerText : '')(" + InActive(field) + ")")
        .toString()
        .toStdString();
}

TBounds TProgram::Bounds(std::string_view control) {
    const QJsonValue r = Evaluate(
        "(e => e && [e.offsetLeft, e.offsetTop, e.offsetWidth, e.offsetHeight])(" +
        (control.empty() ? kActive + "?.querySelector('.client')" : InActive(control)) + ")");
    return {r[0].toInt(), control.empty() ? 0 : r[1].toInt(), r[2].toInt(), r[3].toInt()};
}

// The record is 44 int32_t in a row.
varkelo::TTripData TProgram::Record() {
    const QJsonArray read = Evaluate("(p => Array.from(HEAP32.subarray(p / 4, p / 4 + 44)))("
                                     "Module._varkelo_record())")
                                .toArray();
    std::int32_t values[44] = {};
    for (int i = 0; i < read.size() && i < 44; ++i)
        values[i] = read[i].toInt();
    return std::bit_cast<varkelo::TTripData>(values); // of the same size
}

bool TProgram::Ended() {
    return Evaluate("new Promise(ended => setTimeout(() => "
                    "ended(!!document.querySelector('.ended')), 100))")
        .toBool();
}

// What only the page shows beyond keys and clicks: what a screen reader finds, the menu bar by
// the keyboard, the box's text for Ctrl+C, the program's end and new start, and a phone.
namespace {

// Every label ends before its field, with the browser's own fonts.
bool LabelsFit() {
    return Evaluate("[...document.querySelectorAll('#desktop .window:not([hidden]) label')]"
                    ".every(l => !l.control || l.getBoundingClientRect().right <= "
                    "l.control.getBoundingClientRect().left)")
        .toBool();
}

TEST(WebPage, ScreenReaderMenusAndEnd) {
    TProgram program;
    // The menu bar from the keyboard: F10, down to its third item, Enter.
    Key("F10", "F10", 121);
    for (int i = 0; i < 3; ++i)
        Key("ArrowDown", "ArrowDown", 40);
    program.Press(TKey::Enter);
    EXPECT_EQ(program.View().Active, "Потраченные снасти");
    for (TKey key : {TKey::F5, TKey::F2, TKey::F1, TKey::F4})
        program.Press(key);
    EXPECT_TRUE(LabelsFit());
    std::multiset<std::string> named;
    for (const QJsonValue node : Browser().Call("Accessibility.getFullAXTree")["nodes"].toArray())
        named.insert((node["role"]["value"].toString() + ":" + node["name"]["value"].toString())
                         .toStdString());
    for (const char* expected :
         {"dialog:Выловленная рыба", "dialog:Потраченная приманка", "dialog:Потраченные снасти",
          "region:Варкело", "menubar:", "menuitem:Меню", "menuitem:Дополнительно", "region:Помощь",
          "document:Помощь", "alertdialog:Варкело"})
        EXPECT_EQ(named.count(expected), 1u) << expected;
    for (const auto& row : varkelo::kCatalogue)
        EXPECT_TRUE(named.contains("textbox:" + std::string(row.Caption))) << row.Caption;
    // Ctrl+C copies the box's text.
    Evaluate("addEventListener('copy', e => window.copied = e.clipboardData.getData('text'))");
    Key("c", "KeyC", 67, {}, 2); // 2: Ctrl
    EXPECT_EQ(Evaluate("window.copied"), "Чистая прибыль составляет: 0 НВ.");
    program.Press(TKey::Space);
    // Ended, the page says so and starts the program again at the user's word.
    ASSERT_TRUE(program.Activate("Варкело"));
    program.Press(TKey::Escape);
    ASSERT_TRUE(program.Ended());
    EXPECT_EQ(Evaluate("document.querySelector('.ended').textContent"),
              "Программа завершена.Запустить снова");
    uitest::Press("document.querySelector('.ended button')");
    EXPECT_TRUE(program.Activate("Варкело", false));
}

// On a phone's screen, by touch: every window within the screen's width and its labels clear
// of their fields; a field takes a minus sign, and the result comes.
TEST(WebPage, Phone) {
    Browser().Screen(360, 640, true);
    TProgram program;
    const auto choose = [](const char* menu, const char* item) {
        uitest::Press(Find("#taskbar .task", "Варкело"), true);
        uitest::Press(Find(".menubar .heading", menu), true);
        uitest::Press(Find(".menubar .item > :first-child", item), true);
    };
    for (const char* item : {"Выловленная рыба", "Потраченная приманка", "Потраченные снасти"}) {
        choose("Меню", item);
        EXPECT_EQ(program.View().Active, item);
    }
    choose("Дополнительно", "Помощь");
    EXPECT_TRUE(Evaluate("[...document.querySelectorAll('#desktop .window:not([hidden])')]"
                         ".every(w => w.offsetLeft >= 0 && w.offsetLeft + w.offsetWidth <= 360)")
                    .toBool());
    EXPECT_TRUE(LabelsFit());
    choose("Меню", "Выловленная рыба");
    uitest::Press(InActive("GudgeonEdit"), true); // the caret after its "0"
    EXPECT_EQ(program.View().Focus, "GudgeonEdit");
    EXPECT_EQ(Evaluate("document.activeElement.inputMode"), ""); // a keyboard with a minus sign
    program.Press(TKey::Backspace);
    program.Type("-10");
    uitest::Press(InActive("OkButton"), true);
    choose("Меню", "Расчёт");
    EXPECT_EQ(program.View().Box, "Чистая прибыль составляет: -27 НВ.");
    Browser().Screen(1024, 768, false);
}

} // namespace

} // namespace uitest

int main(int argc, char** argv) {
    std::signal(SIGPIPE, SIG_IGN); // a browser gone is told by write's result
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
