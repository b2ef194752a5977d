#pragma once

#include "data/core/connection_fields.h"
#include "shell/stop_request.h"
#include "shell/table_list.h"
#include "shell/transfer_observer.h"
#include "shell/ui.h"

#include <optional>

namespace quorvex {

// What the commands of the tables screen work on: its two lists, its progress bar and pointer,
// the program's dialogs, and the connection fields of the connection screen.
struct TablesScreen {
    TableList& List1;  // Oracle tables
    TableList& List2;  // Paradox tables
    ProgressBar& ProgressBar1;
    Pointer& Screen;  // the tables screen's MousePointer
    Dialogs& dialogs;
    const ConnectionFields& fields;
    // Set only by a front end that can stop a running send (see StopRequest); the screens have
    // no such control and leave it null.
    const StopRequest* stopRequest = nullptr;
    // Told of the transfer's tables and rows when set (the command line's summary); the screens
    // leave it unset.
    TransferObserver* observer = nullptr;
    // Reads the Paradox tables' text in this code page instead of the one their headers name
    // (the command line's --code-page); the screens leave it unset.
    std::optional<int> paradoxCodePage = std::nullopt;
};

}  // namespace quorvex
