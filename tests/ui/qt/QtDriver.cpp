// The window tests' driver over Qt: every step runs on the program's thread, through Qt's
// event queue, and input goes in as a key or click from the platform does; under a window
// manager or a compositor, keys come from the desktop's own keyboard (DesktopInput.h).

#include "QtDriver.h"

#include "../Driver.h"
#include "DesktopInput.h"
#include "Fishingunit.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTextBrowser>
#include <QThread>
#include <QWindow>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

namespace uitest {

namespace {

using namespace std::chrono_literals;

// Whether Qt's application object is up, and its event loop turning; guarded so that nothing
// is posted to an application that is going.
std::mutex g_qtMutex;
std::condition_variable g_loopStarted;
bool g_qtUp = false;
bool g_looping = false;

// A step run on the program's thread for the tests' thread, which waits until it is done, or
// parked in a modal box's event loop that it opened, or dropped unrun as the program ends.
struct TStep {
    enum TState { Queued, Parked, Done, Dropped };
    void Set(TState state) {
        std::lock_guard lock(Mutex);
        if (State != Done)
            State = state;
        Changed.notify_all();
    }
    std::mutex Mutex;
    std::condition_variable Changed;
    TState State = Queued;
    int LoopLevel = 0; // of the loop that ran it: a loop deeper than that is the box's
};
std::vector<std::shared_ptr<TStep>> g_running; // the program's thread only; innermost last

// Keys released in the program's windows: input from the desktop has come in once this has
// counted its keys. On X11 counted as they arrive, before Qt drops those that come to a window
// a modal box blocks; elsewhere as Qt delivers them.
std::atomic<int> g_keysReleased = 0;

const char* const kOnScreen = "varkeloTestOnScreen";

class TKeyCounter : public QObject, public QAbstractNativeEventFilter {
public:
    using QObject::QObject;
    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override {
        constexpr std::uint8_t kXKeyRelease = 3;
        if (type == "xcb_generic_event_t" &&
            (*static_cast<const std::uint8_t*>(message) & 0x7F) == kXKeyRelease)
            ++g_keysReleased;
        return false;
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!watched->isWindowType())
            return false;
        if (event->type() == QEvent::KeyRelease && !m_x11)
            ++g_keysReleased;
        // Whether a window is on the screen: from its first exposure to its hiding, even while
        // other windows cover it.
        if (event->type() == QEvent::Expose && static_cast<QWindow*>(watched)->isExposed())
            watched->setProperty(kOnScreen, true);
        if (event->type() == QEvent::Hide)
            watched->setProperty(kOnScreen, false);
        return false;
    }

private:
    const bool m_x11 = QGuiApplication::platformName() == QLatin1String("xcb");
};

const bool g_hooked = [] {
    qAddPreRoutine([] {
        std::lock_guard lock(g_qtMutex);
        g_qtUp = true;
        qAddPostRoutine([] {
            std::lock_guard lock(g_qtMutex);
            g_qtUp = g_looping = false;
        });
        QMetaObject::invokeMethod(
            qApp,
            [] {
                auto* counter = new TKeyCounter(qApp);
                qApp->installEventFilter(counter);
                qApp->installNativeEventFilter(counter);
                // A step that waits on in a modal box's loop has done its part.
                QObject::connect(QAbstractEventDispatcher::instance(),
                                 &QAbstractEventDispatcher::aboutToBlock, qApp, [] {
                                     const int level = QThread::currentThread()->loopLevel();
                                     for (const auto& step : g_running)
                                         if (level > step->LoopLevel)
                                             step->Set(TStep::Parked);
                                 });
                std::lock_guard lock(g_qtMutex);
                g_looping = true;
                g_loopStarted.notify_all();
            },
            Qt::QueuedConnection);
    });
    return true;
}();

// Queues a step without waiting for it: one that opens a modal box returns when it closes.
bool Post(std::function<void()> step) {
    std::lock_guard lock(g_qtMutex);
    return g_qtUp && QMetaObject::invokeMethod(qApp, std::move(step), Qt::QueuedConnection);
}

template <class T> T Read(const std::function<T()>& read) {
    T value{};
    OnGui([&] { value = read(); });
    return value;
}

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// A minimised window is not active to its user, whatever Qt's focus says.
QWidget* ActiveWindow() {
    QWidget* window = QApplication::activeWindow();
    return window != nullptr && window->isVisible() && !window->isMinimized() ? window : nullptr;
}

template <class Control> Control* Find(std::string_view name) {
    QWidget* window = ActiveWindow();
    return window ? window->findChild<Control*>(FromUtf8(name)) : nullptr;
}

// A key goes to the modal box if one is open, else to the active window.
QWindow* KeyTarget() {
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal->windowHandle() : QGuiApplication::focusWindow();
}

// Every window shown is on the screen, and the keyboard, if a window has it, is there for the
// display server as for Qt; before typing, a user waits for a window to have it too.
bool Quiet(bool typing) {
    return Read<bool>([typing] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && !window->isMinimized() &&
                !window->windowHandle()->property(kOnScreen).toBool())
                return false;
        const QWindow* target = KeyTarget();
        if (target == nullptr)
            return !typing;
        const auto focus = desktop::FocusWindow();
        return focus == 0 || focus == target->winId();
    });
}

