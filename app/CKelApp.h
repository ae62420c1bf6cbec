#pragma once
#include <QApplication>
#include <QElapsedTimer>
#include <memory>

#include "CommandLine.h"
#include "link/Clock.h"
#include "link/qt/DeviceChoice.h"

namespace kel {
class TraceFile;
class TraceRing;
}  // namespace kel

namespace kel::ui {
class CKelDlg;
class QtDialogs;
}  // namespace kel::ui

namespace kel::app {

// The application: its name "Kel" (the caption of message boxes that have
// none of their own) and icon, the serial device the options ask for, and the
// main window, whose closing ends the program.
class CKelApp : public QApplication {
    Q_OBJECT
public:
    CKelApp(int& argc, char** argv);
    ~CKelApp() override;

    // Builds the device and the main window, shows it and runs until it closes.
    int Run(const AppOptions& options, const QElapsedTimer& sinceStart);

private:
    // Records the exchange: the last bytes always, all of them with --trace.
    bool RecordExchange(const AppOptions& options);

    SteadyClock clock_;
    std::unique_ptr<TraceRing> exchangeLog_;
    std::unique_ptr<TraceFile> traceFile_;
    Device device_;
    std::unique_ptr<ui::QtDialogs> dialogs_;
    std::unique_ptr<ui::CKelDlg> window_;
};

}  // namespace kel::app
