#include "Startup.h"

#include "Baitunit.h"
#include "Convert.h"
#include "Fishingunit.h"
#include "Fishunit.h"
#include "Platform.h"
#include "Rodunit.h"

namespace varkelo {

int RunProgram() noexcept {
    try {
        TApplication application; // releases the forms, then the platform, on every way out
        try {
            application.Initialize();
            application.CreateForm(Form1); // first, so it is the main window
            application.CreateForm(Form2, Form1->TripData());
            application.CreateForm(Form3, Form1->TripData());
            application.CreateForm(Form4, Form1->TripData());
            application.Run();
        } catch (const std::exception& error) {
            application.ShowException(error);
        } catch (...) {
            // Whatever else escaped is shown as an error with no message.
            application.ShowException(Exception({}));
        }
    } catch (...) {
        // Showing the error failed as well; the exit status stays 0 regardless.
    }
    return 0;
}

} // namespace varkelo
