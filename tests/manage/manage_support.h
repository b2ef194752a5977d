#pragma once

#include "screens/table_list_widget.h"
#include "shell/tables_screen.h"
#include "support/immutable_flag.h"
#include "support/recording_ui.h"
#include "support/scripted_dialogs.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace quorvex::test {

// A real, empty folder for table files, removed with the object.
class TableFolder {
  public:
    TableFolder();
    QString Path() const { return dir_.path(); }
    QString PathOf(const QString& name) const { return Path() + QLatin1Char('/') + name; }

    // Writes a file (its folders first) with the given contents; returns its path.
    QString Write(const QString& name, const QByteArray& contents = QByteArray("table")) const;
    // The contents of a file, or a null array when it cannot be read.
    QByteArray Read(const QString& name) const;
    // Every entry directly in the folder, sorted with case.
    QStringList Names() const;
    // A folder inside this one; returns its path.
    QString Subfolder(const QString& name) const;

  private:
    QTemporaryDir dir_;
};

// The tables screen as the commands see it, with the real list widgets, a recording pointer and
// scripted dialogs.
struct ScreenUnderTest {
    explicit ScreenUnderTest(const FixedFields& connectionFields) : fields(connectionFields) {}

    TableListWidget List1;
    TableListWidget List2;
    RecordingProgressBar progress;
    RecordingPointer pointer;
    ScriptedDialogs dialogs;
    FixedFields fields;
    TablesScreen screen{List1, List2, progress, pointer, dialogs, fields};
};

// Fills a list; no entry selected, none current.
void Fill(TableList& list, const QStringList& names);
// Selects the named entries and makes the last of them the current one, as clicks would.
void SelectEntries(TableList& list, const QStringList& names);
QStringList Entries(const TableList& list);
QStringList SelectedEntries(const TableList& list);

// A failure report read back from the box that showed it.
struct ReportedFailure {
    QString description;
    QString label;
    int line = 0;
};
std::vector<ReportedFailure> ReportedFailures(const ScriptedDialogs& dialogs);

// The texts of the plain messages shown (every box that is not a failure report). Each must have
// come with an OK button only, no icon and no title of its own; a test fails otherwise.
QStringList PlainMessages(const ScriptedDialogs& dialogs);

// A name of `length` letters, for names longer than a file system allows.
QString LongName(int length);

}  // namespace quorvex::test
