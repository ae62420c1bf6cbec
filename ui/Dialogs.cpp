#include "Dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSettings>
#include <QStringList>

#include "CAboutDlg.h"

namespace kel::ui {

QString QtFileFilter(const std::string& filter)
{
    // Pairs of display name and patterns; an empty name ends the list. Qt reads
    // the patterns from the parentheses that end the name, so they are written
    // there from the pattern field, which is what counts.
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i].trimmed();
        if (name.isEmpty())
            break;
        if (name.endsWith(QLatin1Char(')')) && name.contains(QLatin1Char('(')))
            name = name.left(name.lastIndexOf(QLatin1Char('('))).trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& pattern : patterns) {
            pattern = pattern.trimmed();
            if (pattern == QLatin1String("*.*"))
                pattern = QStringLiteral("*");  // every file, with or without a dot
        }
        filters << QStringLiteral("%1 (%2)").arg(name, patterns.join(QLatin1Char(' ')));
    }
    return filters.join(QStringLiteral(";;"));
}

QString QtDefaultSuffix(const std::string& defaultExt)
{
    // "*.xup", ".xup" and "xup" all mean the suffix xup.
    const QString ext = QString::fromStdString(defaultExt);
    return ext.mid(ext.lastIndexOf(QLatin1Char('.')) + 1).remove(QLatin1Char('*'));
}

namespace {
constexpr char kLastFolderKey[] = "files/lastFolder";
}  // namespace

QString InitialFolder(const QSettings& settings)
{
    const QString folder = settings.value(QLatin1String(kLastFolderKey)).toString();
    if (!folder.isEmpty() && QFileInfo(folder).isDir())
        return folder;
    return QDir::homePath();
}

void RememberFolder(QSettings& settings, const QString& chosenFile)
{
    settings.setValue(QLatin1String(kLastFolderKey), QFileInfo(chosenFile).absolutePath());
}

QString MessageCaption(std::string_view caption)
{
    if (caption.empty())
        return QCoreApplication::applicationName();
    return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

void QtDialogs::Message(QWidget* owner, const QString& caption, const QString& text, MessageIcon icon)
{
    QMessageBox box(icon == MessageIcon::Error ? QMessageBox::Critical : QMessageBox::NoIcon, caption, text,
                    QMessageBox::Ok, owner);
    box.exec();
}

std::optional<std::string> QtDialogs::ChooseFile(QWidget* owner, const FileDialogRequest& request)
{
    // The folder the user last chose a file in, remembered across runs.
    QSettings settings(QStringLiteral("kel"), QStringLiteral("kel"));
    QFileDialog dialog(owner, QString::fromStdString(request.title), InitialFolder(settings),
                       QtFileFilter(request.filter));
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
    }
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QtDefaultSuffix(request.defaultExt));
    // The initial name, a wildcard ("*.zrv") included: in the name box a
    // pattern filters the list as the user edits it.
    const QString name = QString::fromStdString(request.initialName);
    if (!name.isEmpty())
        dialog.selectFile(name);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    const QString chosen = dialog.selectedFiles().constFirst();
    RememberFolder(settings, chosen);
    return QFile::encodeName(chosen).toStdString();
}

void QtDialogs::About(QWidget* owner)
{
    CAboutDlg about(owner);
    about.exec();
}

}  // namespace kel::ui
