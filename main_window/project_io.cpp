#include "main_window/project_io.h"

#include <algorithm>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <variant>

#include "banks/project_file.h"
#include "core/editor_hooks.h"
#include "core/kavrel.h"
#include "main_window/matrix_form.h"
#include "main_window/mx_common_dialog.h"
#include "platform/runtime/convert.h"
#include "platform/files/file_read.h"
#include "platform/text/text_file.h"

namespace kavrel {

namespace {

constexpr const char* kFilter = "Matrix Project (*.Kavrel)|*.Kavrel";
constexpr const char* kSaveTitle = "Save Matrix Project ...";
constexpr const char* kLoadTitle = "Load Matrix Project ...";
constexpr const char* kNotSaved = "Matrix Project not saved: ";
constexpr const char* kNotLoaded = "Matrix Project not loaded: ";
// After the path: a file over the cap, read or written.
constexpr const char* kTooLarge = " is larger than a project file may be (";
constexpr const char* kWouldBeTooLarge = " would be larger than a project file may be (";

// The folder of the host's current project, with its trailing separator;
// empty when the host cannot say.
std::string startFolder(Kavrel& kavrel) {
    if (kavrel.pluginHelper == nullptr) return {};
    try {
        const std::string name = kavrel.pluginHelper->getProjectInfo()->getFileName();
        const std::string path = kavrel.pluginHelper->getProjectInfo()->getFilePath();
        if (name.size() > path.size()) return {};
        return path.substr(0, path.size() - name.size());
    } catch (const std::exception&) {
        return {};
    }
}

// Sets up the shared dialog, centred over the main window, and shows it.
bool askFile(MatrixForm& form, MxCommonDialog& dialog, const char* title, bool save) {
    platform::CommonDialog& cdm = dialog.CDM;
    cdm.setDialogTitle(title);
    cdm.setFilter(kFilter);
    cdm.setFilterIndex(1);
    cdm.setInitDir(startFolder(form.kavrel()));
    cdm.setCancelError(true);
    dialog.centreOver(form);
    return save ? cdm.ShowSave() : cdm.ShowOpen();
}

// A list's items in order, each with its record; false when an item's hidden
// index names no record.
template <typename Record, typename Take>
bool walkList(platform::ListView& list, const std::vector<Record>& records, Take take) {
    for (int row = 1; row <= list.Count(); ++row) {
        const std::optional<int16_t> index = platform::textToInt16(list.SubItem(row, 1));
        if (!index || *index < 0 || static_cast<size_t>(*index) >= records.size()) return false;
        take(static_cast<size_t>(*index));
    }
    return true;
}

int32_t selectedPosition(platform::ListView& list) {
    const std::optional<int> row = list.SelectedIndex();
    return row && *row >= 1 && *row <= list.Count() ? *row - 1 : 0;
}

std::optional<ProjectSource> currentProject(MatrixForm& form) {
    SharedState& s = form.kavrel().state();
    ProjectSource p;
    p.mixPos = s.mixPos;
    for (BankId id : {BankId::A, BankId::B}) {
        BankContext& bank = form.bank(id);
        BankState& b = bank.state();
        ProjectSource::Bank& out = p.banks[id == BankId::B ? 1 : 0];
        const bool ok = walkList(bank.list(), b.eff, [&](size_t i) {
            out.entries.push_back(&b.eff[i]);
            out.ok.push_back(i < b.effOk.size() && b.effOk[i]);
        });
        if (!ok) return std::nullopt;
        out.selected = selectedPosition(bank.list());
    }
    const bool ok =
        walkList(form.efxXList, s.fadeList, [&](size_t i) { p.fades.push_back(&s.fadeList[i]); });
    if (!ok) return std::nullopt;
    p.selectedFade = selectedPosition(form.efxXList);
    return p;
}

// Why a project file was not read, for the message after "Matrix Project not
// loaded: ", as a failed save gives its reason.
std::string readFailure(const std::string& path, const platform::FileBytes& file) {
    if (file.tooLarge) return path + kTooLarge + kMaxProjectText + ")";
    return "cannot read " + path + ": " + file.reason;
}

// Items for records 0 to count - 1, each with its record index.
template <typename Record>
void fillList(platform::ListView& list, const std::vector<Record>& records, size_t count) {
    list.Clear();
    for (size_t i = 0; i < count && i < records.size(); ++i) {
        const int row = list.AddItem(records[i].name);
        list.setSubItem(row, 1, std::to_string(i));
    }
}

bool configured(const BankState& b) {
    const size_t cur = static_cast<size_t>(b.curEff);
    return b.curEff >= 0 && cur < b.effOk.size() && b.effOk[cur];
}

// Every configured Ticker entry read, bank A's then bank B's, hands its font
// to bank A's font variables as the reader always has; its own field stays as
// read. The running entries take their own font when they start.
void takeReadSettings(Kavrel& kavrel) {
    SharedState& s = kavrel.state();
    for (const BankState* b : {&s.bankA, &s.bankB}) {
        const size_t count = static_cast<size_t>(std::max<int16_t>(b->effCount, 0));
        for (size_t i = 0; i < count && i < b->eff.size() && i < b->effOk.size(); ++i) {
            if (!b->effOk[i] || b->eff[i].type != static_cast<int16_t>(EffectType::Ticker))
                continue;
            if (Effect* ticker = kavrel.effects().find(b->eff[i].type)) {
                EffectRecord read = b->eff[i];
                ticker->takeEntrySettings(s.bankA, read);
            }
        }
    }
}

// Puts a checked project in place of the open one and starts it.
void commitProject(MatrixForm& form, Project& p) {
    Kavrel& kavrel = form.kavrel();
    SharedState& s = kavrel.state();
    for (platform::Timer* t : {&form.timerA1, &form.timerA2, &form.timerB1, &form.timerB2})
        t->setEnabled(false);
    form.cancelTimedFade();

    s.mixPos = p.mixPos;
    form.showFaderPosition();
    const float mask = p.mixPos > 0.5 ? 1.0f : 0.0f;
    for (int x = 0; x < s.gridCols(); ++x)
        for (int y = 0; y < s.gridRows(); ++y) s.mixMap.set(x, y, mask);

    for (BankId id : {BankId::A, BankId::B}) {
        BankContext& bank = form.bank(id);
        BankState& b = bank.state();
        Project::Bank& in = p.banks[id == BankId::B ? 1 : 0];
        const size_t count = in.entries.size();
        b.eff = std::move(in.entries);
        b.eff.emplace_back();  // the spare record
        b.effOk = std::move(in.ok);
        b.effOk.push_back(false);
        b.effCount = static_cast<int16_t>(count);
        b.delCount = 0;
        fillList(bank.list(), b.eff, count);
        b.curEff = in.selected;
        bank.list().Select(in.selected + 1);
    }
    takeReadSettings(kavrel);
    const size_t fades = p.fades.size();
    s.fadeList = std::move(p.fades);
    s.fadeList.emplace_back();
    s.fadeCount = static_cast<int16_t>(fades);
    s.delCountX = 0;
    fillList(form.efxXList, s.fadeList, fades);
    s.curFade = p.selectedFade;
    form.efxXList.Select(p.selectedFade + 1);
    form.efxXList_Click();

    s.bankA.imageIdx = 0;
    s.bankB.imageIdx = 0;
    kavrel.editors().entriesChanged();
    if (configured(s.bankA)) {
        form.efxAList_Click();
    } else {
        form.clearA_Click();
    }
    if (configured(s.bankB)) {
        form.efxBList_Click();
    } else {
        form.clearB_Click();
    }
}

// Why a save failed, for the message after "Matrix Project not saved: ";
// empty when it succeeded.
std::string writeProjectFile(MatrixForm& form, const std::string& path, const std::string& title) {
    Kavrel& kavrel = form.kavrel();
    const std::optional<ProjectSource> project = currentProject(form);
    if (!project) return "a list item names no entry";
    const SharedState& s = kavrel.state();
    bool tooLarge = false;
    // Each line goes to the file as it is made: the save needs no copy of
    // the project beside the one open.
    const auto written = platform::saveTextFile(
        path,
        [&](platform::TextFileWriter& w) {
            // Never a file that loading would then refuse.
            w.setLimit(kMaxProjectBytes);
            const bool ok = writeProject(*project, title, kavrel.effects(), form.desktop().locale(),
                                         s.gridCols(), s.gridRows(),
                                         [&w](std::string_view line) { return w.writeLine(line); });
            tooLarge = w.overLimit();
            return ok;
        },
        kavrel.options().protectedFiles);
    if (tooLarge) return path + kWouldBeTooLarge + kMaxProjectText + ")";
    if (!written) return platform::writeFailure(path, written);
    return {};
}

}  // namespace

void saveProject(MatrixForm& form, MxCommonDialog& dialog) {
    Kavrel& kavrel = form.kavrel();
    if (!askFile(form, dialog, kSaveTitle, true)) return;
    const std::string path = dialog.CDM.FileName();
    const std::string title = dialog.CDM.FileTitle();
    std::string failure;
    try {
        failure = writeProjectFile(form, path, title);
    } catch (const std::bad_alloc&) {
        // The temporary file is gone by now; the open project and the old
        // file stay as they were.
        failure = "not enough memory for " + path;
    }
    if (!failure.empty()) {
        kavrel.showMessage(kNotSaved + failure);
        return;
    }
    kavrel.showMessage(kProjectSaved);
    form.setCaption("Kavrel - " + title);
}

void loadProject(MatrixForm& form, MxCommonDialog& dialog) {
    Kavrel& kavrel = form.kavrel();
    if (!askFile(form, dialog, kLoadTitle, false)) return;
    const std::string path = dialog.CDM.FileName();
    const std::string title = dialog.CDM.FileTitle();
    std::variant<Project, ProjectFailure> result = ProjectFailure{};
    try {
        // The file is read whole and closed before anything is shown.
        const platform::FileBytes file = platform::readWholeFile(path, kMaxProjectBytes);
        if (!file.content) {
            kavrel.showMessage(std::string(kNotLoaded) + readFailure(path, file));
            return;
        }
        const SharedState& s = kavrel.state();
        result = readProject(*file.content, kavrel.effects(), s.gridCols(), s.gridRows());
    } catch (const std::bad_alloc&) {
        // The cap keeps a load far below any sane memory limit; should memory
        // still run out, the open project stays.
        kavrel.showMessage(std::string(kNotLoaded) + "not enough memory for " + path);
        return;
    }
    if (const ProjectFailure* failure = std::get_if<ProjectFailure>(&result)) {
        kavrel.showMessage(failure->message);
        return;
    }
    commitProject(form, std::get<Project>(result));
    kavrel.showMessage(kProjectLoaded);
    form.setCaption("Kavrel.5 - " + title);
}

}  // namespace kavrel
