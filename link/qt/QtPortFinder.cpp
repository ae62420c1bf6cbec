#include "QtPortFinder.h"

#include <QSerialPortInfo>

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

} // namespace kel
