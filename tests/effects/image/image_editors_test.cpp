// The Images editor and the image list on the real host: live edits, their
// timer rules, the list's cells and OK, and editors staying with their entry.
#include "tests/effects/image/image_session.h"

namespace kavrel::testing {
namespace {

using ImageEditors = ImageSession;

TEST_F(ImageEditors, DirectionStretchSpeedAndBeatFollowTheTimerRules) {
    EffectRecord& e = image({picture("w.png", 20, 12)});
    e.name = "logo";
    select();
    s.form().editA_Click();
    MxImageForm* f = form();
    ASSERT_NE(f, nullptr);
    EXPECT_TRUE(f->Visible());
    EXPECT_EQ(f->myName.Text(), "logo");
    EXPECT_EQ(f->richtung[0].shownPicture(), "DownPicture");
    EXPECT_EQ(f->richtung[3].shownPicture(), "DisabledPicture");

    f->richtung[3].userClick();
    EXPECT_EQ(bank().eff[0].direction, 3);
    EXPECT_TRUE(s.form().timerA1.Enabled());
    EXPECT_EQ(f->richtung[3].shownPicture(), "DownPicture");
    f->richtung[0].userClick();
    EXPECT_FALSE(s.form().timerA1.Enabled());

    f->Slider1.setValue(100);
    EXPECT_EQ(bank().eff[0].speed, 100);
    EXPECT_EQ(s.form().timerA1.Interval(), 10);
    EXPECT_FALSE(s.form().timerA1.Enabled());  // the slider never starts it
    f->Slider1.setValue(1);
    EXPECT_EQ(s.form().timerA1.Interval(), 7851);

    f->PStretch.userClick();
    EXPECT_EQ(bank().eff[0].stretch, 1);
    f->richtung[5].userClick();  // stretched: the timer stays as it was
    EXPECT_FALSE(s.form().timerA1.Enabled());
    f->beatControl.setValue(1);
    EXPECT_EQ(bank().eff[0].beat, 1);
    EXPECT_TRUE(bank().beat);
    f->beatControl.setValue(0);  // unticking starts it even when stretched
    EXPECT_FALSE(bank().beat);
    EXPECT_TRUE(s.form().timerA1.Enabled());
    f->PStretch.userClick();
    f->PStretch.userClick();  // ticking stops it at once
    EXPECT_FALSE(s.form().timerA1.Enabled());
}

TEST_F(ImageEditors, OkNamesTheEntryAndRestartsALongerList) {
    image({solid("a.png", 255), solid("b.png", 65280)}, false, {3, 5});
    select();
    s.form().editA_Click();
    MxImageForm* f = form();
    f->myName.setText("show");
    s.form().timerA2.setEnabled(false);
    bank().imageIdx = 1;
    int enter = 13;
    f->myName_KeyPress(enter);
    EXPECT_FALSE(f->Visible());
    EXPECT_EQ(bank().eff[0].name, "show");
    EXPECT_EQ(s.form().efxAList.Item(1).Text, "show");
    EXPECT_TRUE(bank().effOk[0]);
    EXPECT_TRUE(s.form().timerA2.Enabled());
    EXPECT_EQ(s.form().timerA2.Interval(), 3000);
    EXPECT_EQ(bank().imageIdx, 0);

    // One picture: OK switches a running list timer off.
    image({solid("a.png", 255)});
    s.form().editA_Click();
    s.form().timerA2.setEnabled(true);
    form()->OK_Click();
    EXPECT_FALSE(s.form().timerA2.Enabled());
}

TEST_F(ImageEditors, ListCellsAreEditedAndStored) {
    image({});
    select();
    s.form().editA_Click();
    form()->BImage_Click();
    MxImageList* l = list();
    ASSERT_NE(l, nullptr);
    EXPECT_TRUE(l->Visible());
    const std::string a = solid("a.png", 255), b = solid("b.png", 65280);
    answerFile(a);
    l->addImage.userClick();
    answerFile(b);
    l->addImage.userClick();
    platform::ListView& v = l->myImageList;
    ASSERT_EQ(v.Count(), 2);
    EXPECT_EQ(v.Item(1).Text, "a.png");
    EXPECT_EQ(v.SubItem(1, 1), "30");
    EXPECT_EQ(bank().eff[0].imageCount, 2);
    EXPECT_EQ(bank().eff[0].imagePaths[1], b);
    s.plugin().desktop().queueDialogAnswer({});  // Cancel changes nothing
    l->addImage.userClick();
    EXPECT_EQ(v.Count(), 2);

    v.Select(1);
    v.userEditCell(1, 1, "");
    EXPECT_EQ(v.SubItem(1, 1), "60");
    v.userEditCell(1, 1, "abc");
    EXPECT_EQ(v.SubItem(1, 1), "60");
    v.userEditCell(1, 1, "40000");  // beyond what a duration holds
    EXPECT_EQ(v.SubItem(1, 1), "60");
    v.userEditCell(1, 1, "2,5");
    EXPECT_EQ(bank().eff[0].durations[0], 2.0);
    v.userEditCell(1, 1, "3.5");
    EXPECT_EQ(bank().eff[0].durations[0], 4.0);
    // The row the editor was open on is settled, not the selected one.
    v.userEditCell(2, 1, "");
    EXPECT_EQ(v.SubItem(2, 1), "60");
    EXPECT_EQ(bank().eff[0].durations[1], 60.0);
    v.userEditCell(2, 1, "xy");
    EXPECT_EQ(v.SubItem(2, 1), "60");
    EXPECT_EQ(v.SubItem(1, 1), "3.5");
    EXPECT_EQ(v.SelectedIndex(), 1);
    v.StartSubItemEdit(1, 1, "0");
    v.userSpin(false);
    EXPECT_EQ(v.EditText(), "-1");
    v.setEditText("x");
    v.userSpin(true);
    EXPECT_EQ(v.EditText(), "x");

    ASSERT_FALSE(s.plugin().desktop().modalOpen());
    ASSERT_TRUE(l->Visible());
    ASSERT_TRUE(l->downImage.Enabled());
    // Down then down again restores the order (the selection stays on its
    // row); the first row does not move up, the last not down.
    v.Select(1);
    EXPECT_TRUE(l->downImage.userClick());
    EXPECT_EQ(bank().eff[0].imagePaths[0], b);
    l->downImage.userClick();
    EXPECT_EQ(bank().eff[0].imagePaths[0], a);
    l->upImage.userClick();
    EXPECT_EQ(bank().eff[0].imagePaths[0], a);
    v.Select(2);
    l->downImage.userClick();
    EXPECT_EQ(bank().eff[0].imagePaths[1], b);
    l->upImage.userClick();
    EXPECT_EQ(bank().eff[0].imagePaths[0], b);
    l->upImage.userClick();
    EXPECT_EQ(bank().eff[0].imagePaths[0], a);

    // OK with two rows: first picture's exact interval, list timer from 0.
    v.Select(1);
    v.userEditCell(1, 1, "2,5");
    l->OK_Click();
    EXPECT_FALSE(l->Visible());
    EXPECT_EQ(s.form().timerA2.Interval(), 2500);
    EXPECT_TRUE(s.form().timerA2.Enabled());
    EXPECT_EQ(light(0, 0), 255u);

    // Removing rows down to none leaves one spare element.
    form()->BImage_Click();
    v.Select(1);
    l->removeImage.userClick();
    v.Select(1);
    l->removeImage.userClick();
    EXPECT_EQ(bank().eff[0].imageCount, 0);
    EXPECT_EQ(bank().eff[0].imagePaths.size(), 1u);
}

TEST_F(ImageEditors, PreviewShowsARowAndReportsAMissingFile) {
    image({solid("a.png", 255), dir + "/gone.png"});
    select();
    s.form().editA_Click();
    form()->BImage_Click();
    MxImageList* l = list();
    EXPECT_EQ(light(0, 0), 255u);
    l->myImageList.userSelectRow(2);
    EXPECT_EQ(s.messages().back(), "File not found: " + dir + "/gone.png");
    EXPECT_EQ(light(0, 0), 255u);
    EXPECT_EQ(bank().eff[0].imageCount, 2);
    // A broken file is no picture either: it counts as missing at OK.
    const std::string broken = dir + "/broken.png";
    FILE* fp = fopen(broken.c_str(), "wb");
    fputs("\x89PNG\r\n\x1a\nxx", fp);
    fclose(fp);
    l->myImageList.setSubItem(1, 2, broken);
    l->OK_Click();
    EXPECT_EQ(s.messages().back(), "File not found: " + broken);
    EXPECT_EQ(light(0, 0), 255u);  // the previous picture stays
}

TEST_F(ImageEditors, EditorsStayWithTheirEntry) {
    image({picture("w.png", 20, 12)});
    select();
    s.form().editA_Click();
    form()->BImage_Click();
    // Another entry becomes the bank's running one.
    s.form().addA_Click();
    s.form().efxAList.userSelectRow(2);
    EXPECT_FALSE(form()->Visible());  // hidden at once
    EXPECT_FALSE(list()->Visible());
    form()->Show(false);  // even shown again by force, it writes nothing
    const EffectRecord other = bank().eff[1];
    form()->richtung[3].userClick();
    EXPECT_FALSE(form()->Visible());
    EXPECT_FALSE(list()->Visible());
    EXPECT_EQ(bank().eff[1].direction, other.direction);
    EXPECT_EQ(bank().eff[0].direction, 0);
    form()->OK_Click();
    EXPECT_EQ(bank().eff[1].name, other.name);
    EXPECT_EQ(s.form().efxAList.Item(2).Text, other.name);
}

}  // namespace
}  // namespace kavrel::testing
