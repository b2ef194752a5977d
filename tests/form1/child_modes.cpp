#include "child_modes.h"

#include "data/core/do_events.h"
#include "screens/form1.h"
#include "support/scripted_dialogs.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <cstdio>

namespace quorvex::test {

namespace {

const QString kModePrefix = QStringLiteral("--child=");

void PrintLine(const QString& line) {
    std::fputs(line.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
}

// A second window whose own close handling must never run when the connection screen ends the
// program.
class OtherWindow : public QWidget {
  protected:
    void closeEvent(QCloseEvent* event) override {
        PrintLine(kOtherWindowClosed);
        QWidget::closeEvent(event);
    }
};

int RestoreFields() {
    ScriptedDialogs dialogs;
    QTemporaryDir programFolder;  // no skin, no cursor: only the fields matter here
    Form1 form(dialogs, programFolder.path());
    form.Form_Load();
    for (const QString& field : {form.Text1(), form.Text2(), form.Text3(), form.Text4()}) {
        // Hex, so any text survives the trip through a line of output; ">" keeps empty ones.
        PrintLine(QStringLiteral(">") + QString::fromLatin1(field.toUtf8().toHex()));
    }
    PrintLine(QString::number(dialogs.boxes.size()));
    return 0;
}

int CloseWhileACommandYields() {
    ScriptedDialogs dialogs;
    QTemporaryDir programFolder;
    Form1 form(dialogs, programFolder.path());
    OtherWindow other;
    other.show();
    form.show();
    QTimer::singleShot(0, &form, [&form] { form.close(); });
    // A long command letting events run between its steps, as the transfer does.
    for (int step = 0; step < 1000; ++step) {
        DoEvents();
    }
    PrintLine(kStillRunning);
    return 3;
}

}  // namespace

QString ChildMode(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const QString argument = QString::fromLocal8Bit(argv[i]);
        if (argument.startsWith(kModePrefix)) {
            return argument.mid(kModePrefix.size());
        }
    }
    return QString();
}

int RunChildMode(const QString& mode) {
    if (mode == kRestoreMode) {
        return RestoreFields();
    }
    if (mode == kCloseMode) {
        return CloseWhileACommandYields();
    }
    return 2;
}

ChildResult RunChild(const QString& mode, const QString& configFolder) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configFolder);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::SeparateChannels);
    child.start(QCoreApplication::applicationFilePath(), {kModePrefix + mode});
    ChildResult result;
    // A generous guard against a hang, not a measure of speed.
    result.finished = child.waitForFinished(300000) && child.exitStatus() == QProcess::NormalExit;
    result.exitCode = child.exitCode();
    const QString output = QString::fromUtf8(child.readAllStandardOutput());
    result.lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return result;
}

}  // namespace quorvex::test
