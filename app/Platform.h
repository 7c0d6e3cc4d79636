#pragma once

// The seam between the program and a windowing platform: the few operations the program asks
// of a platform, in plain C++ with UTF-8 texts. Each platform implements them once, in a
// folder of its own (app/qt, app/win32, app/web); the build links exactly one.
//
// Besides these calls, a backend owes every window what a desktop user takes for granted:
// - key preview: a form's FormKeyDown sees Enter (13) and Esc (27) typed anywhere in it,
//   before the focused control and without consuming them; a focused push button takes
//   Enter (and Space) itself, and the form does not see that Enter;
// - the main form's menu shortcuts act in every window while the main form is enabled;
// - a frame's close button goes to FrameClosed;
// - each window gives the focus back to the control that had it; the first time, to the
//   first control of the tab order;
// - an entry field entered other than by a mouse click has its whole text selected, and
//   refuses more characters than its MaxLength;
// - every handler runs through Dispatch or DispatchKey, so no exception reaches the platform.

#include "FormLayout.h"

#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace varkelo {

// A backend's native window with its controls.
struct TWindow;

namespace platform {

void Initialize();
// Builds the form's native window, hidden, from form.Layout(). The first window built after
// Initialize is the main window; the others are built when first needed.
TWindow* CreateFormWindow(TForm& form);
void DestroyWindow(TWindow* window);
// Releases what Initialize took, once every window is gone.
void Finalize();
// Shows the main window and handles input until Terminate. Once the main window is on the
// screen and no input waits, calls prepare, once.
void Run(const std::function<void()>& prepare);
// Run returns once the current handler is done.
void Terminate();

// Modal boxes with one OK button: the result, and an error. While one is open nothing else
// reaches the program; whether the call returns only once it is closed is the platform's, as
// no handler does anything after showing one.
void ShowMessage(std::string_view text);
void ShowError(std::string_view text);

// Non-modal: visible, restored if minimised, in front, with the keyboard focus.
void Show(TWindow& window);
void Hide(TWindow& window);

std::string GetText(const TWindow& window, std::string_view control);
void SetText(TWindow& window, std::string_view control, std::string_view text);
// Moves the focus to the control, selecting an entry field's whole text.
void FocusControl(TWindow& window, std::string_view control);

} // namespace platform

inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyEscape = 27;

// A window's behaviour, free of any toolkit: its handlers, and the platform window it drives.
class TForm {
public:
    explicit TForm(const TFormDesc& layout);
    virtual ~TForm();
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    // Key preview: Enter (13) and Esc (27), before the focused control sees them.
    virtual void FormKeyDown(int key);

    void Show();
    void Hide();
    std::string GetText(std::string_view control) const;
    void SetText(std::string_view control, std::string_view text);
    void FocusControl(std::string_view control);

    const TFormDesc& Layout() const { return m_layout; }
    // The native window, built on first use: start-up builds the main window alone, and the
    // others are built while the program waits for its user, by Prepare.
    TWindow& Window() const;
    // Builds what the form will show, so that showing it costs no more the first time.
    virtual void Prepare();

private:
    const TFormDesc& m_layout;
    mutable TWindow* m_window = nullptr;
};

// For the backends: run a handler, or the key preview, of a form. An error that it lets out
// is shown in a box and the event loop goes on.
void Dispatch(TForm& form, THandler handler) noexcept;
void DispatchKey(TForm& form, int key) noexcept;
// The frame's close button: hides a form, or ends the program on the main form.
void FrameClosed(TForm& form) noexcept;

// The application: brings the platform up, owns the forms, runs the event loop. Releases the
// forms, newest first, and then the platform when it goes.
class TApplication {
public:
    TApplication();
    ~TApplication();
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    void Initialize();
    // Builds a form into its global; the first one is the main form.
    template <class Form, class... Args> void CreateForm(Form*& global, Args&&... args) {
        auto form = std::make_unique<Form>(std::forward<Args>(args)...);
        global = form.get();
        m_forms.push_back({std::move(form), [&global] { global = nullptr; }});
        if (m_forms.size() == 1)
            global->Window(); // the main window comes first, and at once
    }
    void Run();
    void Terminate();
    void ShowException(const std::exception& error);

    TForm* MainForm() const { return m_forms.empty() ? nullptr : m_forms.front().Form.get(); }

private:
    struct TOwnedForm {
        std::unique_ptr<TForm> Form;
        std::function<void()> ClearGlobal;
    };
    std::vector<TOwnedForm> m_forms;
    bool m_initialized = false;
};

// The one application while it lives.
extern TApplication* Application;

} // namespace varkelo
