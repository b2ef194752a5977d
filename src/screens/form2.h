#pragma once

#include "data/core/connection_fields.h"
#include "screens/window_pointer.h"
#include "shell/tables_screen.h"
#include "shell/ui.h"

#include <QWidget>

namespace quorvex {

class MouseFrame;
class TableListWidget;
class VendorProgressBar;
class VendorPushButton;

// The tables screen: the Oracle tables on the left and the Paradox tables on the right, each in
// its frame with the commands that act on that side, below them the transfer's progress bar,
// "< Back" and "Help". Created once (hidden) by the connection screen, refreshed by Form_Load
// before each showing. Closing it ends the program.
class Form2 : public QWidget {
    Q_OBJECT
  public:
    Form2(const ConnectionFields& fields, Dialogs& dialogs, QWidget* parent = nullptr);
    ~Form2() override;

    // The refresh: dresses the window and fills both lists. The first failure (a dead Oracle
    // login, a folder no search can take) ends it at once and goes to the caller, which reports
    // it; the steps after it do not run.
    void Form_Load();

    // The connection screen that "< Back" shows again. Set once by the connection screen when
    // it creates this window.
    void SetConnectionScreen(QWidget* form1) { connectionScreen_ = form1; }

    // Where the hand cursor and the program's icon are looked for; the executable's folder
    // unless set.
    void SetProgramFolder(const QString& folder) { programFolder_ = folder; }

    void PushButton1_Click();   // "Delete Table/s", Oracle
    void PushButton2_Click();   // "< Back"
    void PushButton3_Click();   // "Send Table/s To Paradox": nothing
    void PushButton4_Click();   // "Send Table/s To Oracle"
    void PushButton5_Click();   // "Delete Table/s", Paradox
    void PushButton6_Click();   // "Rename Table", Oracle
    void PushButton7_Click();   // "Rename Table", Paradox
    void PushButton8_Click();   // "Select All", Paradox
    void PushButton9_Click();   // "Deselect All", Paradox
    void PushButton10_Click();  // "Select All", Oracle
    void PushButton11_Click();  // "Deselect All", Oracle
    void PushButton12_Click();  // "Help"

    TableListWidget& OracleList() { return *List1; }
    TableListWidget& ParadoxList() { return *List2; }
    WindowPointer& MousePointerState() { return pointer_; }

  protected:
    void closeEvent(QCloseEvent* event) override;  // Form_Unload
    void mouseMoveEvent(QMouseEvent* event) override;

    QWidget* connectionScreen_ = nullptr;

  private:
    void BuildControls();
    void SetTabOrder();
    void ConnectEvents();
    void SetWindowIconFromProgramFolder();
    void LoadMouseIconIfPresent();
    void ApplyHeightRule();
    // What the transfer, delete and rename commands work on.
    TablesScreen Screen();

    const ConnectionFields& fields_;
    Dialogs& dialogs_;
    QString programFolder_;
    WindowPointer pointer_;

    MouseFrame* Frame1 = nullptr;
    TableListWidget* List1 = nullptr;
    MouseFrame* Frame2 = nullptr;
    TableListWidget* List2 = nullptr;
    VendorPushButton* PushButton10 = nullptr;
    VendorPushButton* PushButton11 = nullptr;
    VendorPushButton* PushButton3 = nullptr;
    VendorPushButton* PushButton1 = nullptr;
    VendorPushButton* PushButton6 = nullptr;
    VendorPushButton* PushButton8 = nullptr;
    VendorPushButton* PushButton9 = nullptr;
    VendorPushButton* PushButton4 = nullptr;
    VendorPushButton* PushButton5 = nullptr;
    VendorPushButton* PushButton7 = nullptr;
    VendorProgressBar* ProgressBar1 = nullptr;
    VendorPushButton* PushButton2 = nullptr;
    VendorPushButton* PushButton12 = nullptr;
};

}  // namespace quorvex
