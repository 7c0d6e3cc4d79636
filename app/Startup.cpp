#include "Startup.h"

#include "Baitunit.h"
#include "Fishingunit.h"
#include "Fishunit.h"
#include "Platform.h"
#include "Rodunit.h"

namespace varkelo {

void CreateForms() {
    Application->CreateForm(Form1); // first, so it is the main window
    Application->CreateForm(Form2);
    Application->CreateForm(Form3);
    Application->CreateForm(Form4);
}

void ReleaseForms() {
    Application->ReleaseForms();
    Form1 = nullptr;
    Form2 = nullptr;
    Form3 = nullptr;
    Form4 = nullptr;
}

int RunProgram() noexcept {
    try {
        try {
            Application->Initialize();
            CreateForms();
            Application->Run();
        } catch (const std::exception& error) {
            Application->ShowException(&error);
        } catch (...) {
            // Whatever else escaped is shown as an error with no message.
            const Exception unknown{QString()};
            Application->ShowException(&unknown);
        }
    } catch (...) {
        // Showing the error failed as well; the exit status stays 0 regardless.
    }
    ReleaseForms();
    Application->Finish();
    return 0;
}

} // namespace varkelo
