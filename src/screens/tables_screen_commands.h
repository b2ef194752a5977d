#pragma once

#include "shell/table_list.h"
#include "shell/ui.h"

#include <QString>

namespace quorvex {

// The contact page that the tables screen's "Help" names.
inline const QString kContactPage = QStringLiteral("https://quorvex.example.com/contact");

// The text of the tables screen's "Help".
QString TablesHelpText();

// "Help" (PushButton12): the contact message, OK only, no icon, the application title.
void ShowTablesHelp(Dialogs& dialogs);

// "Select All" and "Deselect All" on one list: every entry selected or cleared, one at a time,
// nothing else touched (not the pointer, not the current entry, except that "Select All" makes
// the first entry current in a list that has none); pending window events run now and then.
// Failures are reported under `label` and the walk goes on.
void SetEveryEntrySelected(TableList& list, bool selected, Dialogs& dialogs, const QString& label);

}  // namespace quorvex
