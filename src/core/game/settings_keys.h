// SPDX-License-Identifier: GPL-3.0-or-later
// The keys under which the settings store keeps Gridkeeper's settings.
#pragma once

#include <QString>

namespace gk::settings {

inline const QString kApp = QStringLiteral("Gridkeeper");
inline const QString kSection = QStringLiteral("directories");
inline const QString kGplDir = QStringLiteral("GPLDir");
inline const QString kAlphabetical = QStringLiteral("alphabetical");
inline const QString kNotSet = QStringLiteral("NOT SET");

} // namespace gk::settings
