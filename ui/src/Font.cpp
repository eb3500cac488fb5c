#include "ui/Font.h"

#include "FontLibrary.h"
#include "FontSet.h"

namespace ui {

Font::Font(std::string_view name, double pointSize)
    : set_(detail::FontLibrary::instance().fontSet(name, pointSize)) {}

const std::string& Font::name() const { return set_->name(); }
double Font::pointSize() const { return set_->size(); }
const std::string& Font::familyName() const { return set_->primaryFamily(); }
const std::string& Font::filePath() const { return set_->primary().file(); }
double Font::lineHeight() const { return set_->primary().lineHeight(); }
double Font::ascender() const { return set_->primary().ascender(); }
double Font::descender() const { return set_->primary().descender(); }

}  // namespace ui
