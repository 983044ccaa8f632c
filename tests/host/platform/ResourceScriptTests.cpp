#include "sim/window/ResourceScript.h"
#include "ui/resource.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <strings.h>

using platform::sim::ParseResourceHeader;
using platform::sim::ParseResourceScript;
using platform::sim::ProgramResources;
using platform::sim::StyleBit;

namespace {

struct ExpectedControl {
    int id;
    const char* className;
    const char* text;
    int resourceId;
    bool visible;
    bool tabStop;
    int x, y, width, height;
};

void ExpectControls(const platform::sim::DialogTemplate& dialog,
                    const std::vector<ExpectedControl>& expected) {
    ASSERT_EQ(dialog.controls.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const auto& control = dialog.controls[i];
        const auto& want = expected[i];
        SCOPED_TRACE("control " + std::to_string(i) + " id " + std::to_string(want.id));
        EXPECT_EQ(control.id, want.id);
        EXPECT_TRUE(strcasecmp(control.className.c_str(), want.className) == 0) << control.className;
        EXPECT_EQ(control.text, want.text);
        EXPECT_EQ(control.resourceId, want.resourceId);
        EXPECT_EQ((control.style & StyleBit("WS_VISIBLE")) != 0, want.visible);
        EXPECT_EQ((control.style & StyleBit("WS_TABSTOP")) != 0, want.tabStop);
        EXPECT_EQ(control.x, want.x);
        EXPECT_EQ(control.y, want.y);
        EXPECT_EQ(control.width, want.width);
        EXPECT_EQ(control.height, want.height);
    }
}

TEST(ProgramResourceScript, UpdaterDialogHasEveryControlInTabOrder) {
    const auto& dialogs = ProgramResources().dialogs;
    ASSERT_EQ(dialogs.count(IDD_UPDATER_DIALOG), 1u);
    const auto& dialog = dialogs.at(IDD_UPDATER_DIALOG);
    EXPECT_EQ(dialog.caption, "Tolvo Firmware Updater");
    EXPECT_EQ(dialog.width, 135);
    EXPECT_EQ(dialog.height, 97);
    EXPECT_EQ(dialog.style & StyleBit("WS_SYSMENU"), 0u);
    EXPECT_NE(dialog.style & StyleBit("WS_VISIBLE"), 0u);
    EXPECT_NE(dialog.exStyle & StyleBit("WS_EX_APPWINDOW"), 0u);
    ExpectControls(dialog, {
                               {1, "Button", "EXIT", 0, true, true, 5, 56, 125, 14},
                               {IDC_UPGRADE, "Button", "Firmware Upgrade", 0, true, true, 5, 40, 125, 14},
                               {IDC_PROGRESS, "msctls_progress32", "", 0, true, false, 5, 72, 125, 6},
                               {IDC_STATUS, "Static", "Ready", 0, true, false, 5, 81, 125, 10},
                               {IDC_CURRENT_VERSION, "Static", "Current version:  Searching...", 0, false,
                                false, 5, 5, 125, 13},
                               {IDC_TARGET_VERSION, "Static", "Upgrade to version:  Searching...", 0, false,
                                false, 5, 21, 125, 13},
                               {IDC_LOGO, "Static", "", IDB_LOGO, true, false, 5, 5, 126, 33},
                           });
    EXPECT_NE(dialog.controls[3].exStyle & StyleBit("WS_EX_STATICEDGE"), 0u);
    EXPECT_NE(dialog.controls[4].exStyle & StyleBit("WS_EX_CLIENTEDGE"), 0u);
    EXPECT_NE(dialog.controls[0].style & StyleBit("BS_DEFPUSHBUTTON"), 0u);
    EXPECT_NE(dialog.controls[1].style & StyleBit("BS_DEFPUSHBUTTON"), 0u);
}

TEST(ProgramResourceScript, AboutBoxStringAndPictures) {
    const auto& script = ProgramResources();
    ASSERT_EQ(script.dialogs.count(IDD_ABOUT_DIALOG), 1u);
    const auto& about = script.dialogs.at(IDD_ABOUT_DIALOG);
    EXPECT_EQ(about.caption, "About Orvane");
    EXPECT_NE(about.style & StyleBit("WS_SYSMENU"), 0u);
    ASSERT_EQ(about.controls.size(), 4u);
    EXPECT_EQ(about.controls[0].resourceId, IDI_MAIN);
    EXPECT_EQ(about.controls[1].text, "Orvane Version 3.0.0.1");
    EXPECT_EQ(about.controls[3].id, 1);
    EXPECT_EQ(about.controls[3].text, "OK");
    EXPECT_EQ(script.strings.at(IDS_ABOUT_MENU), "&About Orvane...");
    EXPECT_EQ(script.icons.count(IDI_MAIN), 1u);
    EXPECT_EQ(script.bitmaps.count(IDB_LOGO), 1u);
}

const char* const kSample = R"(// sample
#include "resource.h"
LANGUAGE 9, 1
7 ICON "x.ico"
10 DIALOGEX 0, 0, 50, 40
STYLE WS_POPUP | WS_CAPTION | WS_SYSMENU
CAPTION "Say ""hi"""
BEGIN
    PUSHBUTTON      "Go", ID_GO, 1, 2, 3, 4, WS_DISABLED
    LTEXT           "two\nlines", 20, 5, 6, 7, 8,
                    SS_LEFT | NOT WS_VISIBLE, WS_EX_STATICEDGE
    ICON            7, -1, 9, 10
END
STRINGTABLE
BEGIN
    ID_GO "go, now"
END
)";

