// SPDX-License-Identifier: GPL-3.0-or-later
// Run-time errors: a number and a description, as the user is shown them.
#include "runtime_error.h"

namespace gk {

QString standardDescription(ErrorCode code) {
    switch (code) {
    case ErrorCode::InvalidArgument:
        return QStringLiteral("Invalid procedure call or argument");
    case ErrorCode::Overflow:
        return QStringLiteral("Overflow");
    case ErrorCode::SubscriptRange:
        return QStringLiteral("Subscript out of range");
    case ErrorCode::TypeMismatch:
        return QStringLiteral("Type mismatch");
    case ErrorCode::BadFileName:
        return QStringLiteral("Bad file name or number");
    case ErrorCode::FileNotFound:
        return QStringLiteral("File not found");
    case ErrorCode::DiskFull:
        return QStringLiteral("Disk full");
    case ErrorCode::PastEndOfFile:
        return QStringLiteral("Input past end of file");
    case ErrorCode::PermissionDenied:
        return QStringLiteral("Permission denied");
    case ErrorCode::PathFileAccess:
        return QStringLiteral("Path/File access error");
    case ErrorCode::PathNotFound:
        return QStringLiteral("Path not found");
    case ErrorCode::InvalidFileFormat:
        return QStringLiteral("Invalid file format");
    case ErrorCode::InvalidProperty:
        return QStringLiteral("Invalid property value");
    }
    return QStringLiteral("Application-defined or object-defined error");
}

RuntimeError::RuntimeError(ErrorCode code) : RuntimeError(code, standardDescription(code)) {}

RuntimeError::RuntimeError(ErrorCode code, QString description)
    : code_(code), description_(std::move(description)),
      utf8_(QStringLiteral("Error %1: %2").arg(static_cast<int>(code)).arg(description_).toUtf8()) {
}

} // namespace gk
