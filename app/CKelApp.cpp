#include "CKelApp.h"

#include <cstdio>

#include "link/TraceFile.h"
#include "link/TraceRing.h"
#include "link/qt/QtPortFinder.h"
#include "link/qt/QtSerialDevice.h"
#include "resources/Skin.h"
#include "sim/InProcessDevice.h"
#include "ui/CKelDlg.h"
#include "ui/Dialogs.h"
#include "ui/ExchangeLogEntry.h"

namespace kel::app {

CKelApp::CKelApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Kel"));
    setApplicationVersion(QStringLiteral(KEL_VERSION));
    setWindowIcon(skin::AppIcon());
}

CKelApp::~CKelApp()
{
    // The window (and with it the link, which closes the port) goes before the
    // device it talks through.
    window_.reset();
}

void CKelApp::CreateDevice(const AppOptions& options)
{
    if (options.simulate) {
        auto device = std::make_unique<sim::InProcessDevice>(clock_);
        finder_ = std::make_unique<sim::InProcessPortFinder>(*device);
        device_ = std::move(device);
        return;
    }
    device_ = std::make_unique<QtSerialDevice>();
    if (options.port)
        finder_ = std::make_unique<FixedPortFinder>(*options.port);
    else
        finder_ = std::make_unique<QtPortFinder>();
}

bool CKelApp::RecordExchange(const AppOptions& options)
{
    exchangeLog_ = std::make_unique<TraceRing>();
    std::vector<TraceSink*> sinks{exchangeLog_.get()};
    if (options.trace) {
        traceFile_ = std::make_unique<TraceFile>(*options.trace, "kel " KEL_VERSION " window", [](const std::string& text) {
            std::fprintf(stderr, "kel: %s\n", text.c_str());
        });
        if (!traceFile_->Open()) {
            std::fprintf(stderr, "kel: %s\n", traceFile_->Error().c_str());
            return false;
        }
        sinks.push_back(traceFile_.get());
    }
    device_ = std::make_unique<TracingDevice>(std::move(device_), clock_, std::move(sinks));
    return true;
}

int CKelApp::Run(const AppOptions& options, const QElapsedTimer& sinceStart)
{
    CreateDevice(options);
    if (!RecordExchange(options))
        return 1;
    dialogs_ = std::make_unique<ui::QtDialogs>();
    window_ = std::make_unique<ui::CKelDlg>(*device_, *finder_, clock_, *dialogs_);
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

} // namespace kel::app
