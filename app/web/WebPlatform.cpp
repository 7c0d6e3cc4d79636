// The program's windows on a web page, built in the page's DOM through Emscripten's val: each
// form a window with a title bar to drag it by, its boxes, the main window's menu bar, labels
// that name their fields, and a button on a task bar at the foot of the page, so that a window
// hidden behind another, or minimised, is a click or a tap away on a phone's small screen too.
// The page has no window manager of its own: which window is active, where the focus goes
// back to, the tab order, the key preview and the menu shortcuts from every window are kept
// here. What the user does becomes an event for the program's loop in Run, which waits for the
// next one through Asyncify: the program's code stays as it is. A box does not hold its
// handler until it is closed, as on the desktop, but no handler does anything after showing
// one, and while it is open nothing else reaches the program: the user cannot tell. Waiting
// there as well would make every call through a pointer, every handler, a place to wait, and
// double the size of the WebAssembly; only the few calls from main down to Run wait.

#include "Platform.h"

#include <emscripten.h>
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <algorithm>
#include <array>
#include <deque>
#include <string>
#include <vector>

namespace varkelo {

using emscripten::val;

// A menu of the main window's bar.
struct TMenu {
    val Heading, List;
    std::size_t First; // its first item's place in the description
    std::vector<val> Items;
};

struct TWindow {
    TWindow(TForm& form, int id) : Form(form), Id(id) {}
    TForm& Form;
    int Id;
    // The window, its client area, its button on the task bar.
    val El = val::null(), Client = val::null(), Task = val::null();
    std::vector<val> Controls; // in the description's order
    std::vector<int> Tab;      // the controls that take the focus, in the tab order
    std::vector<TMenu> Menus;
    int Last = -1; // the control that had the focus
    int Z = 0;     // its place in the stacking order
    bool Placed = false, Minimised = false;
};

namespace {

// What the loop is told: the form, and a control, a menu item or a key.
enum TEventKind { kClick, kKey, kClose, kMenu, kPrepare };
struct TEvent {
    TEventKind Kind;
    int Window, Detail;
};

std::vector<TWindow*> g_windows; // by id; null once gone
TWindow* g_main = nullptr;
TWindow* g_active = nullptr;
std::deque<TEvent> g_events;
bool g_terminated = false, g_ended = false, g_altAlone = false;
std::string g_box;   // the open box's text; empty while none is open
int g_openMenu = -1; // the main window's menu that is open
int g_dragged = -1;  // the window being dragged by its title, and from where
int g_dragX = 0, g_dragY = 0;
int g_topmost = 0; // the stacking order given last

// clang-format off
EM_ASYNC_JS(void, JsWait, (), { await new Promise(wake => Module.wake = wake); });
EM_JS(void, JsWake, (), { if (Module.wake) Module.wake(), Module.wake = null; });
// Once the frame that shows the main window is painted.
EM_JS(void, JsAfterPaint, (), { requestAnimationFrame(() => setTimeout(Module.onPainted)); });
// clang-format on

val Global(const char* name) {
    return val::global(name);
}

// Asked for often: kept, as each question crosses from WebAssembly to the page.
val Document() {
    static val document = Global("document");
    return document;
}

val Make(const char* tag, const char* className, val parent) {
    val element = Document().call<val>("createElement", std::string(tag));
    if (*className != '\0')
        element.set("className", std::string(className));
    parent.call<void>("appendChild", element);
    return element;
}

void Attribute(val element, const char* name, const std::string& value) {
    element.call<void>("setAttribute", std::string(name), value);
}

void Listen(val target, const char* type, const char* handler, bool capture = false) {
    target.call<void>("addEventListener", std::string(type), val::module_property(handler),
                      capture);
}

// A handler of the page's that is told which window, and which of its parts, it serves.
void Listen(val target, const char* type, const char* handler, int window, int detail) {
    target.call<void>("addEventListener", std::string(type),
                      val::module_property(handler).call<val>("bind", val::null(), window, detail));
}

// Whole pixels: formatting fractions would bring the C library's floating-point printing in.
void Px(val element, const char* property, int pixels) {
    element["style"].set(property, std::to_string(pixels) + "px");
}

int Number(val element, const char* property) {
    return element[property].as<int>();
}

val Taskbar() {
    static val taskbar = Document().call<val>("getElementById", std::string("taskbar"));
    return taskbar;
}

val Desktop() {
    static val desktop = Document().call<val>("getElementById", std::string("desktop"));
    return desktop;
}

void Post(TEventKind kind, int window, int detail = 0) {
    g_events.push_back({kind, window, detail});
    JsWake();
}

TWindow* WindowOf(val node) {
    const bool element = !node.isNull() && !node.isUndefined() && node["nodeType"].as<int>() == 1;
    val window = element ? node.call<val>("closest", std::string("[data-window]")) : val::null();
    if (window.isNull())
        return nullptr;
    const auto id =
        static_cast<std::size_t>(std::stoi(window["dataset"]["window"].as<std::string>()));
    return id < g_windows.size() ? g_windows[id] : nullptr;
}

// The control of its window that the node is, or -1.
int ControlOf(const TWindow& window, val node) {
    for (std::size_t i = 0; i < window.Controls.size(); ++i)
        if (window.Controls[i].strictlyEquals(node))
            return static_cast<int>(i);
    return -1;
}

TControlKind KindOf(const TWindow& window, int control) {
    return window.Form.Layout().Controls[static_cast<std::size_t>(control)].Kind;
}

bool Shown(const TWindow* window) {
    return window != nullptr && !window->El["hidden"].as<bool>() && !window->Minimised;
}

// Entered other than by a click, a field has its whole text selected.
void Focus(TWindow& window, int control, bool select) {
    if (control < 0)
        return;
    val element = window.Controls[static_cast<std::size_t>(control)];
    val options = val::object();
    options.set("preventScroll", !select);
    element.call<void>("focus", options);
    if (select && KindOf(window, control) == TControlKind::Edit)
        element.call<void>("select");
}

int FirstOrLast(const TWindow& window) {
    return window.Last >= 0 ? window.Last : window.Tab.empty() ? -1 : window.Tab.front();
}

// The active window has the keyboard: its title lit, the focus where it was last.
void Activate(TWindow* window, bool giveFocus = true) {
    if (g_active != window) {
        for (TWindow* w : {g_active, window})
            if (w != nullptr) {
                w->El["classList"].call<void>("toggle", std::string("active"), w == window);
                Attribute(w->Task, "aria-pressed", w == window ? "true" : "false");
            }
        g_active = window;
    }
    if (window == nullptr)
        return;
    window->Z = ++g_topmost;
    window->El["style"].set("zIndex", window->Z);
    if (giveFocus)
        Focus(*window, FirstOrLast(*window), true);
}

void Blur(const TWindow& window) {
    val focused = Document()["activeElement"];
    if (window.El.call<bool>("contains", focused))
        focused.call<void>("blur");
}

// The window in front of those shown, once the active one has gone.
void ActivateFrontmost() {
    TWindow* front = nullptr;
    for (TWindow* w : g_windows)
        if (Shown(w) && (front == nullptr || w->Z > front->Z))
            front = w;
    Activate(front);
    if (front == nullptr)
        Document()["activeElement"].call<void>("blur");
}

void SetMinimised(TWindow& window, bool minimised) {
    window.Minimised = minimised;
    window.El["classList"].call<void>("toggle", std::string("minimised"), minimised);
    if (minimised && g_active == &window) {
        Blur(window);
        ActivateFrontmost();
    }
}

// The part of the page the windows stand on: what is scrolled into view, above the task bar.
struct TArea {
    int Left, Top, Width, Height;
};
TArea VisibleArea() {
    val view = Document()["documentElement"];
    return {Global("scrollX").as<int>(), Global("scrollY").as<int>(), Number(view, "clientWidth"),
            Number(view, "clientHeight") - Number(Taskbar(), "offsetHeight")};
}

// Centred on the visible part of the page, or over the main window, and kept on it.
void Place(TWindow& window) {
    const auto [left, top, width, height] = VisibleArea();
    const bool overMain = window.Form.Layout().Position == TPosition::OverMainForm &&
                          g_main != nullptr && g_main != &window && Shown(g_main);
    const int aroundLeft = overMain ? Number(g_main->El, "offsetLeft") : left;
    const int aroundTop = overMain ? Number(g_main->El, "offsetTop") : top;
    const int aroundWidth = overMain ? Number(g_main->El, "offsetWidth") : width;
    const int aroundHeight = overMain ? Number(g_main->El, "offsetHeight") : height;
    Px(window.El, "left",
       PlaceCentred(aroundLeft, aroundLeft + aroundWidth, Number(window.El, "offsetWidth"), left,
                    left + width));
    Px(window.El, "top",
       PlaceCentred(aroundTop, aroundTop + aroundHeight, Number(window.El, "offsetHeight"), top,
                    top + height));
}

// With the browser's own fonts a label may be wider than the room before its field: it is
// narrowed to fit rather than run into the field.
void FitLabels(TWindow& window) {
    const auto controls = window.Form.Layout().Controls;
    for (std::size_t i = 0; i + 1 < controls.size(); ++i) {
        if (controls[i].Kind != TControlKind::Label || controls[i + 1].Kind != TControlKind::Edit)
            continue;
        val label = window.Controls[i];
        const int room =
            Number(window.Controls[i + 1], "offsetLeft") - Number(label, "offsetLeft") - 3;
        const int width = Number(label, "offsetWidth");
        if (width > room)
            label["style"].set("fontSize", "calc(11px * " + std::to_string(room) + " / " +
                                               std::to_string(width) + ")");
    }
}

// The menu bar with its headings; the items wait until the program is idle, or a menu opens.
void MakeMenu(TWindow& window, std::span<const TMenuItemDesc> items) {
    val bar = Make("nav", "menubar", window.El);
    Attribute(bar, "role", "menubar");
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].Heading)
            continue;
        val heading = Make("button", "heading", bar);
        heading.set("type", std::string("button"));
        heading.set("tabIndex", -1);
        heading.set("textContent", std::string(items[i].Caption));
        Attribute(heading, "role", "menuitem");
        Attribute(heading, "aria-haspopup", "menu");
        Attribute(heading, "aria-expanded", "false");
        val list = Make("div", "menu", bar);
        Attribute(list, "role", "menu");
        Attribute(list, "aria-label", std::string(items[i].Caption));
        list.set("hidden", true);
        const int menu = static_cast<int>(window.Menus.size());
        window.Menus.push_back({heading, list, i + 1, {}});
        Listen(heading, "click", "onMenuHeading", window.Id, menu);
        Listen(heading, "pointerenter", "onMenuHover", window.Id, menu);
    }
}

