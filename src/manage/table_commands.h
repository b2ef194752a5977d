#pragma once

#include "shell/tables_screen.h"

namespace quorvex {

// The delete and rename commands of the tables screen; each reports its own failures under its
// button's location label.
void DeleteOracleTables(TablesScreen& screen);   // PushButton1, "Form2.PushButton1_Click"
void DeleteParadoxTables(TablesScreen& screen);  // PushButton5, "Form2.PushButton5_Click"
void RenameOracleTable(TablesScreen& screen);    // PushButton6, "Form2.PushButton6_Click"
void RenameParadoxTable(TablesScreen& screen);   // PushButton7, "Form2.PushButton7_Click"

}  // namespace quorvex
