// SPDX-License-Identifier: GPL-3.0-or-later
// The car box and the player's last track and car.
#include "player_car.h"

#include "game/game_paths.h"
#include "launch/player_info.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/runtime_error.h"
#include "season/track_lookup.h"

namespace gk {

void PlayerCar::subMakeCarList() {
    try {
        for (const char* car : {"Bra", "BRM", "Coo", "Eag", "Fer", "Lot", "Hon"})
            ctx_.ctl.cboCars.append(QString::fromLatin1(car));
    } catch (const RuntimeError& e) {
        ctx_.showError(e.number(), e.description());
    }
}

void PlayerCar::subPlayerInfo() {
    const QString& dir = ctx_.ws.strGPLdir;
    // Reads the lines of a file, reporting a file that exists but cannot be read.
    const auto readLines = [this](const QString& path, QList<QByteArray>& lines) {
        try {
            lines = splitLines(files_.readFile(path));
            return true;
        } catch (const RuntimeError& e) {
            ctx_.showError(e.number(), e.description());
            return false;
        }
    };
    // Runs one line's work; false when the procedure must end.
    const auto perLine = [this](auto&& work) {
        try {
            work();
        } catch (const RuntimeError& e) {
            ctx_.showError(e.number(), e.description());
            return e.code() != ErrorCode::InvalidArgument;
        }
        return true;
    };

    const QString appIni = paths::appIni(dir);
    if (!fncFileExists(files_, appIni)) {
        playerFolder_ = QStringLiteral("not_available");
        return;
    }
    QList<QByteArray> lines;
    if (!readLines(appIni, lines))
        return;
    for (const QByteArray& line : lines) {
        const bool goOn = perLine([&] {
            if (lineMatchesKey(line, "lastplayer = ")) {
                const QString player = decodeGameText(lineValue(line, 14));
                playerFolder_ =
                    paths::isSingleName(player) ? paths::playerFolder(dir, player) : QString();
            }
        });
        if (!goOn)
            return;
    }

    if (playerFolder_.isEmpty())
        return; // a name that is no folder name: no player
    const QString playerIni = paths::playerIni(playerFolder_);
    if (!fncFileExists(files_, playerIni))
        return;
    if (!readLines(playerIni, lines))
        return;
    for (const QByteArray& line : lines) {
        const bool goOn = perLine([&] {
            if (lineMatchesKey(line, "lasttrackselection = ")) {
                const QByteArray track = lineValue(line, 22).left(8);
                // The row found is selected and made current, so its entries show.
                for (ListSide side : {ListSide::Active, ListSide::Inactive}) {
                    const int16_t row = fncTrackIndex(track, ctx_.list(side));
                    if (row >= 0) {
                        ctx_.list(side).rows[static_cast<size_t>(row)].selected = true;
                        selection_.setCurrentRow(side, row);
                    }
                }
                ctx_.ctl.txtRunTrack.text = track;
            } else if (lineMatchesKey(line, "team")) {
                const QByteArray value = lineValue(line, 8);
                if (value.isEmpty() || value[0] < '0' || value[0] > '9')
                    throw RuntimeError(ErrorCode::TypeMismatch);
                const int team = value[0] - '0';
                if (team >= ctx_.ctl.cboCars.size())
                    throw RuntimeError(ErrorCode::InvalidProperty);
                ctx_.ctl.cboCarsIndex = team;
            }
        });
        if (!goOn)
            return;
    }
}

} // namespace gk
