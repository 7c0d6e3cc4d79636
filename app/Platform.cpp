#include "Platform.h"

#include "Convert.h"

namespace varkelo {

TApplication* Application = nullptr;

TForm::TForm(const TFormDesc& layout)
    : m_layout(layout), m_window(platform::CreateFormWindow(*this)) {}

TForm::~TForm() {
    platform::DestroyWindow(m_window);
}

void TForm::FormKeyDown(int) {}

void TForm::Show() {
    platform::Show(*m_window);
}
void TForm::Hide() {
    platform::Hide(*m_window);
}
bool TForm::Visible() const {
    return platform::IsVisible(*m_window);
}
std::string TForm::GetText(std::string_view control) const {
    return platform::GetText(*m_window, control);
}
void TForm::SetText(std::string_view control, std::string_view text) {
    platform::SetText(*m_window, control, text);
}
void TForm::FocusControl(std::string_view control) {
    platform::FocusControl(*m_window, control);
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
    platform::Run();
}

void TApplication::Terminate() {
    platform::Terminate();
}

void TApplication::ShowException(const std::exception& error) {
    platform::ShowError(error.what());
}

} // namespace varkelo
