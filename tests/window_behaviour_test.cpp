#include "support/harness.h"
#include "ui/dialogs/about.h"

#include <gtest/gtest.h>

namespace gk::test {
namespace {

// The hover texts with a rule behind them, the others being plain captions; the File menu's
// report and exit, and the about box's text and mail link.
TEST(FormModel, HelpLineMenusAndAbout) {
    Harness h;
    h.game.writeSeason({"monza"});
    ASSERT_TRUE(h.load());
    FormModel& m = h.m();
    // Each move, and the start of the help line after it ("": it keeps what it had).
    // clang-format off
    const std::vector<std::pair<std::function<void()>, const char*>> cases = {
        {[&] { m.cmdChangeButton_MouseMove(0); }, "Click here to move the currently activated track from the track"},
        {[&] { m.cmdChangeButton_MouseMove(1); }, "Click here to permanently remove the currently activated track from the activated"},
        {[&] { m.cmdChangeButton_MouseMove(2); }, "Click here to permanently remove the currently activated track from the not"},
        {[&] { m.cmdChangeButton_MouseMove(3); }, "Click here to move the currently activated track from the not"},
        {[&] { m.cmdChangeButton_MouseMove(4); }, ""},
        {[&] { m.cmdMakeIni_MouseMove(); }, "Click here to create the new 67season.ini. Note that the current 67season.ini will be backuped as 67season_previous.bak."},
        {[&] { m.lblGPLdir_MouseMove(); }, "Move over a menu"},
        {[&] { h.game.remove(u"driver.ini"_s); m.lblGPLdir_MouseMove(); },
         "Your GPL directory is set incorrectly. You can change the directory by clicking on the menu file - My GPL directory"},
    };
    // clang-format on
    for (const auto& [move, text] : cases) {
        const QString before = h.ctl().lblInfo.caption;
        move();
        const QString& now = h.ctl().lblInfo.caption;
        EXPECT_TRUE(*text ? now.startsWith(QString::fromLatin1(text)) : now == before)
            << text << " / " << now.toStdString();
        EXPECT_FALSE(now.contains(QLatin1Char('\r')) || now.contains(QLatin1Char('\n')));
    }
    m.mnuFile_Click(6);
    EXPECT_TRUE(m.takeReportRequest());
    m.mnuFile_Click(11);
    EXPECT_TRUE(m.closeRequested());
    EXPECT_EQ(about::aboutText({12, 0, 7}),
              u"Gridkeeper, Version 12.0.7\rFor Windows 95 oder higher"_s);
    m.lblMyMail_Click();
    EXPECT_EQ(h.shell.opened,
              std::vector<QString>{u"mailto:"_s + about::supportMail() + u"?Subject=Gridkeeper"_s});
}

} // namespace
} // namespace gk::test
