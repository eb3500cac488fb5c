#include "ui/BlurView.h"

namespace ui {

BlurView::BlurView(BlurStyle style, Rect frame) : View(frame), style_(style) {}

}  // namespace ui
