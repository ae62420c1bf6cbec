#include "QtSerialDevice.h"

#include <QDeadlineTimer>

#include "PortDiagnostics.h"
#include "QtSerialDeviceOs.h"

namespace kel {

bool QtSerialDevice::Open(const std::string& device)
{
    if (port_.isOpen())
        port_.close();
    port_.setPortName(QString::fromStdString(device));
    // QSerialPort opens the device exclusively (TIOCEXCL and a lock file).
    if (!port_.open(QIODevice::ReadWrite)) {
        const int error = PlainOpenError(device, port_.error());
        lastError_ = error ? DiagnoseOpenFailure(device, error)
                           : "cannot open " + device + ": " + port_.errorString().toStdString();
        return false;
    }
    lastError_.clear();
    lost_ = false;
    // A port that floods the line cannot make the program hold more than
    // this: once it is full, nothing more is taken from the driver until a
    // read or a purge makes room (the driver's own queue is bounded too).
    port_.setReadBufferSize(kReadBufferBytes);
    return true;
}

void QtSerialDevice::NoteLoss()
{
    // QSerialPort does not always say in its error that the device went
    // away, so ask the system.
    if (port_.error() == QSerialPort::ResourceError) {
        lost_ = true;
        return;
    }
    if (DeviceGone(port_.handle()))
        lost_ = true;
}

bool QtSerialDevice::SetLineSettings(std::uint32_t baudRate)
{
    return port_.setBaudRate(static_cast<qint32>(baudRate)) && port_.setDataBits(QSerialPort::Data8)
           && port_.setParity(QSerialPort::NoParity) && port_.setStopBits(QSerialPort::OneStop);
}

void QtSerialDevice::Close()
{
    if (port_.isOpen())
        port_.close();
}

bool QtSerialDevice::IsOpen() const
{
    return port_.isOpen();
}

bool QtSerialDevice::Purge()
{
    if (!port_.isOpen())
        return false;
    port_.readAll();
    return port_.clear(QSerialPort::AllDirections);
}

bool QtSerialDevice::PurgeReceive()
{
    if (!port_.isOpen())
        return false;
    port_.readAll();
    return port_.clear(QSerialPort::Input);
}

bool QtSerialDevice::Write(const std::uint8_t* data, std::size_t count)
{
    if (!port_.isOpen())
        return false;
    if (count == 0)
        return true;
    // A timed-out read leaves TimeoutError set; it says nothing about this write.
    port_.clearError();
    const qint64 n = port_.write(reinterpret_cast<const char*>(data), static_cast<qint64>(count));
    if (n != static_cast<qint64>(count)) {
        NoteLoss();
        return false;
    }
    // The write waits for completion: drain the buffer to the driver.
    while (port_.bytesToWrite() > 0) {
        if (!port_.waitForBytesWritten(1000)) {
            NoteLoss();
            return false;
        }
    }
    if (port_.error() != QSerialPort::NoError) {
        NoteLoss();
        return false;
    }
    return true;
}

ReadResult QtSerialDevice::Read(std::uint8_t* data, std::size_t count, int timeoutMs)
{
    ReadResult result;
    if (!port_.isOpen())
        return result;
    QDeadlineTimer deadline(timeoutMs);
    while (static_cast<std::size_t>(port_.bytesAvailable()) < count) {
        const qint64 left = deadline.remainingTime();
        if (left <= 0 || !port_.waitForReadyRead(static_cast<int>(left))) {
            NoteLoss();
            break;
        }
    }
    const auto available = static_cast<std::size_t>(port_.bytesAvailable());
    if (available >= count) {
        result.count = static_cast<std::size_t>(port_.read(reinterpret_cast<char*>(data), static_cast<qint64>(count)));
        result.completed = result.count == count;
        return result;
    }
    // Time-out: the pending read is cancelled; what came so far stays queued
    // until the caller purges.
    return result;
}

}  // namespace kel
