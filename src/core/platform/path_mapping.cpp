// SPDX-License-Identifier: GPL-3.0-or-later
// Game paths in the Windows form made native: separators, names matched without regard to case.
#include "path_mapping.h"

#include <QFile>

namespace gk {

QString withSlashes(const QString& gamePath) {
    QString native = gamePath;
    native.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return native;
}

QString nativePathOf(const QString& gamePath, const NameLookup& lookup) {
    const QString native = withSlashes(gamePath);
    if (native.isEmpty() || lookup.exists(native))
        return native;

    // Walk the components; each one missing as written is looked up without case.
    const bool absolute = native.startsWith(QLatin1Char('/'));
    const QStringList parts = native.split(QLatin1Char('/'));
    QString built = absolute ? QStringLiteral("/") : QString();
    const auto join = [&built](const QString& part) {
        if (!built.isEmpty() && !built.endsWith(QLatin1Char('/')))
            built += QLatin1Char('/');
        built += part;
    };
    bool matching = true;
    for (qsizetype i = absolute ? 1 : 0; i < parts.size(); ++i) {
        const QString& part = parts[i];
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) {
            join(part);
            continue;
        }
        QString chosen = part;
        if (matching) {
            QString candidate = built;
            if (!candidate.isEmpty() && !candidate.endsWith(QLatin1Char('/')))
                candidate += QLatin1Char('/');
            if (!lookup.exists(candidate + part)) {
                const QString found = lookup.spelling(built, part);
                if (found.isEmpty())
                    matching = false; // nothing below a missing folder can exist
                else
                    chosen = found;
            }
        }
        join(chosen);
    }
    return built;
}

FoldedNames::FoldedNames(const QStringList& entries) {
    for (const QString& entry : entries)
        byFolded_.insert(entry.toCaseFolded(), entry);
}

QString FoldedNames::spelling(const QString& name) const {
    return byFolded_.value(name.toCaseFolded());
}

void RawNames::remember(const QString& shown, const QByteArray& bytes) {
    bytesByShown_.insert(shown, bytes);
}

QByteArray RawNames::encode(const QString& native) const {
    if (bytesByShown_.isEmpty())
        return QFile::encodeName(native);
    for (qsizetype end = native.size(); end > 0;
         end = native.lastIndexOf(QLatin1Char('/'), end - 1)) {
        const auto bytes = bytesByShown_.constFind(native.left(end));
        if (bytes != bytesByShown_.constEnd())
            return *bytes + QFile::encodeName(native.mid(end));
    }
    return QFile::encodeName(native);
}

} // namespace gk