void FillMenus(TWindow& window) {
    const auto items = window.Form.Layout().Menu;
    for (TMenu& menu : window.Menus) {
        if (!menu.Items.empty())
            continue; // built before
        for (std::size_t i = menu.First; i < items.size() && !items[i].Heading; ++i) {
            val button = Make("button", "item", menu.List);
            button.set("type", std::string("button"));
            button.set("tabIndex", -1);
            Attribute(button, "role", "menuitem");
            Make("span", "", button).set("textContent", std::string(items[i].Caption));
            if (items[i].FunctionKey > 0) {
                const std::string key = "F" + std::to_string(items[i].FunctionKey);
                Make("span", "key", button).set("textContent", key);
                Attribute(button, "aria-keyshortcuts", key);
            }
            menu.Items.push_back(button);
            Listen(button, "click", "onMenuItem", window.Id, static_cast<int>(i));
        }
    }
}

void CloseMenus(bool giveFocusBack = true) {
    if (g_openMenu < 0 || g_main == nullptr)
        return;
    TMenu menu = g_main->Menus[static_cast<std::size_t>(g_openMenu)];
    val focused = Document()["activeElement"];
    const bool had = menu.Heading["parentNode"].call<bool>("contains", focused);
    menu.List.set("hidden", true);
    Attribute(menu.Heading, "aria-expanded", "false");
    menu.Heading["classList"].call<void>("remove", std::string("open"));
    g_openMenu = -1;
    if (giveFocusBack && had && g_active != nullptr)
        Focus(*g_active, FirstOrLast(*g_active), false);
}

