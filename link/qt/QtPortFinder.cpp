#include "QtPortFinder.h"

#include <QSerialPortInfo>

#include "PortDiagnostics.h"

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
    return "no program box (USB 10c4:ea60) is plugged in; " + DescribeUsbSerialDevices();
}

} // namespace kel
