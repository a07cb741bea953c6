#include "banks/project_file.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "banks/bank_lists.h"
#include "core/project_fields.h"
#include "platform/runtime/convert.h"

namespace kavrel {

namespace {

constexpr int16_t kFadeTypeMax = 10;
// An entry takes its marker and flag lines at least; a fade always five.
constexpr int64_t kEntryLinesAtLeast = 2;
constexpr int64_t kFadeLines = 5;

// Written into a buffer: GCC 12 at -O3 reports a false -Wrestrict overlap
// for a one-letter string joined with std::to_string.
std::string marker(char letter, size_t n) {
    std::array<char, 1 + std::numeric_limits<size_t>::digits10 + 1> text{letter};
    const auto end = std::to_chars(text.data() + 1, text.data() + text.size(), n).ptr;
    return std::string(text.data(), end);
}

void writeEntry(FieldWriter& out, const EffectRegistry& effects, const EffectRecord& entry, bool ok,
                const std::string& mark) {
    out.text(mark);
    out.flag(ok);
    if (!ok) return;
    out.whole(entry.type);
    // A type no module knows writes its type line only.
    if (entry.type < 0 || entry.type >= kEffectTypeCount) return;
    out.text(entry.name);
    if (const Effect* effect = effects.find(entry.type)) effect->writeFields(entry, out);
}

// Reads one entry block into `entry` (a fresh record).
bool readEntry(FieldReader& in, const EffectRegistry& effects, EffectRecord& entry, bool& ok) {
    std::string mark;  // not compared with anything
    if (!(in.text(mark) && in.flag(ok))) return false;
    if (ok) {
        if (!in.int16(entry.type)) return false;
        if (entry.type >= 0 && entry.type < kEffectTypeCount) {
            if (!in.text(entry.name)) return false;
            if (const Effect* effect = effects.find(entry.type))
                if (!effect->readFields(entry, in)) return false;
        }
    }
    if (entry.name.empty()) entry.name = kNewEntryName;
    return true;
}

bool readFade(FieldReader& in, FadeRecord& fade) {
    std::string mark;
    if (!(in.text(mark) && in.int16(fade.type))) return false;
    if (fade.type < 0 || fade.type > kFadeTypeMax) return in.fail("a fade type outside 0 to 10");
    return in.text(fade.name) && in.number(fade.time) && in.color(fade.color);
}

bool readCount(FieldReader& in, int16_t& count) {
    if (!in.int16(count)) return false;
    if (count < 0) return in.fail("a negative count");
    return true;
}

ProjectFailure lineFailure(const FieldReader& in) {
    return ProjectFailure{"Matrix Project not loaded: line " + std::to_string(in.failedLine()) +
                          ": " + in.failure()};
}

}  // namespace

bool writeProject(const ProjectSource& project, const std::string& fileTitle,
                  const EffectRegistry& effects, const platform::Locale& locale, int cols, int rows,
                  const LineSink& sink) {
    FieldWriter out(locale, cols, rows, sink);
    out.text(fileTitle);
    out.text(kProjectVersion);
    out.number(project.mixPos);
    for (const ProjectSource::Bank& bank : project.banks)
        out.whole(static_cast<int64_t>(bank.entries.size()));
    out.whole(static_cast<int64_t>(project.fades.size()));
    for (const ProjectSource::Bank& bank : project.banks) out.whole(bank.selected);
    out.whole(project.selectedFade);
    const std::array<char, 2> letters{'A', 'B'};
    for (size_t b = 0; b < project.banks.size(); ++b) {
        const ProjectSource::Bank& bank = project.banks[b];
        for (size_t n = 0; n < bank.entries.size() && out.ok(); ++n)
            writeEntry(out, effects, *bank.entries[n], n < bank.ok.size() && bank.ok[n],
                       marker(letters[b], n));
    }
    for (size_t n = 0; n < project.fades.size() && out.ok(); ++n) {
        const FadeRecord& fade = *project.fades[n];
        out.text(marker('X', n));
        out.whole(fade.type);
        out.text(fade.name);
        out.number(fade.time);
        out.color(fade.color);
    }
    return out.ok();
}

std::variant<Project, ProjectFailure> readProject(std::string_view content,
                                                  const EffectRegistry& effects, int cols,
                                                  int rows) {
    if (content.size() > kMaxProjectBytes)
        return ProjectFailure{std::string("Matrix Project not loaded: larger than ") +
                              kMaxProjectText};
    FieldReader in(content, cols, rows);
    std::string title;
    std::string version;
    if (!(in.text(title) && in.text(version))) return lineFailure(in);
    if (version != kProjectVersion) return ProjectFailure{kWrongVersion + version};

    Project p;
    if (!in.number(p.mixPos)) return lineFailure(in);
    if (!(p.mixPos >= 0.0 && p.mixPos <= 1.0)) {
        in.fail("a crossfader position outside 0 to 1");
        return lineFailure(in);
    }
    std::array<int16_t, 3> counts{};
    for (int16_t& count : counts)
        if (!readCount(in, count)) return lineFailure(in);
    std::array<int16_t, 3> selected{};
    for (size_t i = 0; i < selected.size(); ++i) {
        if (!in.int16(selected[i])) return lineFailure(in);
        if (selected[i] < 0 || selected[i] >= counts[i]) {
            in.fail("the selected position names no entry of its list");
            return lineFailure(in);
        }
    }
    // Entries and fades are appended as they are read, so a count is trusted
    // only as far as the file has lines for it.
    for (size_t b = 0; b < p.banks.size(); ++b) {
        Project::Bank& bank = p.banks[b];
        bank.selected = selected[b];
        const size_t room = in.room(counts[b], kEntryLinesAtLeast);
        bank.entries.reserve(room);
        bank.ok.reserve(room);
        for (int16_t i = 0; i < counts[b]; ++i) {
            bool ok = false;
            if (!readEntry(in, effects, bank.entries.emplace_back(), ok)) return lineFailure(in);
            bank.ok.push_back(ok);
        }
    }
    p.selectedFade = selected[2];
    p.fades.reserve(in.room(counts[2], kFadeLines));
    for (int16_t i = 0; i < counts[2]; ++i)
        if (!readFade(in, p.fades.emplace_back())) return lineFailure(in);
    return p;
}

}  // namespace kavrel
