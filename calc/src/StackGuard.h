// Watches the stack of the thread that parses or evaluates, so that deeply nested input ends
// in an error result instead of a stack overflow whatever the thread's stack size (the host's
// calculation thread, a plug-in's thread, a sanitizer build with its larger frames). Made at
// the start of an evaluation on the evaluating thread; checked at every level of recursion.
#pragma once

#include <cstdint>

namespace calc {

class StackGuard {
public:
    StackGuard();
    // Throws CalcError once less than a safety margin of the thread's stack is left.
    void check() const;

private:
    std::uintptr_t limit_ = 0;
};

}  // namespace calc
