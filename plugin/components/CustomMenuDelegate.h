// CustomMenuDelegate: what a pop-up menu's drop-down list tells its owner. The dialog
// controller adopts it. Not owned by the list; the delegate must outlive its registration.
// Thread: main thread only.
#pragma once

namespace brelka {

class CustomMenuHelper;

class CustomMenuDelegate {
public:
    virtual ~CustomMenuDelegate() = default;
    // The list began to close (called right after its closing animation starts).
    virtual void menuClosed(CustomMenuHelper& menu) = 0;
};

}  // namespace brelka
