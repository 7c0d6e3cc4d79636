#pragma once

// The few windowing operations the program needs, over Qt 6 Widgets. Qt must never see an
// exception unwind through its frames, so every handler is bound through Guarded.

#include "Convert.h"

#include <QObject>
#include <QString>
#include <QTranslator>
#include <QWidget>

#include <cstdint>
#include <exception>
#include <functional>
#include <string_view>

namespace varkelo {

inline const QString kProgramName = QStringLiteral("Варкело");

// The catalogue's texts are UTF-8.
inline QString FromUtf8View(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The result: a modal box with one OK button; Ctrl+C copies its text.
void ShowMessage(const QString& text);

// An error's message in a modal box.
void ShowException(const std::exception* error);

// Runs a handler; an error it lets out is shown, and the event loop goes on.
template <class Handler> void Guarded(Handler&& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& error) {
        ShowException(&error);
    } catch (...) {
        ShowException(nullptr);
    }
}

// Connects a signal to a handler through Guarded.
template <class Sender, class Signal, class Handler>
QMetaObject::Connection Bind(Sender* sender, Signal signal, QObject* context, Handler handler) {
    return QObject::connect(sender, signal, context, [handler] { Guarded(handler); });
}

inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;

// Gives a window its key handler first look at Enter (13) and Esc (27) typed anywhere in it,
// without consuming them. A focused push button takes Enter itself, so the handler does not
// see that Enter.
void InstallKeyPreview(QWidget* window, std::function<void(int key)> handler);

// Selects a line edit's whole text whenever it is entered other than by a mouse click.
void SelectAllOnEntry(QWidget* lineEdit);

// A non-modal show: visible, in front, active.
void ShowWindow(QWidget* window);

// Places a window in the middle of the desktop.
void CentreOnScreen(QWidget* window);

// A top-level frame with system menu, minimise and close buttons but no maximise button.
inline constexpr Qt::WindowFlags kNoMaximiseWindow =
    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
    Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint;

// Start-up and the event loop.
class TApplication {
public:
    void Initialize();
    // The first window created is the main window.
    template <class Form> void CreateForm(Form*& global) {
        global = new Form(m_mainForm);
        if (m_mainForm == nullptr)
            m_mainForm = global;
    }
    void Run();
    void Terminate();
    // Whether Terminate was called since Run began.
    bool Terminated() const { return m_terminated; }
    // The main window takes the others with it.
    void ReleaseForms();
    // Ends Qt, where this object started it.
    void Finish();
    void ShowException(const std::exception* error);

private:
    QWidget* m_mainForm = nullptr;
    QTranslator* m_translator = nullptr;
    bool m_terminated = false;
};

extern TApplication* Application;

} // namespace varkelo
