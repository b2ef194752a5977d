#include "manage_support.h"

#include "shell/error_report.h"
#include "support/immutable_flag.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quorvex::test {

TableFolder::TableFolder() { EXPECT_TRUE(dir_.isValid()) << "no temporary folder"; }

QString TableFolder::Write(const QString& name, const QByteArray& contents) const {
    const QString path = PathOf(name);
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(contents);
    return path;
}

QByteArray TableFolder::Read(const QString& name) const {
    QFile file(PathOf(name));
    if (!file.open(QIODevice::ReadOnly)) {
        return QByteArray();
    }
    return file.readAll();
}

QStringList TableFolder::Names() const {
    QStringList names = QDir(Path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System |
                                               QDir::NoDotAndDotDot);
    std::sort(names.begin(), names.end());
    return names;
}

QString TableFolder::Subfolder(const QString& name) const {
    QDir().mkpath(PathOf(name));
    return PathOf(name);
}

void Fill(TableList& list, const QStringList& names) {
    for (const QString& name : names) {
        list.AddItem(name);
    }
    list.SetListIndex(-1);
}

void SelectEntries(TableList& list, const QStringList& names) {
    for (const QString& name : names) {
        bool found = false;
        for (int i = 0; i < list.ListCount(); ++i) {
            if (list.List(i) == name) {
                list.SetSelected(i, true);
                list.SetListIndex(i);
                found = true;
                break;
            }
        }
        EXPECT_TRUE(found) << "no entry " << name.toStdString();
    }
}

QStringList Entries(const TableList& list) {
    QStringList entries;
    for (int i = 0; i < list.ListCount(); ++i) {
        entries.append(list.List(i));
    }
    return entries;
}

QStringList SelectedEntries(const TableList& list) {
    QStringList entries;
    for (int i = 0; i < list.ListCount(); ++i) {
        if (list.Selected(i)) {
            entries.append(list.List(i));
        }
    }
    return entries;
}

std::vector<ReportedFailure> ReportedFailures(const ScriptedDialogs& dialogs) {
    static const QString where = QStringLiteral("\r\nin Quorvex2/19/2015.");
    static const QString atLine = QStringLiteral(" at line ");
    std::vector<ReportedFailure> failures;
    for (const ScriptedDialogs::Box& box : dialogs.Errors()) {
        EXPECT_EQ(box.buttons, vbExclamation);
        const qsizetype whereAt = box.text.lastIndexOf(where);
        const qsizetype lineAt = box.text.indexOf(atLine, whereAt);
        const qsizetype endAt = box.text.indexOf(QStringLiteral("\r\r"), lineAt);
        EXPECT_TRUE(whereAt >= 0 && lineAt > whereAt && endAt > lineAt) << box.text.toStdString();
        if (whereAt < 0 || lineAt < 0 || endAt < 0) {
            continue;
        }
        ReportedFailure failure;
        failure.description = box.text.left(whereAt);
        failure.label = box.text.mid(whereAt + where.size(), lineAt - whereAt - where.size());
        const qsizetype numberAt = lineAt + atLine.size();
        failure.line = box.text.mid(numberAt, endAt - numberAt).toInt();
        EXPECT_EQ(box.text, ApplicationErrorText(failure.label, failure.line, failure.description));
        failures.push_back(failure);
    }
    return failures;
}

QStringList PlainMessages(const ScriptedDialogs& dialogs) {
    QStringList texts;
    for (const ScriptedDialogs::Box& box : dialogs.boxes) {
        if (box.title == QStringLiteral("Application Error")) {
            continue;
        }
        EXPECT_EQ(box.buttons, vbOKOnly) << box.text.toStdString();
        EXPECT_TRUE(box.title.isEmpty()) << box.title.toStdString();
        texts.append(box.text);
    }
    return texts;
}

QString LongName(int length) { return QString(length, QLatin1Char('L')); }

}  // namespace quorvex::test
