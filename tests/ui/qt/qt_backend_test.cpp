// What the Qt windows must be beyond what keys and clicks show: sizes, frames, the icon, the
// fonts' fit, and the names a screen reader reads.
#include "../Driver.h"
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

#include <gtest/gtest.h>

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

// Enter reaches the main window's key handler when the button does not have the focus.
TEST(QtWindows, EnterWithoutTheButtonFocusedCalculates) {
    TProgram program;
    OnGui([] { Window("Form1")->findChild<QPushButton*>()->clearFocus(); });
    program.Press(TKey::Enter);
    EXPECT_EQ(program.Box(), "Чистая прибыль составляет: 0 НВ.");
}

// Typed markup is shown as typed, never rendered.
TEST(QtWindows, BoxesShowPlainText) {
    TProgram program;
    program.Press(TKey::F2);
    ASSERT_TRUE(program.WaitActive("Потраченная приманка"));
    program.Type("<b>1");
    program.Press(TKey::Enter);
    OnGui([] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        EXPECT_EQ(box->windowTitle(), "Варкело");
        EXPECT_EQ(box->buttons().size(), 1);
        EXPECT_EQ(Accessible(box->findChild<QLabel*>("qt_msgbox_label")),
                  "Хлеб: «<b>1» не является целым числом");
    });
}

} // namespace
