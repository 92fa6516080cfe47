// SPDX-License-Identifier: GPL-3.0-or-later
// The About window's text and the support mail link.
#include "about.h"

namespace gk::about {

Version version() {
    return {GRIDKEEPER_VERSION_MAJOR, GRIDKEEPER_VERSION_MINOR, GRIDKEEPER_VERSION_PATCH};
}

QString aboutText(Version v) {
    return QStringLiteral("Gridkeeper, Version %1.%2.%3\rFor Windows 95 oder higher")
        .arg(v.major)
        .arg(v.minor)
        .arg(v.revision);
}

QString supportMail() {
    return QStringLiteral(GRIDKEEPER_SUPPORT_MAIL);
}

QString mailUrl(const QString& address) {
    return QStringLiteral("mailto:") + address + QStringLiteral("?Subject=Gridkeeper");
}

} // namespace gk::about
