// What the Qt windows must be beyond what keys and clicks show: frames and their places, the
// menu bar, cursors, the fonts' fit, the names a screen reader reads, and the boxes' text.
#include "../Driver.h"

#include "Catalogue.h"

#include <QAccessible>
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include <thread>

using namespace varkelo;
using namespace std::literals;

namespace {

QWidget* Window(const QString& name) {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->objectName() == name)
            return window;
    return nullptr;
}

TEST(QtWindows, FramesCursorsAndNames) {
    uitest::TProgram program;
    for (auto key : {uitest::TKey::F1, uitest::TKey::F2, uitest::TKey::F3, uitest::TKey::F5})
        program.Press(key); // each from the window before
    // Each window's whole frame centred on the available area, the help's over the main
    // window, once a window manager has told the frames; offscreen a frame is the client area.
    const QString names[] = {"Form1", "Form2", "Form3", "Form4", "HelpForm"};
    bool framed = QGuiApplication::platformName() != "xcb";
    for (int i = 0; i < 500 && !framed; ++i, std::this_thread::sleep_for(10ms))
        uitest::OnGui(
            [&] { framed = !Window("HelpForm")->windowHandle()->frameMargins().isNull(); });
    uitest::OnGui([&] {
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
        }
        // The tackle window's whole frame is fixed, and resizing it moves nothing.
        QWidget* tackle = Window("Form4");
        EXPECT_EQ(tackle->frameGeometry().size(), QSize(268, 433));
        const QRect net = tackle->findChild<QLineEdit*>("NetLongevityEdit")->geometry();
        tackle->resize(tackle->width() + 100, tackle->height() - 100);
        EXPECT_EQ(tackle->findChild<QLineEdit*>("NetLongevityEdit")->geometry(), net);
        EXPECT_EQ(qobject_cast<QMainWindow*>(main)->menuBar()->actions().size(), 2);
        EXPECT_FALSE(main->windowIcon().isNull());
        EXPECT_EQ(main->findChild<QWidget*>("CalculationButton")->cursor(), Qt::PointingHandCursor);
        // With the fonts of the machine no label runs into its field; a screen reader names
        // each field by its label.
        for (const auto& row : kCatalogue) {
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
}

// Typed markup is shown as typed; the box's one button reads «ОК» in Cyrillic, and Ctrl+C
// copies the box's text, as on Windows.
TEST(QtWindows, Boxes) {
    uitest::TProgram program;
    program.Press(uitest::TKey::F2);
    program.Type("<b>1");
    program.Press(uitest::TKey::Enter);
    uitest::OnGui([] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->findChild<QLabel*>("qt_msgbox_label")->textFormat(), Qt::PlainText);
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(box->button(QMessageBox::Ok)->text(), "ОК");
        QTest::keyClick(box, Qt::Key_C, Qt::ControlModifier);
        EXPECT_EQ(QGuiApplication::clipboard()->text(), "Хлеб: «<b>1» не является целым числом");
    });
}

} // namespace
