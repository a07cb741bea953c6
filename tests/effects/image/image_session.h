#pragma once
// A plug-in opened on the stand-in host with picture files made by the test
// and helpers to put Image entries on a bank.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "effects/image/mx_image_form.h"
#include "effects/image/mx_image_list.h"
#include "platform/pictures/picture_file.h"
#include "tests/core/kavrel_session.h"
#include "tests/support/temp_folder.h"

namespace kavrel::testing {

// Picture pixel (x, y) in a test picture: distinct for x, y below 30.
inline uint32_t code(int x, int y) {
    return platform::rgb(x * 8 + 1, y * 8 + 1, 99);
}

class ImageSession : public ::testing::Test {
  protected:
    std::string picture(const std::string& name, int w, int h,
                        const std::function<uint32_t(int, int)>& px = code) {
        platform::Surface pic(w, h);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) pic.set(x, y, px(x, y));
        const std::string p = dir + "/" + name;
        EXPECT_TRUE(platform::writePng(pic, p));
        return p;
    }
    std::string solid(const std::string& name, uint32_t c) {
        return picture(name, 3, 3, [c](int, int) { return c; });
    }

    BankState& bank(bool b = false) { return s.state().bank(b); }
    BankContext& ctx(bool b = false) { return b ? s.form().bankB() : s.form().bankA(); }
    // The running entry of the bank made an Image entry with these pictures.
    EffectRecord& image(const std::vector<std::string>& paths, bool b = false,
                        std::vector<double> durations = {}) {
        EffectRecord& e = *bank(b).currentEffect();
        e.type = static_cast<int16_t>(EffectType::Image);
        e.imageCount = static_cast<int16_t>(paths.size());
        e.imagePaths = paths;
        e.imagePaths.emplace_back();
        e.imageNames.assign(paths.size() + 1, "pic");
        durations.resize(paths.size() + 1, 1.0);
        e.durations = durations;
        e.speed = 50;
        return e;
    }
    // The bank list's click on its first row.
    void select(bool b = false) { (b ? s.form().efxBList : s.form().efxAList).userSelectRow(1); }
    uint32_t light(int x, int y, bool b = false) { return bank(b).frame.rgb(x, y); }
    MxImageForm* form() {
        return static_cast<MxImageForm*>(s.plugin().desktop().peekWindow("MxImageForm"));
    }
    MxImageList* list() {
        return static_cast<MxImageList*>(s.plugin().desktop().peekWindow("MxImageList"));
    }
    void answerFile(const std::string& path) {
        platform::DialogAnswer a;
        a.kind = platform::DialogAnswer::Kind::File;
        a.path = path;
        s.plugin().desktop().queueDialogAnswer(a);
    }

    KavrelSession s;
    kavrel_test::TempFolder folder_{"kavrel-image"};
    std::string dir = folder_.path().string();
};

}  // namespace kavrel::testing
