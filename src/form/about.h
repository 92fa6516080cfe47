// SPDX-License-Identifier: GPL-3.0-or-later
// The About window's text and the support mail link.
#pragma once

#include <QString>

namespace gk::about {

// The program's version, from the build (the project version in CMake).
struct Version {
    int major = 0;
    int minor = 0;
    int revision = 0;
};
Version version();

// The About window's text: name and version, a carriage return alone, the system line.
QString aboutText(Version v = version());

// The support mail address: the caption of the mail link and the recipient of its mail.
QString supportMail();
// The mail link: "mailto:" + address + "?Subject=Gridkeeper", the parts taken as they are.
QString mailUrl(const QString& address = supportMail());

} // namespace gk::about