// Lets the program finish what a step began: a box it opened is up, and the window system's
// answers (mapping, focus, keys from the desktop) are in; twice, as a window mapped in the
// first round asks for the focus, granted in the second.
void Pump() {
    for (int round = 0; round < 2; ++round)
        OnGui([] {
            QGuiApplication::sync();
            QCoreApplication::processEvents();
        });
    OnGui([] {});
}

// Windows are mapped, and a window shown asks for the focus once mapped, in the display
// server's time: until all is quiet, a moment at most.
void WaitQuiet(bool typing = false) {
    for (int i = 0; i < 100 && !Quiet(typing); ++i) {
        std::this_thread::sleep_for(10ms);
        Pump();
    }
}

} // namespace

// A window manager is one round trip further: it has acted on the program's requests once it
// answers one of the driver's.
void Settle() {
    Pump();
    if (!desktop::Chosen()) {
        // A window shown asks for the keyboard once it is mapped: until every window shown
        // is, a moment at most; then a round for what it asked.
        const auto mapped = [] {
            bool all = true;
            const bool running = OnGui([&all] {
                const auto windows = QApplication::topLevelWidgets();
                all = std::all_of(windows.begin(), windows.end(), [](const QWidget* window) {
                    return !window->isVisible() || window->isMinimized() ||
                           window->windowHandle()->isExposed();
                });
            });
            return all || !running; // an ended program has nothing left to map
        };
        if (mapped())
            return;
        for (int i = 0; i < 100 && !mapped(); ++i) {
            std::this_thread::sleep_for(10ms);
            Pump();
        }
        Pump();
        return;
    }
    desktop::SyncWindowManager();
    Pump();
    WaitQuiet();
    Pump(); // what the last window mapped asked for
}

namespace {

// From the desktop's keyboard, or synthesized into the window that has Qt's focus; as a user
// waits for a window to take the keyboard before typing, so does the driver, a moment.
void Input(const std::function<int()>& desktop, const std::function<void(QWindow*)>& step) {
    if (!desktop::Chosen()) {
        // The focus may still move between the look and the key (a window losing it to none
        // of ours is told so a moment later): then the key waits and goes again.
        auto sent = std::make_shared<std::atomic<bool>>(false);
        for (int i = 0; i < 100 && !*sent; ++i) {
            if (i > 0)
                std::this_thread::sleep_for(10ms);
            if (!Read<bool>([] { return KeyTarget() != nullptr; })) {
                Pump();
                continue;
            }
            if (!Post([step, sent] {
                    if (QWindow* target = KeyTarget()) {
                        *sent = true; // before the key: it may open a box that waits
                        step(target);
                    }
                }))
                return;
            Settle();
        }
        return;
    }
    WaitQuiet(true);
    // Keys from the desktop come to the program through the display server, in their time.
    const int released = g_keysReleased + desktop();
    const auto pump = [] {
        QGuiApplication::sync();
        QCoreApplication::processEvents();
    };
    for (int i = 0; i < 1000 && OnGui(pump) && g_keysReleased < released; ++i)
        std::this_thread::sleep_for(1ms);
    Settle();
}

QWidget* Visible(const QString& caption) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible() && window->windowTitle() == caption &&
            !qobject_cast<QMessageBox*>(window))
            return window;
    return nullptr;
}

} // namespace

