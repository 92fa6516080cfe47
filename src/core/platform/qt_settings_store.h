// SPDX-License-Identifier: GPL-3.0-or-later
// The real settings store (QSettings).
#pragma once

#include "settings_store.h"

#include <QString>

namespace gk {

// The per-user store. With GRIDKEEPER_CONFIG_DIR set, an INI file in that folder (the demo
// run and the tests use it); otherwise the system's place for the user's settings.
class QtSettingsStore : public SettingsStore {
  public:
    QtSettingsStore();
    QString getSetting(const QString& app, const QString& section, const QString& key,
                       const QString& defaultValue) override;
    void saveSetting(const QString& app, const QString& section, const QString& key,
                     const QString& value) override;

  private:
    QString configDir_;
};

} // namespace gk
