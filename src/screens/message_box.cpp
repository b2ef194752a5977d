#include "screens/message_box.h"

#include "screens/window_frame.h"
#include "screens/window_services.h"

#include <QClipboard>
#include <QGridLayout>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextEdit>

#include <algorithm>
#include <cmath>

namespace quorvex {

namespace {

// An invisible character that forbids a line break on either side of it.
constexpr char16_t kWordJoiner = 0x2060;

// The text is set no wider than this (or half the screen, when that is wider) unless an address
// needs more: long lines read better wrapped than across the whole screen.
constexpr int kReadableTextWidth = 500;

// A web or e-mail address with a word joiner between every two characters, so that a line
// break, which Unicode allows after "/" or "-", never falls inside it while it fits on a line.
// None goes inside a surrogate pair or before a combining mark: the character would fall apart.
QString KeepAddressesWhole(const QString& text) {
    static const QRegularExpression address(
        QStringLiteral(R"((?:[a-z][a-z0-9+.-]*://|www\.)\S+|\S+@\S+\.\S+)"),
        QRegularExpression::CaseInsensitiveOption);
    QString shown;
    qsizetype done = 0;
    for (const QRegularExpressionMatch& match : address.globalMatch(text)) {
        shown += text.mid(done, match.capturedStart() - done);
        const QString found = match.captured();
        for (qsizetype i = 0; i < found.size(); ++i) {
            if (i > 0 && !found[i].isLowSurrogate() && !found[i].isMark()) {
                shown += QChar(kWordJoiner);
            }
            shown += found[i];
        }
        done = match.capturedEnd();
    }
    return shown + text.mid(done);
}

QString WithoutWordJoiners(QString text) { return text.remove(QChar(kWordJoiner)); }

// The read-only text of the box. A copied selection leaves out the word joiners.
class BoxText : public QTextEdit {
  public:
    explicit BoxText(QWidget* parent) : QTextEdit(parent) {}

  protected:
    QMimeData* createMimeDataFromSelection() const override {
        auto* mime = new QMimeData;
        mime->setText(WithoutWordJoiners(textCursor().selection().toPlainText()));
        return mime;
    }
};

QPixmap IconPicture(QMessageBox::Icon icon, const QStyle& style, const QWidget* box) {
    QStyle::StandardPixmap picture = QStyle::SP_MessageBoxInformation;
    switch (icon) {
        case QMessageBox::Warning:
            picture = QStyle::SP_MessageBoxWarning;
            break;
        case QMessageBox::Critical:
            picture = QStyle::SP_MessageBoxCritical;
            break;
        case QMessageBox::Question:
            picture = QStyle::SP_MessageBoxQuestion;
            break;
        default:
            break;
    }
    const int size = style.pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, box);
    return style.standardIcon(picture, nullptr, box).pixmap(QSize(size, size));
}

QScreen* ScreenFor(const QWidget* owner) {
    if (owner != nullptr && owner->screen() != nullptr) {
        return owner->screen();
    }
    return QGuiApplication::primaryScreen();
}

}  // namespace

MessageBox::MessageBox(QMessageBox::Icon icon, const QString& title, const QString& text,
                       QDialogButtonBox::StandardButtons buttons, QWidget* owner)
    : QDialog(owner), icon_(icon), text_(text) {
    setObjectName(QStringLiteral("MessageBox"));
    setWindowTitle(title);
    setModal(true);

    auto* layout = new QGridLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (icon != QMessageBox::NoIcon) {
        auto* picture = new QLabel(this);
        picture->setObjectName(QStringLiteral("MessageBoxIcon"));
        picture->setPixmap(IconPicture(icon, *style(), this));
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        layout->addWidget(picture, 0, 0, Qt::AlignTop);
    }

    view_ = new BoxText(this);
    view_->setObjectName(QStringLiteral("MessageBoxText"));
    view_->setReadOnly(true);
    view_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    view_->setFocusPolicy(Qt::NoFocus);  // the keys stay with the buttons and the box
    view_->setFrameShape(QFrame::NoFrame);
    view_->viewport()->setAutoFillBackground(false);  // the box's own background shows
    view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    view_->document()->setDocumentMargin(0);
    view_->setPlainText(KeepAddressesWhole(text));
    layout->addWidget(view_, 0, 1, Qt::AlignTop);

    buttons_ = new QDialogButtonBox(buttons, Qt::Horizontal, this);
    buttons_->setCenterButtons(style()->styleHint(QStyle::SH_MessageBox_CenterButtons));
    layout->addWidget(buttons_, 1, 0, 1, 2);
    // Yes (or OK) is the default button; Escape and the close box answer No (or OK).
    const bool yesNo = buttons.testFlag(QDialogButtonBox::Yes);
    if (QPushButton* first =
            buttons_->button(yesNo ? QDialogButtonBox::Yes : QDialogButtonBox::Ok)) {
        first->setDefault(true);
        first->setFocus(Qt::OtherFocusReason);
    }
    answer_ = yesNo ? QDialogButtonBox::No : QDialogButtonBox::Ok;
    connect(buttons_, &QDialogButtonBox::clicked, this, [this](QAbstractButton* button) {
        answer_ = buttons_->standardButton(button);
        accept();
    });

    FitToScreen();
}

