// What the Qt windows must be beyond what keys and clicks show: frames and their places, the
// menu bar, cursors, the fonts' fit, the names a screen reader reads, and the boxes.
#include "../Driver.h"

#include "Catalogue.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace varkelo;
using namespace uitest;
using namespace std::literals;

namespace {

QWidget* Window(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == QLatin1String(name))
            return window;
    return nullptr;
}

QString Accessible(QWidget* widget, QAccessible::Text what = QAccessible::Name) {
    return QAccessible::queryAccessibleInterface(widget)->text(what);
}

TEST(QtWindows, FramesCursorsAndNames) {
    TProgram program;
    for (TKey key : {TKey::F1, TKey::F2, TKey::F3, TKey::F5}) // each from the window before
        program.Press(key);
    // A window manager tells the frames once it has mapped the windows.
    const char* const names[] = {"Form1", "Form2", "Form3", "Form4", "HelpForm"};
    bool framed = QGuiApplication::platformName() != "xcb";
    for (int i = 0; i < 500 && !framed;
         ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
        OnGui([&] {
            framed = std::ranges::all_of(names, [](const char* name) {
                return !Window(name)->windowHandle()->frameMargins().isNull();
            });
        });
    OnGui([&] {
        auto* main = qobject_cast<QMainWindow*>(Window("Form1"));
        EXPECT_FALSE(main->windowIcon().isNull());
        EXPECT_EQ(main->menuBar()->actions().size(), 2); // "Меню" and "Дополнительно"
        auto* button = main->findChild<QPushButton*>("CalculationButton");
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(Accessible(button, QAccessible::Description), "Произвести расчёт прибыли");
        // Each window's whole frame centred on the available area, the help's over the main
        // window; the tackle window's 268 × 433 and resizable, the others fixed; no maximise
        // button but the help's.
        const QRect area = main->screen()->availableGeometry();
        for (const char* name : names) {
            QWidget* window = Window(name);
            const bool help = name == "HelpForm"sv, sizeable = help || name == "Form4"sv;
            const QPoint off =
                window->frameGeometry().center() - (help ? main->frameGeometry() : area).center();
            EXPECT_LE(off.manhattanLength(), 1) << name << " " << off.x() << "," << off.y();
            EXPECT_EQ(window->minimumSize() != window->maximumSize(), sizeable) << name;
            EXPECT_EQ(bool(window->windowFlags() & Qt::WindowMaximizeButtonHint), help) << name;
        }
        QWidget* tackle = Window("Form4");
        EXPECT_EQ(tackle->frameGeometry().size(), QSize(268, 433));
        QWidget* net = tackle->findChild<QLineEdit*>("NetLongevityEdit");
        const QRect before = net->geometry();
        tackle->resize(tackle->width() + 100, tackle->height() - 100);
        EXPECT_EQ(net->geometry(), before);
        // With the fonts of the machine no label runs into its field, and a screen reader
        // names each field by its label.
        for (const auto& row : kCatalogue) {
            const char* dialogs[] = {"Form2", "Form3", "Form4", "Form4"};
            auto* edit = Window(dialogs[int(row.Group)])
                             ->findChild<QLineEdit*>(QString::fromUtf8(row.EditName));
            auto* label = edit->parentWidget()->findChild<QLabel*>(
                edit->objectName().replace("Edit", "Label"));
            EXPECT_LT(label->geometry().right(), edit->x()) << row.EditName;
            EXPECT_EQ(Accessible(edit), QString::fromUtf8(row.Caption));
            EXPECT_EQ(edit->cursor().shape(), Qt::IBeamCursor);
            EXPECT_EQ(label->cursor().shape(), Qt::CrossCursor);
        }
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Отмена");
    });
}

// Enter reaches the main window's key handler when the button does not have the focus. Typed
// markup is shown as typed; the box has one button, «ОК» in Cyrillic, and Ctrl+C copies its
// text, as on Windows.
TEST(QtWindows, Boxes) {
    TProgram program;
    OnGui([] { Window("Form1")->findChild<QPushButton*>()->clearFocus(); });
    program.Press(TKey::Enter);
    EXPECT_EQ(program.View().Box, "Чистая прибыль составляет: 0 НВ.");
    program.CloseBox();
    program.Press(TKey::F2);
    ASSERT_TRUE(program.WaitActive("Потраченная приманка"));
    program.Type("<b>1");
    program.Press(TKey::Enter);
    OnGui([] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr) << "no box is open";
        EXPECT_EQ(box->windowTitle(), "Варкело");
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(Accessible(box->findChild<QLabel*>("qt_msgbox_label")),
                  "Хлеб: «<b>1» не является целым числом");
        EXPECT_EQ(box->button(QMessageBox::Ok)->text(), "ОК");
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), box->text());
    });
}

} // namespace
