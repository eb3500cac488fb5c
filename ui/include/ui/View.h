// A rectangle of the retained view tree: geometry in floating-point points, subviews drawn
// in order (later ones on top), appearance, tap recognisers and touch hooks.
//
// Ownership: views are held by std::shared_ptr. A parent owns its subviews; other holders
// (controllers, components) may keep shared references too, so removing a view from its
// parent never destroys it under their feet. The superview link is non-owning.
//
// Geometry as in the platform toolkit: the frame is the view's rectangle in its parent's
// coordinates, derived from center, bounds size and a uniform scale about the centre. The
// bounds origin is the top-left of the content shown: subviews are placed at
// frame.origin - bounds.origin (a scroll view scrolls by moving its bounds origin).
// Readers of the tree (the renderer, dumps) call layoutIfNeeded() on the root first so that
// views that lay out lazily (tables) have their subviews in place.
//
// Thread: main thread only.
#pragma once

#include <cstddef>
#include <memory>
#include <vector>

#include "ui/Geometry.h"
#include "ui/Inspection.h"
#include "ui/Layer.h"
#include "ui/Responder.h"

namespace ui {

class TapGestureRecognizer;
class Window;

// Which sizes follow the parent's when the parent's bounds change size.
enum Autoresizing : unsigned {
    autoresizingNone = 0,
    autoresizingFlexibleWidth = 1u << 1,
    autoresizingFlexibleHeight = 1u << 4,
};

class View : public Responder, public std::enable_shared_from_this<View> {
public:
    explicit View(Rect frame = {});
    ~View() override;

    // --- geometry
    Rect frame() const;
    void setFrame(Rect frame);
    Rect bounds() const { return bounds_; }
    void setBounds(Rect bounds);
    Point center() const { return center_; }
    void setCenter(Point center);
    // Uniform scale about the centre (the only transform the toolkit has); 1 is identity.
    double transformScale() const { return scale_; }
    void setTransformScale(double scale);
    unsigned autoresizingMask() const { return autoresizing_; }
    void setAutoresizingMask(unsigned mask) { autoresizing_ = mask; }

    // Converts a point or rectangle from this view's coordinates into `to`'s; nullptr means
    // the coordinates of the tree's root (the window's when the view is on screen).
    Point convert(Point p, const View* to) const;
    Point convertFrom(Point p, const View* from) const;
    Rect convert(Rect r, const View* to) const;

    // --- hierarchy
    View* superview() const { return superview_; }
    const std::vector<std::shared_ptr<View>>& subviews() const { return subviews_; }
    // Adds on top of the existing subviews; a view that has another parent moves here.
    void addSubview(std::shared_ptr<View> view);
    // Inserts at `index` in the subview order (0 is at the back); past the end means on top.
    void insertSubview(std::shared_ptr<View> view, std::size_t index);
    void bringSubviewToFront(View* view);
    // Detaches from the parent. Safe when others still hold the view; a first responder
    // inside the detached subtree resigns, as it no longer is on screen.
    void removeFromSuperview();
    bool isDescendantOf(const View* ancestor) const;
    // The window this view is in, or nullptr when it is not on screen.
    Window* window() const;
    // The view itself or the first descendant (depth first) with this tag.
    View* viewWithTag(int tag);

    // --- appearance
    Color backgroundColor() const { return backgroundColor_; }
    void setBackgroundColor(Color c) { backgroundColor_ = c; }
    double alpha() const { return alpha_; }
    void setAlpha(double a);
    bool isHidden() const { return hidden_; }
    void setHidden(bool h) { hidden_ = h; }
    bool isOpaque() const { return opaque_; }
    void setOpaque(bool o) { opaque_ = o; }
    bool clipsToBounds() const { return layer_.masksToBounds; }
    void setClipsToBounds(bool c) { layer_.masksToBounds = c; }
    Layer& layer() { return layer_; }
    const Layer& layer() const { return layer_; }
    int tag() const { return tag_; }
    void setTag(int t) { tag_ = t; }

    // --- events
    bool isUserInteractionEnabled() const { return interaction_; }
    void setUserInteractionEnabled(bool e) { interaction_ = e; }
    void addGestureRecognizer(std::shared_ptr<TapGestureRecognizer> recognizer);
    // Detaches the recogniser if it is attached here; otherwise nothing happens.
    void removeGestureRecognizer(const TapGestureRecognizer* recognizer);
    const std::vector<std::shared_ptr<TapGestureRecognizer>>& gestureRecognizers() const {
        return recognizers_;
    }
    // The deepest visible, interaction-enabled view containing `p` (in this view's
    // coordinates), later subviews first; nullptr when none, this one included, contains it.
    virtual View* hitTest(Point p);
    virtual bool pointInside(Point p) const;

    // Touch hooks, called by the window for the view that owns a touch (see acceptsTouches).
    // Points are in this view's coordinates.
    virtual bool acceptsTouches() const { return false; }
    virtual void touchBegan(Point) {}
    virtual void touchMoved(Point) {}
    virtual void touchEnded(Point) {}
    virtual void touchCancelled() {}
    // A wheel or two-finger scroll over the view; answers whether it was consumed (an
    // unconsumed scroll goes to the superview).
    virtual bool scrollWheel(Point, double /*dx*/, double /*dy*/) { return false; }

    // --- inspection
    // Describes the view for readers of the tree that do not know its class (host dumps);
    // views with something to say override it. The default says nothing.
    virtual Inspection inspect() const { return {}; }

    // --- layout
    void setNeedsLayout() { needsLayout_ = true; }
    // Runs layoutSubviews where needed, in this view and all descendants.
    void layoutIfNeeded();

    View(const View&) = delete;
    View& operator=(const View&) = delete;

protected:
    virtual void layoutSubviews() {}
    // Called after the view's bounds changed size, before subviews are resized.
    virtual void boundsSizeChanged(Size /*old*/) {}
    // Called when the view joins or leaves a window (directly or through an ancestor).
    virtual void movedToWindow(Window*) {}

private:
    void attach(std::shared_ptr<View> view, std::size_t index);
    void detachChild(View* child);
    void notifyWindowChange(Window* window);
    Point toParent(Point local) const;
    Point fromParent(Point parent) const;

    Rect bounds_;
    Point center_;
    double scale_ = 1;
    unsigned autoresizing_ = autoresizingNone;
    View* superview_ = nullptr;
    std::vector<std::shared_ptr<View>> subviews_;
    std::vector<std::shared_ptr<TapGestureRecognizer>> recognizers_;
    Color backgroundColor_ = Color::clear();
    double alpha_ = 1;
    bool hidden_ = false;
    bool opaque_ = true;
    bool interaction_ = true;
    bool needsLayout_ = true;
    int tag_ = 0;
    Layer layer_;
};

}  // namespace ui
