#include "screens/form2.h"

#include "data/core/failure.h"
#include "data/folder/path_case.h"
#include "shell/table_listing.h"
#include "manage/table_commands.h"
#include "screens/command_input_rule.h"
#include "screens/end_program.h"
#include "screens/form_controls.h"
#include "screens/table_list_widget.h"
#include "screens/tables_screen_commands.h"
#include "screens/vendor_controls.h"
#include "screens/window_frame.h"
#include "screens/window_services.h"
#include "shell/command_steps.h"
#include "shell/files.h"
#include "shell/hover_cursor.h"
#include "shell/start_up.h"
#include "transfer/send_tables.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>

#include <algorithm>

namespace quorvex {

namespace {

// The window's design client area and the "< Back" button, in twips.
constexpr int kClientWidth = 8040;
constexpr int kClientHeight = 5520;
constexpr int kBackTop = 4980;
constexpr int kBackHeight = 405;
// What the refresh leaves below "< Back" for the window's bottom border and title bar.
constexpr int kHeightBelowBack = 580;

void Place(QWidget& control, int left, int top, int width, int height) {
    control.setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                        TwipsToPixels(height));
}

QFont ArialFont(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

MouseFrame* MakeFrame(const QString& name, const QString& caption, QWidget& window) {
    auto* frame = new MouseFrame(caption, &window);
    frame->setObjectName(name);
    return frame;
}

TableListWidget* MakeList(const QString& name, QWidget& frame) {
    auto* list = new TableListWidget(&frame);
    list->setObjectName(name);
    return list;
}

VendorPushButton* MakeButton(const QString& name, const QString& caption, QWidget& container) {
    auto* button = new VendorPushButton(caption, &container);
    button->setObjectName(name);
    button->setFont(ArialFont(11.25));
    button->setAutoDefault(false);
    return button;
}

}  // namespace

Form2::Form2(const ConnectionFields& fields, Dialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      fields_(fields),
      dialogs_(dialogs),
      programFolder_(QCoreApplication::applicationDirPath()),
      pointer_(*this) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(kApplicationTitle);
    setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
    setFont(ArialFont(9));  // the frames and lists use the window's font
    setMouseTracking(true);
    CommandInputRule::Install();
    BuildControls();
    SetTabOrder();
    ConnectEvents();
}

Form2::~Form2() = default;

void Form2::BuildControls() {
    Frame1 = MakeFrame(QStringLiteral("Frame1"), QStringLiteral("Oracle Tables"), *this);
    Place(*Frame1, 120, 120, 3840, 4215);
    List1 = MakeList(QStringLiteral("List1"), *Frame1);
    Place(*List1, 240, 360, 3330, 1635);

    Frame2 = MakeFrame(QStringLiteral("Frame2"), QStringLiteral("Paradox Tables"), *this);
    Place(*Frame2, 4080, 120, 3840, 4215);
    List2 = MakeList(QStringLiteral("List2"), *Frame2);
    Place(*List2, 240, 360, 3330, 1635);

    PushButton10 =
        MakeButton(QStringLiteral("PushButton10"), QStringLiteral("Select All"), *Frame1);
    Place(*PushButton10, 240, 2100, 1600, 400);
    PushButton11 =
        MakeButton(QStringLiteral("PushButton11"), QStringLiteral("Deselect All"), *Frame1);
    Place(*PushButton11, 1960, 2100, 1600, 400);
    PushButton3 = MakeButton(QStringLiteral("PushButton3"),
                             QStringLiteral("Send Table/s To Paradox"), *Frame1);
    Place(*PushButton3, 240, 2600, 3330, 400);
    PushButton1 =
        MakeButton(QStringLiteral("PushButton1"), QStringLiteral("Delete Table/s"), *Frame1);
    Place(*PushButton1, 240, 3100, 3330, 400);
    PushButton6 =
        MakeButton(QStringLiteral("PushButton6"), QStringLiteral("Rename Table"), *Frame1);
    Place(*PushButton6, 240, 3600, 3330, 400);

    PushButton8 = MakeButton(QStringLiteral("PushButton8"), QStringLiteral("Select All"), *Frame2);
    Place(*PushButton8, 240, 2100, 1600, 405);
    PushButton9 =
        MakeButton(QStringLiteral("PushButton9"), QStringLiteral("Deselect All"), *Frame2);
    Place(*PushButton9, 1960, 2100, 1600, 405);
    PushButton4 = MakeButton(QStringLiteral("PushButton4"),
                             QStringLiteral("Send Table/s To Oracle"), *Frame2);
    Place(*PushButton4, 240, 2600, 3330, 405);
    PushButton5 =
        MakeButton(QStringLiteral("PushButton5"), QStringLiteral("Delete Table/s"), *Frame2);
    Place(*PushButton5, 240, 3100, 3330, 405);
    PushButton7 =
        MakeButton(QStringLiteral("PushButton7"), QStringLiteral("Rename Table"), *Frame2);
    Place(*PushButton7, 240, 3600, 3330, 405);

    ProgressBar1 = new VendorProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    Place(*ProgressBar1, 120, 4460, 7800, 405);
    // The progress bar has no mouse-move handler: passing over it leaves the pointer alone.
    ProgressBar1->setAttribute(Qt::WA_NoMousePropagation);

    PushButton2 = MakeButton(QStringLiteral("PushButton2"), QStringLiteral("< Back"), *this);
    Place(*PushButton2, 120, kBackTop, 3840, kBackHeight);
    PushButton12 = MakeButton(QStringLiteral("PushButton12"), QStringLiteral("Help"), *this);
    Place(*PushButton12, 4080, kBackTop, 3840, kBackHeight);
}

void Form2::SetTabOrder() {
    // Tab indexes 0 to 16; the frames and the progress bar hold places in it but take no focus.
    QWidget* const chain[] = {List1,       List2,       PushButton10, PushButton11, PushButton3,
                              PushButton1, PushButton6, PushButton8,  PushButton9,  PushButton4,
                              PushButton5, PushButton7, PushButton2,  PushButton12};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        QWidget::setTabOrder(chain[i - 1], chain[i]);
    }
}

