// SPDX-License-Identifier: GPL-3.0-or-later
// gridkeeper-cli's answer to a question of the form model, in the tool's own process.
#include "cli_command.h"
#include "form_model.h"
#include "support/fakes.h"
#include "support/game_folder.h"

#include <gtest/gtest.h>

namespace gk::test {
namespace {

// Another program writes 67season.ini between the tool's read and its write: the question
// whether to write over that change is declined, nothing is written, and the exit status says
// that the command was not done.
TEST(CliDialogs, ADeclinedQuestionLeavesTheCommandUndone) {
    GameFolder game;
    game.addTracks({"monza", "spa"});
    game.writeSeason({"monza"});
    game.writeAllTracks({"monza", "spa"});
    FakeSettings settings;
    cli::CliDialogs dialogs;
    QtFileSystem files;
    FakeShell shell;
    FormModel model({settings, dialogs, files, shell});
    ASSERT_TRUE(model.Form_Load(game.dir()));
    ASSERT_EQ(dialogs.status, cli::Ok);
    game.write(u"seasons/67season.ini"_s, "edited");
    model.subCreateIniFiles(true);
    EXPECT_EQ(dialogs.status, cli::Refused);
    EXPECT_EQ(game.season(), "edited");
}

} // namespace
} // namespace gk::test
