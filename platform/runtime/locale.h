#pragma once
// The user's locale: decimal separator and the words for True and False.
#include <string>

namespace platform {

struct Locale {
    enum class Language { English, German };
    Language language = Language::English;
    char decimal = '.';
    std::string trueWord = "True";
    std::string falseWord = "False";

    static Locale english() { return Locale{}; }
    static Locale german() { return Locale{Language::German, ',', "Wahr", "Falsch"}; }
};

}  // namespace platform
