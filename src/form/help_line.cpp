// SPDX-License-Identifier: GPL-3.0-or-later
// The help line's texts for the control under the pointer.
#include "help_line.h"

namespace gk::help {

QString defaultText() {
    return QStringLiteral("Move over a menu to get some additional info");
}

namespace {

QString changeButtonText(int16_t index) {
    switch (index) {
    case 0:
        return QStringLiteral("Click here to move the currently activated track from the track "
                              "list to the not activated tracks list.");
    case 1:
        return QStringLiteral("Click here to permanently remove the currently activated track "
                              "from the activated tracks list to the tracks list. This is only "
                              "recommended for tracks who don't exist on your HD anymore.");
    case 2:
        return QStringLiteral("Click here to permanently remove the currently activated track "
                              "from the not activated tracks list to the tracks list. This is "
                              "only recommended for tracks who don't exist on your HD anymore.");
    case 3:
        return QStringLiteral("Click here to move the currently activated track from the not "
                              "activated tracks list to the tracks list.");
    default:
        return {};
    }
}

} // namespace

std::optional<QString> text(Hover control, int16_t index, bool gplDirValid) {
    switch (control) {
    case Hover::Form:
    case Hover::lblInfo:
        return defaultText();
    case Hover::chkEdit:
        return QStringLiteral("Enable / Disable the edit mode. If enabled you can edit the "
                              "entries. But do this on your own risk.");
    case Hover::chkSort:
        return QStringLiteral(
            "If this box is checked, your tracks in the 67season.ini will be sorted "
            "alphabetically. Otherwise the order from the 'Active Tracks' list will be used. "
            "You can also sort the list(s) by clicking onto the list title ('Active Tracks' / "
            "'Non-Active Tracks')");
    case Hover::cmdChangeButton: {
        QString text = changeButtonText(index);
        if (text.isEmpty())
            return std::nullopt;
        return text;
    }
    case Hover::cmdLaunchGPL:
        return QStringLiteral(
            "Click here to start another exciting GPL session...this means this button will "
            "launch GPL. Note that GPL will choose the track you've actually marked in the "
            "track list (if any) as well as the car choosen in the combo box.");
    case Hover::cmdMakeIni:
        return QStringLiteral("Click here to create the new 67season.ini. Note that the current "
                              "67season.ini will be backuped as 67season_previous.bak.");
    case Hover::lblAmountLeft:
    case Hover::lblAmountRight:
        return QStringLiteral("Click to sort the list/tracks by folder name.");
    case Hover::lblGPLdir:
        if (gplDirValid)
            return defaultText();
        return QStringLiteral("Your GPL directory is set incorrectly. You can change the "
                              "directory by clicking on the menu file - My GPL directory");
    case Hover::lblMyMail:
        return QStringLiteral("Just click onto this address. This will open an (almost) empty "
                              "mail form. Of course you'll need an installed mail program like "
                              "e.g. Outlook Express.");
    case Hover::listNotActive:
        return QStringLiteral(
            "This is the list, which shows the GPL tracks (folder names) that won't be written "
            "in the 67season.ini file. They will remain in the 67AllTracks.ini as well as the "
            "active tracks. To change this list use the add / remove buttons.");
    case Hover::ListTracks:
        return QStringLiteral(
            "This is the list, which shows the GPL tracks (folder names) that will be written in "
            "the new 67season.ini file. To change this list use the add / remove buttons. Use "
            "the arrows to change the order. Highlight a track and click on 'start GPL' to run "
            "this track.");
    case Hover::picArrow:
        return QStringLiteral(
            "Use those arrows to change the sort order of the list. Note that the program will "
            "write the tracks in this order into the ini file. Maybe there will be a further "
            "version of the program that let you say 'sort by alphabet'.");
    case Hover::txtEntry:
        return QStringLiteral("Shows the entries for the track which actually has the focus. "
                              "Those values will be written in the ini files. Edit at your own "
                              "risk.");
    case Hover::txtTrack:
        return QStringLiteral(
            "Enter the first letters of the track (folder name) you're looking for. If there's "
            "any match, the track will be highlighted in the track list(s).");
    }
    return std::nullopt;
}

} // namespace gk::help
