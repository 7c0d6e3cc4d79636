// The window tests' driver over Qt: every step runs on the program's thread through Qt's event
// queue, and input goes in through Qt's own test input to the window that has Qt's focus, on
// every platform alike: offscreen, under a window manager, on Wayland.

#include "../Driver.h"

#include "Catalogue.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocumentFragment>

#include <algorithm>
#include <array>
#include <mutex>
#include <thread>

#include <gtest/gtest.h>

namespace uitest {

namespace {

// Whether Qt's application object is up: nothing is posted to one that is going.
std::mutex g_qtMutex;
bool g_qtUp = false;
void SetQtUp(bool up) {
    std::lock_guard lock(g_qtMutex);
    g_qtUp = up;
}
const bool g_hooked =
    (qAddPreRoutine([] { SetQtUp(true), qAddPostRoutine([] { SetQtUp(false); }); }), true);

// Runs an action on the program's thread without waiting for it, as one that opens a modal box
// returns only when the box closes, then lets the program handle what it set off.
void Act(std::function<void()> action) {
    if (std::lock_guard lock(g_qtMutex);
        !g_qtUp || !QMetaObject::invokeMethod(qApp, std::move(action), Qt::QueuedConnection))
        return;
    Settle();
}

template <class T> T Read(const std::function<T()>& read) {
    T value{};
    OnGui([&] { value = read(); });
    return value;
}

// A minimised window is not active to its user, whatever Qt's focus says.
QWidget* ActiveWindow() {
    QWidget* window = QApplication::activeWindow();
    return window && window->isVisible() && !window->isMinimized() ? window : nullptr;
}

template <class Control = QWidget> Control* Find(std::string_view name) {
    return ActiveWindow() ? ActiveWindow()->findChild<Control*>(QString::fromUtf8(name)) : nullptr;
}

QMessageBox* Box() {
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

// The box, or else the window that has the keyboard; offscreen, Qt's focus stays with a window
// that hides until another is activated.
QWindow* KeyTarget() {
    QWindow* window = Box() ? Box()->windowHandle() : QGuiApplication::focusWindow();
    return window && window->isVisible() ? window : nullptr;
}

// As a user waits for a window to take the keyboard before typing, so does the driver.
void Input(const std::function<void(QWindow*)>& step) {
    for (int i = 0; i < 100 && !Read<bool>([] { return KeyTarget() != nullptr; }); ++i)
        Settle();
    Act([step] {
        if (QWindow* target = KeyTarget())
            step(target);
    });
}

} // namespace

// Dropped unrun as the program ends, the step lets this return all the same.
bool OnGui(const std::function<void()>& step) {
    bool ran = false;
    if (std::unique_lock lock(g_qtMutex); !g_qtUp)
        return false;
    QMetaObject::invokeMethod(
        qApp, [&] { step(), ran = true; }, Qt::BlockingQueuedConnection);
    return ran;
}

// Twice, as a window shown in the first round asks for the focus, granted in the second; and
// a display server maps the windows shown in its own time, a moment at most.
void Settle() {
    bool mapped = false;
    const auto pump = [&] {
        QGuiApplication::sync();
        QCoreApplication::processEvents();
        mapped = std::ranges::all_of(QApplication::topLevelWidgets(), [](QWidget* window) {
            return !window->isVisible() || window->isMinimized() ||
                   window->windowHandle()->isExposed();
        });
    };
    for (int i = 0; i < 100 && OnGui(pump) && OnGui(pump) && !mapped; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

void EndRun() {
    Act([] { QCoreApplication::exit(0); });
}

void RequestActivation(std::string_view caption) {
    OnGui([title = QString::fromUtf8(caption)] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && window->windowTitle() == title && !Box()) {
                if (window->isMinimized()) // a window manager may minimise a dialog's owner too
                    window->showNormal();
                window->raise();
                window->activateWindow();
            }
    });
}

void TProgram::Press(TKey key) {
    // clang-format off
    static const std::pair<Qt::Key, Qt::KeyboardModifiers> strokes[] = {
        {Qt::Key_F1, {}}, {Qt::Key_F2, {}}, {Qt::Key_F3, {}}, {Qt::Key_F4, {}}, {Qt::Key_F5, {}},
        {Qt::Key_F6, {}}, {Qt::Key_Return, {}}, {Qt::Key_Enter, Qt::KeypadModifier},
        {Qt::Key_Escape, {}}, {Qt::Key_Space, {}}, {Qt::Key_Tab, {}},
        {Qt::Key_Backtab, Qt::ShiftModifier}, {Qt::Key_Backspace, {}}};
    // clang-format on
    const auto stroke = strokes[int(key)];
    Input([stroke](QWindow* target) { QTest::keyClick(target, stroke.first, stroke.second); });
}

void TProgram::Type(std::string_view text) {
    for (const QChar c : QString::fromUtf8(text)) // as an input method delivers it
        Input([c](QWindow* target) {
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), {});
        });
}

