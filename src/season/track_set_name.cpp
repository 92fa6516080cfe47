#include "track_set_name.h"

#include <QStringList>

namespace gk {

QString trackSetNameProblem(const QString& name) {
    if (name.trimmed().isEmpty())
        return QStringLiteral("The name is empty.");
    if (name == QLatin1String(".") || name == QLatin1String(".."))
        return QStringLiteral("The name cannot be \".\" or \"..\".");
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
    // Windows reserves these device names, with or without an extension.
    static const QStringList reserved = {
        QStringLiteral("CON"),  QStringLiteral("PRN"),  QStringLiteral("AUX"),
        QStringLiteral("NUL"),  QStringLiteral("COM1"), QStringLiteral("COM2"),
        QStringLiteral("COM3"), QStringLiteral("COM4"), QStringLiteral("COM5"),
        QStringLiteral("COM6"), QStringLiteral("COM7"), QStringLiteral("COM8"),
        QStringLiteral("COM9"), QStringLiteral("LPT1"), QStringLiteral("LPT2"),
        QStringLiteral("LPT3"), QStringLiteral("LPT4"), QStringLiteral("LPT5"),
        QStringLiteral("LPT6"), QStringLiteral("LPT7"), QStringLiteral("LPT8"),
        QStringLiteral("LPT9")};
    const QString stem = name.section(QLatin1Char('.'), 0, 0).trimmed();
    if (reserved.contains(stem, Qt::CaseInsensitive))
        return QStringLiteral("\"%1\" is a device name that Windows reserves.").arg(stem);
    if (name.size() > 200)
        return QStringLiteral("The name is too long.");
    return {};
}

} // namespace gk
