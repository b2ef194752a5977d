#include "screens/form1.h"

#include "data/folder/path_case.h"
#include "screens/command_input_rule.h"
#include "screens/end_program.h"
#include "screens/form2.h"
#include "screens/form_controls.h"
#include "screens/vendor_controls.h"
#include "screens/window_services.h"
#include "shell/connection_commands.h"
#include "shell/connection_help.h"
#include "shell/connection_settings.h"
#include "shell/hover_cursor.h"
#include "shell/start_up.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>

namespace quorvex {

namespace {

// The window's client area, in twips.
constexpr int kClientWidth = 8040;
constexpr int kClientHeight = 4755;

void Place(QWidget& control, int left, int top, int width, int height) {
    control.setGeometry(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width),
                        TwipsToPixels(height));
}

QFont ArialFont(double points, bool bold) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

const QFont& FieldFont() {
    static const QFont font = ArialFont(9, true);
    return font;
}

const QFont& ButtonFont() {
    static const QFont font = ArialFont(11.25, true);
    return font;
}

QLabel* MakeLabel(const QString& name, const QString& caption, QWidget& container) {
    auto* label = new QLabel(caption, &container);
    label->setObjectName(name);
    label->setFont(FieldFont());
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    SetBackColor(*label, Qt::white);
    // Labels have no mouse-move handler: passing over one leaves the pointer as it was.
    label->setAttribute(Qt::WA_NoMousePropagation);
    return label;
}

FieldTextBox* MakeTextBox(const QString& name, QWidget& container) {
    auto* box = new FieldTextBox(&container);
    box->setObjectName(name);
    box->setFont(FieldFont());
    return box;
}

VendorPushButton* MakeButton(const QString& name, const QString& caption, QWidget& container) {
    auto* button = new VendorPushButton(caption, &container);
    button->setObjectName(name);
    button->setFont(ButtonFont());
    button->setAutoDefault(false);
    return button;
}

MouseFrame* MakeFrame(const QString& name, const QString& caption, QWidget& container) {
    auto* frame = new MouseFrame(caption, &container);
    frame->setObjectName(name);
    frame->setFont(FieldFont());
    SetBackColor(*frame, Qt::white);
    return frame;
}

}  // namespace

Form1::Form1(Dialogs& dialogs, const QString& programFolder, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint),
      dialogs_(dialogs),
      programFolder_(programFolder.isEmpty() ? QCoreApplication::applicationDirPath()
                                             : programFolder),
      pointer_(*this) {
    setObjectName(QStringLiteral("Form1"));
    setFixedSize(TwipsToPixels(kClientWidth), TwipsToPixels(kClientHeight));
    setFont(ArialFont(9, false));
    SetBackColor(*this, Qt::white);
    setMouseTracking(true);
    CommandInputRule::Install();
    BuildControls();
    SetTabOrder();
    ConnectEvents();
    Text1Box->setFocus(Qt::OtherFocusReason);
}

Form1::~Form1() = default;

