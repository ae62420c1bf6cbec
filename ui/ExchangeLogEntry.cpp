#include "ExchangeLogEntry.h"

#include <QAction>
#include <QCoreApplication>
#include <QDateTime>
#include <QMenu>

#include "Dialogs.h"
#include "link/Texts.h"
#include "link/TraceRing.h"
#include "settings/FileSave.h"

namespace kel::ui {

void AddExchangeLogEntry(QMenu& menu, QWidget& owner, Dialogs& dialogs, const TraceRing& ring)
{
    QAction* save = menu.addAction(QStringLiteral("Save exchange &log..."));
    save->setObjectName(QStringLiteral("saveExchangeLog"));
    save->setStatusTip(
        QStringLiteral("Save the last %1 bytes that went to and from the program box").arg(TraceRing::kCapacity));
    QObject::connect(save, &QAction::triggered, &owner, [&owner, &dialogs, &ring] {
        FileDialogRequest request;
        request.save = true;
        request.title = "Save exchange log";
        request.initialName =
            QDateTime::currentDateTime().toString(QStringLiteral("'kel-exchange-'yyyyMMdd-HHmmss'.log'")).toStdString();
        request.filter = "Exchange logs (*.log)|*.log|All files (*.*)|*.*||";
        request.defaultExt = "log";
        const auto path = dialogs.ChooseFile(&owner, request);
        if (!path)
            return;
        const std::string program = "kel " + QCoreApplication::applicationVersion().toStdString() + " window";
        const std::string text = ring.Text(program);
        std::string why;
        if (!SaveFileAtomically(*path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size(), why))
            dialogs.Message(&owner, MessageCaption(text::kAppCaption),
                            QString::fromStdString("The exchange log was not saved: " + why), MessageIcon::Error);
    });
}

}  // namespace kel::ui
