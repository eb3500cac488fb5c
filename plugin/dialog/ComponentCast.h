// Telling the dialog's sections apart on the paths that walk all of them (layout, stacking).
// Every component class is final, so "is exactly a T" is the same question as a dynamic_cast
// to T; a type-identity check answers it without walking the class hierarchy, which matters
// when a dialog of a thousand sections asks up to thirteen times per section.
#pragma once

#include <memory>
#include <type_traits>
#include <typeinfo>

#include "ui/View.h"

namespace brelka {

// The section as a T when it is one, otherwise (and for no section) nullptr.
template <class T>
T* componentAs(ui::View* view) {
    static_assert(std::is_final_v<T>, "an exact type check stands for a cast only for final classes");
    if (view == nullptr || typeid(*view) != typeid(T)) return nullptr;
    return static_cast<T*>(view);
}

template <class T>
T* componentAs(const std::shared_ptr<ui::View>& view) {
    return componentAs<T>(view.get());
}

}  // namespace brelka
