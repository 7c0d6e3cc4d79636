#include "Platform.h"

#include "Convert.h"

namespace varkelo {

TApplication* Application = nullptr;

TForm::TForm(const TFormDesc& layout) : m_layout(layout) {}

TForm::~TForm() {
    platform::DestroyWindow(m_window);
}

void TForm::FormKeyDown(int) {}

TWindow& TForm::Window() const {
    if (m_window == nullptr)
        m_window = platform::CreateFormWindow(const_cast<TForm&>(*this));
    return *m_window;
}

void TForm::Prepare() {
    Window();
}

void TForm::Show() {
    platform::Show(Window());
}
void TForm::Hide() {
    platform::Hide(Window());
}
std::string TForm::GetText(std::string_view control) const {
    return platform::GetText(Window(), control);
}
void TForm::SetText(std::string_view control, std::string_view text) {
    platform::SetText(Window(), control, text);
}
void TForm::FocusControl(std::string_view control) {
    platform::FocusControl(Window(), control);
}

namespace {

template <class Handler> void Guarded(Handler&& handler) noexcept {
    try {
        try {
            handler();
        } catch (const std::exception& error) {
            Application->ShowException(error);
        } catch (...) {
            Application->ShowException(Exception({}));
        }
    } catch (...) {
        // Showing the error failed as well: nothing is left to tell it with.
    }
}

} // namespace

void Dispatch(TForm& form, THandler handler) noexcept {
    Guarded([&] { handler(form); });
}

void DispatchKey(TForm& form, int key) noexcept {
    Guarded([&] { form.FormKeyDown(key); });
}

void FrameClosed(TForm& form) noexcept {
    Guarded([&] {
        if (&form == Application->MainForm())
            Application->Terminate();
        else
            form.Hide();
    });
}

TApplication::TApplication() {
    Application = this;
}

TApplication::~TApplication() {
    while (!m_forms.empty()) {
        m_forms.back().ClearGlobal();
        m_forms.pop_back();
    }
    if (m_initialized)
        platform::Finalize();
    Application = nullptr;
}

void TApplication::Initialize() {
    platform::Initialize();
    m_initialized = true;
}

void TApplication::Run() {
    platform::Run([this] {
        // What fails here fails again, and is shown, when the user asks for that window.
        for (const TOwnedForm& owned : m_forms) {
            try {
                owned.Form->Prepare();
            } catch (...) {
            }
        }
    });
}

void TApplication::Terminate() {
    platform::Terminate();
}

void TApplication::ShowException(const std::exception& error) {
    platform::ShowError(error.what());
}

} // namespace varkelo
