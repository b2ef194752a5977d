#pragma once

#include <QString>
#include <QWidget>

namespace quorvex {

// Stand-in for the vendor's skin component. A skin file is a Qt style sheet in UTF-8 text;
// applying the skin gives a window that sheet, and through it every control on the window and
// every box the window owns.
class SkinFramework {
  public:
    // Bit 0 of the option flags: apply the skin's sheet when a window is skinned.
    static constexpr int kApplySheet = 1;

    // Reads and checks the skin file. The second argument names a section of a multi-skin file;
    // this skin format has one sheet per file, so it is accepted and unused. Raises Failure when
    // the file cannot be read, is not UTF-8 text, or is a sheet Qt cannot parse.
    void LoadSkin(const QString& path, const QString& iniFileName);

    int ApplyOptions() const { return applyOptions_; }
    void SetApplyOptions(int options) { applyOptions_ = options; }

    // Skin the window's own frame and colours; skin the boxes it owns. A style sheet reaches a
    // window's children and owned dialogs by inheritance, so both hold as soon as it is set.
    bool ApplyFrame() const { return applyFrame_; }
    void SetApplyFrame(bool on) { applyFrame_ = on; }
    bool ApplyDialogs() const { return applyDialogs_; }
    void SetApplyDialogs(bool on) { applyDialogs_ = on; }

    // Dresses the window with the loaded skin.
    void ApplyWindow(QWidget& window) const;

    const QString& StyleSheet() const { return sheet_; }

  private:
    QString sheet_;
    bool loaded_ = false;
    int applyOptions_ = 0;
    bool applyFrame_ = false;
    bool applyDialogs_ = false;
};

// True when Qt's style sheet parser accepts the text.
bool QtAcceptsStyleSheet(const QString& sheet);

}  // namespace quorvex
