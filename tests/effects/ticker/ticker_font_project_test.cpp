// A Ticker's font through the type box, a project save, a load in a fresh
// instance, a start from the list and a second save.
#include <gtest/gtest.h>

#include <string>

#include "effects/ticker/mx_ticker_form.h"
#include "tests/banks/project_test_support.h"

namespace kavrel::testing {
namespace {

constexpr uint32_t kWhite = platform::rgb(255, 255, 255);
constexpr uint32_t kBlack = platform::rgb(0, 0, 0);

MxTickerForm* tickerEditor(KavrelSession& s) {
    return dynamic_cast<MxTickerForm*>(s.plugin().desktop().peekWindow("MxTickerForm"));
}

EffectRecord tickerEntry(const std::string& name, const std::string& font) {
    EffectRecord e;
    e.type = static_cast<int16_t>(EffectType::Ticker);
    e.name = name;
    e.color1 = kWhite;
    e.color2 = kBlack;
    e.speed = 75;
    e.direction = 3;
    e.text = "Hi";
    e.font = font;
    return e;
}

bool anyLight(KavrelSession& s, char bank, uint32_t colour) {
    for (int x = 0; x < 12; ++x)
        for (int y = 0; y < 12; ++y)
            if (s.plugin().framePixel(bank, x, y) == colour) return true;
    return false;
}

TEST(TickerFontProject, SystemFontSurvivesSaveLoadStartAndSaveAgain) {
    TempFolder dir;
    std::string first;
    {
        KavrelSession s;
        ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Ticker"));
        ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
        ASSERT_TRUE(s.driver.set("MxTickerForm.myFont", "WindowsFont"));
        s.driver.answerFont("DejaVu Sans", 11.5, true);
        ASSERT_TRUE(s.driver.click("MxTickerForm.myFontBox"));
        ASSERT_TRUE(s.driver.click("MxTickerForm.OK"));
        ASSERT_EQ(s.state().bankA.eff[0].font, "DejaVu Sans:12:0:1:0:0");
        // Bank B runs a second system font, italic and struck through.
        putEntry(s, BankId::B, 1, tickerEntry("serif", "DejaVu Serif:10:1:0:0:1"));
        ASSERT_TRUE(s.driver.select("MatrixForm.efxBList", 1));
        saveAs(s, (dir / "show.Kavrel"));
        first = readBytes((dir / "show.Kavrel"));
        ASSERT_NE(first.find("DejaVu Sans:12:0:1:0:0\r\n"), std::string::npos);
    }

    KavrelSession s;
    loadFrom(s, (dir / "show.Kavrel"));
    ASSERT_EQ(s.messages().back(), "Matrix Project loaded");
    const BankState& a = s.state().bankA;
    const BankState& b = s.state().bankB;
    EXPECT_EQ(a.eff[0].font, "DejaVu Sans:12:0:1:0:0");
    EXPECT_EQ(b.eff[0].font, "DejaVu Serif:10:1:0:0:1");
    // Each bank runs its own font, every flag of it.
    EXPECT_EQ(a.fontName, "DejaVu Sans");
    EXPECT_EQ(a.fontSize, 12);
    EXPECT_EQ(a.fontBold, 1);
    EXPECT_EQ(a.fontItalic, 0);
    EXPECT_EQ(a.fontStrike, 0);
    EXPECT_EQ(b.fontName, "DejaVu Serif");
    EXPECT_EQ(b.fontSize, 10);
    EXPECT_EQ(b.fontItalic, 1);
    EXPECT_EQ(b.fontStrike, 1);
    // The load offered the font dialog: the editor exists, hidden, showing
    // the pixel font, and made no entry use it.
    MxTickerForm* editor = tickerEditor(s);
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->Visible());
    EXPECT_TRUE(editor->myFontBox.Enabled());
    EXPECT_EQ(editor->myFont.Text(), "5-point");
    s.wait(260 * 6);  // a few columns of the text have entered
    EXPECT_TRUE(anyLight(s, 'A', kWhite)) << "bank A shows no text";

    // A start from the list keeps the font, and so does the editor.
    ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
    ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
    EXPECT_EQ(editor->myFont.Text(), "DejaVu Sans:12:0:1:0:0");
    ASSERT_TRUE(s.driver.click("MxTickerForm.OK"));
    EXPECT_EQ(a.eff[0].font, "DejaVu Sans:12:0:1:0:0");
    EXPECT_EQ(a.fontSize, 12);

