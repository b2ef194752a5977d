#pragma once

#include "screens/skin_framework.h"
#include "screens/window_pointer.h"
#include "shell/connection_screen.h"

#include <QWidget>

#include <memory>

class QLabel;

namespace quorvex {

class Form2;
class FieldTextBox;
class MouseFrame;
class VendorPushButton;

// The connection screen and start-up window: the four connection fields, a test for each side,
// the folder picker, the sample folder, help, and "Next >" to the tables screen. Its four text
// boxes are the connection fields every database operation reads. Closing it ends the program.
class Form1 : public QWidget, public ConnectionScreen {
    Q_OBJECT
  public:
    // The program folder is where the cursor, the skin, the icon and the samples are looked for;
    // empty means the folder of the executable.
    explicit Form1(Dialogs& dialogs, const QString& programFolder = QString(),
                   QWidget* parent = nullptr);
    ~Form1() override;

    // The start-up: runs Form_Load, then shows this window unless the start-up moved on to the
    // tables screen by itself.
    void Start();

    void Form_Load();
    void PushButton1_Click();  // Oracle "Test Connection"
    void PushButton2_Click();  // "Next >"
    void PushButton3_Click();  // Paradox "Test Connection"
    void PushButton4_Click();  // "Help"
    void PushButton5_Click();  // "..."
    void PushButton6_Click();  // "Load Sample/Example Database"

    // ConnectionFields
    QString Text1() const override;
    QString Text2() const override;
    QString Text3() const override;
    QString Text4() const override;

    // ConnectionScreen
    void SetText1(const QString& text) override;
    void SetText2(const QString& text) override;
    void SetText3(const QString& text) override;
    void SetText4(const QString& text) override;
    Pointer& Screen() override { return pointer_; }
    QString ProgramFolder() const override { return programFolder_; }
    void ApplySkin() override;
    void CenterForm() override;
    void SetCaptionAndIcon() override;
    void LoadMouseIcon(const QString& cursorFile) override;
    void RefreshTablesScreen() override;
    void ShowTablesScreen() override;
    void HideConnectionScreen() override;

    const WindowPointer& MousePointerState() const { return pointer_; }
    const SkinFramework& Skin() const { return SkinFramework1; }
    // The tables screen, once a command or the start-up has created it.
    Form2* TablesScreenIfCreated() const { return form2_.get(); }

  protected:
    void closeEvent(QCloseEvent* event) override;  // Form_Unload
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void BuildControls();
    void SetTabOrder();
    void ConnectEvents();
    Form2& TablesScreen();

    Dialogs& dialogs_;
    QString programFolder_;
    WindowPointer pointer_;
    SkinFramework SkinFramework1;
    std::unique_ptr<Form2> form2_;
    bool form2Loaded_ = false;
    bool hiddenByCommand_ = false;

    MouseFrame* Frame1 = nullptr;
    QLabel* Label2 = nullptr;
    FieldTextBox* Text1Box = nullptr;
    VendorPushButton* PushButton5 = nullptr;
    VendorPushButton* PushButton6 = nullptr;
    VendorPushButton* PushButton3 = nullptr;
    MouseFrame* Frame2 = nullptr;
    QLabel* Label7 = nullptr;
    FieldTextBox* Text2Box = nullptr;
    QLabel* Label5 = nullptr;
    FieldTextBox* Text3Box = nullptr;
    QLabel* Label9 = nullptr;
    FieldTextBox* Text4Box = nullptr;
    VendorPushButton* PushButton1 = nullptr;
    VendorPushButton* PushButton4 = nullptr;
    VendorPushButton* PushButton2 = nullptr;
};

}  // namespace quorvex
