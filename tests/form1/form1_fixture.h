#pragma once

#include "screens/form1.h"
#include "support/isolated_settings.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

namespace quorvex::test {

// A real connection screen, offscreen, with its own settings folder, its own program folder
// (empty unless a test puts the skin, the cursor or the icon there) and scripted boxes.
class Form1Test : public ::testing::Test {
  protected:
    IsolatedSettings settings;
    QTemporaryDir programFolder;
    ScriptedDialogs dialogs;
    std::unique_ptr<Form1> form;

    void SetUp() override { form = std::make_unique<Form1>(dialogs, programFolder.path()); }
    // Never closed: closing the connection screen ends the process. Destroying it also
    // destroys the tables screen it created.
    void TearDown() override { form.reset(); }

    template <typename T = QWidget>
    T* Control(const char* name) const {
        T* control = form->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    QLineEdit* Box(const char* name) const { return Control<QLineEdit>(name); }
    QPushButton* Button(const char* name) const { return Control<QPushButton>(name); }

    // Copies one of the program's own resources into the program folder.
    void Provide(const QString& resource, const QString& asName) const;

    // Real key presses into whichever widget has the focus.
    static void Type(const QString& text);
    static void PressKey(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

    // Shows the window and gives it the keyboard focus.
    void ShowAndActivate() const;
};

}  // namespace quorvex::test