void Form1::BuildControls() {
    Frame1 = MakeFrame(QStringLiteral("Frame1"), QStringLiteral("Paradox Database"), *this);
    Place(*Frame1, 120, 120, 7800, 1455);
    Label2 = MakeLabel(QStringLiteral("Label2"), QStringLiteral("Paradox Folder:"), *Frame1);
    Place(*Label2, 240, 405, 1455, 255);
    Text1Box = MakeTextBox(QStringLiteral("Text1"), *Frame1);
    Place(*Text1Box, 1680, 360, 5175, 345);
    PushButton5 = MakeButton(QStringLiteral("PushButton5"), QStringLiteral("..."), *Frame1);
    Place(*PushButton5, 6945, 360, 600, 345);
    PushButton6 = MakeButton(QStringLiteral("PushButton6"),
                             QStringLiteral("Load Sample/Example Database"), *Frame1);
    Place(*PushButton6, 240, 840, 3600, 405);
    PushButton3 =
        MakeButton(QStringLiteral("PushButton3"), QStringLiteral("Test Connection"), *Frame1);
    Place(*PushButton3, 3960, 840, 3600, 405);

    Frame2 = MakeFrame(QStringLiteral("Frame2"), QStringLiteral("Oracle Login"), *this);
    Place(*Frame2, 120, 1680, 7800, 2415);
    Label7 = MakeLabel(QStringLiteral("Label7"), QStringLiteral("SID:"), *Frame2);
    Place(*Label7, 240, 405, 1095, 255);
    Text2Box = MakeTextBox(QStringLiteral("Text2"), *Frame2);
    Place(*Text2Box, 1320, 360, 6255, 330);
    Label5 = MakeLabel(QStringLiteral("Label5"), QStringLiteral("Username:"), *Frame2);
    Place(*Label5, 240, 885, 1095, 255);
    Text3Box = MakeTextBox(QStringLiteral("Text3"), *Frame2);
    Place(*Text3Box, 1320, 840, 6255, 330);
    Label9 = MakeLabel(QStringLiteral("Label9"), QStringLiteral("Password:"), *Frame2);
    Place(*Label9, 240, 1365, 1095, 255);
    Text4Box = MakeTextBox(QStringLiteral("Text4"), *Frame2);
    Place(*Text4Box, 1320, 1320, 6255, 330);
    Text4Box->setEchoMode(QLineEdit::Password);
    // Every character of the password shows as "*", whatever the style's own mask character.
    Text4Box->setStyleSheet(QStringLiteral("QLineEdit { lineedit-password-character: 42; }"));
    PushButton1 =
        MakeButton(QStringLiteral("PushButton1"), QStringLiteral("Test Connection"), *Frame2);
    Place(*PushButton1, 240, 1800, 3600, 405);
    PushButton4 = MakeButton(QStringLiteral("PushButton4"), QStringLiteral("Help"), *Frame2);
    Place(*PushButton4, 3960, 1800, 3600, 405);

    PushButton2 = MakeButton(QStringLiteral("PushButton2"), QStringLiteral("Next >"), *this);
    Place(*PushButton2, 120, 4230, 7800, 400);
}

void Form1::SetTabOrder() {
    // Tab indexes: Text1, Text4, Text3, Text2, "...", the Paradox test, the Oracle test, "Help",
    // "Next >", "Load Sample/Example Database"; frames and labels take no focus.
    const QWidget* chain[] = {Text1Box,    Text4Box,    Text3Box,    Text2Box,    PushButton5,
                              PushButton3, PushButton1, PushButton4, PushButton2, PushButton6};
    for (std::size_t i = 1; i < std::size(chain); ++i) {
        QWidget::setTabOrder(const_cast<QWidget*>(chain[i - 1]), const_cast<QWidget*>(chain[i]));
    }
}

void Form1::ConnectEvents() {
    const std::pair<VendorPushButton*, void (Form1::*)()> commands[] = {
        {PushButton1, &Form1::PushButton1_Click}, {PushButton2, &Form1::PushButton2_Click},
        {PushButton3, &Form1::PushButton3_Click}, {PushButton4, &Form1::PushButton4_Click},
        {PushButton5, &Form1::PushButton5_Click}, {PushButton6, &Form1::PushButton6_Click},
    };
    for (const auto& [button, command] : commands) {
        connect(button, &QPushButton::clicked, this, [this, command = command] {
            const RunningCommand running;
            (this->*command)();
        });
    }

    // Text1_Change ... Text4_Change: every change, typed or assigned, is saved at once.
    const std::pair<FieldTextBox*, QString> fields[] = {{Text1Box, kParadoxFolderKey},
                                                        {Text2Box, kServerKey},
                                                        {Text3Box, kUserKey},
                                                        {Text4Box, kPasswordKey}};
    for (const auto& [box, key] : fields) {
        connect(box, &QLineEdit::textChanged, this,
                [key = key](const QString& text) { SaveConnectionSetting(key, text); });
        connect(box, &FieldTextBox::mouseMoved, this, [this] { PointerOverSurface(pointer_); });
    }
    for (VendorPushButton* button :
         {PushButton1, PushButton2, PushButton3, PushButton4, PushButton5, PushButton6}) {
        connect(button, &VendorPushButton::mouseMoved, this,
                [this] { PointerOverButton(pointer_); });
    }
    for (MouseFrame* frame : {Frame1, Frame2}) {
        connect(frame, &MouseFrame::mouseMoved, this, [this] { PointerOverSurface(pointer_); });
    }
}