void OpenMenu(int at, bool focusItem = false) {
    FillMenus(*g_main);
    const int count = static_cast<int>(g_main->Menus.size());
    CloseMenus(false);
    g_openMenu = (at % count + count) % count;
    TMenu menu = g_main->Menus[static_cast<std::size_t>(g_openMenu)];
    menu.List.set("hidden", false);
    Attribute(menu.Heading, "aria-expanded", "true");
    menu.Heading["classList"].call<void>("add", std::string("open"));
    (focusItem ? menu.Items.front() : menu.Heading).call<void>("focus");
}

// The keys of an open menu: arrows walk it, Enter and Space choose, Esc leaves it.
bool MenuKey(const std::string& key) {
    std::vector<val> items = g_main->Menus[static_cast<std::size_t>(g_openMenu)].Items;
    val focused = Document()["activeElement"];
    const int count = static_cast<int>(items.size());
    int item = -1;
    for (int i = 0; i < count; ++i)
        if (items[static_cast<std::size_t>(i)].strictlyEquals(focused))
            item = i;
    const int step = key == "ArrowDown" ? 1 : -1;
    if (key == "ArrowRight" || key == "ArrowLeft")
        OpenMenu(g_openMenu + (key == "ArrowRight" ? 1 : -1), item >= 0);
    else if (key == "ArrowDown" || key == "ArrowUp")
        items[static_cast<std::size_t>(
                  (item < 0 ? (step > 0 ? 0 : count - 1) : item + step + count) % count)]
            .call<void>("focus");
    else if (key == "Enter" || key == " ")
        items[static_cast<std::size_t>(std::max(item, 0))].call<void>("click");
    else if (key == "Escape" || key == "Tab" || key == "F10")
        CloseMenus();
    else
        return false;
    return true;
}

