#include "core/state_vars.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <string>
#include <vector>

namespace kavrel {

namespace {

using Result = std::optional<std::string>;

// --- formatting ---

std::string fmtInt(int64_t v) {
    return std::to_string(v);
}
std::string fmtBool(bool v) {
    return v ? "True" : "False";
}
std::string fmtColor(uint32_t v) {
    return std::to_string(static_cast<int32_t>(v));
}

std::string fmtReal(double v, int digits) {
    if (v == 0.0) return "0";  // no "-0"
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::general, digits);
    return std::string(buf, res.ptr);
}
std::string fmtDouble(double v) {
    return fmtReal(v, 15);
}
std::string fmtSingle(float v) {
    return fmtReal(static_cast<double>(v), 7);
}

// --- parsing: head[(args)][.field[(args)]] ---

struct Access {
    std::string_view name;
    bool indexed = false;
    std::vector<int64_t> args;
};

struct Path {
    Access head;
    std::optional<Access> field;
};

class Parser {
  public:
    explicit Parser(std::string_view text) : s_(text) {}

    std::optional<Path> path() {
        Path p;
        skipSpaces();
        if (!access(p.head)) return std::nullopt;
        if (peek() == '.') {
            ++i_;
            Access f;
            if (!access(f)) return std::nullopt;
            p.field = f;
        }
        skipSpaces();
        if (i_ != s_.size()) return std::nullopt;
        return p;
    }

