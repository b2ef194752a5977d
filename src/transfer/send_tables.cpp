#include "transfer/send_tables.h"

namespace quorvex {

void SendTablesToOracle(TablesScreen& /*screen*/) {}

}  // namespace quorvex
