#include "DesktopInput.h"

#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

// Last: Xlib's macros (None, Bool, Status) would break the headers above.
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

extern char** environ;

namespace uitest::desktop {

namespace {

enum class TDesktop { Qt, X11, Sway };

TDesktop Desktop() {
    static const TDesktop desktop = [] {
        const char* chosen = std::getenv("VARKELO_TEST_INPUT");
        const std::string name = chosen ? chosen : "";
        return name == "x11" ? TDesktop::X11 : name == "sway" ? TDesktop::Sway : TDesktop::Qt;
    }();
    return desktop;
}

// Runs a tool to its end; a failure is the test's when it says so.
void Run(const std::vector<std::string>& command, bool mustSucceed = true) {
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);
    // What the tool prints (swaymsg's answers) is of no interest.
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&quiet, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    int status = -1;
    if (posix_spawnp(&child, argv[0], &quiet, nullptr, argv.data(), environ) == 0)
        waitpid(child, &status, 0);
    posix_spawn_file_actions_destroy(&quiet);
    if (status != 0 && mustSucceed) {
        std::string line;
        for (const std::string& word : command)
            line += word + " ";
        ADD_FAILURE() << line << "failed (" << status << ")";
    }
}

std::string Utf8(char32_t c) {
    std::string text;
    if (c < 0x80) {
        text += char(c);
    } else if (c < 0x800) {
        text += char(0xC0 | (c >> 6));
        text += char(0x80 | (c & 0x3F));
    } else {
        text += char(0xE0 | (c >> 12));
        text += char(0x80 | ((c >> 6) & 0x3F));
        text += char(0x80 | (c & 0x3F));
    }
    return text;
}

// The X server's test keyboard and the window manager, over a connection of the tests' own.
class TX11 {
public:
    TX11() : m_display(XOpenDisplay(nullptr)) {
        if (m_display == nullptr)
            return;
        // A keycode with no symbols, lent to characters the keyboard map lacks.
        int first = 0, last = 0, perCode = 0;
        XDisplayKeycodes(m_display, &first, &last);
        KeySym* map = XGetKeyboardMapping(m_display, KeyCode(first), last - first + 1, &perCode);
        for (int code = last; code >= first && m_spare == 0; --code) {
            bool empty = true;
            for (int i = 0; i < perCode; ++i)
                empty = empty && map[(code - first) * perCode + i] == NoSymbol;
            if (empty)
                m_spare = KeyCode(code);
        }
        XFree(map);
    }
    ~TX11() {
        if (m_display != nullptr)
            XCloseDisplay(m_display);
    }
    TX11(const TX11&) = delete;
    TX11& operator=(const TX11&) = delete;

    int Stroke(KeySym symbol, KeySym modifier = NoSymbol) {
        if (!Ready())
            return 0;
        KeyCode code = XKeysymToKeycode(m_display, symbol);
        if (code != 0 && XkbKeycodeToKeysym(m_display, code, 0, 0) != symbol) {
            if (modifier == NoSymbol && XkbKeycodeToKeysym(m_display, code, 0, 1) == symbol)
                modifier = XK_Shift_L;
            else
                code = 0;
        }
        if (code == 0) {
            KeySym both[] = {symbol, symbol};
            XChangeKeyboardMapping(m_display, m_spare, 2, both, 1);
            XSync(m_display, False);
            code = m_spare;
        }
        const KeyCode held = modifier == NoSymbol ? 0 : XKeysymToKeycode(m_display, modifier);
        if (held != 0)
            XTestFakeKeyEvent(m_display, held, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, True, CurrentTime);
        XTestFakeKeyEvent(m_display, code, False, CurrentTime);
        if (held != 0)
            XTestFakeKeyEvent(m_display, held, False, CurrentTime);
        XSync(m_display, False);
        return held != 0 ? 2 : 1;
    }