// The help comes as Markdown: headings, lists, tables and bold, built as elements.
void Inline(const std::string& text, val parent) {
    std::size_t start = 0;
    for (bool bold = false; start <= text.size(); bold = !bold) {
        const std::size_t end = std::min(text.find("**", start), text.size());
        if (end > start)
            (bold ? Make("strong", "", parent) : parent)
                .call<void>("append", text.substr(start, end - start));
        start = end + 2;
    }
}

void Markdown(std::string_view text, val into) {
    into.call<void>("replaceChildren");
    val list = val::null(), table = val::null();
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string line(text.substr(start, end - start));
        start = end + 1;
        if (!line.starts_with("- "))
            list = val::null();
        if (!line.starts_with("|"))
            table = val::null();
        const std::size_t hashes = line.find_first_not_of('#');
        if (hashes > 0 && hashes != std::string::npos && line[hashes] == ' ') {
            Inline(line.substr(hashes + 1), Make(hashes == 2 ? "h2" : "h3", "", into));
        } else if (line.starts_with("- ")) {
            if (list.isNull())
                list = Make("ul", "", into);
            Inline(line.substr(2), Make("li", "", list));
        } else if (line.starts_with("|") && line.find_first_not_of("|-: ") != std::string::npos) {
            const char* cell = table.isNull() ? "th" : "td";
            if (table.isNull())
                table = Make("table", "", into);
            val row = Make("tr", "", table);
            for (std::size_t at = 1, bar; (bar = line.find('|', at)) != std::string::npos;
                 at = bar + 1)
                Inline(line.substr(at + 1, bar - at - 2), Make(cell, "", row));
        } else if (!line.empty() && !line.starts_with("|")) {
            Inline(line, Make("p", "", into));
        }
    }
}

void MakeTitle(TWindow& window, const TFormDesc& layout) {
    val title = Make("header", "title", window.El);
    val caption = Make("span", "caption", title);
    caption.set("id", "caption" + std::to_string(window.Id));
    caption.set("textContent", std::string(layout.Caption));
    val buttons = Make("span", "buttons", title);
    const struct {
        bool Wanted;
        const char* Name;
        const char* Label;
    } boxes[] = {{layout.HasMinimiseBox(), "minimise", "Свернуть"},
                 {layout.HasMaximiseBox(), "maximise", "Развернуть"},
                 {true, "close", "Закрыть"}};
    for (int i = 0; i < 3; ++i) {
        if (!boxes[i].Wanted)
            continue;
        val button = Make("button", boxes[i].Name, buttons);
        button.set("type", std::string("button"));
        button.set("tabIndex", -1);
        button.set("title", std::string(boxes[i].Label));
        Attribute(button, "aria-label", boxes[i].Label);
        Listen(button, "click", "onFrameButton", window.Id, i);
    }
    Listen(title, "pointerdown", "onTitlePress", window.Id, 0);
}

