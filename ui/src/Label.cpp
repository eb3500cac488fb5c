#include "ui/Label.h"

namespace ui {

Label::Label(Rect frame) : View(frame) {
    setUserInteractionEnabled(false);
    setOpaque(false);
}

}  // namespace ui
