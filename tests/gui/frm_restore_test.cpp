// SPDX-License-Identifier: GPL-3.0-or-later
// The restore window shows the form model's pairs and hands the choice back to it.
#include "frm_restore.h"
#include "support/harness.h"

#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace gk::test {
namespace {

TEST(RestoreWindow, ShowsThePairsAndRestoresTheChosenOne) {
    Harness h;
    ASSERT_TRUE(h.load({"a", "b"}, {"a"}, {"a", "b"}));
    h.game.write(u"seasons/67season_previous.bak"_s, seasonOf({"b"}));
    h.game.write(u"seasons/67AllTracks_previous.bak"_s, seasonOf({"b", "a"}));
    h.game.write(u"seasons/history/67season 2026-12-06 14-03-22.ini"_s, seasonOf({"a"}));
    FrmRestore window(h.m());
    ASSERT_EQ(window.list()->count(), 2);
    EXPECT_TRUE(window.list()->item(0)->text().endsWith(u" — 1 active, 2 in all"_s));
    EXPECT_EQ(window.differences()->toPlainText(), u"Active again: b\nNo longer active: a"_s);
    window.list()->setCurrentRow(1);
    EXPECT_FALSE(window.restoreButton()->isEnabled());
    EXPECT_EQ(window.differences()->toPlainText(),
              u"67AllTracks 2026-12-06 14-03-22.ini is missing"_s);
    window.list()->setCurrentRow(0);
    window.restoreButton()->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_EQ(h.game.season(), seasonOf({"b"}));
    EXPECT_EQ(texts(h.ws().ListTracks), (Rows{"b"}));
}

} // namespace
} // namespace gk::test
