// SPDX-License-Identifier: GPL-3.0-or-later
// The rule for a track set's name: a file name on every system.
#pragma once

#include <QString>

namespace gk {

// Why a track-set name cannot be a file name on Windows or Linux, or "" when it can.
QString trackSetNameProblem(const QString& name);

} // namespace gk
