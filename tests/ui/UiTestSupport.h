#pragma once

// Shared by the window tests: start and release the program's windows, send keys the way a
// user does, and watch for the modal boxes that commands open.

#include "Fishingunit.h"
#include "Platform.h"
#include "Startup.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace uitest {

inline bool WaitActive(QWidget* window) {
    window->activateWindow();
    return QTest::qWaitFor([&] { return QApplication::activeWindow() == window; }, 2000);
}

// Keys go to the window's focus widget, as a real key press would.
inline void Key(QWidget* window, Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(window->windowHandle(), key, mods);
}

// Closes every message box that opens while it lives, with the box's own OK button, and keeps
// their texts and titles.
class TBoxWatcher {
public:
    explicit TBoxWatcher(std::function<void(QMessageBox*)> beforeClose = {}) {
        m_timer.callOnTimeout([this, beforeClose] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !box->isVisible())
                return;
            m_texts << box->text();
            Titles << box->windowTitle();
            if (beforeClose)
                beforeClose(box);
            box->button(QMessageBox::Ok)->click();
        });
        m_timer.start(5);
    }
    // Lets the event loop run long enough for a late box to show.
    const QStringList& Texts() {
        QTest::qWait(30);
        return m_texts;
    }
    QStringList Titles;

private:
    QTimer m_timer;
    QStringList m_texts;
};

// The program's windows as start-up makes them, the main one shown and active.
struct TProgram {
    TProgram() {
        varkelo::Application->Initialize();
        varkelo::CreateForms();
        Form1->show();
        WaitActive(Form1);
    }
    ~TProgram() { varkelo::ReleaseForms(); }
};

inline QString Message(int netProfit) {
    return QStringLiteral("Чистая прибыль составляет: %1 НВ.").arg(netProfit);
}

} // namespace uitest
