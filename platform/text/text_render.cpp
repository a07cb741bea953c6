#include "platform/text/text_render.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <map>
#include <optional>
#include <utility>

#include "platform/text/utf8.h"

namespace platform {

namespace {

constexpr const char* kFallbackFace = "DejaVu Sans";

struct FaceKey {
    std::string file;
    int index = 0;
    auto operator<=>(const FaceKey&) const = default;
};

struct Match {
    FaceKey key;
    bool syntheticBold = false;
    bool syntheticItalic = false;
};

class FreeTypeRasterizer : public TextRasterizer {
  public:
    FreeTypeRasterizer() {
        if (FT_Init_FreeType(&library_) != 0) library_ = nullptr;
        config_ = FcInitLoadConfigAndFonts();
    }
    ~FreeTypeRasterizer() override {
        for (auto& [key, face] : faces_)
            if (face != nullptr) FT_Done_Face(face);
        if (library_ != nullptr) FT_Done_FreeType(library_);
        if (config_ != nullptr) FcConfigDestroy(config_);
    }
    FreeTypeRasterizer(const FreeTypeRasterizer&) = delete;
    FreeTypeRasterizer& operator=(const FreeTypeRasterizer&) = delete;

    void drawText(Surface& surface, int32_t x, int32_t y, std::string_view utf8,
                  const FontStyle& font, Color color) override;

  private:
    std::optional<Match> match(const std::string& face, bool bold, bool italic);
    FT_Face open(const FaceKey& key);

    FT_Library library_ = nullptr;
    FcConfig* config_ = nullptr;
    std::map<FaceKey, FT_Face> faces_;
};

std::optional<Match> FreeTypeRasterizer::match(const std::string& face, bool bold, bool italic) {
    if (config_ == nullptr) return std::nullopt;
    for (const std::string& name : {face, std::string(kFallbackFace)}) {
        FcPattern* pattern = FcPatternCreate();
        if (pattern == nullptr) return std::nullopt;
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(name.c_str()));
        FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
        FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
        FcConfigSubstitute(config_, pattern, FcMatchPattern);
        FcDefaultSubstitute(pattern);
        FcResult result = FcResultNoMatch;
        FcPattern* found = FcFontMatch(config_, pattern, &result);
        FcPatternDestroy(pattern);
        if (found == nullptr) continue;
        FcChar8* file = nullptr;
        int index = 0, weight = FC_WEIGHT_REGULAR, slant = FC_SLANT_ROMAN;
        std::optional<Match> m;
        if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch && file != nullptr) {
            FcPatternGetInteger(found, FC_INDEX, 0, &index);
            FcPatternGetInteger(found, FC_WEIGHT, 0, &weight);
            FcPatternGetInteger(found, FC_SLANT, 0, &slant);
            m = Match{FaceKey{reinterpret_cast<const char*>(file), index},
                      bold && weight < FC_WEIGHT_DEMIBOLD, italic && slant == FC_SLANT_ROMAN};
        }
        FcPatternDestroy(found);
        if (m && open(m->key) != nullptr) return m;
    }
    return std::nullopt;
}

FT_Face FreeTypeRasterizer::open(const FaceKey& key) {
    if (library_ == nullptr) return nullptr;
    auto it = faces_.find(key);
    if (it != faces_.end()) return it->second;
    FT_Face face = nullptr;
    if (FT_New_Face(library_, key.file.c_str(), key.index, &face) != 0) face = nullptr;
    faces_.emplace(key, face);
    return face;
}

// Fills the rows [top, top + thickness) from x0 to x1 (exclusive).
void bar(Surface& s, int64_t x0, int64_t x1, int64_t top, int64_t thickness, Color c) {
    for (int64_t yy = top; yy < top + std::max<int64_t>(thickness, 1); ++yy)
        for (int64_t xx = x0; xx < x1; ++xx) s.put(xx, yy, c);
}

void FreeTypeRasterizer::drawText(Surface& surface, int32_t x, int32_t y, std::string_view utf8,
                                  const FontStyle& font, Color color) {
    if (font.height < 1 || utf8.empty()) return;
    const int32_t height = std::min(font.height, kMaxTextHeight);
    const bool bold = font.weight >= 700;
    const std::optional<Match> m = match(font.face, bold, font.italic);
    if (!m) return;
    FT_Face face = open(m->key);
    if (face == nullptr) return;

    FT_Size_RequestRec request{};
    request.type = FT_SIZE_REQUEST_TYPE_CELL;
    request.height = static_cast<FT_Long>(height) * 64;
    if (FT_Request_Size(face, &request) != 0) return;
    FT_Matrix shear{0x10000, m->syntheticItalic ? 0x0366A : 0, 0, 0x10000};
    FT_Set_Transform(face, &shear, nullptr);

    const FT_Size_Metrics& metrics = face->size->metrics;
    const int64_t baseline = int64_t{y} + ((metrics.ascender + 63) >> 6);
    const Color lit = color & 0x00FFFFFFu;
    int64_t pen = x;
    for (char32_t cp : decodeUtf8(utf8)) {
        if (FT_Load_Char(face, cp, FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP) != 0) continue;
        FT_GlyphSlot slot = face->glyph;
        if (m->syntheticBold && slot->format == FT_GLYPH_FORMAT_OUTLINE)
            FT_Outline_Embolden(&slot->outline, std::max<FT_Pos>(metrics.y_ppem * 64 / 24, 32));
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) continue;
        const FT_Bitmap& bm = slot->bitmap;
        const int64_t left = pen + slot->bitmap_left;
        const int64_t top = baseline - slot->bitmap_top;
        if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
            for (unsigned row = 0; row < bm.rows; ++row) {
                const unsigned char* line = bm.buffer + static_cast<int64_t>(row) * bm.pitch;
                for (unsigned col = 0; col < bm.width; ++col)
                    if (line[col >> 3] & (0x80u >> (col & 7u)))
                        surface.put(left + col, top + row, lit);
            }
        }
        int64_t advance = (slot->advance.x + 32) >> 6;
        if (m->syntheticBold) advance += std::max<int64_t>(metrics.y_ppem / 24, 1);
        pen += advance;
    }

    const auto scaled = [&](FT_Short v) { return (FT_MulFix(v, metrics.y_scale) + 32) >> 6; };
    if (font.underline) {
        const int64_t thick = std::max<int64_t>(scaled(face->underline_thickness), 1);
        bar(surface, x, pen, baseline - scaled(face->underline_position), thick, lit);
    }
    if (font.strikeout) {
        int64_t pos = ((metrics.ascender + 63) >> 6) * 3 / 10;
        int64_t thick = 1;
        if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2))) {
            pos = scaled(os2->yStrikeoutPosition);
            thick = std::max<int64_t>(scaled(os2->yStrikeoutSize), 1);
        }
        bar(surface, x, pen, baseline - pos, thick, lit);
    }
}

}  // namespace

std::unique_ptr<TextRasterizer> makeSystemTextRasterizer() {
    return std::make_unique<FreeTypeRasterizer>();
}

}  // namespace platform