val MakeControl(TWindow& window, std::size_t index) {
    const TControlDesc& desc = window.Form.Layout().Controls[index];
    static const char* const tags[] = {"label", "input", "button", "div"};
    static const char* const classes[] = {"label", "edit", "button", "document"};
    static const char* const cursors[] = {"default", "text", "crosshair", "pointer"};
    const auto kind = static_cast<std::size_t>(desc.Kind);
    val element = Make(tags[kind], classes[kind], window.Client);
    const std::string name(desc.Name.View());
    element.set("id", "f" + std::to_string(window.Id) + "-" + name);
    element["dataset"].set("name", name);
    if (desc.Kind == TControlKind::Edit) {
        element.set("type", std::string("text"));
        element.set("value", std::string(desc.Text));
        element.set("maxLength", desc.MaxLength);
        element.set("autocomplete", std::string("off"));
        element.set("spellcheck", false);
        Attribute(element, "autocapitalize", "off");
        // A label directly before a field names it.
        if (index > 0 && window.Form.Layout().Controls[index - 1].Kind == TControlKind::Label)
            window.Controls[index - 1].set("htmlFor", element["id"]);
    } else if (desc.Kind == TControlKind::Document) {
        Attribute(element, "role", "document");
        Attribute(element, "aria-label", std::string(desc.Text));
    } else {
        element.set("textContent", std::string(desc.Text));
    }
    if (desc.Kind == TControlKind::Button) {
        element.set("type", std::string("button"));
        Listen(element, "click", "onControlClick", window.Id, static_cast<int>(index));
    }
    if (desc.Kind != TControlKind::Document) {
        Px(element, "left", desc.Left);
        Px(element, "top", desc.Top);
        if (desc.Width > 0)
            Px(element, "width", desc.Width);
        Px(element, "height", desc.Height);
    }
    element["style"].set("cursor", std::string(cursors[static_cast<std::size_t>(desc.Cursor)]));
    if (!desc.Hint.empty())
        element.set("title", std::string(desc.Hint));
    element.set("tabIndex", desc.TabIndex >= 0 ? 0 : -1);
    return element;
}

val g_boxCover = val::null(); // the open box, over the whole page

void CloseBox() {
    g_box.clear();
    g_boxCover.call<void>("remove");
    if (g_active != nullptr)
        Focus(*g_active, FirstOrLast(*g_active), true);
}

// A modal box with one button; every window waits until it is closed.
void ShowBox(std::string_view text, bool error) {
    val cover = Make("div", "modal", Document()["body"]);
    g_boxCover = cover;
    val box = Make("section", "window box active", cover);
    Attribute(box, "role", "alertdialog");
    Attribute(box, "aria-modal", "true");
    Attribute(box, "aria-labelledby", "box-caption");
    Attribute(box, "aria-describedby", "box-text");
    val caption = Make("span", "caption", Make("header", "title", box));
    caption.set("id", std::string("box-caption"));
    caption.set("textContent", std::string("Варкело"));
    val body = Make("div", "body", box);
    if (error)
        Attribute(Make("span", "error", body), "aria-hidden", "true");
    val message = Make("p", "message", body);
    message.set("id", std::string("box-text"));
    g_box = text.empty() ? " " : std::string(text);
    message.set("textContent", std::string(text));
    val ok = Make("button", "button", Make("div", "buttons", box));
    ok.set("type", std::string("button"));
    ok.set("textContent", std::string("ОК"));
    Listen(ok, "click", "onBoxOk");
    ok.call<void>("focus");
}

// Keys before any window sees them: the box's, the menu shortcuts from every window, an open
// menu's, Tab in the active window's own order, and the key preview of Enter and Esc.
void OnKeyDown(val event) {
    const std::string key = event["key"].as<std::string>();
    g_altAlone = key == "Alt";
    if (g_ended)
        return;
    const bool control = event["ctrlKey"].as<bool>(), alt = event["altKey"].as<bool>();
    const bool plain = !control && !alt && !event["metaKey"].as<bool>();
    const auto stop = [&] { event.call<void>("preventDefault"); };
    if (!g_box.empty()) {
        if (key == "Enter" || key == "Escape" || key == " ")
            CloseBox();
        if (!(control && event["code"].as<std::string>() == "KeyC")) // copied: see OnCopy
            stop();
        return;
    }
    if (plain && key.size() == 2 && key[0] == 'F' && key[1] >= '1' && key[1] <= '6') {
        stop();
        CloseMenus();
        if (g_main == nullptr)
            return;
        const auto menu = g_main->Form.Layout().Menu;
        for (std::size_t i = 0; i < menu.size(); ++i)
            if (menu[i].FunctionKey == key[1] - '0')
                Post(kMenu, g_main->Id, static_cast<int>(i));
        return;
    }
    if (g_openMenu >= 0) {
        if (MenuKey(key))
            stop();
        return;
    }
    if (key == "F10" && plain && g_active != nullptr && g_active == g_main &&
        !g_main->Menus.empty()) {
        stop();
        OpenMenu(0);
        return;
    }
    TWindow* window = g_active;
    if (window == nullptr)
        return;
    const int focused = ControlOf(*window, Document()["activeElement"]);
    if (key == "Tab" && !control && !alt && !window->Tab.empty()) {
        stop();
        const auto& tab = window->Tab;
        const auto at = std::find(tab.begin(), tab.end(), focused) - tab.begin();
        const bool back = event["shiftKey"].as<bool>();
        const auto count = static_cast<long>(tab.size());
        const long next = at == count ? 0 : (at + (back ? count - 1 : 1)) % count;
        Focus(*window, tab[static_cast<std::size_t>(next)], true);
    } else if ((key == "Enter" || key == "Escape") && plain) {
        stop();
        // A focused button takes Enter itself; the window does not see it.
        if (key == "Enter" && focused >= 0 && KindOf(*window, focused) == TControlKind::Button)
            Post(kClick, window->Id, focused);
        else
            Post(kKey, window->Id, key == "Enter" ? kKeyEnter : kKeyEscape);
    }
}

