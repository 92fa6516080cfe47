// SPDX-License-Identifier: GPL-3.0-or-later
// Reading App.ini and player.ini: keys and values of the player's files.
#include "player_info.h"

#include "platform/code_page.h"
#include "platform/runtime_error.h"
#include "season/season_file.h"

#include <QList>

namespace gk {

bool lineMatchesKey(QByteArrayView line, QByteArrayView key) {
    return startsWithNoCase(trimSpaces(line), key);
}

QByteArray lineValue(QByteArrayView line, qsizetype s) {
    const qsizetype semicolon = line.indexOf(';');
    qsizetype length;
    if (semicolon < 0) {
        length = line.size() - s + 1;
        if (length < 0)
            length = 0;
    } else {
        const qsizetype p = semicolon + 1;
        length = p - s - 1;
        if (length < 0)
            throw RuntimeError(ErrorCode::InvalidArgument);
    }
    QByteArray value =
        (s - 1 >= line.size())
            ? QByteArray()
            : line.sliced(s - 1).first(std::min(length, line.size() - (s - 1))).toByteArray();
    while (!value.isEmpty() && value.back() == ' ')
        value.chop(1);
    return value;
}

QList<QByteArray> splitLines(const QByteArray& data) {
    QList<QByteArray> lines;
    LineReader reader(data);
    QByteArrayView line;
    while (reader.next(line))
        lines.append(line.toByteArray());
    return lines;
}

} // namespace gk
