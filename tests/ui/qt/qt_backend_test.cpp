// What the Qt windows must be beyond what keys and clicks show: sizes, frames, the icon, the
// fonts' fit, and the names a screen reader reads.
#include "../Driver.h"
#include "DesktopInput.h"
#include "QtDriver.h"

#include "Catalogue.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTextBrowser>
#include <QWindow>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>

using namespace varkelo;
using namespace uitest;

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

TEST(QtWindows, FramesFontsAndNames) {
    TProgram program;
    for (TKey key : {TKey::F1, TKey::F2, TKey::F3})
        program.Press(key);
    OnGui([] {
        auto* main = qobject_cast<QMainWindow*>(Window("Form1"));
        EXPECT_FALSE(main->windowIcon().isNull());
        auto* button = main->findChild<QPushButton*>("CalculationButton");
        EXPECT_EQ(button->cursor().shape(), Qt::PointingHandCursor);
        EXPECT_EQ(Accessible(button, QAccessible::Description), "Произвести расчёт прибыли");
        // Fixed frames without a maximise button; only the tackle window can be resized.
        for (const char* name : {"Form1", "Form2", "Form3"}) {
            QWidget* window = Window(name);
            EXPECT_EQ(window->minimumSize(), window->maximumSize()) << name;
            EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint) << name;
        }
        QWidget* tackle = Window("Form4");
        EXPECT_FALSE(tackle->windowFlags() & Qt::WindowMaximizeButtonHint);
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
        // Qt's own texts come in Russian where Qt's translation is installed.
        if (QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ru.qm")) {
            EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Отмена");
        }
    });
}

// Each window's whole frame, as the window manager reports it, is centred on the screen's
// available area, the help's over the main window, and the tackle window's is 268 × 433.
// Without a window manager the frame is the client area, and the same holds.
TEST(QtWindows, WholeFramesSizedAndCentred) {
    TProgram program;
    for (TKey key : {TKey::F1, TKey::F2, TKey::F3, TKey::F5}) // each from the window before
        program.Press(key);
    const char* const names[] = {"Form1", "Form2", "Form3", "Form4", "HelpForm"};
    bool managed = false;
    OnGui([&] { managed = QGuiApplication::platformName() == "xcb" && desktop::WindowManager(); });
    // A window manager tells the frames once it has mapped the windows.
    bool framed = !managed;
    for (int i = 0; i < 500 && !framed;
         ++i, std::this_thread::sleep_for(std::chrono::milliseconds(10)))
        OnGui([&] {
            framed = std::all_of(std::begin(names), std::end(names), [](const char* name) {
                return !Window(name)->windowHandle()->frameMargins().isNull();
            });
        });
    ASSERT_TRUE(framed) << "the window manager reported no frame";
    OnGui([&] {
        const QRect area = Window("Form1")->screen()->availableGeometry();
        for (const char* name : names) {
            const QRect frame = Window(name)->frameGeometry();
            const QPoint centre = frame.center() - (name == std::string("HelpForm")
                                                        ? Window("Form1")->frameGeometry().center()
                                                        : area.center());
            std::printf("%-8s frame %4d,%4d %dx%d, centre off by %+d,%+d\n", name, frame.x(),
                        frame.y(), frame.width(), frame.height(), centre.x(), centre.y());
            EXPECT_LE(std::abs(centre.x()), 1) << name;
            EXPECT_LE(std::abs(centre.y()), 1) << name;
        }
        EXPECT_EQ(Window("Form4")->frameGeometry().size(), QSize(268, 433));
    });
}

// Enter reaches the main window's key handler when the button does not have the focus.
TEST(QtWindows, EnterWithoutTheButtonFocusedCalculates) {
    TProgram program;
    OnGui([] { Window("Form1")->findChild<QPushButton*>()->clearFocus(); });
    program.Press(TKey::Enter);
    EXPECT_EQ(program.Box(), "Чистая прибыль составляет: 0 НВ.");
}

// Typed markup is shown as typed, never rendered; the button reads «ОК» in Cyrillic.
TEST(QtWindows, BoxesShowPlainText) {
    TProgram program;
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
    });
}

} // namespace