void MessageBox::FitToScreen() {
    ensurePolished();  // the sizes below are those of the box as it will be shown
    const QRect available = ScreenFor(parentWidget())->availableGeometry();
    const QMargins frame = WindowFrameMargins(*this);
    auto* layout = static_cast<QGridLayout*>(this->layout());
    const QMargins margins = layout->contentsMargins();
    QWidget* picture = findChild<QWidget*>(QStringLiteral("MessageBoxIcon"));
    const int pictureWidth =
        picture != nullptr ? picture->sizeHint().width() + layout->horizontalSpacing() : 0;
    const int scrollBarWidth = view_->verticalScrollBar()->sizeHint().width();

    // Measured on a copy: the view lays its own document out to its current width.
    QTextDocument document;
    document.setDefaultFont(view_->font());
    document.setDefaultTextOption(view_->document()->defaultTextOption());
    document.setDocumentMargin(0);
    document.setPlainText(view_->toPlainText());

    // Width: the longest line unwrapped, at most the readable width but wide enough for the
    // longest address, and never wider than the screen leaves.
    const int widest =
        std::max(1, available.width() - frame.left() - frame.right() - margins.left() -
                        margins.right() - pictureWidth - scrollBarWidth);
    document.setTextWidth(-1);
    const int natural = static_cast<int>(std::ceil(document.idealWidth()));
    const int readable = std::max(kReadableTextWidth, available.width() / 2);
    const int textWidth =
        std::min(std::max({std::min(natural, readable), LongestAddressWidth(), 1}), widest);

    // Height: all of the text when the screen has room for the box; otherwise the text gets
    // what the screen leaves beside the rest of the box, and scrolls.
    document.setTextWidth(textWidth);
    const int textHeight = std::max(1, static_cast<int>(std::ceil(document.size().height())));
    view_->setFixedSize(textWidth, textHeight);
    const int excess = sizeHint().height() - (available.height() - frame.top() - frame.bottom());
    const bool scrolls = excess > 0;
    view_->setFixedSize(textWidth + (scrolls ? scrollBarWidth : 0),
                        std::max(1, textHeight - std::max(0, excess)));
    view_->setVerticalScrollBarPolicy(scrolls ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    adjustSize();

    const QWidget* owner = parentWidget();
    if (owner == nullptr || !owner->isVisible()) {
        CenterForm(*this);
    }
}

int MessageBox::LongestAddressWidth() const {
    const QFontMetrics metrics(view_->font());
    int longest = 0;
    for (const QString& word :
         view_->toPlainText().split(QRegularExpression(QStringLiteral("\\s+")))) {
        if (word.contains(QChar(kWordJoiner))) {
            longest = std::max(longest, metrics.horizontalAdvance(WithoutWordJoiners(word)));
        }
    }
    return longest;
}

QString MessageBox::ClipboardText() const {
    const QString rule = QStringLiteral("---------------------------\n");
    return rule + windowTitle() + QLatin1Char('\n') + rule + text_ + QLatin1Char('\n') + rule;
}

void MessageBox::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Copy)) {
        QGuiApplication::clipboard()->setText(ClipboardText());
        event->accept();
        return;
    }
    // A Yes/No box also takes the plain letters Y and N for its answers, Alt or no Alt.
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~(Qt::ShiftModifier | Qt::AltModifier | Qt::KeypadModifier);
    const bool yesNo = buttons_->button(QDialogButtonBox::Yes) != nullptr &&
                       buttons_->button(QDialogButtonBox::No) != nullptr;
    if (yesNo && modifiers == Qt::NoModifier &&
        (event->key() == Qt::Key_Y || event->key() == Qt::Key_N)) {
        answer_ = event->key() == Qt::Key_Y ? QDialogButtonBox::Yes : QDialogButtonBox::No;
        event->accept();
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace quorvex
