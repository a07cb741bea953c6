#pragma once
// Shows for project-file tests: a folder of their own, and a session whose
// banks hold an entry of every type and several fades.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/core/kavrel_session.h"
#include "tests/support/temp_folder.h"

namespace kavrel::testing {

using kavrel_test::TempFolder;

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Lines joined with CR LF, the last one included.
inline std::string crlf(std::initializer_list<std::string> lines) {
    std::string out;
    for (const std::string& l : lines) out += l + "\r\n";
    return out;
}

inline void saveAs(KavrelSession& s, const std::string& path) {
    s.driver.answerFile(path);
    ASSERT_TRUE(s.driver.click("MatrixForm.mxsave"));
}

inline void loadFrom(KavrelSession& s, const std::string& path) {
    s.driver.answerFile(path);
    ASSERT_TRUE(s.driver.click("MatrixForm.myload"));
}

// Sets entry `row` (1-based) of a bank to `e`, configured, its item renamed.
inline void putEntry(KavrelSession& s, BankId id, int row, const EffectRecord& e) {
    MatrixForm& f = s.form();
    platform::ListView& list = f.bank(id).list();
    while (list.Count() < row) (id == BankId::A ? f.addA_Click() : f.addB_Click());
    BankState& b = f.bank(id).state();
    const size_t index = static_cast<size_t>(std::stoi(list.SubItem(row, 1)));
    b.eff[index] = e;
    b.effOk[index] = true;
    list.Item(row).Text = e.name;
}

// One entry of every type (in type order) in each bank, the second bank's
// fields different from the first's, and three fades.
inline void buildEveryType(KavrelSession& s) {
    for (BankId id : {BankId::A, BankId::B}) {
        const int16_t d = id == BankId::A ? 0 : 1;  // makes bank B differ
        for (int16_t t = 0; t < 10; ++t) {
            EffectRecord e;
            e.type = t;
            e.name = std::string(kEffectTypeNames[static_cast<size_t>(t)]) + " \xc3\xa4" +
                     std::to_string(d);
            e.color1 = platform::rgb(10 + t, 20, 30 + d);
            e.color2 = platform::rgb(40, 50 + t, 60);
            e.direction = static_cast<int16_t>(3 + d);
            e.speed = static_cast<int16_t>(40 + t);
            e.level = static_cast<int16_t>(20 + d);
            e.beat = d;
            switch (static_cast<EffectType>(t)) {
                case EffectType::Paint:
                    e.pixels.assign(12, 12, 0u);
                    for (int x = 0; x < 12; ++x)
                        for (int y = 0; y < 12; ++y)
                            e.pixels.at(x, y) = platform::rgb(x * 20, y * 20, d);
                    break;
                case EffectType::Image:
                    e.stretch = 1;
                    e.tile = d;
                    e.imageCount = 2;
                    e.imageNames = {"a.bmp", "b, c.png", ""};
                    e.durations = {1.5, 0.25 + d, 0};
                    e.imagePaths = {"/pics/a.bmp", "/pics/b, c.png", ""};
                    break;
                case EffectType::ColorChange:
                case EffectType::ColorScroll:
                    e.colorCount = 3;
                    e.colors = {255, 65280, 0xFF000005u, 0};
                    e.durations = {0.5, 1e-05, 12.75, 0};
                    e.colorValues = {1, 2, 3, 0};
                    e.fadeMode = 4;
                    e.blend = 1;
                    break;
                case EffectType::Ticker:
                    e.text = "Hello, world";
                    e.font = "Arial:12:0:1:0:0";
                    e.backward = 1;
                    e.mirror = d;
                    e.letterMode = 1;
                    break;
                case EffectType::BeamShow:
                    e.colors = {1, 2, 3, 4, 0};
                    e.colorValues = {0, 1, -1, 3, 0};
                    break;
                default:
                    break;
            }
            putEntry(s, id, t + 1, e);
        }
    }
    MatrixForm& f = s.form();
    f.addX_Click();
    f.addX_Click();
    SharedState& st = s.state();
    st.fadeList[0] = FadeRecord{2, "colour", 1.25, platform::rgb(1, 2, 3)};
    st.fadeList[1] = FadeRecord{10, "", 800, 0};
    st.fadeList[2] = FadeRecord{4, "down", 0.1, platform::rgb(255, 255, 255)};
    for (int row = 1; row <= 3; ++row) f.efxXList.Item(row).Text = st.fadeList[row - 1].name;
    f.efxAList.Select(3);  // Paint and Fire: starting them changes no field
    f.efxBList.Select(7);
    f.efxXList.Select(2);
    st.mixPos = 0.25;
}

}  // namespace kavrel::testing