void TProgram::Click(std::string_view control) {
    ASSERT_TRUE(Read<bool>([&] { return Find<QAbstractButton>(control) != nullptr; }))
        << "no button " << control << " in the active window";
    Act([name = std::string(control)] {
        if (auto* button = Find<QAbstractButton>(name)) // unless another window came up
            QTest::mouseClick(button, Qt::LeftButton);
    });
}

void TProgram::CloseWindow() {
    Act([] { ActiveWindow()->close(); });
}

void TProgram::Minimise() {
    Act([] { ActiveWindow()->showMinimized(); });
}

TView TProgram::View() {
    return Read<TView>([] {
        TView view;
        if (QWidget* window = ActiveWindow()) {
            view.Active = window->windowTitle().toStdString();
            if (QWidget* focus = window->focusWidget())
                view.Focus = focus->objectName().toStdString();
        }
        for (QWidget* window : QApplication::topLevelWidgets())
            if (window->isVisible() && !qobject_cast<QMessageBox*>(window))
                view.Shown.push_back(window->windowTitle().toStdString());
        if (Box() && Box()->isVisible()) { // as the user reads it: markup would not show
            auto* label = Box()->findChild<QLabel*>("qt_msgbox_label");
            view.Box = (label->textFormat() == Qt::PlainText
                            ? label->text()
                            : QTextDocumentFragment::fromHtml(label->text()).toPlainText())
                           .toStdString();
        }
        return view;
    });
}

std::string TProgram::Text(std::string_view field) {
    return Read<std::string>([&] {
        if (auto* document = Find<QTextBrowser>(field))
            return document->toPlainText().toStdString();
        return Find<QLineEdit>(field) ? Find<QLineEdit>(field)->text().toStdString() : "";
    });
}

TBounds TProgram::Bounds(std::string_view control) {
    return Read<TBounds>([&] {
        auto* main = qobject_cast<QMainWindow*>(ActiveWindow());
        const QRect r = !control.empty() ? Find(control)->geometry()
                        : main           ? main->centralWidget()->rect()
                                         : ActiveWindow()->rect();
        return TBounds{r.x(), r.y(), r.width(), r.height()};
    });
}

// What the Qt windows must be beyond what keys and clicks show: frames and their places, the
// menu bar, cursors, the fonts' fit, the names a screen reader reads, and the boxes' text.
namespace {

using namespace std::literals;

QWidget* Window(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == name)
            return window;
    return nullptr;
}

