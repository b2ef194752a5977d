#include "screens/form2.h"

namespace quorvex {

Form2::Form2(const ConnectionFields& /*fields*/, Dialogs& /*dialogs*/, QWidget* parent)
    : QWidget(parent) {}

void Form2::Form_Load() {}

}  // namespace quorvex
