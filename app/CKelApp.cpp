#include "CKelApp.h"

#include <cstdio>

#include "link/qt/BackupLocation.h"
#include "resources/Skin.h"
#include "ui/CKelDlg.h"
#include "ui/Dialogs.h"
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

int CKelApp::Run(const AppOptions& options, const QElapsedTimer& sinceStart)
{
    device_ = MakeDevice({options.port, options.simulate}, clock_);
    dialogs_ = std::make_unique<ui::QtDialogs>();
    window_ = std::make_unique<ui::CKelDlg>(*device_.serial, *device_.finder, clock_, *dialogs_);
    window_->logic().backups().Use(std::make_unique<DiskBackupFolder>(BackupFolderPath()));
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
