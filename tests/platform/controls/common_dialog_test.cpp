#include <gtest/gtest.h>

#include "platform/controls/button.h"
#include "platform/controls/common_dialog.h"
#include "platform/windows/desktop.h"
#include "platform/runtime/event_loop.h"
#include "platform/runtime/timer.h"
#include "platform/windows/window.h"

namespace platform {
namespace {

DialogAnswer fileAnswer(std::string path) {
    DialogAnswer a;
    a.kind = DialogAnswer::Kind::File;
    a.path = std::move(path);
    return a;
}

class CommonDialogTest : public ::testing::Test {
  protected:
    Desktop d;
    Window hidden{d, "mxCommonDialog"};  // never shown, as the dialog's form is
    CommonDialog& cd = hidden.add<CommonDialog>("CDM");
};

TEST_F(CommonDialogTest, FileAnswerSetsNameAndTitleThatPersist) {
    EXPECT_EQ(cd.FileName(), "");
    d.queueDialogAnswer(fileAnswer("C:\\shows\\club.Kavrel"));
    EXPECT_TRUE(cd.ShowSave());
    EXPECT_EQ(cd.FileName(), "C:\\shows\\club.Kavrel");
    EXPECT_EQ(cd.FileTitle(), "club.Kavrel");
    EXPECT_EQ(cd.lastShown(), "Save");

    d.queueDialogAnswer(DialogAnswer{});  // Cancel
    EXPECT_FALSE(cd.ShowOpen());
    EXPECT_EQ(cd.FileName(), "C:\\shows\\club.Kavrel");
    EXPECT_EQ(cd.property("FileTitle"), "club.Kavrel");

    d.queueDialogAnswer(fileAnswer("/home/me/pic.bmp"));
    EXPECT_TRUE(cd.ShowOpen());
    EXPECT_EQ(cd.FileTitle(), "pic.bmp");
    d.queueDialogAnswer(fileAnswer("plain.bmp"));
    EXPECT_TRUE(cd.ShowOpen());
    EXPECT_EQ(cd.FileTitle(), "plain.bmp");
    EXPECT_EQ(cd.lastShown(), "Open");
    EXPECT_EQ(cd.showCount(), 4);
}

TEST_F(CommonDialogTest, AnswerOfTheWrongKindIsACancel) {
    cd.setFileName("keep.Kavrel");
    DialogAnswer font;
    font.kind = DialogAnswer::Kind::Font;
    font.fontName = "Verdana";
    d.queueDialogAnswer(font);
    EXPECT_FALSE(cd.ShowOpen());
    EXPECT_EQ(cd.FileName(), "keep.Kavrel");
    d.queueDialogAnswer(fileAnswer("x.ttf"));
    EXPECT_FALSE(cd.ShowFont());
    EXPECT_EQ(cd.FontName(), "");
    EXPECT_EQ(d.pendingDialogAnswers(), 0u);  // both answers were used up
}

TEST_F(CommonDialogTest, FontAnswerSetsTheFont) {
    DialogAnswer font;
    font.kind = DialogAnswer::Kind::Font;
    font.fontName = "Arial";
    font.fontSize = 12.5;
    font.bold = true;
    font.strikeout = true;
    d.queueDialogAnswer(font);
    EXPECT_TRUE(cd.ShowFont());
    EXPECT_EQ(cd.FontName(), "Arial");
    EXPECT_EQ(cd.property("FontSize"), "12.5");
    EXPECT_TRUE(cd.FontBold());
    EXPECT_FALSE(cd.FontItalic());
    EXPECT_TRUE(cd.FontStrikethru());
    EXPECT_EQ(cd.lastShown(), "Font");

    font.fontSize = -3;  // no such size: the old one stays
    font.bold = false;
    d.queueDialogAnswer(font);
    EXPECT_TRUE(cd.ShowFont());
    EXPECT_EQ(cd.FontSize(), 12.5);
    EXPECT_FALSE(cd.FontBold());
}

TEST_F(CommonDialogTest, WaitsThroughUserActionsUntilAnswered) {
    int ran = 0;
    d.queueAction([&] { ++ran; });
    d.queueAction([&] {
        ++ran;
        d.queueDialogAnswer(fileAnswer("late.bmp"));
    });
    d.queueAction([&] { ++ran; });
    EXPECT_TRUE(cd.ShowOpen());
    EXPECT_EQ(cd.FileName(), "late.bmp");
    EXPECT_EQ(ran, 2);  // the rest stays queued for later
}

TEST_F(CommonDialogTest, RelativeAnswersAreTakenInTheInitialFolder) {
    cd.setInitDir("/home/me/shows");
    d.queueDialogAnswer(fileAnswer("club.Kavrel"));
    EXPECT_TRUE(cd.ShowSave());
    EXPECT_EQ(cd.FileName(), "/home/me/shows/club.Kavrel");
    EXPECT_EQ(cd.FileTitle(), "club.Kavrel");
    d.queueDialogAnswer(fileAnswer("sub/pic.bmp"));
    EXPECT_TRUE(cd.ShowOpen());
    EXPECT_EQ(cd.FileName(), "/home/me/shows/sub/pic.bmp");
    EXPECT_EQ(cd.FileTitle(), "pic.bmp");
    for (const char* absolute : {"/tmp/a.Kavrel", "C:\\x\\b.Kavrel", "\\\\server\\c.Kavrel"}) {
        d.queueDialogAnswer(fileAnswer(absolute));
        EXPECT_TRUE(cd.ShowOpen());
        EXPECT_EQ(cd.FileName(), absolute);
    }
    cd.setInitDir("C:\\shows\\");
    d.queueDialogAnswer(fileAnswer("d.Kavrel"));
    EXPECT_TRUE(cd.ShowOpen());
    EXPECT_EQ(cd.FileName(), "C:\\shows\\d.Kavrel");
    cd.setInitDir("C:\\shows");
    d.queueDialogAnswer(fileAnswer("e.Kavrel"));
    EXPECT_TRUE(cd.ShowOpen());
    EXPECT_EQ(cd.FileName(), "C:\\shows\\e.Kavrel");
    // The settings stay as the caller left them for the next use.
    cd.setFlags(0x20103);
    d.queueDialogAnswer(DialogAnswer{});
    EXPECT_FALSE(cd.ShowSave());
    EXPECT_EQ(cd.property("Flags"), "131331");
    EXPECT_EQ(cd.property("InitDir"), "C:\\shows");
    EXPECT_EQ(cd.FileName(), "C:\\shows\\e.Kavrel");
}

TEST_F(CommonDialogTest, WaitsModallyNoWindowTakesInputAndTimersTick) {
    Window main{d, "Main"};
    Button& go = main.add<Button>("go");
    main.Show();
    int clicks = 0;
    go.onClick = [&] { ++clicks; };
    Timer t(d.loop(), "t");
    int ticks = 0;
    t.onTimer = [&] { ++ticks; };
    t.setInterval(10);
    t.setEnabled(true);
    int depthInside = 0;
    bool clickTaken = true;
    d.queueAction([&] {
        depthInside = d.loop().modalDepth();
        clickTaken = go.userClick();
        d.loop().wait(35);
        d.queueDialogAnswer(fileAnswer("/x.bmp"));
    });
    EXPECT_TRUE(cd.ShowOpen());
    EXPECT_EQ(depthInside, 1);
    EXPECT_FALSE(clickTaken);
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(ticks, 3);
    EXPECT_TRUE(go.userClick());  // answered: the window takes input again
    EXPECT_EQ(d.topModal(), nullptr);
}

TEST_F(CommonDialogTest, StallsWhenNoAnswerCanCome) {
    cd.setFileName("before.Kavrel");
    d.queueAction([] {});
    try {
        cd.ShowSave();
        FAIL() << "no ModalStall";
    } catch (const ModalStall& e) {
        EXPECT_EQ(e.window, "CommonDialog mxCommonDialog.CDM");
    }
    EXPECT_FALSE(d.modalOpen());
    EXPECT_EQ(cd.FileName(), "before.Kavrel");
    EXPECT_FALSE(d.runNextAction());  // the queued action did run
}

}  // namespace
}  // namespace platform
