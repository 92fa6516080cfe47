// SPDX-License-Identifier: GPL-3.0-or-later
// The rule for a track set's name: a file name on every system.
#include "track_set_name.h"

#include <QStringList>

namespace gk {

QString trackSetNameProblem(const QString& name) {
    if (name.trimmed().isEmpty())
        return QStringLiteral("The name is empty.");
    // A name beginning with a dot would be a hidden file that the Track Sets menu never offers.
    if (name.startsWith(QLatin1Char('.')))
        return QStringLiteral("The name cannot begin with a dot.");
    static const QString forbidden = QStringLiteral("<>:\"/\\|?*");
    for (QChar c : name) {
        if (forbidden.contains(c))
            return QStringLiteral(
                "The name cannot contain any of the characters < > : \" / \\ | ? *.");
        if (c.unicode() < 0x20)
            return QStringLiteral("The name cannot contain control characters.");
    }
    if (name.endsWith(QLatin1Char('.')) || name.endsWith(QLatin1Char(' ')))
        return QStringLiteral("The name cannot end with a dot or a space.");
    // Windows reserves these device names, with or without an extension; COM and LPT with a
    // superscript digit too.
    static const QStringList reserved = [] {
        QStringList names = {QStringLiteral("CON"),    QStringLiteral("PRN"),
                             QStringLiteral("AUX"),    QStringLiteral("NUL"),
                             QStringLiteral("CONIN$"), QStringLiteral("CONOUT$")};
        for (const QString& port : {QStringLiteral("COM"), QStringLiteral("LPT")}) {
            for (char digit = '1'; digit <= '9'; ++digit)
                names.append(port + QLatin1Char(digit));
            for (char16_t superscript : {u'\u00B9', u'\u00B2', u'\u00B3'})
                names.append(port + QChar(superscript));
        }
        return names;
    }();
    const QString stem = name.section(QLatin1Char('.'), 0, 0).trimmed();
    if (reserved.contains(stem, Qt::CaseInsensitive))
        return QStringLiteral("\"%1\" is a device name that Windows reserves.").arg(stem);
    // The file name (with ".67s" and the suffix of the temporary file it is written through)
    // must stay within the 255 bytes, or UTF-16 units, that file systems allow.
    if (name.toUtf8().size() > 240)
        return QStringLiteral("The name is too long.");
    return {};
}

} // namespace gk
