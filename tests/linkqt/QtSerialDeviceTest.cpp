// The serial port under a device that floods it.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "link/qt/QtSerialDevice.h"

namespace kel {
namespace {

// The window runs an event loop, in which QSerialPort takes whatever arrives:
// a port that sends without end must not make it hold more than its bound.
TEST(QtSerialDevice, FloodingPortFillsNoMoreThanTheReceiveBound)
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(::grantpt(master), 0);
    ASSERT_EQ(::unlockpt(master), 0);
    QtSerialDevice device;
    ASSERT_TRUE(device.Open(::ptsname(master)));
    device.SetLineSettings(19200);

    constexpr std::size_t kFlood = 4 * 1024 * 1024;
    std::atomic<std::size_t> written{0};
    std::atomic<bool> stop{false};
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    std::thread writer([&] {
        const std::vector<char> noise(4096, 0x55);
        while (!stop && written < kFlood) {
            const ssize_t n = ::write(master, noise.data(), noise.size());
            if (n > 0)
                written += static_cast<std::size_t>(n);
            else
                std::this_thread::sleep_for(std::chrono::milliseconds(1));  // full: the port takes no more
        }
    });
    QElapsedTimer clock;
    clock.start();
    std::size_t most = 0;
    while (clock.elapsed() < 500 && written < kFlood) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        most = std::max(most, device.Buffered());
    }
    stop = true;
    writer.join();
    device.Close();
    ::close(master);
    EXPECT_GT(most, 0u) << "the flood reached the port";
    EXPECT_LE(most, static_cast<std::size_t>(QtSerialDevice::kReadBufferBytes));
}

}  // namespace
}  // namespace kel