const bool kBoxesCopy = true;

bool OnGui(const std::function<void()>& step) {
    auto state = std::make_shared<TStep>();
    // Whatever becomes of the queued step, the last copy of this marks it dropped unless done.
    std::shared_ptr<void> dropped(nullptr, [state](void*) { state->Set(TStep::Dropped); });
    if (!Post([step, state, dropped] {
            state->LoopLevel = QThread::currentThread()->loopLevel();
            g_running.push_back(state);
            step();
            g_running.pop_back();
            state->Set(TStep::Done);
        }))
        return false;
    dropped.reset();
    std::unique_lock lock(state->Mutex);
    if (!state->Changed.wait_for(lock, 20s, [&] { return state->State != TStep::Queued; })) {
        ADD_FAILURE() << "the program did not answer for 20 s";
        std::abort(); // its thread is stuck: nothing more can be tested
    }
    return state->State != TStep::Dropped;
}

bool WaitStarted() {
    std::unique_lock lock(g_qtMutex);
    return g_loopStarted.wait_for(lock, 20s, [] { return g_looping; });
}

void EndRun() {
    Post([] { QCoreApplication::exit(0); });
}

// Under a window manager, as a taskbar asks it; else straight to Qt.
void RequestActivation(std::string_view caption) {
    if (desktop::Chosen()) {
        const WId id = Read<WId>([title = FromUtf8(caption)] {
            QWidget* window = Visible(title);
            return window ? window->winId() : WId();
        });
        if (id != 0)
            desktop::Activate(caption, id);
        return;
    }
    OnGui([title = FromUtf8(caption)] {
        if (QWidget* window = Visible(title))
            window->activateWindow();
    });
}

void TProgram::Press(TKey key) {
    // clang-format off
    static const std::pair<Qt::Key, Qt::KeyboardModifiers> strokes[] = {
        {Qt::Key_F1, {}}, {Qt::Key_F2, {}}, {Qt::Key_F3, {}}, {Qt::Key_F4, {}}, {Qt::Key_F5, {}},
        {Qt::Key_F6, {}}, {Qt::Key_Return, {}}, {Qt::Key_Enter, Qt::KeypadModifier},
        {Qt::Key_Escape, {}}, {Qt::Key_Space, {}}, {Qt::Key_Tab, {}},
        {Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_Backspace, {}},
        {Qt::Key_C, Qt::ControlModifier}, {Qt::Key_V, Qt::ControlModifier}};
    // clang-format on
    const auto stroke = strokes[int(key)];
    Input([key] { return desktop::Press(key); },
          [stroke](QWindow* target) { QTest::keyClick(target, stroke.first, stroke.second); });
}

void TProgram::Type(std::string_view text) {
    for (const QChar c : FromUtf8(text)) // each handled before the next, as from a keyboard
        Input([c] { return desktop::Type(c.unicode()); },
              [c](QWindow* target) {
                  if (c.unicode() >= 0x20 && c.unicode() < 0x7F)
                      QTest::keyClick(target, char(c.unicode()));
                  else // as an input method delivers it
                      QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), {});
              });
}