// Alt pressed and let go alone opens the menu bar, as on the desktop.
void OnKeyUp(val event) {
    if (event["key"].as<std::string>() == "Alt" && g_altAlone && g_box.empty() && !g_ended &&
        g_main != nullptr && g_active == g_main && !g_main->Menus.empty()) {
        event.call<void>("preventDefault");
        g_openMenu >= 0 ? CloseMenus() : OpenMenu(0);
    }
    g_altAlone = false;
}

// Where the focus goes, its window comes forward and remembers it.
void OnFocusIn(val event) {
    TWindow* window = WindowOf(event["target"]);
    if (window == nullptr || !g_box.empty())
        return;
    if (g_active != window)
        Activate(window, false);
    const int control = ControlOf(*window, event["target"]);
    if (control >= 0 &&
        window->Form.Layout().Controls[static_cast<std::size_t>(control)].TabIndex >= 0)
        window->Last = control;
}

// A press on a window brings it forward; on its empty part, the keyboard goes back where it
// was in that window. A press on the task bar leaves the focus where it is.
void OnPointerDown(val event) {
    val target = event["target"];
    if (g_openMenu >= 0 && target.call<val>("closest", std::string(".menubar")).isNull())
        CloseMenus(false);
    const bool onButton = !target.call<val>("closest", std::string("button")).isNull();
    if (!target.call<val>("closest", std::string("#taskbar")).isNull())
        event.call<void>("preventDefault");
    TWindow* window = WindowOf(target);
    if (window == nullptr || !g_box.empty() || g_ended)
        return;
    const int control = ControlOf(*window, target);
    const bool focusable =
        control >= 0 &&
        window->Form.Layout().Controls[static_cast<std::size_t>(control)].TabIndex >= 0;
    Activate(window, !focusable);
    if (control < 0 && !onButton)
        event.call<void>("preventDefault");
}

// Dragged by its title bar, with a mouse or a finger; kept where its title can be reached.
void OnTitlePress(int id, int, val event) {
    if (event["button"].as<int>() != 0 ||
        !event["target"].call<val>("closest", std::string("button")).isNull())
        return;
    val element = g_windows[static_cast<std::size_t>(id)]->El;
    g_dragged = id;
    g_dragX = Number(event, "pageX") - Number(element, "offsetLeft");
    g_dragY = Number(event, "pageY") - Number(element, "offsetTop");
    event["target"].call<void>("setPointerCapture", event["pointerId"]);
}

void OnPointerMove(val event) {
    if (g_dragged < 0 || g_windows[static_cast<std::size_t>(g_dragged)] == nullptr)
        return;
    val element = g_windows[static_cast<std::size_t>(g_dragged)]->El;
    Px(element, "left",
       std::max(40 - Number(element, "offsetWidth"), Number(event, "pageX") - g_dragX));
    Px(element, "top", std::max(0, Number(event, "pageY") - g_dragY));
}

void OnPointerUp(val) {
    g_dragged = -1;
}

// The page grown smaller (a phone turned, a browser window narrowed): every title bar is kept
// where it can be reached, a corner of it at least.
void OnResize(val) {
    const auto [left, top, width, height] = VisibleArea();
    const int right = left + width, bottom = top + height;
    for (TWindow* window : g_windows) {
        if (window == nullptr || !window->Placed)
            continue;
        const int width = Number(window->El, "offsetWidth");
        Px(window->El, "left",
           std::clamp(Number(window->El, "offsetLeft"), left + 40 - width,
                      std::max(left, right - 40)));
        Px(window->El, "top",
           std::clamp(Number(window->El, "offsetTop"), top, std::max(top, bottom - 20)));
    }
}

void OnControlClick(int id, int control, val) {
    Post(kClick, id, control);
}