TEST(ResourceScriptParser, ReadsContinuedLinesStylesAndEscapes) {
    const auto symbols = ParseResourceHeader("#define ID_GO 0x0011\n#define NEGATIVE (-1)\n");
    ASSERT_EQ(symbols.at("ID_GO"), 17);
    ASSERT_EQ(symbols.at("NEGATIVE"), -1);
    const auto script = ParseResourceScript(kSample, symbols);
    const auto& dialog = script.dialogs.at(10);
    EXPECT_EQ(dialog.caption, "Say \"hi\"");
    ASSERT_EQ(dialog.controls.size(), 3u);
    const auto& button = dialog.controls[0];
    EXPECT_EQ(button.id, 17);
    EXPECT_NE(button.style & StyleBit("WS_DISABLED"), 0u);
    EXPECT_EQ(button.style & StyleBit("WS_TABSTOP"), 0u) << "a given style replaces the default tab stop";
    const auto& text = dialog.controls[1];
    EXPECT_EQ(text.text, "two\nlines");
    EXPECT_EQ(text.style & StyleBit("WS_VISIBLE"), 0u);
    EXPECT_EQ(text.exStyle, StyleBit("WS_EX_STATICEDGE"));
    EXPECT_EQ(text.height, 8);
    EXPECT_EQ(dialog.controls[2].id, -1);
    EXPECT_EQ(dialog.controls[2].resourceId, 7);
    EXPECT_EQ(script.strings.at(17), "go, now");
    EXPECT_EQ(script.icons.count(7), 1u);
}

TEST(ResourceScriptParser, RejectsWhatItCannotRead) {
    const struct {
        const char* script;
        const char* message;
    } cases[] = {
        {"1 DIALOG 0, 0, 1, 1\nBEGIN\n  LTEXT \"a\", UNKNOWN_ID, 1, 2, 3, 4\nEND\n",
         "line 3: unknown name UNKNOWN_ID"},
        {"1 DIALOG 0, 0, 1, 1\nBEGIN\n  COMBOBOX 5, 1, 2, 3, 4\nEND\n",
         "line 3: unknown control statement COMBOBOX"},
        {"1 DIALOG 0, 0, 1, 1\nSTYLE WS_FANCY\nBEGIN\nEND\n", "line 2: unknown name WS_FANCY"},
        {"1 DIALOG 0, 0, 1, 1\nBEGIN\n  LTEXT \"a\", 2, 1, 2, 3, 4\n", "line 1: dialog without END"},
        {"MENU_THING MENU\n", "line 1: unknown statement MENU_THING"},
    };
    for (const auto& c : cases) {
        try {
            ParseResourceScript(c.script, {});
            ADD_FAILURE() << "accepted: " << c.script;
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
        }
    }
}

} // namespace
