// What one keystroke in a connection field costs: every change writes the whole settings file
// and flushes it to disk (and keeps it private), so typing speed depends on it.
//
//   bench_settings_keystroke [writes]
#include "shell/connection_settings.h"
#include "shell/settings_store.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double MicrosecondsPerWrite(int writes, const QString& base) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < writes; ++i) {
        quorvex::SaveConnectionSetting(quorvex::kPasswordKey, base + QString::number(i));
    }
    return static_cast<double>(timer.nsecsElapsed()) / 1000.0 / writes;
}

double MicrosecondsPerRead(int reads) {
    QElapsedTimer timer;
    timer.start();
    qsizetype total = 0;
    for (int i = 0; i < reads; ++i) {
        total += quorvex::GetConnectionSetting(quorvex::kPasswordKey).size();
    }
    std::printf("(read %lld characters)\n", static_cast<long long>(total));
    return static_cast<double>(timer.nsecsElapsed()) / 1000.0 / reads;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int writes = argc > 1 ? std::atoi(argv[1]) : 2000;
    QTemporaryDir config;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());

    std::printf("settings file: %s\n",
                qPrintable(quorvex::SettingsFilePath(quorvex::kSettingsApp)));
    std::printf("short value:   %8.1f us per keystroke (%d writes)\n",
                MicrosecondsPerWrite(writes, QStringLiteral("tiger")), writes);
    std::printf("10,000 chars:  %8.1f us per keystroke (%d writes)\n",
                MicrosecondsPerWrite(writes / 4, QString(10000, QLatin1Char('x'))), writes / 4);
    std::printf("start-up read: %8.1f us per field\n", MicrosecondsPerRead(writes));
    return 0;
}
