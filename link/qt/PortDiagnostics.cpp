#include "PortDiagnostics.h"

#include <QSerialPortInfo>
#include <cstdio>

namespace kel {

std::string DescribeUsbSerialDevices()
{
    std::string list;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        if (!info.hasVendorIdentifier())
            continue;
        char usb[16];
        std::snprintf(usb, sizeof usb, "%04x:%04x", info.vendorIdentifier(), info.productIdentifier());
        if (!list.empty())
            list += ", ";
        list += info.portName().toStdString() + " (" + usb + " " + info.description().toStdString() + ")";
    }
    return list.empty() ? "no USB serial device is present" : "USB serial devices present: " + list;
}

}  // namespace kel