  private:
    static bool isAlpha(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static bool isDigit(char c) { return c >= '0' && c <= '9'; }
    char peek() const { return i_ < s_.size() ? s_[i_] : '\0'; }
    void skipSpaces() {
        while (peek() == ' ' || peek() == '\t') ++i_;
    }

    bool access(Access& a) {
        const size_t start = i_;
        if (!isAlpha(peek())) return false;
        while (isAlpha(peek()) || isDigit(peek()) || peek() == '_') ++i_;
        a.name = s_.substr(start, i_ - start);
        if (peek() != '(') return true;
        ++i_;
        a.indexed = true;
        for (;;) {
            int64_t v = 0;
            if (!number(v)) return false;
            a.args.push_back(v);
            skipSpaces();
            if (peek() == ')') break;
            if (peek() != ',') return false;
            ++i_;
        }
        ++i_;
        return true;
    }

    bool number(int64_t& out) {
        skipSpaces();
        const bool negative = peek() == '-';
        if (negative) ++i_;
        if (!isDigit(peek())) return false;
        int64_t v = 0;
        while (isDigit(peek())) {
            if (v > 100000000000LL) return false;  // far beyond any index
            v = v * 10 + (peek() - '0');
            ++i_;
        }
        out = negative ? -v : v;
        return true;
    }

    std::string_view s_;
    size_t i_ = 0;
};

// --- field tables ---

template <typename Owner, typename Member>
struct Field {
    std::string_view name;
    Member Owner::*member;
};

template <typename Owner, typename Member, size_t N, typename Format>
Result lookup(const std::array<Field<Owner, Member>, N>& table, const Owner& owner,
              std::string_view name, Format format) {
    for (const auto& f : table)
        if (f.name == name) return format(owner.*(f.member));
    return std::nullopt;
}

// Names whose reading needs more than a member: indexed arrays, and
// scalars of their own format.
template <typename Owner>
struct Named {
    std::string_view name;
    Result (*read)(const Owner&, const Access&);
};

template <typename Owner, size_t N>
const Named<Owner>* findNamed(const std::array<Named<Owner>, N>& table, std::string_view name) {
    for (const auto& n : table)
        if (n.name == name) return &n;
    return nullptr;
}

template <typename T>
bool inVector(const std::vector<T>& v, int64_t i) {
    return i >= 0 && static_cast<uint64_t>(i) < v.size();
}
template <typename T>
const T& element(const std::vector<T>& v, int64_t i) {
    return v[static_cast<size_t>(i)];
}

Result frameByte(const Frame& f, const Access& a) {
    if (a.args.size() != 3 || !f.contains(a.args[0], a.args[1], a.args[2])) return std::nullopt;
    return fmtInt(f.get(a.args[0], a.args[1], a.args[2]));
}

template <typename T, typename Format>
Result gridCell(const Grid2D<T>& g, const Access& a, Format format) {
    if (a.args.size() != 2 || !g.contains(a.args[0], a.args[1])) return std::nullopt;
    return format(g.at(static_cast<int>(a.args[0]), static_cast<int>(a.args[1])));
}

template <typename T, typename Format>
Result listItem(const std::vector<T>& v, const Access& a, Format format) {
    if (a.args.size() != 1 || !inVector(v, a.args[0])) return std::nullopt;
    return format(element(v, a.args[0]));
}

const auto asInt = [](auto v) { return fmtInt(static_cast<int64_t>(v)); };
const auto asColor = [](uint32_t v) { return fmtColor(v); };
const auto asString = [](const std::string& v) { return v; };
const auto asBool = [](bool v) { return fmtBool(v); };
const auto asDouble = [](double v) { return fmtDouble(v); };

// EffectRecord

constexpr std::array<Field<EffectRecord, int16_t>, 14> kRecordInt16{{
    {"type", &EffectRecord::type},
    {"direction", &EffectRecord::direction},
    {"stretch", &EffectRecord::stretch},
    {"tile", &EffectRecord::tile},
    {"speed", &EffectRecord::speed},
    {"imageCount", &EffectRecord::imageCount},
    {"level", &EffectRecord::level},
    {"colorCount", &EffectRecord::colorCount},
    {"fadeMode", &EffectRecord::fadeMode},
    {"beat", &EffectRecord::beat},
    {"blend", &EffectRecord::blend},
    {"backward", &EffectRecord::backward},
    {"mirror", &EffectRecord::mirror},
    {"letterMode", &EffectRecord::letterMode},
}};
constexpr std::array<Field<EffectRecord, std::string>, 3> kRecordText{{
    {"name", &EffectRecord::name},
    {"text", &EffectRecord::text},
    {"font", &EffectRecord::font},
}};
constexpr std::array<Field<EffectRecord, uint32_t>, 2> kRecordColor{{
    {"color1", &EffectRecord::color1},
    {"color2", &EffectRecord::color2},
}};

// An entry with the grid of lights in force, which its painted picture covers.
struct EntryView {
    const EffectRecord& record;
    int cols;
    int rows;
};

// A light of the grid the picture does not hold shows black; a cell the
// picture holds past the lights (its spare column and row) reads as held.
Result paintedCell(const EntryView& e, const Access& a) {
    if (a.args.size() != 2) return std::nullopt;
    const int64_t x = a.args[0];
    const int64_t y = a.args[1];
    if (e.record.pixels.contains(x, y)) return fmtColor(e.record.pixels.get(x, y, 0u));
    if (x < 0 || y < 0 || x >= e.cols || y >= e.rows) return std::nullopt;
    return fmtColor(0);
}

constexpr std::array<Named<EntryView>, 6> kRecordIndexed{{
    {"pixels", paintedCell},
    {"imageNames", [](const EntryView& e,
                      const Access& a) { return listItem(e.record.imageNames, a, asString); }},
    {"durations",
     [](const EntryView& e, const Access& a) { return listItem(e.record.durations, a, asDouble); }},
    {"imagePaths", [](const EntryView& e,
                      const Access& a) { return listItem(e.record.imagePaths, a, asString); }},
    {"colors",
     [](const EntryView& e, const Access& a) { return listItem(e.record.colors, a, asColor); }},
    {"colorValues",
     [](const EntryView& e, const Access& a) { return listItem(e.record.colorValues, a, asInt); }},
}};

Result recordField(const EntryView& e, const Access& f) {
    const EffectRecord& r = e.record;
    if (f.indexed) {
        const Named<EntryView>* n = findNamed(kRecordIndexed, f.name);
        return n != nullptr ? n->read(e, f) : std::nullopt;
    }
    if (auto v = lookup(kRecordInt16, r, f.name, asInt)) return v;
    if (auto v = lookup(kRecordText, r, f.name, asString)) return v;
    return lookup(kRecordColor, r, f.name, asColor);
}

constexpr std::array<Named<FadeRecord>, 4> kFadeFields{{
    {"type", [](const FadeRecord& r, const Access&) -> Result { return fmtInt(r.type); }},
    {"name", [](const FadeRecord& r, const Access&) -> Result { return r.name; }},
    {"time", [](const FadeRecord& r, const Access&) -> Result { return fmtDouble(r.time); }},
    {"color", [](const FadeRecord& r, const Access&) -> Result { return fmtColor(r.color); }},
}};

Result fadeField(const FadeRecord& r, const Access& f) {
    const Named<FadeRecord>* n = f.indexed ? nullptr : findNamed(kFadeFields, f.name);
    return n != nullptr ? n->read(r, f) : std::nullopt;
}

// BankState (names without their A/B suffix)

constexpr std::array<Field<BankState, int16_t>, 16> kBankInt16{{
    {"effCount", &BankState::effCount},
    {"delCount", &BankState::delCount},
    {"curEff", &BankState::curEff},
    {"imageIdx", &BankState::imageIdx},
    {"step", &BankState::step},
    {"stepMax", &BankState::stepMax},
    {"colIdx", &BankState::colIdx},
    {"pendingFade", &BankState::pendingFade},
    {"stripLen", &BankState::stripLen},
    {"posX", &BankState::posX},
    {"posY", &BankState::posY},
    {"fontSize", &BankState::fontSize},
    {"fontItalic", &BankState::fontItalic},
    {"fontBold", &BankState::fontBold},
    {"fontWeight", &BankState::fontWeight},
    {"fontStrike", &BankState::fontStrike},
}};
constexpr std::array<Field<BankState, bool>, 3> kBankBool{{
    {"dirty", &BankState::dirty},
    {"beat", &BankState::beat},
    {"colorFadeRunning", &BankState::colorFadeRunning},
}};

constexpr std::array<Named<BankState>, 3> kBankOther{{
    {"tickerWidth",
     [](const BankState& b, const Access&) -> Result { return fmtInt(b.tickerWidth); }},
    {"colorFadeRatio",
     [](const BankState& b, const Access&) -> Result { return fmtDouble(b.colorFadeRatio); }},
    {"fontName", [](const BankState& b, const Access&) -> Result { return b.fontName; }},
}};

Result bankScalar(const BankState& b, const Access& a) {
    if (auto v = lookup(kBankInt16, b, a.name, asInt)) return v;
    if (auto v = lookup(kBankBool, b, a.name, asBool)) return v;
    const Named<BankState>* n = findNamed(kBankOther, a.name);
    return n != nullptr ? n->read(b, a) : std::nullopt;
}

Result laserItem(const std::array<int16_t, 5>& arr, const Access& a) {
    if (a.args.size() != 1 || a.args[0] < 0 || a.args[0] >= static_cast<int64_t>(arr.size()))
        return std::nullopt;
    return fmtInt(arr[static_cast<size_t>(a.args[0])]);
}

constexpr std::array<Named<BankState>, 9> kBankIndexed{{
    {"effOk",
     [](const BankState& b, const Access& a) -> Result {
         if (a.args.size() != 1 || !inVector(b.effOk, a.args[0])) return std::nullopt;
         return fmtBool(b.effOk[static_cast<size_t>(a.args[0])]);
     }},
    {"pixelOrder",
     [](const BankState& b, const Access& a) { return listItem(b.pixelOrder, a, asInt); }},
    {"strip", [](const BankState& b, const Access& a) { return listItem(b.strip, a, asInt); }},
    {"laserPos", [](const BankState& b, const Access& a) { return laserItem(b.laserPos, a); }},
    {"laserDir", [](const BankState& b, const Access& a) { return laserItem(b.laserDir, a); }},
    {"freeCell",
     [](const BankState& b, const Access& a) { return gridCell(b.freeCell, a, asBool); }},
    {"tickerBuf",
     [](const BankState& b, const Access& a) { return gridCell(b.tickerBuf, a, asColor); }},
    {"frame", [](const BankState& b, const Access& a) { return frameByte(b.frame, a); }},
    {"shadow", [](const BankState& b, const Access& a) { return frameByte(b.shadow, a); }},
}};

// The heads that take a record field after a dot.
constexpr std::string_view kEntryHead = "eff";
constexpr std::string_view kFadeListHead = "fadeList";
constexpr std::string_view kCopyBufferHead = "copyBuffer";

Result bankPath(const BankState& b, const Path& p, int cols, int rows) {
    const Access& h = p.head;
    if (h.name == kEntryHead) {
        if (!p.field || h.args.size() != 1 || !inVector(b.eff, h.args[0])) return std::nullopt;
        return recordField({element(b.eff, h.args[0]), cols, rows}, *p.field);
    }
    if (p.field) return std::nullopt;
    if (!h.indexed) return bankScalar(b, h);
    const Named<BankState>* n = findNamed(kBankIndexed, h.name);
    return n != nullptr ? n->read(b, h) : std::nullopt;
}

// SharedState

constexpr std::array<Field<SharedState, int16_t>, 12> kGlobalInt16{{
    {"curFade", &SharedState::curFade},
    {"fadeCount", &SharedState::fadeCount},
    {"delCountX", &SharedState::delCountX},
    {"editBankB", &SharedState::editBankB},
    {"matrixCols", &SharedState::matrixCols},
    {"matrixRows", &SharedState::matrixRows},
    {"fadeType", &SharedState::fadeType},
    {"simMode", &SharedState::simMode},
    {"simCellWidth", &SharedState::simCellWidth},
    {"simCellHeight", &SharedState::simCellHeight},
    {"simOffsetX", &SharedState::simOffsetX},
    {"simOffsetY", &SharedState::simOffsetY},
}};
constexpr std::array<Field<SharedState, double>, 2> kGlobalDouble{{
    {"mixPos", &SharedState::mixPos},
    {"fadeTime", &SharedState::fadeTime},
}};
constexpr std::array<Field<SharedState, bool>, 8> kGlobalBool{{
    {"dirtyDmx", &SharedState::dirtyDmx},
    {"dirtySim", &SharedState::dirtySim},
    {"dirtyM", &SharedState::dirtyM},
    {"simActive", &SharedState::simActive},
    {"simFullView", &SharedState::simFullView},
    {"simShowFrame", &SharedState::simShowFrame},
    {"directDrawReady", &SharedState::directDrawReady},
    {"extSimConnected", &SharedState::extSimConnected},
}};
constexpr std::array<Field<SharedState, uint32_t>, 9> kGlobalColor{{
    {"simFrameColor", &SharedState::simFrameColor},
    {"colorBlack", &SharedState::colorBlack},
    {"colorWhite", &SharedState::colorWhite},
    {"colorRed", &SharedState::colorRed},
    {"colorGreen", &SharedState::colorGreen},
    {"activeButtonColor", &SharedState::activeButtonColor},
    {"buttonColor", &SharedState::buttonColor},
    {"mixerOldColor", &SharedState::mixerOldColor},
    {"mixerColor", &SharedState::mixerColor},
}};
constexpr std::array<Field<SharedState, Frame>, 4> kGlobalFrames{{
    {"frameM", &SharedState::frameM},
    {"dxSimDrawn", &SharedState::dxSimDrawn},
    {"extSimSent", &SharedState::extSimSent},
    {"shadowM", &SharedState::shadowM},
}};

constexpr std::array<Named<SharedState>, 4> kGlobalIndexed{{
    {"mixMap",
     [](const SharedState& s, const Access& a) {
         return gridCell(s.mixMap, a, [](float v) { return fmtSingle(v); });
     }},
    {"cellConfigured",
     [](const SharedState& s, const Access& a) {
         return gridCell(s.cellConfigured.grid(), a, asBool);
     }},
    {"channelMap",
     [](const SharedState& s, const Access& a) -> Result {
         if (a.args.size() != 3 || !s.channelMap.contains(a.args[0], a.args[1]) || a.args[2] < 0 ||
             a.args[2] > 2)
             return std::nullopt;
         const LightChannels& ch =
             s.channelMap.at(static_cast<int>(a.args[0]), static_cast<int>(a.args[1]));
         return fmtInt(ch[static_cast<size_t>(a.args[2])]);
     }},
    {"dmxSent",
     [](const SharedState& s, const Access& a) -> Result {
         if (a.args.size() != 1 || a.args[0] < 0 ||
             a.args[0] >= static_cast<int64_t>(s.dmxSent.size()))
             return std::nullopt;
         return fmtInt(s.dmxSent[static_cast<size_t>(a.args[0])]);
     }},
}};

// nullopt when the name is no indexed shared variable.
std::optional<Result> globalIndexed(const SharedState& s, const Access& a) {
    for (const auto& f : kGlobalFrames)
        if (f.name == a.name) return frameByte(s.*(f.member), a);
    if (const Named<SharedState>* n = findNamed(kGlobalIndexed, a.name)) return n->read(s, a);
    return std::nullopt;
}

// nullopt when the head names no shared variable (a bank name may follow).
std::optional<Result> globalPath(const SharedState& s, const Path& p) {
    const Access& h = p.head;
    if (h.name == kFadeListHead) {
        if (!p.field || h.args.size() != 1 || !inVector(s.fadeList, h.args[0])) return Result{};
        return fadeField(element(s.fadeList, h.args[0]), *p.field);
    }
    if (h.name == kCopyBufferHead) {
        if (!p.field || h.indexed) return Result{};
        return recordField({s.copyBuffer, s.matrixCols, s.matrixRows}, *p.field);
    }
    if (h.indexed) {
        std::optional<Result> v = globalIndexed(s, h);
        if (v && p.field) return Result{};
        return v;
    }
    Result v = lookup(kGlobalInt16, s, h.name, asInt);
    if (!v) v = lookup(kGlobalDouble, s, h.name, asDouble);
    if (!v) v = lookup(kGlobalBool, s, h.name, asBool);
    if (!v) v = lookup(kGlobalColor, s, h.name, asColor);
    if (!v) return std::nullopt;
    return p.field ? Result{} : v;
}

template <typename Table>
void addNames(std::vector<StateVarName>& out, StateVarGroup group, bool indexed,
              const Table& table) {
    for (const auto& entry : table) out.push_back({group, entry.name, indexed});
}

}  // namespace

std::vector<StateVarName> stateVarNames() {
    using G = StateVarGroup;
    std::vector<StateVarName> names;
    addNames(names, G::Shared, false, kGlobalInt16);
    addNames(names, G::Shared, false, kGlobalDouble);
    addNames(names, G::Shared, false, kGlobalBool);
    addNames(names, G::Shared, false, kGlobalColor);
    addNames(names, G::Shared, true, kGlobalFrames);
    addNames(names, G::Shared, true, kGlobalIndexed);
    names.push_back({G::Shared, kFadeListHead, true, G::Fade});
    names.push_back({G::Shared, kCopyBufferHead, false, G::Entry});
    addNames(names, G::Bank, false, kBankInt16);
    addNames(names, G::Bank, false, kBankBool);
    addNames(names, G::Bank, false, kBankOther);
    addNames(names, G::Bank, true, kBankIndexed);
    names.push_back({G::Bank, kEntryHead, true, G::Entry});
    addNames(names, G::Entry, false, kRecordInt16);
    addNames(names, G::Entry, false, kRecordText);
    addNames(names, G::Entry, false, kRecordColor);
    addNames(names, G::Entry, true, kRecordIndexed);
    addNames(names, G::Fade, false, kFadeFields);
    return names;
}

std::optional<std::string> readStateVar(const SharedState& state, std::string_view name) {
    const std::optional<Path> path = Parser(name).path();
    if (!path) return std::nullopt;
    if (std::optional<Result> v = globalPath(state, *path)) return *v;

    // Per-bank names: the base name with the bank letter appended.
    const std::string_view head = path->head.name;
    if (head.size() < 2) return std::nullopt;
    const char letter = head.back();
    if (letter != 'A' && letter != 'B') return std::nullopt;
    Path bankPathOnly = *path;
    bankPathOnly.head.name = head.substr(0, head.size() - 1);
    return bankPath(state.bank(letter == 'B'), bankPathOnly, state.matrixCols, state.matrixRows);
}

}  // namespace kavrel