    TempFolder again;
    saveAs(s, (again / "show.Kavrel"));
    EXPECT_EQ(readBytes((again / "show.Kavrel")), first);
}

TEST(TickerFontProject, TheTypeBoxOffersTheDialogWithoutChangingTheEntry) {
    KavrelSession s;
    putEntry(s, BankId::A, 1, tickerEntry("mono", "DejaVu Sans Mono:9:0:0:1:1"));
    ASSERT_EQ(tickerEditor(s), nullptr);
    // The entry is a Ticker already: the type box starts it without defaults.
    s.form().typeA.setListIndex(static_cast<int>(EffectType::Ticker));
    s.form().typeA_Click();
    const BankState& a = s.state().bankA;
    EXPECT_EQ(a.eff[0].font, "DejaVu Sans Mono:9:0:0:1:1");
    EXPECT_EQ(a.eff[0].text, "Hi");
    EXPECT_EQ(a.fontName, "DejaVu Sans Mono");
    EXPECT_EQ(a.fontSize, 9);
    EXPECT_EQ(a.fontWeight, 1);
    EXPECT_EQ(a.fontStrike, 1);
    MxTickerForm* editor = tickerEditor(s);
    ASSERT_NE(editor, nullptr);
    EXPECT_FALSE(editor->Visible());
    EXPECT_TRUE(editor->myFontBox.Enabled());
    EXPECT_EQ(editor->myFont.Text(), "5-point");
    EXPECT_TRUE(s.form().timerA1.Enabled());

    // "WindowsFont" (no font picked yet) offers the dialog and runs the pixel font.
    putEntry(s, BankId::B, 1, tickerEntry("later", "WindowsFont"));
    ASSERT_TRUE(s.driver.select("MatrixForm.efxBList", 1));
    EXPECT_EQ(s.state().bankB.eff[0].font, "5-point");
    editor->myFontBox.setEnabled(false);
    s.state().bankB.eff[0].font = "WindowsFont";
    s.form().typeB.setListIndex(static_cast<int>(EffectType::Ticker));
    s.form().typeB_Click();
    EXPECT_EQ(s.state().bankB.eff[0].font, "5-point");
    EXPECT_EQ(s.state().bankB.fontSize, 5);  // the pixel font's height
    EXPECT_TRUE(editor->myFontBox.Enabled());
    EXPECT_TRUE(anyLight(s, 'B', kWhite));
}

TEST(TickerFontProject, APixelFontTypeChangeLeavesTheEditorAlone) {
    KavrelSession s;
    ASSERT_TRUE(s.driver.set("MatrixForm.typeA", "Ticker"));
    EXPECT_EQ(s.state().bankA.eff[0].font, "5-point");
    EXPECT_EQ(s.state().bankA.fontName, "5-point");
    EXPECT_EQ(tickerEditor(s), nullptr) << "the pixel font made the editor";
}

// Every Ticker entry the file holds hands its font to bank A's variables, in
// file order, its own line kept as read; the running entries then take their
// own font.
TEST(TickerFontProject, LoadingReadsEveryTickerFontIntoBankA) {
    TempFolder dir;
    const std::string path = (dir / "fonts.Kavrel");
    const auto ticker = [](const std::string& mark, const std::string& font) {
        return crlf({mark, "True", "8", "t", "16777215", "0", "75", "0", "Hi", font, "3", "0", "0",
                     "0", "0"});
    };
    writeBytes(path,
               crlf({"fonts.Kavrel", "V1.0", "0.5", "2", "2", "1", "0", "1", "0", "A0", "False"}) +
                   ticker("A1", "WindowsFont") + ticker("B0", "Sans:x:1:1:1:1") +
                   ticker("B1", "Serif:9:1:0:1:1") + crlf({"X0", "0", "fade", "3", "255"}));
    KavrelSession s;
    loadFrom(s, path);
    ASSERT_EQ(s.messages().back(), "Matrix Project loaded");
    const BankState& a = s.state().bankA;
    // Bank A's running entry is not configured: the last font read stays.
    EXPECT_EQ(a.eff[0].type, static_cast<int16_t>(EffectType::Color));
    EXPECT_EQ(a.fontName, "Serif");
    EXPECT_EQ(a.fontSize, 9);
    EXPECT_EQ(a.fontItalic, 1);
    EXPECT_EQ(a.fontBold, 0);
    EXPECT_EQ(a.fontWeight, 1);
    EXPECT_EQ(a.fontStrike, 1);
    // Fields stay as read, "WindowsFont" included, until their entry starts.
    EXPECT_EQ(a.eff[1].font, "WindowsFont");
    EXPECT_EQ(s.state().bankB.eff[0].font, "Sans:x:1:1:1:1");
    // Bank B runs its second entry with its own font.
    EXPECT_EQ(s.state().bankB.fontName, "Serif");
    ASSERT_NE(tickerEditor(s), nullptr);
    EXPECT_TRUE(tickerEditor(s)->myFontBox.Enabled());

    // Starting the first Serif-less entry: the unreadable size keeps 9.
    ASSERT_TRUE(s.driver.select("MatrixForm.efxBList", 1));
    EXPECT_EQ(s.state().bankB.fontName, "Sans");
    EXPECT_EQ(s.state().bankB.fontSize, 9);
    EXPECT_EQ(s.state().bankB.fontBold, 1);
}

}  // namespace
}  // namespace kavrel::testing
