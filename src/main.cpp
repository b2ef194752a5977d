#include "cli/command_line.h"
#include "data/oracle/oracle_client_environment.h"
#include "screens/display_guard.h"
#include "screens/form1.h"
#include "screens/qt_dialogs.h"
#include "shell/start_up.h"

#include <QApplication>
#include <QIcon>

#include <optional>

int main(int argc, char** argv) {
    quorvex::PrepareOracleClientEnvironment();  // before any ODBC call, for every front end
    // Any argument asks for the command line (`send`, `list`, `--help`), which needs no display.
    if (argc > 1) {
        return quorvex::RunCommandLine(argc, argv);
    }

    std::optional<quorvex::DisplayGuard> displayGuard(std::in_place);
    QApplication app(argc, argv);
    displayGuard.reset();  // the window has its display
    QApplication::setApplicationName(quorvex::kApplicationTitle);
    // No application display name: Qt would add it to every window's title ("Overwrite? —
    // Quorvex"), and each window and box shows exactly the title it is given.
    QApplication::setWindowIcon(
        QIcon(QCoreApplication::applicationDirPath() + quorvex::kProgramIconFile));

    quorvex::QtDialogs dialogs;
    quorvex::Form1 form1(dialogs);
    dialogs.SetOwner(&form1);
    form1.Start();
    return QApplication::exec();
}
