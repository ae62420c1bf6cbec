#pragma once
#include <string>
#include <string_view>

#include "link/Screen.h"

// What the firmware updates tell the user, exactly as shown.
namespace kel::text {

inline constexpr std::string_view kUsbConnectionError = "USB Connection Error!";
inline constexpr std::string_view kDeviceConnectionError = "Device Connection Error!";
inline constexpr std::string_view kReadFileError = "Read File Error!";
inline constexpr std::string_view kUpdatedSuccessfully = "Updated successfully!";

inline constexpr std::string_view kTxD6Timeover = "Update Error: TX=0xd6, TX Timeover!";
inline constexpr std::string_view kTx39Timeover = "Update Error: TX=0x39, TX Timeover!";
inline constexpr std::string_view kTx31Timeover = "Update Error: TX=0x31, TX Timeover!";
inline constexpr std::string_view kTxD7Timeover = "Update Error: TX=0xd7, TX Timeover!";
inline constexpr std::string_view kNoD8AfterD7 = "Update Error: TX=0xd7, RX!=0xd8!";
inline constexpr std::string_view kNoD7AfterD6 = "Update Error: TX=0xd6, RX!=0xd7!";
inline constexpr std::string_view kDataTransferError = "Update Error: Data transfer error!";
inline constexpr std::string_view kDataTransferNoAck = "Update Error: Data transfer no ack!";
inline constexpr std::string_view kDataTransferCrc = "Update Error: Data transfer crc error!";
inline constexpr std::string_view kRepeatOverFour = "Update Error: repeat Data transfer over four time!";
inline constexpr std::string_view kDataSizeError = "Update Error: data size error!";
inline constexpr std::string_view kEscFileFilter = "Update Files (*.zrv)|*.zrv| all file  (*.*)|*.*||";
inline constexpr std::string_view kBoxFileFilter = "config Files (*.xup)|*.xup| all file  (*.*)|*.*||";

inline constexpr std::string_view kTransferBytesError = "Update Error: transfer bytes number error!";

} // namespace kel::text

namespace kel {

// The open dialog of an update: a firmware file that must exist, the pattern
// ("*.zrv") as the initial name and default extension.
inline FileDialogRequest FirmwareFileRequest(std::string_view pattern, std::string_view filter)
{
    FileDialogRequest request;
    request.initialName = std::string(pattern);
    request.defaultExt = std::string(pattern);
    request.filter = std::string(filter);
    request.mustExist = true;
    return request;
}

} // namespace kel
