// SPDX-License-Identifier: GPL-3.0-or-later
// The real settings store (QSettings).
#include "qt_settings_store.h"

#include "runtime_error.h"

#include <QSettings>
#include <memory>

namespace gk {
namespace {

std::unique_ptr<QSettings> openStore(const QString& configDir, const QString& app) {
    if (!configDir.isEmpty())
        return std::make_unique<QSettings>(
            configDir + QLatin1Char('/') + app + QLatin1String(".ini"), QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, app, app);
}

} // namespace

QtSettingsStore::QtSettingsStore() : configDir_(qEnvironmentVariable("GRIDKEEPER_CONFIG_DIR")) {}

QString QtSettingsStore::getSetting(const QString& app, const QString& section, const QString& key,
                                    const QString& defaultValue) {
    auto store = openStore(configDir_, app);
    return store->value(section + QLatin1Char('/') + key, defaultValue).toString();
}

void QtSettingsStore::saveSetting(const QString& app, const QString& section, const QString& key,
                                  const QString& value) {
    auto store = openStore(configDir_, app);
    store->setValue(section + QLatin1Char('/') + key, value);
    store->sync();
    if (store->status() != QSettings::NoError)
        throw RuntimeError(ErrorCode::PathFileAccess);
}

} // namespace gk
