#pragma once
#include <QString>
#include <optional>
#include <string>

#include "link/Screen.h"

class QSettings;
class QWidget;

namespace kel::ui {

// The modal windows the main window opens: message boxes, file choosers and
// the About box. The window never opens them itself, so tests can put a
// recorder here and nothing ever blocks.
class Dialogs {
public:
    virtual ~Dialogs() = default;
    // An OK box. `caption` is already resolved (the application name for an
    // empty one).
    virtual void Message(QWidget* owner, const QString& caption, const QString& text, MessageIcon icon) = 0;
    // Nothing when the user cancels.
    virtual std::optional<std::string> ChooseFile(QWidget* owner, const FileDialogRequest& request) = 0;
    virtual void About(QWidget* owner) = 0;
};

// The real thing: QMessageBox, QFileDialog and CAboutDlg.
class QtDialogs final : public Dialogs {
public:
    void Message(QWidget* owner, const QString& caption, const QString& text, MessageIcon icon) override;
    std::optional<std::string> ChooseFile(QWidget* owner, const FileDialogRequest& request) override;
    void About(QWidget* owner) override;
};

// "config Files (*.cfg)|*.cfg||" (name and pattern pairs, '|' separated)
// becomes "config Files (*.cfg)" in Qt's ";;" separated form.
QString QtFileFilter(const std::string& filter);
// The suffix a file dialog adds to a bare name: "*.xup" gives "xup".
QString QtDefaultSuffix(const std::string& defaultExt);

// The folder a file chooser opens in: the one the user last chose a file in
// (kept in `settings`), or the home folder when there is none or it is gone.
QString InitialFolder(const QSettings& settings);
void RememberFolder(QSettings& settings, const QString& chosenFile);

// The caption a message box shows: its own, or the application's name.
QString MessageCaption(std::string_view caption);

}  // namespace kel::ui
