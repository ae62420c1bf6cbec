#include "Dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QStringList>

#include "CAboutDlg.h"

namespace kel::ui {

QString QtFileFilter(const std::string& filter)
{
    // Pairs of display name and pattern; an empty name ends the list.
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList names;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& name = parts[i];
        if (name.isEmpty())
            break;
        const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        // Qt takes the patterns from the parentheses of the name.
        names << (name.contains(QLatin1Char('(')) ? name : QStringLiteral("%1 (%2)").arg(name, patterns));
    }
    return names.join(QStringLiteral(";;"));
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
    // The folder the program suggests first is the user's home.
    QFileDialog dialog(owner, QString::fromStdString(request.title), QDir::homePath(),
                       QtFileFilter(request.filter));
    if (request.save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
    }
    dialog.setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (!request.defaultExt.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExt));
    if (!request.initialName.empty())
        dialog.selectFile(QString::fromStdString(request.initialName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return QFile::encodeName(dialog.selectedFiles().constFirst()).toStdString();
}

void QtDialogs::About(QWidget* owner)
{
    CAboutDlg about(owner);
    about.exec();
}

} // namespace kel::ui