void Form1::Start() {
    hiddenByCommand_ = false;
    {
        const RunningCommand startUp;  // the start-up takes no input either
        Form_Load();
    }
    if (!hiddenByCommand_) {
        show();
    }
}

void Form1::Form_Load() { RunStartUp(*this, dialogs_); }
void Form1::PushButton1_Click() { TestOracleConnection(*this, dialogs_); }
void Form1::PushButton2_Click() { GoToTablesScreen(*this, dialogs_); }
void Form1::PushButton3_Click() { TestParadoxFolder(*this, dialogs_); }
void Form1::PushButton4_Click() { ShowConnectionHelp(dialogs_); }
void Form1::PushButton5_Click() { BrowseParadoxFolder(*this, dialogs_); }
void Form1::PushButton6_Click() { LoadSampleDatabase(*this, dialogs_); }

QString Form1::Text1() const { return Text1Box->text(); }
QString Form1::Text2() const { return Text2Box->text(); }
QString Form1::Text3() const { return Text3Box->text(); }
QString Form1::Text4() const { return Text4Box->text(); }
void Form1::SetText1(const QString& text) { Text1Box->setText(text); }
void Form1::SetText2(const QString& text) { Text2Box->setText(text); }
void Form1::SetText3(const QString& text) { Text3Box->setText(text); }
void Form1::SetText4(const QString& text) { Text4Box->setText(text); }

void Form1::ApplySkin() {
    // The skin is used only when its file is there; without it the window keeps its own colours.
    const QString skinFile = programFolder_ + kSkinFile;
    if (!QFileInfo(ResolvePathIgnoringCase(skinFile)).isFile()) {
        return;
    }
    const QColor face = ButtonFaceColor();
    SetBackColor(*this, face);
    for (QWidget* control : findChildren<QWidget*>()) {
        if (IsLabelLike(*control)) {
            SetBackColor(*control, face);
        }
    }
    SkinFramework1.LoadSkin(skinFile, QString());
    SkinFramework1.SetApplyOptions(SkinFramework1.ApplyOptions() | SkinFramework::kApplySheet);
    SkinFramework1.SetApplyFrame(true);
    SkinFramework1.SetApplyDialogs(true);
    SkinFramework1.ApplyWindow(*this);
}

void Form1::CenterForm() { ::quorvex::CenterForm(*this); }

void Form1::SetCaptionAndIcon() {
    setWindowTitle(kApplicationTitle);
    const QString iconFile = ResolvePathIgnoringCase(programFolder_ + kProgramIconFile);
    if (QFileInfo(iconFile).isFile()) {
        setWindowIcon(QIcon(iconFile));
    }
}

void Form1::LoadMouseIcon(const QString& cursorFile) { pointer_.LoadMouseIcon(cursorFile); }

Form2& Form1::TablesScreen() {
    if (!form2_) {
        form2_ = std::make_unique<Form2>(*this, dialogs_, nullptr);
        form2_->SetConnectionScreen(this);
        form2_->SetProgramFolder(programFolder_);
    }
    return *form2_;
}

void Form1::RefreshTablesScreen() {
    Form2& form2 = TablesScreen();
    form2Loaded_ = true;
    form2.Form_Load();
}

void Form1::ShowTablesScreen() {
    Form2& form2 = TablesScreen();
    if (!form2Loaded_) {
        // Its first showing loads it. A load that fails still shows the window, with whatever
        // its lists hold, so that the program never ends up with no window on the screen.
        form2Loaded_ = true;
        try {
            form2.Form_Load();
        } catch (...) {
            form2.show();
            throw;
        }
    }
    form2.show();
    form2.raise();
    form2.activateWindow();
}

void Form1::HideConnectionScreen() {
    hiddenByCommand_ = true;
    hide();
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    EndProgram();
}

void Form1::mouseMoveEvent(QMouseEvent* event) {
    PointerOverSurface(pointer_);
    QWidget::mouseMoveEvent(event);
}

}  // namespace quorvex
