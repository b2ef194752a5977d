#pragma once

#include "data/core/failure.h"
#include "shell/connection_screen.h"
#include "support/recording_ui.h"

#include <QSet>
#include <QStringList>

namespace quorvex::test {

// The connection screen's window operations, recorded in order; any of them can be made to fail.
// The fields are plain texts. The steps' logic runs against it without a window.
class RecordingScreen : public ConnectionScreen {
  public:
    QString folder, sid, user, password;
    QString programFolder = QStringLiteral("/nonexistent-program-folder");
    RecordingPointer pointer;
    QStringList calls;
    QSet<QString> failing;  // operation names that raise Failure(name + " failed")

    QString Text1() const override { return folder; }
    QString Text2() const override { return sid; }
    QString Text3() const override { return user; }
    QString Text4() const override { return password; }
    void SetText1(const QString& t) override {
        Record(QStringLiteral("SetText1"), [&] { folder = t; });
    }
    void SetText2(const QString& t) override {
        Record(QStringLiteral("SetText2"), [&] { sid = t; });
    }
    void SetText3(const QString& t) override {
        Record(QStringLiteral("SetText3"), [&] { user = t; });
    }
    void SetText4(const QString& t) override {
        Record(QStringLiteral("SetText4"), [&] { password = t; });
    }
    Pointer& Screen() override { return pointer; }
    QString ProgramFolder() const override { return programFolder; }
    void ApplySkin() override { Record(QStringLiteral("ApplySkin")); }
    void CenterForm() override { Record(QStringLiteral("CenterForm")); }
    void SetCaptionAndIcon() override { Record(QStringLiteral("SetCaptionAndIcon")); }
    void LoadMouseIcon(const QString& file) override {
        Record(QStringLiteral("LoadMouseIcon ") + file);
    }
    void RefreshTablesScreen() override { Record(QStringLiteral("RefreshTablesScreen")); }
    void ShowTablesScreen() override { Record(QStringLiteral("ShowTablesScreen")); }
    void HideConnectionScreen() override { Record(QStringLiteral("HideConnectionScreen")); }

  private:
    template <typename Action = void (*)()>
    void Record(
        const QString& name, Action action = [] {}) {
        calls << name;
        const QString key = name.section(QLatin1Char(' '), 0, 0);
        if (failing.contains(key)) {
            throw Failure(key + QStringLiteral(" failed"));
        }
        action();
    }
};

}  // namespace quorvex::test