    // An EWMH request to the window manager about a window, from a pager (source 2).
    void Ask(const char* request, std::uint64_t window) {
        if (!Ready())
            return;
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = Window(window);
        event.xclient.message_type = XInternAtom(m_display, request, False);
        event.xclient.format = 32;
        const bool close = std::string_view(request) == "_NET_CLOSE_WINDOW";
        event.xclient.data.l[0] = close ? CurrentTime : 2;
        event.xclient.data.l[1] = close ? 2 : CurrentTime;
        XSendEvent(m_display, DefaultRootWindow(m_display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &event);
        XSync(m_display, False);
    }

    // A window named by a property of the root window; 0 when there is none.
    std::uint64_t RootWindowProperty(const char* name) {
        if (m_display == nullptr)
            return 0;
        Atom type = 0;
        int format = 0;
        unsigned long count = 0, left = 0;
        unsigned char* data = nullptr;
        std::uint64_t window = 0;
        if (XGetWindowProperty(m_display, DefaultRootWindow(m_display),
                               XInternAtom(m_display, name, False), 0, 1, False, XA_WINDOW, &type,
                               &format, &count, &left, &data) == Success &&
            data != nullptr) {
            if (count == 1)
                window = *reinterpret_cast<unsigned long*>(data);
            XFree(data);
        }
        return window;
    }

    // The window manager answers a request for the frame of a window of ours that it does not
    // manage, in turn with everything else sent to it.
    void SyncWindowManager() {
        if (m_display == nullptr)
            return;
        const Atom extents = XInternAtom(m_display, "_NET_FRAME_EXTENTS", False);
        if (m_probe == 0) {
            m_probe =
                XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 1, 1, 0, 0, 0);
            XSelectInput(m_display, m_probe, PropertyChangeMask);
        }
        XDeleteProperty(m_display, m_probe, extents);
        XEvent request{};
        request.xclient.type = ClientMessage;
        request.xclient.window = m_probe;
        request.xclient.message_type = XInternAtom(m_display, "_NET_REQUEST_FRAME_EXTENTS", False);
        request.xclient.format = 32;
        XSendEvent(m_display, DefaultRootWindow(m_display), False,
                   SubstructureRedirectMask | SubstructureNotifyMask, &request);
        XSync(m_display, False);
        for (int i = 0; i < 1000; ++i) {
            while (XPending(m_display) > 0) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (event.type == PropertyNotify && event.xproperty.atom == extents &&
                    event.xproperty.state == PropertyNewValue)
                    return;
            }
            usleep(1000);
        }
    }

    std::uint64_t Focus() {
        Window focus = 0;
        int revert = 0;
        if (m_display != nullptr)
            XGetInputFocus(m_display, &focus, &revert);
        return focus;
    }

private:
    bool Ready() {
        if (m_display == nullptr || m_spare == 0)
            ADD_FAILURE() << "no X display with a free keycode for the test keyboard";
        return m_display != nullptr && m_spare != 0;
    }

    Display* m_display;
    KeyCode m_spare = 0;
    Window m_probe = 0;
};

TX11& X11() {
    static TX11 x11; // the X server outlives every run of the program
    return x11;
}

// Keys by X keysym and by wtype's name, with the modifier held.
struct TStroke {
    KeySym Symbol;
    const char* Name;
    KeySym Modifier;
};
const TStroke kStrokes[] = {
    {XK_F1, "F1", NoSymbol},
    {XK_F2, "F2", NoSymbol},
    {XK_F3, "F3", NoSymbol},
    {XK_F4, "F4", NoSymbol},
    {XK_F5, "F5", NoSymbol},
    {XK_F6, "F6", NoSymbol},
    {XK_Return, "Return", NoSymbol},
    {XK_KP_Enter, "KP_Enter", NoSymbol},
    {XK_Escape, "Escape", NoSymbol},
    {XK_space, "space", NoSymbol},
    {XK_Tab, "Tab", NoSymbol},
    {XK_Tab, "Tab", XK_Shift_L},
    {XK_BackSpace, "BackSpace", NoSymbol},
    {XK_c, "c", XK_Control_L},
    {XK_v, "v", XK_Control_L},
};

} // namespace

bool Chosen() {
    return Desktop() != TDesktop::Qt;
}

int Press(TKey key) {
    const TStroke& stroke = kStrokes[int(key)];
    if (Desktop() == TDesktop::X11)
        return X11().Stroke(stroke.Symbol, stroke.Modifier);
    if (stroke.Modifier == NoSymbol) {
        Run({"wtype", "-k", stroke.Name});
        return 1;
    }
    const char* modifier = stroke.Modifier == XK_Shift_L ? "shift" : "ctrl";
    Run({"wtype", "-M", modifier, "-k", stroke.Name, "-m", modifier});
    return 2;
}

int Type(char32_t character) {
    if (Desktop() == TDesktop::X11)
        return X11().Stroke(character >= 0x20 && character < 0x100 ? character
                                                                   : 0x1000000 | character);
    Run({"wtype", "--", Utf8(character)});
    return 1;
}

bool WindowManager() {
    return X11().RootWindowProperty("_NET_SUPPORTING_WM_CHECK") != 0;
}

void SyncWindowManager() {
    if (Desktop() == TDesktop::X11)
        X11().SyncWindowManager();
}

std::uint64_t FocusWindow() {
    return Desktop() == TDesktop::X11 ? X11().Focus() : 0;
}

void Activate(std::string_view caption, std::uint64_t window) {
    if (Desktop() == TDesktop::X11)
        X11().Ask("_NET_ACTIVE_WINDOW", window);
    else
        Run({"swaymsg", "[title=\"^" + std::string(caption) + "$\"] focus"}, false);
}

void Close(std::uint64_t window) {
    if (Desktop() == TDesktop::X11)
        X11().Ask("_NET_CLOSE_WINDOW", window);
    else
        Run({"swaymsg", "kill"}, false); // the focused window, which is the active one
}

} // namespace uitest::desktop