void Form2::ConnectEvents() {
    const std::pair<VendorPushButton*, void (Form2::*)()> commands[] = {
        {PushButton1, &Form2::PushButton1_Click},   {PushButton2, &Form2::PushButton2_Click},
        {PushButton3, &Form2::PushButton3_Click},   {PushButton4, &Form2::PushButton4_Click},
        {PushButton5, &Form2::PushButton5_Click},   {PushButton6, &Form2::PushButton6_Click},
        {PushButton7, &Form2::PushButton7_Click},   {PushButton8, &Form2::PushButton8_Click},
        {PushButton9, &Form2::PushButton9_Click},   {PushButton10, &Form2::PushButton10_Click},
        {PushButton11, &Form2::PushButton11_Click}, {PushButton12, &Form2::PushButton12_Click},
    };
    for (const auto& [button, command] : commands) {
        connect(button, &QPushButton::clicked, this, [this, command = command] {
            const RunningCommand running;
            (this->*command)();
        });
        // "Send Table/s To Paradox" has no mouse-move handler of its own.
        if (button != PushButton3) {
            connect(button, &VendorPushButton::mouseMoved, this,
                    [this] { PointerOverButton(pointer_); });
        }
    }
    for (MouseFrame* frame : {Frame1, Frame2}) {
        connect(frame, &MouseFrame::mouseMoved, this, [this] { PointerOverSurface(pointer_); });
    }
    for (TableListWidget* list : {List1, List2}) {
        connect(list, &TableListWidget::mouseMoved, this, [this] { PointerOverSurface(pointer_); });
    }
}

