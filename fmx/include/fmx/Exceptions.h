// Host failures. The host reports a failed call through an exception record that the
// interface checks after the call; kind 1 is raised as OutOfMemory, kind 2 as HostException.
#pragma once

#include <functional>
#include <new>
#include <stdexcept>
#include <string>

namespace fmx {

class OutOfMemory : public std::bad_alloc {
public:
    const char* what() const noexcept override { return "fmx: host is out of memory"; }
};

class HostException : public std::runtime_error {
public:
    explicit HostException(const std::string& what) : std::runtime_error("fmx: " + what) {}
};

// Test hook: called with the operation's name before every host call that can fail; answering
// 1 or 2 makes that call raise the exception of that kind, 0 lets it run. Empty by default.
// Operations are named "Class::Operation": Text::Assign, Text::AssignUnicode,
// Text::AssignUnicodeWithLength, Text::AppendText, Text::GetBytes, Text::Lowercase,
// Data::SetAsText, Data::SetAsNumber, Data::SetAsBoolean, Data::SetBinaryData,
// Data::SetAsDateTime, DataVect::At, DataVect::AtAsText, DataVect::AtAsNumber,
// DataVect::AtAsBoolean, DataVect::AtAsBinaryData, BinaryData::GetData, BinaryData::Add,
// ExprEnv::RegisterExternalFunction, ExprEnv::UnRegisterExternalFunction, ExprEnv::Evaluate.
// Process-wide; install it only while no other thread calls into the interface.
using FailureHook = std::function<int(const char* operation)>;
void setFailureHook(FailureHook hook);

// Raises the injected failure for `operation`, if any. Called by the interface itself.
void checkFailure(const char* operation);

}  // namespace fmx
