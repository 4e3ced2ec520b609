// The program's five errors: each carries the exact text the user sees.
#pragma once

#include <stdexcept>

namespace guarded {

enum class Fault { RangeCheck, IntegerOverflow, DivisionByZero, InvalidOperation, Overflow };

constexpr const char* MessageOf(Fault fault) {
  switch (fault) {
    case Fault::RangeCheck: return "Range check error";
    case Fault::IntegerOverflow: return "Integer overflow";
    case Fault::DivisionByZero: return "Floating point division by zero";
    case Fault::InvalidOperation: return "Invalid floating point operation";
    case Fault::Overflow: return "Floating point overflow";
  }
  return "Range check error";
}

// The application's error handler shows what().
class ArithmeticError : public std::runtime_error {
 public:
  explicit ArithmeticError(Fault fault) : std::runtime_error(MessageOf(fault)), fault_(fault) {}
  Fault fault() const { return fault_; }

 private:
  Fault fault_;
};

[[noreturn]] inline void Raise(Fault fault) { throw ArithmeticError(fault); }

}  // namespace guarded
