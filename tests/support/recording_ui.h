#pragma once

#include "data/core/connection_fields.h"
#include "shell/ui.h"

#include <QString>

#include <vector>

namespace quorvex::test {

// Connection fields with texts set by the test.
struct FixedFields : ConnectionFields {
    QString folder, sid, user, password;
    QString Text1() const override { return folder; }
    QString Text2() const override { return sid; }
    QString Text3() const override { return user; }
    QString Text4() const override { return password; }
};

// Connection fields holding only a Paradox folder.
inline FixedFields FolderField(const QString& folder) {
    FixedFields fields;
    fields.folder = folder;
    return fields;
}

// A pointer that remembers every state it was given.
struct RecordingPointer : Pointer {
    int state = vbDefault;
    std::vector<int> history;
    int MousePointer() const override { return state; }
    void SetMousePointer(int s) override {
        state = s;
        history.push_back(s);
    }
};

// A progress bar that remembers every value it was given.
struct RecordingProgressBar : ProgressBar {
    double value = 0.0;
    std::vector<double> history;
    double Value() const override { return value; }
    void SetValue(double v) override {
        value = v;
        history.push_back(v);
    }
};

}  // namespace quorvex::test