void TProgram::Click(std::string_view control) {
    ASSERT_TRUE(Read<bool>([&] { return Find<QAbstractButton>(control) != nullptr; }))
        << "no button " << control << " in the active window";
    const QString name = FromUtf8(control);
    if (Post([name] {
            // Another window may have come up meanwhile.
            if (auto* button = Find<QAbstractButton>(name.toStdString()))
                QTest::mouseClick(button, Qt::LeftButton);
        }))
        Settle();
}

void TProgram::CloseWindow() {
    if (desktop::Chosen()) {
        // The window manager asks the program to close it, a round trip further away.
        QPointer<QWidget> window;
        const WId id = Read<WId>([&window] {
            window = ActiveWindow();
            return window ? window->winId() : WId();
        });
        if (id == 0)
            return;
        desktop::Close(id);
        for (int i = 0; i < 200 && Read<bool>([&window] { return window && window->isVisible(); });
             ++i)
            std::this_thread::sleep_for(10ms);
        Settle();
        return;
    }
    if (Post([] {
            if (QWidget* window = ActiveWindow())
                window->close();
        }))
        Settle();
}

void TProgram::Minimise() {
    if (Post([] {
            if (QWidget* window = ActiveWindow())
                window->showMinimized();
        }))
        Settle();
}

std::string TProgram::ActiveCaption() {
    return Read<std::string>([] {
        QWidget* window = ActiveWindow();
        return window ? window->windowTitle().toStdString() : std::string();
    });
}

std::vector<std::string> TProgram::VisibleWindows() {
    return Read<std::vector<std::string>>([] {
        std::vector<std::string> captions;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && !qobject_cast<QMessageBox*>(window))
                captions.push_back(window->windowTitle().toStdString());
        return captions;
    });
}

std::string TProgram::Focused() {
    return Read<std::string>([] {
        QWidget* focus = ActiveWindow() ? ActiveWindow()->focusWidget() : nullptr;
        return focus ? focus->objectName().toStdString() : std::string();
    });
}

std::string TProgram::Text(std::string_view field) {
    return Read<std::string>([&] {
        if (auto* document = Find<QTextBrowser>(field))
            return document->toPlainText().toStdString();
        auto* edit = Find<QLineEdit>(field);
        return edit ? edit->text().toStdString() : std::string();
    });
}

std::vector<std::string> TProgram::Menu() {
    return Read<std::vector<std::string>>([] {
        std::vector<std::string> items;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* main = qobject_cast<QMainWindow*>(window))
                for (QAction* menu : main->menuBar()->actions()) {
                    items.push_back(menu->text().toStdString());
                    for (QAction* item : menu->menu()->actions())
                        items.push_back(
                            (item->text() + u'\t' + item->shortcut().toString()).toStdString());
                }
        return items;
    });
}

TBounds TProgram::Bounds(std::string_view control) {
    return Read<TBounds>([&] {
        auto* main = qobject_cast<QMainWindow*>(ActiveWindow());
        QWidget* widget = control.empty() ? (main ? main->centralWidget() : ActiveWindow())
                                          : Find<QWidget>(control);
        const QRect r = control.empty() ? widget->rect() : widget->geometry();
        return TBounds{r.x(), r.y(), r.width(), r.height()};
    });
}

std::optional<std::string> TProgram::Box() {
    return Read<std::optional<std::string>>([]() -> std::optional<std::string> {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible())
            return std::nullopt;
        return box->text().toStdString();
    });
}

void TProgram::CloseBox() {
    if (Post([] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
        }))
        Settle();
}

std::string TProgram::Clipboard() {
    return Read<std::string>([] { return QGuiApplication::clipboard()->text().toStdString(); });
}

void TProgram::SetClipboard(std::string_view text) {
    OnGui([value = FromUtf8(text)] { QGuiApplication::clipboard()->setText(value); });
}

varkelo::TTripData TProgram::Record() {
    return Read<varkelo::TTripData>([] { return Form1->TripData(); });
}

} // namespace uitest

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    return uitest::RunBesideProgram([] { return RUN_ALL_TESTS(); });
}
