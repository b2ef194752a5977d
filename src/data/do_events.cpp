#include "data/do_events.h"

#include <QCoreApplication>

namespace quorvex {

void DoEvents() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::processEvents();
    }
}

}  // namespace quorvex
