#pragma once
// The one failure type every operation throws. It carries what the error
// reporter needs to pick its message: the error number (run-time, database
// engine, serial port or system numbers), a description and a source.

#include <QString>
#include <cstdint>
#include <exception>
#include <string>

namespace vortan {

class Failure : public std::exception {
public:
    Failure(std::int32_t number, QString description, QString source = {});

    std::int32_t number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const QString& source() const noexcept { return source_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    std::int32_t number_;
    QString description_;
    QString source_;
    std::string what_;
};

// Error numbers the program raises or the reporter knows by name.
namespace err {
// run-time library
inline constexpr std::int32_t None = 0;
inline constexpr std::int32_t Overflow = 6;
inline constexpr std::int32_t OutOfMemory = 7;
inline constexpr std::int32_t SubscriptOutOfRange = 9;
inline constexpr std::int32_t DivisionByZero = 11;
inline constexpr std::int32_t TypeMismatch = 13;
inline constexpr std::int32_t OutOfStringSpace = 14;
inline constexpr std::int32_t OutOfStackSpace = 28;
inline constexpr std::int32_t BadFileName = 52;
inline constexpr std::int32_t FileNotFound = 53;
inline constexpr std::int32_t DeviceIO = 57;
inline constexpr std::int32_t InputPastEnd = 62;
inline constexpr std::int32_t DiskFull = 61;
inline constexpr std::int32_t PermissionDenied = 70;
inline constexpr std::int32_t DiskNotReady = 71;
inline constexpr std::int32_t PathFileAccess = 75;
inline constexpr std::int32_t PathNotFound = 76;
inline constexpr std::int32_t ObjectNotSet = 91;
inline constexpr std::int32_t PrinterError = 482;
inline constexpr std::int32_t OutOfTempSpace = 735;
inline constexpr std::int32_t ObjectCreation = 31001;
// serial port
inline constexpr std::int32_t NoSuchPort = 8002;
inline constexpr std::int32_t PortInUse = 8005;
// database engine
inline constexpr std::int32_t DbLocked = 3006;
inline constexpr std::int32_t DbDuplicateKey = 3022;
inline constexpr std::int32_t DbFileNotFound = 3024;
inline constexpr std::int32_t DbUnreachable = 3043;
inline constexpr std::int32_t DbBadPath = 3044;
inline constexpr std::int32_t DbExclusive = 3045;
inline constexpr std::int32_t DbReadOnly = 3051;
inline constexpr std::int32_t DbTooFewParameters = 3061;
inline constexpr std::int32_t DbTableNotFound = 3078;
inline constexpr std::int32_t DbSyntax = 3134;
inline constexpr std::int32_t DbFieldTooSmall = 3163;
inline constexpr std::int32_t DbCommitLocked = 3261;
inline constexpr std::int32_t DbItemNotFound = 3265;
inline constexpr std::int32_t DbNotDatabase = 3343;
inline constexpr std::int32_t DbLockedByUser = 3356;
inline constexpr std::int32_t DbTypeMismatch = 3464;
// system result code: the program to start was not found
inline constexpr std::int32_t ProgramNotFound = static_cast<std::int32_t>(0x80070002u);
} // namespace err

} // namespace vortan
