#include <gtest/gtest.h>

#include "platform/common_dialog.h"
#include "platform/desktop.h"
#include "platform/event_loop.h"
#include "platform/window.h"

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

TEST_F(CommonDialogTest, StallsWhenNoAnswerCanCome) {
    cd.setFileName("before.Kavrel");
    d.queueAction([] {});
    try {
        cd.ShowSave();
        FAIL() << "no ModalStall";
    } catch (const ModalStall& e) {
        EXPECT_EQ(e.window, "CommonDialog mxCommonDialog.CDM");
    }
    EXPECT_EQ(cd.FileName(), "before.Kavrel");
    EXPECT_FALSE(d.runNextAction());  // the queued action did run
}

}  // namespace
}  // namespace platform
