#pragma once

#include "shell/table_list.h"

#include <QString>

namespace quorvex {

// True when some entry equals the text once both are lower-cased. Every entry is compared.
bool ListContains(const TableList& list, const QString& text);

// Removes every entry that equals the text exactly (letter case counts); no match, no change.
void RemoveFromList(TableList& list, const QString& text);

}  // namespace quorvex