void Form2::Form_Load() {
    // No handler of its own: the first failure ends the refresh and goes to the caller.
    ApplyPlainColors(*this);
    SetWindowIconFromProgramFolder();
    CenterForm(*this);  // with the size before the height rule below
    LoadMouseIconIfPresent();
    setWindowTitle(kApplicationTitle);
    List1->Clear();
    List2->Clear();
    LoadOracleTables(*List1, fields_);
    LoadParadoxTables(*List2, fields_);
    ApplyHeightRule();
}

void Form2::SetWindowIconFromProgramFolder() {
    const QString iconFile = ResolvePathIgnoringCase(programFolder_ + kProgramIconFile);
    if (QFileInfo(iconFile).isFile()) {
        setWindowIcon(QIcon(iconFile));
    } else if (connectionScreen_ != nullptr && !connectionScreen_->windowIcon().isNull()) {
        setWindowIcon(connectionScreen_->windowIcon());
    }
}

void Form2::LoadMouseIconIfPresent() {
    const QString cursorFile = programFolder_ + kHandCursorFile;
    if (FileExists(cursorFile)) {
        pointer_.LoadMouseIcon(cursorFile);
    }
}

void Form2::ApplyHeightRule() {
    // The rule sets the outer height, title bar and borders included, on the first showing too
    // (the window manager is asked for the frame it will give).
    const QMargins frame = WindowFrameMargins(*this);
    const int outer = TwipsToPixels(kBackTop + kBackHeight + kHeightBelowBack);
    setFixedHeight(std::max(1, outer - frame.top() - frame.bottom()));
}

TablesScreen Form2::Screen() {
    return TablesScreen{*List1, *List2, *ProgressBar1, pointer_, dialogs_, fields_};
}

void Form2::PushButton1_Click() {
    TablesScreen screen = Screen();
    DeleteOracleTables(screen);
}

void Form2::PushButton2_Click() {
    CommandSteps steps(dialogs_, QStringLiteral("Form2.PushButton2_Click"));
    const bool shown = steps.Step(100, [this] {
        if (connectionScreen_ == nullptr) {
            throw Failure(QStringLiteral("The connection screen is not available."));
        }
        connectionScreen_->show();
        connectionScreen_->raise();
        connectionScreen_->activateWindow();
    });
    // Hiding this window without the other one on the screen would leave the program running
    // with no window at all.
    if (shown) {
        steps.Step(102, [this] { hide(); });
    }
}

void Form2::PushButton3_Click() {}

void Form2::PushButton4_Click() {
    TablesScreen screen = Screen();
    SendTablesToOracle(screen);
}

void Form2::PushButton5_Click() {
    TablesScreen screen = Screen();
    DeleteParadoxTables(screen);
}

void Form2::PushButton6_Click() {
    TablesScreen screen = Screen();
    RenameOracleTable(screen);
}

void Form2::PushButton7_Click() {
    TablesScreen screen = Screen();
    RenameParadoxTable(screen);
}

void Form2::PushButton8_Click() {
    SetEveryEntrySelected(*List2, true, dialogs_, QStringLiteral("Form2.PushButton8_Click"));
}

void Form2::PushButton9_Click() {
    SetEveryEntrySelected(*List2, false, dialogs_, QStringLiteral("Form2.PushButton9_Click"));
}

void Form2::PushButton10_Click() {
    SetEveryEntrySelected(*List1, true, dialogs_, QStringLiteral("Form2.PushButton10_Click"));
}

void Form2::PushButton11_Click() {
    SetEveryEntrySelected(*List1, false, dialogs_, QStringLiteral("Form2.PushButton11_Click"));
}

void Form2::PushButton12_Click() { ShowTablesHelp(dialogs_); }

void Form2::closeEvent(QCloseEvent* event) {
    event->accept();
    EndProgram();
}

void Form2::mouseMoveEvent(QMouseEvent* event) {
    PointerOverSurface(pointer_);
    QWidget::mouseMoveEvent(event);
}

}  // namespace quorvex
