// The window program: the start-up steps, the main window until the user
// closes it, then the exit steps.
#include "ui/Sinora2App.h"
#include "ui/StartOptions.h"

int main(int argc, char* argv[]) {
    if (const std::optional<int> status = ui::AnswerInformationOptions(argc, argv))
        return *status;
    ui::CSinora2App application(argc, argv);
    const std::optional<ui::StartOptions> options =
        ui::ParseStartOptions(QCoreApplication::arguments());
    if (!options)
        return 2;
    if (!application.StartUp(*options))
        return 0;
    return application.ShutDown(application.exec());
}
