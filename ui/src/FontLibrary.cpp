#include "FontLibrary.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>

#include <cairo-ft.h>

namespace ui::detail {

namespace {

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Style words as they end face names ("Helvetica Bold", "Helvetica-BoldOblique").
bool applyStyleWord(std::string_view word, FaceRequest& request) {
    static const std::pair<std::string_view, int> weights[] = {
        {"ultralight", FC_WEIGHT_ULTRALIGHT}, {"extralight", FC_WEIGHT_EXTRALIGHT},
        {"thin", FC_WEIGHT_THIN},             {"light", FC_WEIGHT_LIGHT},
        {"book", FC_WEIGHT_BOOK},             {"regular", FC_WEIGHT_REGULAR},
        {"roman", FC_WEIGHT_REGULAR},         {"normal", FC_WEIGHT_REGULAR},
        {"medium", FC_WEIGHT_MEDIUM},         {"semibold", FC_WEIGHT_SEMIBOLD},
        {"demibold", FC_WEIGHT_DEMIBOLD},     {"bold", FC_WEIGHT_BOLD},
        {"extrabold", FC_WEIGHT_EXTRABOLD},   {"heavy", FC_WEIGHT_HEAVY},
        {"black", FC_WEIGHT_BLACK},
    };
    const std::string w = lower(word);
    std::string_view rest = w;
    int slant = -1;
    for (std::string_view s : {std::string_view("italic"), std::string_view("oblique")}) {
        if (rest.size() >= s.size() && rest.substr(rest.size() - s.size()) == s) {
            slant = s == "italic" ? FC_SLANT_ITALIC : FC_SLANT_OBLIQUE;
            rest.remove_suffix(s.size());
            break;
        }
    }
    int weight = -1;
    if (!rest.empty()) {
        for (const auto& [name, value] : weights) {
            if (rest == name) {
                weight = value;
                break;
            }
        }
        if (weight < 0) return false;
    } else if (slant < 0) {
        return false;
    }
    if (weight >= 0) request.weight = weight;
    if (slant >= 0) request.slant = slant;
    return true;
}

}  // namespace

FaceRequest FontLibrary::parseFaceName(std::string_view name) {
    std::vector<std::string_view> words;
    size_t start = 0;
    for (size_t i = 0; i <= name.size(); ++i) {
        if (i == name.size() || name[i] == ' ' || name[i] == '-') {
            if (i > start) words.push_back(name.substr(start, i - start));
            start = i + 1;
        }
    }
    FaceRequest request;
    // Style words come last; the family keeps at least its first word.
    size_t familyWords = words.size();
    while (familyWords > 1 && applyStyleWord(words[familyWords - 1], request)) --familyWords;
    for (size_t i = 0; i < familyWords; ++i) {
        if (i) request.family += ' ';
        request.family += words[i];
    }
    return request;
}

double FontLibrary::normalisedSize(double size) {
    if (!std::isfinite(size) || size <= 0) return 12;
    return std::clamp(size, 1.0 / kHbUnitsPerPoint, 4096.0);
}

FontLibrary& FontLibrary::instance() {
    // Never destroyed: faces handed out as raw pointers must outlive every static user.
    static FontLibrary* library = new FontLibrary();
    return *library;
}

FontLibrary::FontLibrary() {
    if (!FcInit()) throw std::runtime_error("fontconfig cannot start");
    if (FT_Init_FreeType(&freetype_) != 0) throw std::runtime_error("FreeType cannot start");
    buffer_ = hb_buffer_create();
}

std::shared_ptr<const std::vector<FallbackFace>> FontLibrary::chainFor(std::string_view name) {
    if (auto it = chains_.find(name); it != chains_.end()) return it->second;

    FaceRequest request = parseFaceName(name);
    // The platform's interface font; Helvetica's twin is the closest face installed here.
    if (lower(request.family) == "system") request.family = "Helvetica";
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY,
                       reinterpret_cast<const FcChar8*>(request.family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, request.weight);
    FcPatternAddInteger(pattern, FC_SLANT, request.slant);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    // The sorted list, trimmed to the fonts that add coverage: its head is the best match
    // for the name, and the rest are the fallbacks for the characters the head lacks.
    FcFontSet* sorted = FcFontSort(nullptr, pattern, FcTrue, nullptr, &result);
    FcPatternDestroy(pattern);

    auto chain = std::make_shared<std::vector<FallbackFace>>();
    if (sorted) {
        for (int i = 0; i < sorted->nfont; ++i) {
            FcPattern* font = sorted->fonts[i];
            FcChar8* file = nullptr;
            if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch) continue;
            FallbackFace entry;
            entry.file = reinterpret_cast<const char*>(file);
            int index = 0;
            if (FcPatternGetInteger(font, FC_INDEX, 0, &index) == FcResultMatch) entry.index = index;
            FcChar8* family = nullptr;
            if (FcPatternGetString(font, FC_FAMILY, 0, &family) == FcResultMatch) {
                entry.family = reinterpret_cast<const char*>(family);
            }
            FcCharSet* charset = nullptr;
            if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) == FcResultMatch) {
                entry.charset = FcCharSetCopy(charset);
            }
            chain->push_back(std::move(entry));
        }
        FcFontSetDestroy(sorted);
    }
    if (chain->empty()) throw std::runtime_error("no font found for " + std::string(name));
    // Chains live as long as the process, so their character sets are never released.
    return chains_.emplace(std::string(name), std::move(chain)).first->second;
}

std::shared_ptr<FontSet> FontLibrary::fontSet(std::string_view name, double size) {
    size = normalisedSize(size);
    std::lock_guard lock(mutex_);
    auto key = std::make_pair(std::string(name), size);
    if (auto it = sets_.find(key); it != sets_.end()) return it->second;
    auto set = std::make_shared<FontSet>(*this, std::string(name), size, chainFor(name));
    sets_.emplace(std::move(key), set);
    return set;
}

const FontFace* FontLibrary::face(const std::string& file, int index, double size) {
    auto key = std::make_tuple(file, index, size);
    if (auto it = faces_.find(key); it != faces_.end()) return it->second.get();
    std::unique_ptr<FontFace> face;
    try {
        face = std::make_unique<FontFace>(freetype_, file, index, size);
    } catch (const std::runtime_error&) {
        face = nullptr;
    }
    return faces_.emplace(std::move(key), std::move(face)).first->second.get();
}

cairo_font_face_t* FontLibrary::cairoFace(const FontFace& face) {
    auto key = std::make_pair(face.file(), face.index());
    if (auto it = cairoFaces_.find(key); it != cairoFaces_.end()) return it->second;
    FT_Face ft = nullptr;
    cairo_font_face_t* cairo = nullptr;
    if (FT_New_Face(freetype_, face.file().c_str(), face.index(), &ft) == 0) {
        cairo = cairo_ft_font_face_create_for_ft_face(ft, FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP);
    }
    cairoFaces_.emplace(std::move(key), cairo);
    return cairo;
}

}  // namespace ui::detail
