// The window tests' driver over Qt: every step runs on the program's thread, through Qt's
// event queue, and input goes in as a key or click from the platform does.

#include "QtDriver.h"

#include "../Driver.h"
#include "Fishingunit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QTextBrowser>
#include <QWindow>

#include <condition_variable>
#include <future>
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

QWidget* ActiveWindow() {
    QWidget* window = QApplication::activeWindow();
    return window != nullptr && window->isVisible() ? window : nullptr;
}

template <class Control> Control* Find(std::string_view name) {
    QWidget* window = ActiveWindow();
    return window ? window->findChild<Control*>(FromUtf8(name)) : nullptr;
}

} // namespace

// Lets the program finish what a step began: a box it opened is up, and the window system's
// answers (mapping, focus) are in; twice, as a window mapped in the first round asks for the
// focus, granted in the second.
void Settle() {
    for (int round = 0; round < 2; ++round)
        OnGui([] {
            QGuiApplication::sync();
            QCoreApplication::processEvents();
        });
    OnGui([] {});
}

namespace {

// A key goes to the modal box if one is open, else to the active window; as a user waits for
// a window to take the keyboard before typing, so does the driver, a moment.
QWindow* KeyTarget() {
    QWidget* modal = QApplication::activeModalWidget();
    return modal ? modal->windowHandle() : QGuiApplication::focusWindow();
}

void Input(const std::function<void(QWindow*)>& step) {
    for (int i = 0; i < 100 && !Read<bool>([] { return KeyTarget() != nullptr; }); ++i) {
        std::this_thread::sleep_for(10ms);
        Settle();
    }
    const bool posted = Post([step] {
        if (QWindow* target = KeyTarget())
            step(target);
    });
    if (posted)
        Settle();
}

} // namespace

const bool kBoxesCopy = true;

bool OnGui(const std::function<void()>& step) {
    auto done = std::make_shared<std::promise<void>>();
    std::future<void> ran = done->get_future();
    // Only the queued step holds the promise: dropped unrun, it breaks it.
    if (!Post([step, done = std::move(done)] {
            step();
            done->set_value();
        }))
        return false;
    if (ran.wait_for(20s) != std::future_status::ready) {
        ADD_FAILURE() << "the program did not answer for 20 s";
        std::abort(); // its thread is stuck: nothing more can be tested
    }
    try {
        ran.get();
        return true;
    } catch (const std::future_error&) {
        return false; // the program ended first
    }
}

bool WaitStarted() {
    std::unique_lock lock(g_qtMutex);
    return g_loopStarted.wait_for(lock, 20s, [] { return g_looping; });
}

void EndRun() {
    Post([] { QCoreApplication::exit(0); });
}

void RequestActivation(std::string_view caption) {
    OnGui([title = FromUtf8(caption)] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowTitle() == title)
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
    Input([stroke](QWindow* target) { QTest::keyClick(target, stroke.first, stroke.second); });
}

void TProgram::Type(std::string_view text) {
    for (const QChar c : FromUtf8(text)) // each handled before the next, as from a keyboard
        Input([c](QWindow* target) {
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
            QTest::mouseClick(Find<QAbstractButton>(name.toStdString()), Qt::LeftButton);
        }))
        Settle();
}

void TProgram::CloseWindow() {
    if (Post([] {
            if (QWidget* window = ActiveWindow())
                window->close();
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
