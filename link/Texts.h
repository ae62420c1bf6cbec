#pragma once
#include <string_view>

// What the program says to its user, exactly as shown: message boxes, their
// captions, the progress pop-up's title and the names it starts with. The
// window and kel-cli render these; neither spells them again.
namespace kel::text {

inline constexpr std::string_view kAppName = "Kel";
inline constexpr std::string_view kBoxCaption = "ZORV";
// An empty caption stands for the application's name.
inline constexpr std::string_view kAppCaption = "";
inline constexpr std::string_view kDefaultProfileName = "Profile1";
inline constexpr std::string_view kNoProgramBox = "no program box (USB 10c4:ea60) is plugged in";

// The title of the progress pop-up at the end of a settings write.
inline constexpr std::string_view kSettingsWritten = "SUCCESSED";
inline constexpr std::string_view kSettingsNotWritten = "FAILED";

// Settings.
inline constexpr std::string_view kNoEscMessage = "No response from ESC!";
inline constexpr std::string_view kUpdateFirmwareMessage = "Please Update Device to Latest Firmware!";
inline constexpr std::string_view kVersionMismatchFormat = "Current Version %s can not Load this Version %s profile!";
inline constexpr std::string_view kSetFailed = "Set Failed";
inline constexpr std::string_view kInvalidCharMessage = "The input data include invalid char!";
inline constexpr std::string_view kInvalidValueMessage = "The input data is invalid!";
inline constexpr std::string_view kFileErrorMessage = "File Error!";
inline constexpr std::string_view kProfileFilter = "config Files (*.cfg)|*.cfg||";

// Connection checks before an exchange, and the firmware updates.
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
inline constexpr std::string_view kTransferBytesError = "Update Error: transfer bytes number error!";
inline constexpr std::string_view kEscFileFilter = "Update Files (*.zrv)|*.zrv| all file  (*.*)|*.*||";
inline constexpr std::string_view kBoxFileFilter = "config Files (*.xup)|*.xup| all file  (*.*)|*.*||";

}  // namespace kel::text
