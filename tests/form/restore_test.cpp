// SPDX-License-Identifier: GPL-3.0-or-later
// "File > Restore an earlier season…" through the form model: the question, the restore, the
// reload, and a history that cannot be kept.
#include "support/harness.h"

#include <gtest/gtest.h>

namespace gk::test {
namespace {

const Message kSaveFirst{
    u"You haven't saved your changes so far. Do you want to create the new 67season.ini first? It can then be restored from the history as well."_s,
    u"Gridkeeper"_s,
    Buttons::YesNoCancel,
    Icon::Exclamation,
    QuestionId::SaveBeforeRestore,
    false,
    true};

TEST(Restore, AsksAboutUnsavedChangesThenRestoresAndReloads) {
    const QByteArray pair = seasonOf({"c"}), pairAll = seasonOf({"c", "a", "b"});
    struct Case {
        bool unsaved;
        Answer answer;
        bool restored;
    };
    for (const Case& c : {Case{false, Answer::Ok, true}, Case{true, Answer::Cancel, false},
                          Case{true, Answer::No, true}, Case{true, Answer::Yes, true}}) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        Harness h;
        ASSERT_TRUE(h.load({"a", "b", "c"}, {"a", "b"}, {"a", "b", "c"}));
        const QByteArray original = h.game.season();
        h.game.write(u"seasons/67season_previous.bak"_s, pair);
        h.game.write(u"seasons/67AllTracks_previous.bak"_s, pairAll);
        if (c.unsaved) {
            h.ws().bolSeasonChanged = true;
            h.dialogs.expectMessage(kSaveFirst, c.answer);
        }
        EXPECT_EQ(h.m().restoreEarlierSeason(u"previous"_s), c.restored);
        if (!c.restored) {
            EXPECT_EQ(h.game.readSeasons(),
                      (QByteArrayList{original, h.game.read(u"seasons/67AllTracks.ini"_s), pair,
                                      pairAll}));
            EXPECT_TRUE(h.ws().bolSeasonChanged);
            continue;
        }
        EXPECT_EQ(h.game.season(), pair);
        EXPECT_EQ(texts(h.ws().ListTracks), (Rows{"c"}));
        EXPECT_EQ(texts(h.ws().listNotActive), (Rows{"a", "b"}));
        EXPECT_FALSE(h.ws().bolSeasonChanged);
        // Saved first, the changes are the backups; otherwise the season that was there.
        EXPECT_EQ(h.game.read(u"seasons/67season_previous.bak"_s) == original,
                  c.answer != Answer::Yes);
    }
}

// A history that cannot be kept is told once, at the first write. (The pairs that cannot be
// restored are the core's and the command-line tool's tests.)
TEST(Restore, TellsAHistoryItCannotKeepOnce) {
    Harness h;
    ASSERT_TRUE(h.load({"a"}, {"a"}, {"a"}));
    h.game.write(u"seasons/history"_s, "a file");
    const Message historyBox = gkBox(
        u"The season files were written, but the season they replaced could not be kept in the history (%1/seasons/history is a file, not a folder). Earlier seasons can be restored from the backups only."_s
            .arg(h.game.dir()),
        MessageKind::Information);
    h.dialogs.expectMessage(historyBox);
    h.dialogs.expectMessage(kCreatedBox);
    h.m().cmdMakeIni_Click();
    h.dialogs.expectMessage(kCreatedBox);
    h.m().cmdMakeIni_Click();
}

} // namespace
} // namespace gk::test
