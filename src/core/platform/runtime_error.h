// SPDX-License-Identifier: GPL-3.0-or-later
// Run-time errors: a number and a description, as the user is shown them.
#pragma once

#include <QString>
#include <exception>

namespace gk {

// Error numbers as the Windows programs of the game's era reported them, so that an
// "Error N" title means something to a player who reports it.
enum class ErrorCode : int {
    InvalidArgument = 5,     // "Invalid procedure call or argument"
    Overflow = 6,            // "Overflow"
    SubscriptRange = 9,      // "Subscript out of range"
    TypeMismatch = 13,       // "Type mismatch"
    BadFileName = 52,        // "Bad file name or number"
    FileNotFound = 53,       // "File not found"
    DiskFull = 61,           // "Disk full"
    PastEndOfFile = 62,      // "Input past end of file"
    PermissionDenied = 70,   // "Permission denied"
    PathFileAccess = 75,     // "Path/File access error"
    PathNotFound = 76,       // "Path not found"
    InvalidFileFormat = 321, // "Invalid file format"
    InvalidProperty = 380    // "Invalid property value"
};

QString standardDescription(ErrorCode code);

class RuntimeError : public std::exception {
  public:
    explicit RuntimeError(ErrorCode code);
    RuntimeError(ErrorCode code, QString description);

    int number() const { return static_cast<int>(code_); }
    ErrorCode code() const { return code_; }
    const QString& description() const { return description_; }
    const char* what() const noexcept override { return utf8_.constData(); }

  private:
    ErrorCode code_;
    QString description_;
    QByteArray utf8_;
};

} // namespace gk
