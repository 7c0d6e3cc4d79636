// The program's windows on a web page. The page's side, app/web/windows.js, builds each window
// in the DOM from the description handed to it here and turns what the user does into events;
// this side runs the program's loop over those events. The calls that block on the desktop
// (Run, the boxes) wait on the page's promises through Emscripten's Asyncify: the program's own
// code stays as it is, and only the few frames between the loop and a box are ever suspended.

#include "Platform.h"

#include <emscripten.h>

#include <cstdlib>
#include <vector>

namespace varkelo {

struct TWindow {
    TForm& Form;
    int Id;
};

namespace {

// What the page tells the loop, packed as kind << 24 | form << 16 | detail.
enum TEventKind { kClick = 1, kKey, kClose, kMenu, kPrepare };

std::vector<TWindow*> g_windows; // by id; null once gone
bool g_terminated = false;

// clang-format off
EM_JS(void, JsInitialize, (), { Varkelo.initialize(); });
EM_JS(void, JsCreateForm, (int id, const char* name, const char* caption, int border,
                           int minimise, int maximise, int width, int height, int outer,
                           int overMain, const char* role), {
    Varkelo.createForm(id, UTF8ToString(name), UTF8ToString(caption), border, minimise,
                       maximise, width, height, outer, overMain, UTF8ToString(role));
});
EM_JS(void, JsAddControl, (int form, int index, int kind, const char* name, const char* text,
                           int left, int top, int width, int height, int cursor,
                           const char* hint, int maxLength, int tabIndex), {
    Varkelo.addControl(form, index, kind, UTF8ToString(name), UTF8ToString(text), left, top,
                       width, height, cursor, UTF8ToString(hint), maxLength, tabIndex);
});
EM_JS(void, JsAddMenuItem, (int form, int index, const char* caption, int heading, int key), {
    Varkelo.addMenuItem(form, index, UTF8ToString(caption), heading, key);
});
EM_JS(void, JsDestroy, (int id), { Varkelo.destroy(id); });
EM_JS(void, JsEnd, (), { Varkelo.end(); });
EM_JS(void, JsRun, (int id), { Varkelo.run(id); });
EM_JS(void, JsShow, (int id), { Varkelo.show(id); });
EM_JS(void, JsHide, (int id), { Varkelo.hide(id); });
EM_JS(char*, JsText, (int id, const char* name), {
    const text = Varkelo.text(id, UTF8ToString(name));
    const size = lengthBytesUTF8(text) + 1;
    const copy = _malloc(size);
    stringToUTF8(text, copy, size);
    return copy;
});
EM_JS(void, JsSetText, (int id, const char* name, const char* text), {
    Varkelo.setText(id, UTF8ToString(name), UTF8ToString(text));
});
EM_JS(void, JsFocus, (int id, const char* name), { Varkelo.focusControl(id, UTF8ToString(name)); });
EM_ASYNC_JS(int, JsNextEvent, (), { return await Varkelo.nextEvent(); });
EM_ASYNC_JS(void, JsShowBox, (const char* text, int error), {
    await Varkelo.showBox(UTF8ToString(text), error);
});
// clang-format on

// Descriptions hold views into the program's constant texts; the page wants them ended.
std::string Text(std::string_view text) {
    return std::string(text);
}

TWindow* WindowOf(int id) {
    return id >= 0 && static_cast<std::size_t>(id) < g_windows.size() ? g_windows[id] : nullptr;
}

// The role a screen reader announces a window with: an entry window is a dialog; the main
// window and the help, a region named by its caption.
const char* RoleOf(const TFormDesc& layout) {
    for (const TControlDesc& control : layout.Controls)
        if (control.Kind == TControlKind::Edit)
            return "dialog";
    return "region";
}

} // namespace

namespace platform {

void Initialize() {
    JsInitialize();
}

TWindow* CreateFormWindow(TForm& form) {
    const TFormDesc& layout = form.Layout();
    const int id = static_cast<int>(g_windows.size());
    JsCreateForm(id, Text(layout.Name).c_str(), Text(layout.Caption).c_str(),
                 static_cast<int>(layout.Border), layout.MinimiseButton, layout.MaximiseButton,
                 layout.Width, layout.Height, layout.OuterSize,
                 layout.Position == TPosition::OverMainForm, RoleOf(layout));
    for (std::size_t i = 0; i < layout.Menu.size(); ++i) {
        const TMenuItemDesc& item = layout.Menu[i];
        JsAddMenuItem(id, static_cast<int>(i), Text(item.Caption).c_str(), item.Heading,
                      item.FunctionKey);
    }
    for (std::size_t i = 0; i < layout.Controls.size(); ++i) {
        const TControlDesc& c = layout.Controls[i];
        JsAddControl(id, static_cast<int>(i), static_cast<int>(c.Kind), Text(c.Name.View()).c_str(),
                     Text(c.Text).c_str(), c.Left, c.Top, c.Width, c.Height,
                     static_cast<int>(c.Cursor), Text(c.Hint).c_str(), c.MaxLength, c.TabIndex);
    }
    g_windows.push_back(new TWindow{form, id});
    return g_windows.back();
}

void DestroyWindow(TWindow* window) {
    if (window == nullptr)
        return;
    JsDestroy(window->Id);
    g_windows[static_cast<std::size_t>(window->Id)] = nullptr;
    delete window;
}

void Finalize() {
    g_windows.clear();
    JsEnd();
}

void Run(const std::function<void()>& prepare) {
    g_terminated = false;
    if (Application->MainForm() != nullptr)
        JsRun(Application->MainForm()->Window().Id);
    while (!g_terminated) {
        const int event = JsNextEvent();
        const int kind = event >> 24, detail = event & 0xFFFF;
        TWindow* window = WindowOf((event >> 16) & 0xFF);
        if (kind == kPrepare) {
            prepare();
        } else if (window == nullptr) {
            continue; // gone since
        } else if (kind == kKey) {
            DispatchKey(window->Form, detail);
        } else if (kind == kClose) {
            FrameClosed(window->Form);
        } else if (THandler handler = kind == kClick
                                          ? window->Form.Layout().Controls[detail].OnClick
                                          : window->Form.Layout().Menu[detail].OnClick) {
            Dispatch(window->Form, handler);
        }
    }
}

void Terminate() {
    g_terminated = true;
}

void ShowMessage(std::string_view text) {
    JsShowBox(Text(text).c_str(), 0);
}

void ShowError(std::string_view text) {
    JsShowBox(Text(text).c_str(), 1);
}

void Show(TWindow& window) {
    JsShow(window.Id);
}

void Hide(TWindow& window) {
    JsHide(window.Id);
}

std::string GetText(const TWindow& window, std::string_view control) {
    char* text = JsText(window.Id, Text(control).c_str());
    std::string copy(text);
    std::free(text);
    return copy;
}

void SetText(TWindow& window, std::string_view control, std::string_view text) {
    JsSetText(window.Id, Text(control).c_str(), Text(text).c_str());
}

void FocusControl(TWindow& window, std::string_view control) {
    JsFocus(window.Id, Text(control).c_str());
}

} // namespace platform

} // namespace varkelo
