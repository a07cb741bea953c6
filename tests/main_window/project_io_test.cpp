// Saving and loading whole projects from the main window.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <new>
#include <string>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "banks/project_file.h"
#include "core/project_fields.h"
#include "effects/beam_show/beam_show_effect.h"
#include "main_window/mx_common_dialog.h"
#include "tests/banks/project_test_support.h"

namespace kavrel::testing {
namespace {

// The show of the worked example: a configured red Color entry and an
// unconfigured one in bank A, a Fluid entry in bank B, one new fade.
void buildExample(KavrelSession& s) {
    MatrixForm& f = s.form();
    f.addA_Click();
    s.state().bankA.effOk[0] = true;
    EffectRecord waves;
    waves.type = static_cast<int16_t>(EffectType::Fluid);
    waves.name = "waves";
    waves.color1 = platform::rgb(0, 0, 255);
    waves.color2 = platform::rgb(255, 255, 255);
    waves.speed = 80;
    waves.level = 40;
    waves.direction = 5;
    putEntry(s, BankId::B, 1, waves);
}

const std::string kExample = crlf({"party.Kavrel",
                                   "V1.0",
                                   "0.5",
                                   "2",
                                   "1",
                                   "1",
                                   "0",
                                   "0",
                                   "0",
                                   "A0",
                                   "True",
                                   "0",
                                   "new effect",
                                   "255",
                                   "A1",
                                   "False",
                                   "B0",
                                   "True",
                                   "7",
                                   "waves",
                                   "16711680",
                                   "16777215",
                                   "80",
                                   "40",
                                   "5,0",
                                   "X0",
                                   "0",
                                   "new fade",
                                   "3",
                                   "255"});

TEST(ProjectSave, WritesTheExampleByteForByteAndNamesTheWindow) {
    TempFolder dir;
    KavrelSession s;
    buildExample(s);
    saveAs(s, (dir / "party.Kavrel"));
    EXPECT_EQ(readBytes((dir / "party.Kavrel")), kExample);
    EXPECT_EQ(s.messages().back(), "Matrix Project saved");
    EXPECT_EQ(s.form().Caption(), "Kavrel - party.Kavrel");
    MxCommonDialog& dialog = static_cast<MxCommonDialog&>(s.driver.window("mxCommonDialog"));
    EXPECT_EQ(dialog.CDM.DialogTitle(), "Save Matrix Project ...");
    EXPECT_EQ(dialog.CDM.Filter(), "Matrix Project (*.Kavrel)|*.Kavrel");
    // Centred over the main window.
    EXPECT_FLOAT_EQ(dialog.Left() + dialog.Width() / 2, s.form().Left() + s.form().Width() / 2);
}

TEST(ProjectSave, GermanWritesCommaAndWahrAndCancelWritesNothing) {
    TempFolder dir;
    orva::StartOptions german;
    german.locale = platform::Locale::german();
    KavrelSession s(german);
    buildExample(s);
    saveAs(s, (dir / "party.Kavrel"));
    std::string expected = kExample;
    expected.replace(expected.find("0.5"), 3, "0,5");
    expected.replace(expected.find("True"), 4, "Wahr");
    expected.replace(expected.find("False"), 5, "Falsch");
    expected.replace(expected.find("True"), 4, "Wahr");
    EXPECT_EQ(readBytes((dir / "party.Kavrel")), expected);

    const size_t shown = s.messages().size();
    s.driver.answerCancel();
    ASSERT_TRUE(s.driver.click("MatrixForm.mxsave"));
    EXPECT_EQ(s.messages().size(), shown);
    EXPECT_EQ(s.form().Caption(), "Kavrel - party.Kavrel");
}

TEST(ProjectSave, AFailedSaveKeepsTheOldFileAndSaysSo) {
    TempFolder dir;
    KavrelSession s;
    buildExample(s);
    saveAs(s, (dir / "no such folder/party.Kavrel"));
    EXPECT_NE(s.messages().back().find("Matrix Project not saved"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists((dir / "no such folder")));

    // A read-only file is kept whoever runs Kavrel, the superuser too.
    const std::string target = (dir / "party.Kavrel");
    writeBytes(target, "the old show\r\n");
    std::filesystem::permissions(target, std::filesystem::perms::owner_read |
                                             std::filesystem::perms::group_read |
                                             std::filesystem::perms::others_read);
    saveAs(s, target);
    EXPECT_EQ(readBytes(target), "the old show\r\n");
    EXPECT_NE(s.messages().back().find("Matrix Project not saved"), std::string::npos);
    EXPECT_EQ(s.form().Caption(), "Kavrel");
}

TEST(ProjectSave, AFolderInTheWayIsAFailureThatKeepsIt) {
    TempFolder dir;
    KavrelSession s;
    const std::string target = (dir / "show.Kavrel");
    std::filesystem::create_directory(target);
    writeBytes(target + "/inside", "kept");
    saveAs(s, target);
    EXPECT_TRUE(std::filesystem::is_directory(target));
    EXPECT_EQ(readBytes(target + "/inside"), "kept");
    EXPECT_NE(s.messages().back().find("Matrix Project not saved"), std::string::npos);
    EXPECT_EQ(s.form().Caption(), "Kavrel");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "no temporary file is left behind";
}

std::string roundTrip(const platform::Locale& locale) {
    TempFolder dir;
    std::filesystem::create_directory(dir.path() / "again");
    orva::StartOptions options;
    options.locale = locale;
    {
        KavrelSession first(options);
        buildEveryType(first);
        saveAs(first, (dir / "show.Kavrel"));
    }
    KavrelSession second(options);
    loadFrom(second, (dir / "show.Kavrel"));
    EXPECT_EQ(second.messages().back(), "Matrix Project loaded");
    EXPECT_EQ(second.form().Caption(), "Kavrel.5 - show.Kavrel");
    saveAs(second, (dir.path() / "again" / "show.Kavrel").string());
    const std::string saved = readBytes((dir / "show.Kavrel"));
    EXPECT_EQ(readBytes((dir.path() / "again" / "show.Kavrel").string()), saved);

    // What the loaded project holds, beyond the bytes.
    const SharedState& st = second.state();
    EXPECT_EQ(st.mixPos, 0.25);
    EXPECT_EQ(second.form().faderM.Value(), -50);
    EXPECT_EQ(st.bankA.effCount, 10);
    EXPECT_EQ(st.bankA.eff.size(), 11u);
    EXPECT_EQ(st.bankA.curEff, 2);
    EXPECT_EQ(st.bankB.curEff, 6);
    EXPECT_EQ(st.curFade, 1);
    EXPECT_EQ(second.form().efxXList.SelectedIndex(), 2);
    EXPECT_EQ(st.bankA.eff[9].colors, (std::vector<uint32_t>{1, 2, 3, 4, 0}));
    EXPECT_EQ(st.bankB.eff[8].font, "Arial:12:0:1:0:0");
    EXPECT_EQ(st.bankB.eff[1].name,
              "Gradient \xc3\xa4"
              "1");
    EXPECT_EQ(st.fadeList[1].name, "");
    EXPECT_EQ(st.fadeList[0].color, platform::rgb(1, 2, 3));
    EXPECT_EQ(second.form().efxBList.Item(3).Text,
              "Paint \xc3\xa4"
              "1");
    EXPECT_EQ(second.form().efxBList.SubItem(3, 1), "2");
    return saved;
}

TEST(ProjectLoad, EveryTypeInBothBanksRoundTripsInEnglishAndGerman) {
    const std::string english = roundTrip(platform::Locale::english());
    EXPECT_NE(english.find("\r\n0.25\r\n"), std::string::npos);
    EXPECT_NE(english.find("\r\n1E-05\r\n"), std::string::npos);
    EXPECT_NE(english.find("\r\nB9\r\nTrue\r\n9\r\n"), std::string::npos);
    EXPECT_NE(english.find("Paint \xe4"), std::string::npos) << "names are Windows-1252";
    const std::string german = roundTrip(platform::Locale::german());
    EXPECT_NE(german.find("\r\n0,25\r\n"), std::string::npos);
    EXPECT_NE(german.find("\r\nB9\r\nWahr\r\n9\r\n"), std::string::npos);
}

TEST(ProjectLoad, AnEnglishFileLoadsOnAGermanSystem) {
    TempFolder dir;
    writeBytes((dir / "party.Kavrel"), kExample);
    orva::StartOptions german;
    german.locale = platform::Locale::german();
    KavrelSession s(german);
    loadFrom(s, (dir / "party.Kavrel"));
    EXPECT_EQ(s.state().mixPos, 0.5);
    EXPECT_EQ(s.state().bankB.eff[0].name, "waves");
    EXPECT_TRUE(s.state().bankA.effOk[0]);
}

// Everything a failed load must leave as it was, as text.
std::string recordText(const EffectRecord& e) {
    std::string t = std::to_string(e.type) + "|" + e.name + "|" + std::to_string(e.color1) + "|" +
                    std::to_string(e.color2) + "|" + std::to_string(e.direction) + "|" +
                    std::to_string(e.speed) + "|" + std::to_string(e.level) + "|" +
                    std::to_string(e.beat) + "|" + e.text + "|" + e.font + "|";
    for (uint32_t c : e.colors) t += std::to_string(c) + ",";
    for (int32_t v : e.colorValues) t += std::to_string(v) + ",";
    for (double d : e.durations) t += std::to_string(d) + ",";
    for (const std::string& n : e.imageNames) t += n + ",";
    t += e.pixels == Grid2D<uint32_t>{} ? "" : std::to_string(e.pixels.get(3, 4, 7u));
    return t;
}

std::vector<std::string> snapshot(KavrelSession& s) {
    SharedState& st = s.state();
    MatrixForm& f = s.form();
    std::vector<std::string> p;
    for (const BankState* b : {&st.bankA, &st.bankB}) {
        for (size_t i = 0; i < b->eff.size(); ++i)
            p.push_back(recordText(b->eff[i]) + (i < b->effOk.size() && b->effOk[i] ? "ok" : ""));
        p.push_back("counts " + std::to_string(b->effCount) + " " + std::to_string(b->delCount) +
                    " cur " + std::to_string(b->curEff));
    }
    for (const FadeRecord& x : st.fadeList)
        p.push_back(std::to_string(x.type) + "|" + x.name + "|" + std::to_string(x.time) + "|" +
                    std::to_string(x.color));
    p.push_back("fades " + std::to_string(st.fadeCount) + " cur " + std::to_string(st.curFade));
    for (platform::ListView* list : {&f.efxAList, &f.efxBList, &f.efxXList}) {
        for (int row = 1; row <= list->Count(); ++row)
            p.push_back(list->Item(row).Text + "|" + list->SubItem(row, 1));
        p.push_back("selected " + std::to_string(list->SelectedIndex().value_or(-1)));
    }
    p.push_back("mix " + std::to_string(st.mixPos) + " fader " + std::to_string(f.faderM.Value()) +
                " mask " + std::to_string(st.mixMap.get(1, 1, -1.0f)));
    return p;
}

TEST(ProjectLoad, BadFilesLeaveTheProjectAndTheRunningShowAsTheyWere) {
    TempFolder dir;
    KavrelSession s;
    buildEveryType(s);
    s.form().efxAList_Click();                               // Paint, still
    ASSERT_TRUE(s.driver.select("MatrixForm.efxBList", 7));  // Fire runs on its timer
    s.state().bankA.delCount = 5;
    ASSERT_TRUE(s.driver.set("MatrixForm.faderM", "20"));
    const std::vector<std::string> before = snapshot(s);
    // A running show: a bank effect and a timed fade on their timers.
    s.form().timerB1.setEnabled(true);
    s.form().timerM.setEnabled(true);

    std::string good = kExample;
    const auto with = [&good](const std::string& from, const std::string& to) {
        std::string bytes = good;
        bytes.replace(bytes.find(from), from.size(), to);
        return bytes;
    };
    struct Case {
        const char* what;
        std::string bytes;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"version case", with("V1.0", "v1.0"), "falsche Matrix-Version v1.0"},
        {"version blank", with("V1.0", "V1.0 "), "falsche Matrix-Version V1.0 "},
        {"empty file", "", "Matrix Project not loaded: line 1: the file ends here"},
        {"short file", good.substr(0, good.find("X0")),
         "Matrix Project not loaded: line 26: the file ends here"},
        {"cut last line", good.substr(0, good.size() - 5),
         "Matrix Project not loaded: line 30: the file ends here"},
        {"bad count", with("\r\n1\r\n1\r\n", "\r\nx\r\n1\r\n"),
         "Matrix Project not loaded: line 5: not a number"},
        {"negative count", with("\r\n1\r\n1\r\n", "\r\n-1\r\n1\r\n"),
         "Matrix Project not loaded: line 5: a negative count"},
        {"count overflow", with("\r\n1\r\n1\r\n", "\r\n40000\r\n1\r\n"),
         "Matrix Project not loaded: line 5: a number out of range"},
        {"bad position", with("\r\n0\r\n0\r\n0\r\n", "\r\n2\r\n0\r\n0\r\n"),
         "Matrix Project not loaded: line 7: the selected position names no entry of its list"},
        {"bad number", with("16711680", "blue"),
         "Matrix Project not loaded: line 21: not a number"},
        {"mixPos 2", with("0.5", "2"),
         "Matrix Project not loaded: line 3: a crossfader position outside 0 to 1"},
        {"mixPos NaN", with("0.5", "NaN"), "Matrix Project not loaded: line 3: not a number"},
        {"fade type 11", with("X0\r\n0", "X0\r\n11"),
         "Matrix Project not loaded: line 27: a fade type outside 0 to 10"},
        {"fluid three parts", with("5,0", "5,0,1"),
         "Matrix Project not loaded: line 25: more than two numbers"},
        {"flag in lower case", with("A0\r\nTrue", "A0\r\ntrue"),
         "Matrix Project not loaded: line 17: not a number"},
    };
    for (const Case& c : cases) {
        writeBytes((dir / "bad.Kavrel"), c.bytes);
        loadFrom(s, (dir / "bad.Kavrel"));
        EXPECT_EQ(s.messages().back(), c.message) << c.what;
        EXPECT_EQ(snapshot(s), before) << c.what;
        EXPECT_TRUE(s.form().timerB1.Enabled()) << c.what;
        EXPECT_TRUE(s.form().timerM.Enabled()) << c.what;
        EXPECT_EQ(s.form().Caption(), "Kavrel") << c.what;
    }
    loadFrom(s, (dir / "missing.Kavrel"));
    EXPECT_NE(s.messages().back().find("cannot read"), std::string::npos);
    EXPECT_EQ(snapshot(s), before);
}

TEST(ProjectLoad, AFileOverTheCapIsRefusedBeforeItIsReadAndChangesNothing) {
    TempFolder dir;
    KavrelSession s;
    buildEveryType(s);
    const std::vector<std::string> before = snapshot(s);
    // Sparse files: their size costs no disk. One byte over the cap is
    // refused without being read...
    const std::string huge = (dir / "huge.Kavrel");
    writeBytes(huge, kExample);
    std::filesystem::resize_file(huge, kMaxProjectBytes + 1);
    loadFrom(s, huge);
    EXPECT_EQ(s.messages().back(), "Matrix Project not loaded: " + huge +
                                       " is larger than a project file may be (64 MiB)");
    EXPECT_EQ(snapshot(s), before);
    EXPECT_EQ(s.form().Caption(), "Kavrel");
    // ...while a file of exactly the cap is read (what follows the fades is not).
    std::filesystem::resize_file(huge, kMaxProjectBytes);
    loadFrom(s, huge);
    EXPECT_EQ(s.messages().back(), "Matrix Project loaded");
    EXPECT_EQ(s.state().bankB.eff[0].name, "waves");
}

TEST(ProjectSave, AProjectOverTheCapIsNotWritten) {
    TempFolder dir;
    KavrelSession s;
    buildExample(s);
    const std::string target = (dir / "party.Kavrel");
    writeBytes(target, "the old show\r\n");
    // The file would hold the name, its line end and some 80 more bytes.
    s.state().bankA.eff[0].name = std::string(kMaxProjectBytes - 60, 'x');
    saveAs(s, target);
    EXPECT_EQ(s.messages().back(), "Matrix Project not saved: " + target +
                                       " would be larger than a project file may be (64 MiB)");
    EXPECT_EQ(readBytes(target), "the old show\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
    EXPECT_EQ(s.form().Caption(), "Kavrel");
}

TEST(ProjectSave, ANameAsLongAsTheFolderTakesSaves) {
    TempFolder dir;
    KavrelSession s;
    buildExample(s);
    const std::string name = std::string(255 - 7, 'n') + ".Kavrel";
    saveAs(s, (dir / name));
    EXPECT_EQ(s.messages().back(), "Matrix Project saved");
    EXPECT_EQ(readBytes((dir / name)).substr(0, name.size() + 2), name + "\r\n");
    EXPECT_EQ(s.form().Caption(), "Kavrel - " + name);
}

// A BeamShow module whose lines need more memory than there is.
class HungryBeamShow : public Effect {
  public:
    void writeFields(const EffectRecord&, FieldWriter&) const override { throw std::bad_alloc(); }
};

TEST(ProjectSave, RunningOutOfMemorySaysSoAndKeepsTheSessionProjectAndFile) {
    TempFolder dir;
    KavrelSession s;
    buildExample(s);
    EffectRecord beams;
    beams.type = static_cast<int16_t>(EffectType::BeamShow);
    beams.name = "beams";
    putEntry(s, BankId::A, 3, beams);
    const std::string target = (dir / "party.Kavrel");
    writeBytes(target, "the old show\r\n");
    const std::vector<std::string> before = snapshot(s);
    s.k().effects().add(EffectType::BeamShow, std::make_unique<HungryBeamShow>());
    saveAs(s, target);
    EXPECT_EQ(s.messages().back(), "Matrix Project not saved: not enough memory for " + target);
    EXPECT_EQ(readBytes(target), "the old show\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1)
        << "no temporary file is left behind";
    EXPECT_EQ(snapshot(s), before);
    EXPECT_EQ(s.form().Caption(), "Kavrel");

    // The session goes on, and saves once there is memory again.
    s.k().effects().add(EffectType::BeamShow, std::make_unique<BeamShowEffect>(s.k()));
    saveAs(s, target);
    EXPECT_EQ(s.messages().back(), "Matrix Project saved");
    EXPECT_NE(readBytes(target).find("\r\nbeams\r\n"), std::string::npos);
}

// The address space the process takes now.
size_t addressSpaceInUse() {
    std::ifstream statm("/proc/self/statm");
    size_t pages = 0;
    statm >> pages;
    return pages * static_cast<size_t>(::sysconf(_SC_PAGESIZE));
}

TEST(ProjectSave, ASaveStoppedByAnAddressSpaceLimitSaysSoAndTheSessionGoesOn) {
#ifdef __SANITIZE_ADDRESS__
    GTEST_SKIP() << "the address sanitizer reserves address space of its own";
#endif
    TempFolder dir;
    const std::string target = (dir / "party.Kavrel");
    writeBytes(target, "the old show\r\n");
    // In a child process of its own, so that the limit binds nothing else.
    // Its exit status says what went wrong.
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        KavrelSession s;
        buildExample(s);
        // A name of 32 MiB: writing it out takes as much again, more than
        // the limit leaves.
        s.state().bankA.eff[0].name = std::string(size_t{32} << 20, 'x');
        const rlimit limit{addressSpaceInUse() + (size_t{16} << 20), RLIM_INFINITY};
        if (::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(10);
        saveAs(s, target);
        if (s.messages().back() != "Matrix Project not saved: not enough memory for " + target)
            ::_exit(11);
        if (readBytes(target) != "the old show\r\n") ::_exit(12);
        if (std::distance(std::filesystem::directory_iterator(dir.path()), {}) != 1) ::_exit(13);
        s.state().bankA.eff[0].name = "red";
        saveAs(s, target);
        if (s.messages().back() != "Matrix Project saved") ::_exit(14);
        ::_exit(0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "the session ended with signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0)
        << "10 no limit, 11 wrong message, 12 old file lost, 13 temporary left, 14 no save after";
    EXPECT_NE(readBytes(target).find("\r\nred\r\n"), std::string::npos);
}

TEST(ProjectLoad, TypedNamesAndTextsComeBackAsTheyWereShown) {
    TempFolder dir;
    std::string shownName;
    std::string shownText;
    {
        KavrelSession s;
        EffectRecord ticker;
        ticker.type = static_cast<int16_t>(EffectType::Ticker);
        ticker.text = "AB";
        ticker.font = "5-point";
        putEntry(s, BankId::A, 1, ticker);
        ASSERT_TRUE(s.driver.select("MatrixForm.efxAList", 1));
        ASSERT_TRUE(s.driver.click("MatrixForm.editA"));
        ASSERT_TRUE(s.driver.set("MxTickerForm.myTicker",
                                 "Gr\u00fc\u00dfe \u20ac \u03a9\u03bb \u0416\u0436 \u4e2d"));
        ASSERT_TRUE(s.driver.set("MxTickerForm.myName", "\u03a9 name "));
        ASSERT_TRUE(s.driver.key("MxTickerForm.myName", 128));
        shownText = s.driver.property("MxTickerForm.myTicker.Text");
        shownName = s.driver.property("MxTickerForm.myName.Text");
        EXPECT_EQ(shownText, "Gr\u00fc\u00dfe \u20ac ?? ?? ?");
        EXPECT_EQ(shownName, "? name \u20ac");
        ASSERT_TRUE(s.driver.click("MxTickerForm.OK"));
        EXPECT_EQ(s.state().bankA.eff[0].name, shownName);
        saveAs(s, (dir / "typed.Kavrel"));
        EXPECT_EQ(s.messages().back(), "Matrix Project saved");
    }
    KavrelSession again;
    loadFrom(again, (dir / "typed.Kavrel"));
    EXPECT_EQ(again.state().bankA.eff[0].text, shownText);
    EXPECT_EQ(again.state().bankA.eff[0].name, shownName);
    EXPECT_EQ(again.form().efxAList.Item(1).Text, shownName);
}

TEST(ProjectLoad, StartsTheSelectedEntriesAndClearsAnUnconfiguredOne) {
    TempFolder dir;
    // Bank A's selected entry is the unconfigured second one; the
    // crossfader at 0.75 sets the slider to 50 and the mask to 1.
    std::string bytes = kExample;
    const auto swap = [&bytes](const std::string& from, const std::string& to) {
        bytes.replace(bytes.find(from), from.size(), to);
    };
    swap("0.5", "0.75");
    swap("\r\n0\r\n0\r\n0\r\nA0", "\r\n1\r\n0\r\n0\r\nA0");
    writeBytes((dir / "p.Kavrel"), bytes);
    KavrelSession s;
    for (int i = 0; i < 31; ++i) s.form().addA_Click();
    for (int i = 0; i < 31; ++i) s.form().removeA_Click();
    loadFrom(s, (dir / "p.Kavrel"));
    const SharedState& st = s.state();
    EXPECT_EQ(st.bankA.delCount, 0);
    EXPECT_EQ(st.bankA.curEff, 1);
    EXPECT_EQ(st.bankA.eff[1].name, "new effect");
    EXPECT_TRUE(st.bankA.effOk[1]) << "cleared, which marks it configured";
    EXPECT_EQ(st.bankA.eff[1].color1, 0u);
    EXPECT_EQ(s.plugin().framePixel('A', 2, 2), platform::rgb(0, 0, 0));
    EXPECT_EQ(s.form().typeA.ListIndex(), 0);
    EXPECT_EQ(s.form().faderM.Value(), 50);
    EXPECT_EQ(st.mixPos, 0.75);
    EXPECT_EQ(st.bankB.curEff, 0);
    EXPECT_EQ(s.form().typeB.ListIndex(), 7);
    EXPECT_EQ(s.form().efxXList.SelectedIndex(), 1);
    EXPECT_EQ(s.form().fadeName.Text(), "new fade");
    const size_t before = s.messages().size();
    s.form().removeA_Click();
    EXPECT_EQ(s.messages().size(), before) << "the removed counts start again from 0";
}

}  // namespace
}  // namespace kavrel::testing