void OnFrameButton(int id, int button, val) {
    TWindow& window = *g_windows[static_cast<std::size_t>(id)];
    if (button == 0)
        SetMinimised(window, !window.Minimised);
    else if (button == 1)
        window.El["classList"].call<void>("toggle", std::string("maximised"));
    else
        Post(kClose, id);
}

void OnTask(int id, int, val) {
    if (!g_box.empty())
        return;
    TWindow& window = *g_windows[static_cast<std::size_t>(id)];
    SetMinimised(window, false);
    Activate(&window);
}

void OnMenuHeading(int, int menu, val) {
    if (g_openMenu == menu)
        CloseMenus();
    else
        OpenMenu(menu);
}

void OnMenuHover(int, int menu, val) {
    if (g_openMenu >= 0 && g_openMenu != menu)
        OpenMenu(menu);
}

void OnMenuItem(int id, int item, val) {
    CloseMenus();
    Post(kMenu, id, item);
}

void OnBoxOk(val) {
    CloseBox();
}

// Ctrl+C in a box copies its text, as on the desktop.
void OnCopy(val event) {
    if (g_box.empty())
        return;
    event["clipboardData"].call<void>("setData", std::string("text/plain"), g_box);
    event.call<void>("preventDefault");
}

void OnPainted() {
    if (g_main != nullptr)
        Post(kPrepare, g_main->Id);
}

void OnRestart(val) {
    Global("location").call<void>("reload");
}

EMSCRIPTEN_BINDINGS(varkelo_page) {
    using emscripten::function;
    function("onKeyDown", &OnKeyDown);
    function("onKeyUp", &OnKeyUp);
    function("onFocusIn", &OnFocusIn);
    function("onPointerDown", &OnPointerDown);
    function("onPointerMove", &OnPointerMove);
    function("onPointerUp", &OnPointerUp);
    function("onResize", &OnResize);
    function("onTitlePress", &OnTitlePress);
    function("onControlClick", &OnControlClick);
    function("onFrameButton", &OnFrameButton);
    function("onTask", &OnTask);
    function("onMenuHeading", &OnMenuHeading);
    function("onMenuHover", &OnMenuHover);
    function("onMenuItem", &OnMenuItem);
    function("onBoxOk", &OnBoxOk);
    function("onCopy", &OnCopy);
    function("onPainted", &OnPainted);
    function("onRestart", &OnRestart);
}

} // namespace

