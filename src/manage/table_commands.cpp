#include "manage/table_commands.h"

namespace quorvex {

void DeleteOracleTables(TablesScreen& /*screen*/) {}
void DeleteParadoxTables(TablesScreen& /*screen*/) {}
void RenameOracleTable(TablesScreen& /*screen*/) {}
void RenameParadoxTable(TablesScreen& /*screen*/) {}

}  // namespace quorvex
