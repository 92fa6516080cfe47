// SPDX-License-Identifier: GPL-3.0-or-later
// The Windows rules for command lines, and Wine's prefixes and paths.
#pragma once

#include <QString>
#include <QStringList>

namespace gk {

// The arguments Windows gives a program for its command line (CommandLineToArgvW and the C
// runtime): the program name ends at the next quote when it starts with one, else at the
// first space or tab; after it, 2n backslashes before a quote become n and the quote opens or
// closes a quoted part, 2n+1 become n and a literal quote, other backslashes stay; inside a
// quoted part every third quote of a run is a literal one.
QStringList splitWindowsCommandLine(const QString& commandLine);

// The candidates for the program Windows starts for an unquoted command line, in the order
// it tries them: the text up to each space, the whole program name last. A quoted program
// name is the only candidate.
QStringList programCandidates(const QString& commandLine);

// The Wine prefix a native path lies in: the nearest folder above it that holds a "drive_c"
// component on the path and Wine's own registry file "system.reg" beside it; "" when it lies
// in none. A folder named drive_c elsewhere (a copy, a backup) makes no prefix.
QString winePrefixOf(const QString& nativePath);

// A clean absolute native path as a program under Wine sees it: "C:\..." inside the drive_c
// of `prefix` (which may be ""), "Z:\..." (Wine's drive for "/") anywhere else.
QString wineDosPath(const QString& nativePath, const QString& prefix);

// The reverse for a "C:" or "Z:" path (any case, "\" or "/"); any other path is returned as
// it is.
QString wineNativePath(const QString& dosPath, const QString& prefix);

} // namespace gk
