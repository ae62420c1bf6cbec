#include "QtPortFinder.h"

#include <QSerialPortInfo>

#include "PortDiagnostics.h"
#include "link/Texts.h"

namespace kel {

std::optional<std::string> QtPortFinder::FindBoxPort()
{
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (info.hasVendorIdentifier() && info.hasProductIdentifier() && info.vendorIdentifier() == kBoxVendorId
            && info.productIdentifier() == kBoxProductId)
            return info.systemLocation().toStdString();
    }
    return std::nullopt;
}

std::string QtPortFinder::NotFoundReason()
{
    return std::string(text::kNoProgramBox) + "; " + DescribeUsbSerialDevices();
}

}  // namespace kel
