// The process's fonts: finds faces by name through fontconfig, loads them with FreeType and
// keeps every loaded face, fallback chain and font set until the process ends (a dialog uses
// a handful of names and sizes). One per process; every operation takes the text lock itself
// unless it says otherwise. FreeType faces and HarfBuzz fonts are not thread-safe, so shaping
// code holds mutex() while it uses them.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include <cairo.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include <hb.h>

#include "FontFace.h"
#include "FontSet.h"

namespace ui::detail {

// A face name split into what fontconfig understands: "Helvetica Bold" is the family
// "Helvetica" at bold weight, not a family called "Helvetica Bold".
struct FaceRequest {
    std::string family;
    int weight = FC_WEIGHT_REGULAR;
    int slant = FC_SLANT_ROMAN;
    friend bool operator==(const FaceRequest&, const FaceRequest&) = default;
};

class FontLibrary {
public:
    static FontLibrary& instance();

    std::mutex& mutex() { return mutex_; }

    // The font set for a face name at a size; never null. Sizes that are not positive
    // finite numbers become 12 points, and sizes are kept within 1/64 to 4096 points.
    std::shared_ptr<FontSet> fontSet(std::string_view name, double size);

    // A loaded face, or null when the file cannot be read. Text lock held.
    const FontFace* face(const std::string& file, int index, double size);

    // The Cairo face for a font file, for drawing the glyphs that a FontFace shaped. It uses
    // its own FreeType face, because Cairo resizes the faces it draws with. Text lock held.
    cairo_font_face_t* cairoFace(const FontFace& face);

    // A shaping buffer for reuse. Text lock held.
    hb_buffer_t* buffer() { return buffer_; }

    static FaceRequest parseFaceName(std::string_view name);
    static double normalisedSize(double size);

private:
    FontLibrary();
    ~FontLibrary() = default;

    std::shared_ptr<const std::vector<FallbackFace>> chainFor(std::string_view name);

    std::mutex mutex_;
    FT_Library freetype_ = nullptr;
    hb_buffer_t* buffer_ = nullptr;
    std::map<std::string, std::shared_ptr<const std::vector<FallbackFace>>, std::less<>> chains_;
    std::map<std::tuple<std::string, int, double>, std::unique_ptr<FontFace>> faces_;
    std::map<std::pair<std::string, double>, std::shared_ptr<FontSet>, std::less<>> sets_;
    std::map<std::pair<std::string, int>, cairo_font_face_t*> cairoFaces_;
};

}  // namespace ui::detail
