// SPDX-License-Identifier: GPL-3.0-or-later
// The settings store: texts by application, section and key.
#pragma once

#include <QString>

namespace gk {

// Per-user text values by application, section and key, kept from one run to the next.
class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    virtual QString getSetting(const QString& app, const QString& section, const QString& key,
                               const QString& defaultValue) = 0;
    // Throws RuntimeError when the value cannot be stored.
    virtual void saveSetting(const QString& app, const QString& section, const QString& key,
                             const QString& value) = 0;
};

} // namespace gk
