#include "data/core/do_events.h"

#include <QCoreApplication>

namespace quorvex {

void DoEvents() {
    if (QCoreApplication::instance() != nullptr) {
        // Input included, see the header: the input rule, not this call, keeps it from commands.
        constexpr QEventLoop::ProcessEventsFlags kEventsAndInput = QEventLoop::AllEvents;
        QCoreApplication::processEvents(kEventsAndInput);
    }
}

}  // namespace quorvex