namespace platform {

void Initialize() {
    val window = Global("window");
    Listen(window, "keydown", "onKeyDown", true);
    Listen(window, "keyup", "onKeyUp", true);
    Listen(window, "focusin", "onFocusIn");
    Listen(window, "pointerdown", "onPointerDown", true);
    Listen(window, "pointermove", "onPointerMove");
    Listen(window, "pointerup", "onPointerUp");
    Listen(window, "copy", "onCopy");
    Listen(window, "resize", "onResize");
    val taskbar = Make("nav", "", Document()["body"]);
    taskbar.set("id", std::string("taskbar"));
    Attribute(taskbar, "aria-label", "Окна программы");
}

TWindow* CreateFormWindow(TForm& form) {
    const TFormDesc& layout = form.Layout();
    auto* window = new TWindow(form, static_cast<int>(g_windows.size()));
    window->El = Make("section", "window", Desktop());
    g_windows.push_back(window);
    val el = window->El;
    el.set("hidden", true);
    el["dataset"].set("window", window->Id);
    el["dataset"].set("form", std::string(layout.Name));
    // An entry window is a dialog to a screen reader; the main window and the help, regions.
    const bool asks =
        std::any_of(layout.Controls.begin(), layout.Controls.end(),
                    [](const TControlDesc& c) { return c.Kind == TControlKind::Edit; });
    Attribute(el, "role", asks ? "dialog" : "region");
    Attribute(el, "aria-labelledby", "caption" + std::to_string(window->Id));
    if (layout.Border == TBorder::Sizeable)
        el["classList"].call<void>("add", std::string("sizeable"));
    MakeTitle(*window, layout);
    if (!layout.Menu.empty())
        MakeMenu(*window, layout.Menu);
    window->Client = Make("div", "client", el);
    Px(layout.OuterSize ? el : window->Client, "width", layout.Width);
    Px(layout.OuterSize ? el : window->Client, "height", layout.Height);
    for (std::size_t i = 0; i < layout.Controls.size(); ++i) {
        window->Controls.push_back(MakeControl(*window, i));
        if (layout.Controls[i].TabIndex >= 0)
            window->Tab.push_back(static_cast<int>(i));
    }
    std::sort(window->Tab.begin(), window->Tab.end(), [&](int a, int b) {
        return layout.Controls[static_cast<std::size_t>(a)].TabIndex <
               layout.Controls[static_cast<std::size_t>(b)].TabIndex;
    });
    window->Task = Make("button", "task", Taskbar());
    window->Task.set("type", std::string("button"));
    window->Task.set("hidden", true);
    window->Task.set("tabIndex", -1);
    window->Task.set("textContent", std::string(layout.Caption));
    Listen(window->Task, "click", "onTask", window->Id, 0);
    if (g_main == nullptr)
        g_main = window;
    return window;
}

void DestroyWindow(TWindow* window) {
    if (window == nullptr)
        return;
    if (g_active == window)
        Activate(nullptr);
    if (g_main == window)
        g_main = nullptr;
    window->El.call<void>("remove");
    window->Task.call<void>("remove");
    g_windows[static_cast<std::size_t>(window->Id)] = nullptr;
    delete window;
}

// The program has ended: its windows are gone, and the page says so.
void Finalize() {
    g_windows.clear();
    g_ended = true;
    Taskbar().call<void>("remove");
    val note = Make("div", "ended", Desktop());
    Attribute(note, "role", "status");
    Make("p", "", note).set("textContent", std::string("Программа завершена."));
    val again = Make("button", "button", note);
    again.set("type", std::string("button"));
    again.set("textContent", std::string("Запустить снова"));
    Listen(again, "click", "onRestart");
    again.call<void>("focus");
}

void Run(const std::function<void()>& prepare) {
    g_terminated = false;
    if (g_main != nullptr) {
        Show(*g_main);
        JsAfterPaint();
    }
    while (!g_terminated) {
        if (g_events.empty())
            JsWait();
        if (g_events.empty())
            continue;
        const TEvent event = g_events.front();
        g_events.pop_front();
        TWindow* window = static_cast<std::size_t>(event.Window) < g_windows.size()
                              ? g_windows[static_cast<std::size_t>(event.Window)]
                              : nullptr;
        if (window == nullptr) // gone since
            continue;
        const auto detail = static_cast<std::size_t>(event.Detail);
        THandler handler = nullptr;
        switch (event.Kind) {
        case kPrepare:
            FillMenus(*window);
            prepare();
            break;
        case kKey:
            DispatchKey(window->Form, event.Detail);
            break;
        case kClose:
            FrameClosed(window->Form);
            break;
        case kClick:
            handler = window->Form.Layout().Controls[detail].OnClick;
            break;
        case kMenu:
            handler = window->Form.Layout().Menu[detail].OnClick;
            break;
        }
        if (handler != nullptr)
            Dispatch(window->Form, handler);
    }
}

void Terminate() {
    g_terminated = true;
}

void ShowMessage(std::string_view text) {
    ShowBox(text, false);
}

void ShowError(std::string_view text) {
    ShowBox(text, true);
}

void Show(TWindow& window) {
    window.El.set("hidden", false);
    window.Task.set("hidden", false);
    SetMinimised(window, false);
    if (!window.Placed) {
        window.Placed = true;
        FitLabels(window);
        Place(window);
    }
    Activate(&window);
}

void Hide(TWindow& window) {
    Blur(window);
    window.El.set("hidden", true);
    window.Task.set("hidden", true);
    if (g_active == &window)
        ActivateFrontmost();
}

std::string GetText(const TWindow& window, std::string_view control) {
    const auto controls = window.Form.Layout().Controls;
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].Name.View() == control && controls[i].Kind == TControlKind::Edit)
            return window.Controls[i]["value"].as<std::string>();
    return {};
}

void SetText(TWindow& window, std::string_view control, std::string_view text) {
    const auto controls = window.Form.Layout().Controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        if (controls[i].Name.View() != control)
            continue;
        if (controls[i].Kind == TControlKind::Edit)
            window.Controls[i].set("value", std::string(text));
        else if (controls[i].Kind == TControlKind::Document)
            Markdown(text, window.Controls[i]);
    }
}

void FocusControl(TWindow& window, std::string_view control) {
    const auto controls = window.Form.Layout().Controls;
    for (std::size_t i = 0; i < controls.size(); ++i)
        if (controls[i].Name.View() == control) {
            window.Last = static_cast<int>(i);
            Focus(window, window.Last, true);
        }
}

} // namespace platform

} // namespace varkelo
