#pragma once
// The ".Kavrel" project file: both banks with their configured flags, the
// fade list, the crossfader position and the selected item of each list.
// Writing turns a project into lines; reading parses and checks a whole
// file into a separate project, so that only a complete, valid file ever
// replaces the open one.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/effect.h"
#include "core/effect_record.h"
#include "core/project_fields.h"
#include "platform/writing/file_replace.h"
#include "platform/runtime/locale.h"

namespace kavrel {

inline constexpr const char* kProjectVersion = "V1.0";
inline constexpr const char* kWrongVersion = "falsche Matrix-Version ";
// The largest project file read or written. The largest projects known (256
// painted 50 x 50 entries a bank) take some 12 MB; a larger file is no
// project, and reading one would take up to 20 times its size in memory.
// It is the most any save writes, as a save may make a file in memory.
inline constexpr uintmax_t kMaxProjectBytes = platform::kMaxSavedBytes;
inline constexpr const char* kMaxProjectText = "64 MiB";

// The open project as the lists show it, for writing: entries in list order.
struct ProjectSource {
    struct Bank {
        std::vector<const EffectRecord*> entries;
        std::vector<bool> ok;  // configured, beside entries
        int32_t selected = 0;  // list position of the selected item, 0 when none
    };
    double mixPos = 0.5;
    std::array<Bank, 2> banks;  // A, B
    std::vector<const FadeRecord*> fades;
    int32_t selectedFade = 0;
};

// A project read from a file: records in list order (record index =
// position), each list's selected position naming one of its entries.
struct Project {
    struct Bank {
        std::vector<EffectRecord> entries;
        std::vector<bool> ok;
        int16_t selected = 0;
    };
    double mixPos = 0.5;
    std::array<Bank, 2> banks;
    std::vector<FadeRecord> fades;
    int16_t selectedFade = 0;
};

// Why a file was not loaded, as the message window shows it.
struct ProjectFailure {
    std::string message;
};

// Hands the file's lines (UTF-8, without line ends) to `sink` one by one, as
// they are made, so that no copy of the file is ever held. `fileTitle` is the
// first line; `cols` x `rows` the grid in force (painted pictures are written
// at it). False when the sink refused a line: it is handed no more.
bool writeProject(const ProjectSource& project, const std::string& fileTitle,
                  const EffectRegistry& effects, const platform::Locale& locale, int cols, int rows,
                  const LineSink& sink);

// Parses and checks a whole file (its bytes, Windows-1252, CR LF or LF).
// Lines after the last fade block are not read.
std::variant<Project, ProjectFailure> readProject(std::string_view content,
                                                  const EffectRegistry& effects, int cols,
                                                  int rows);

}  // namespace kavrel
