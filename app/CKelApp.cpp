#include "CKelApp.h"

#include <cstdio>

#include "link/TraceFile.h"
#include "link/TraceRing.h"
#include "link/TracingDevice.h"
#include "link/qt/BackupLocation.h"
#include "resources/Skin.h"
#include "ui/CKelDlg.h"
#include "ui/Dialogs.h"
#include "ui/ExchangeLogEntry.h"
#include "ui/WindowScreen.h"

namespace kel::app {

CKelApp::CKelApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(ui::ToQString(text::kAppName));
    setApplicationVersion(QStringLiteral(KEL_VERSION));
    setWindowIcon(skin::AppIcon());
}

CKelApp::~CKelApp()
{
    // The window (and with it the link, which closes the port) goes before the
    // device it talks through.
    window_.reset();
}

bool CKelApp::RecordExchange(const AppOptions& options)
{
    exchangeLog_ = std::make_unique<TraceRing>();
    std::vector<TraceSink*> sinks{exchangeLog_.get()};
    if (options.trace) {
        traceFile_ =
            std::make_unique<TraceFile>(*options.trace, "kel " KEL_VERSION " window", [](const std::string& text) {
                std::fprintf(stderr, "kel: %s\n", text.c_str());
            });
        if (!traceFile_->Open()) {
            std::fprintf(stderr, "kel: %s\n", traceFile_->Error().c_str());
            return false;
        }
        sinks.push_back(traceFile_.get());
    }
    device_.serial = std::make_unique<TracingDevice>(std::move(device_.serial), clock_, std::move(sinks));
    return true;
}

int CKelApp::Run(const AppOptions& options, const QElapsedTimer& sinceStart)
{
    device_ = MakeDevice({options.port, options.simulate}, clock_);
    if (!RecordExchange(options))
        return 1;
    dialogs_ = std::make_unique<ui::QtDialogs>();
    window_ = std::make_unique<ui::CKelDlg>(*device_.serial, *device_.finder, clock_, *dialogs_);
    window_->logic().backups().Use(std::make_unique<DiskBackupFolder>(BackupFolderPath()));
    ui::AddExchangeLogEntry(*window_->FaceMenu(), *window_, *dialogs_, *exchangeLog_);
    if (options.reportStartup) {
        QObject::connect(window_.get(), &ui::CKelDlg::firstPainted, window_.get(), [&sinceStart] {
            std::fprintf(stderr, "kel: first paint %lld ms after start\n",
                         static_cast<long long>(sinceStart.elapsed()));
            std::fflush(stderr);
        });
    }
    window_->show();
    const int result = exec();
    window_.reset();
    return result;
}

}  // namespace kel::app
