#include "shell/start_up.h"

#include "data/access/readiness.h"
#include "shell/command_steps.h"
#include "shell/connection_settings.h"
#include "shell/files.h"

namespace quorvex {

void RunStartUp(ConnectionScreen& screen, Dialogs& dialogs) {
    CommandSteps steps(dialogs, QStringLiteral("Form1.Form_Load"));
    steps.Step(100, [&] { screen.ApplySkin(); });
    steps.Step(102, [&] { screen.CenterForm(); });
    steps.Step(104, [&] { screen.SetCaptionAndIcon(); });

    const QString cursorFile = screen.ProgramFolder() + kHandCursorFile;
    if (steps.Test(124, [&] { return FileExists(cursorFile); })) {
        steps.Step(126, [&] { screen.LoadMouseIcon(cursorFile); });
    }

    steps.Step(128, [&] { screen.SetText1(GetConnectionSetting(kParadoxFolderKey)); });
    steps.Step(130, [&] { screen.SetText2(GetConnectionSetting(kServerKey)); });
    steps.Step(132, [&] { screen.SetText3(GetConnectionSetting(kUserKey)); });
    steps.Step(134, [&] { screen.SetText4(GetConnectionSetting(kPasswordKey)); });

    if (steps.Test(136, [&] { return ParadoxFolderHasTables(screen); })) {
        if (steps.Test(138, [&] { return CanConnectToOracle(screen); })) {
            steps.Step(140, [&] { screen.ShowTablesScreen(); });
            steps.Step(142, [&] { screen.HideConnectionScreen(); });
        }
    }
}

}  // namespace quorvex
