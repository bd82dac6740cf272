// The window program: the start-up steps, the main window until the user
// closes it, then the exit steps.
#include "ui/Sinora2App.h"

int main(int argc, char* argv[]) {
    ui::CSinora2App application(argc, argv);
    if (!application.StartUp())
        return application.ExitStatus();
    return application.ShutDown(application.exec());
}