TEST(QtWindows, FramesCursorsAndNames) {
    { TProgram first; } // all that follows holds for a later run in the same process too
    TProgram program;
    // Every window built, and made native for a quick first show, while the program waits
    // for its user.
    const QString names[] = {"Form1", "Form2", "Form3", "Form4", "HelpForm"};
    for (int i = 0; i < 100 && !Read<bool>([] { return Window("Form4") != nullptr; }); ++i)
        Settle();
    for (const QString& name : names)
        EXPECT_TRUE(Read<bool>([&] { return Window(name) && Window(name)->windowHandle(); }));
    for (auto key : {TKey::F1, TKey::F2, TKey::F3, TKey::F5})
        program.Press(key); // each from the window before
    // Each window's whole frame centred on the available area, the help's over the main
    // window, once a window manager has told the frames; offscreen a frame is the client area.
    bool framed = QGuiApplication::platformName() != "xcb";
    for (int i = 0; i < 500 && !framed; ++i, std::this_thread::sleep_for(10ms))
        OnGui([&] { framed = !Window("HelpForm")->windowHandle()->frameMargins().isNull(); });
    OnGui([&] {
        QWidget* main = Window("Form1");
        const QRect area = main->screen()->availableGeometry();
        for (const QString& name : names) {
            QWidget* window = Window(name);
            const bool help = name == "HelpForm", sizeable = help || name == "Form4";
            const QPoint off =
                window->frameGeometry().center() - (help ? main->frameGeometry() : area).center();
            EXPECT_LE(off.manhattanLength(), 1)
                << name.toStdString() << " off by " << off.x() << "," << off.y();
            EXPECT_EQ(window->minimumSize() != window->maximumSize(), sizeable);
            EXPECT_EQ(bool(window->windowFlags() & Qt::WindowMaximizeButtonHint), help);
            EXPECT_EQ(bool(window->windowFlags() & Qt::WindowMinimizeButtonHint),
                      sizeable || window == main);
            EXPECT_EQ(QAccessible::queryAccessibleInterface(window)->role(), // as read aloud
                      help || window == main ? QAccessible::Window : QAccessible::Dialog);
            // Each window has one owner, its form; the others stand by the main window.
            EXPECT_EQ(window->parent(), nullptr);
            EXPECT_EQ(window->windowHandle()->transientParent(),
                      window == main ? nullptr : main->windowHandle());
        }
        EXPECT_EQ(Window("Form4")->frameGeometry().size(), QSize(268, 433)); // the whole frame
        // The help's document fills its window, in a font larger than the forms', for reading,
        // and is named as its window.
        auto* help = Window("HelpForm")->findChild<QTextBrowser*>("HelpText");
        EXPECT_EQ(help->geometry(), Window("HelpForm")->rect());
        EXPECT_EQ(help->font().pixelSize(), 13);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(help)->text(QAccessible::Name), "Помощь");
        EXPECT_EQ(qobject_cast<QMainWindow*>(main)->menuBar()->actions().size(), 2);
        EXPECT_TRUE(main->findChild<QMenu*>("N1") && main->findChild<QMenu*>("N5")); // by name
        EXPECT_FALSE(main->windowIcon().isNull());
        EXPECT_EQ(main->findChild<QWidget*>("CalculationButton")->cursor(), Qt::PointingHandCursor);
        // With the fonts of the machine no label runs into its field; a screen reader names
        // each field by its label.
        for (const auto& row : varkelo::kCatalogue) {
            auto* edit = Window(std::array{"Form2", "Form3", "Form4", "Form4"}[int(row.Group)])
                             ->findChild<QLineEdit*>(QString::fromUtf8(row.EditName));
            auto* label = edit->parentWidget()->findChild<QLabel*>(
                edit->objectName().replace("Edit", "Label"));
            EXPECT_LT(label->geometry().right(), edit->x()) << row.EditName;
            EXPECT_EQ(QAccessible::queryAccessibleInterface(edit)->text(QAccessible::Name),
                      QString::fromUtf8(row.Caption));
            EXPECT_EQ(edit->cursor().shape(), Qt::IBeamCursor);
            EXPECT_EQ(label->cursor().shape(), Qt::CrossCursor);
        }
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Отмена");
    });
    // A click puts the cursor where it falls: only a field entered otherwise is all selected.
    program.Press(TKey::F1);
    Act([] { QTest::mouseClick(Find<QLineEdit>("PerchEdit"), Qt::LeftButton); });
    EXPECT_TRUE(Read<bool>([] { return Find<QLineEdit>("PerchEdit")->hasFocus(); }));
    EXPECT_FALSE(Read<bool>([] { return Find<QLineEdit>("PerchEdit")->hasSelectedText(); }));
}

} // namespace

} // namespace uitest
