// A calculation failure with FileMaker's error code. Thrown inside the parser and evaluator
// and turned into an error result at the engine's boundary; it never leaves the engine.
#pragma once

#include <stdexcept>
#include <string>

namespace calc {

// FileMaker's error codes as the engine reports them.
namespace errc {
inline constexpr int kOutOfMemory = 7;
inline constexpr int kDivideByZero = 15;
inline constexpr int kFieldMissing = 102;
inline constexpr int kGeneric = 1200;
inline constexpr int kTooFewParameters = 1201;
inline constexpr int kTooManyParameters = 1202;
inline constexpr int kUnexpectedEnd = 1203;
inline constexpr int kOperandExpected = 1204;
inline constexpr int kUnterminatedComment = 1205;
inline constexpr int kUnterminatedText = 1206;
inline constexpr int kUnbalancedParenthesis = 1207;
inline constexpr int kFunctionNotFound = 1208;
inline constexpr int kNameMissing = 1209;
inline constexpr int kAlreadyRegistered = 1210;
inline constexpr int kListNotAllowed = 1211;
inline constexpr int kOperatorExpected = 1212;
inline constexpr int kDuplicateLetVariable = 1213;
inline constexpr int kInvalidGetParameter = 1215;
inline constexpr int kNumberNotEvaluable = 1218;
}  // namespace errc

class CalcError : public std::runtime_error {
public:
    CalcError(int code, const std::string& message) : std::runtime_error(message), code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

}  // namespace calc
