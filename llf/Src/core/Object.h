#pragma once
// Root of every framework class: a type test by class name, a virtual
// destructor and a one-line text dump.
//
//
// Classes derive from Object virtually, so an object that reaches the root
// through two framework bases (a sender that is also a receiver) still has a
// single Object and converts to Object* without ambiguity.
#include <string>

namespace LLF {

class Object {
 public:
  Object() = default;
  Object(const Object&) = default;
  Object& operator=(const Object&) = default;

  // True when className is this class's own name or, asked in declaration
  // order, the name of one of its framework bases. Exact, case-sensitive.
  virtual bool IsKindOf(const std::string& className) const { return className == "Object"; }
  virtual ~Object() = default;
  virtual std::wstring Dump() const { return L"Object dump!"; }
};

}  // namespace LLF

// Declares the type test of a class with one or two framework bases. The
// bases are asked in the order given, which must be the declaration order.
#define LLF_KIND_OF(Class, Base)                               \
  bool IsKindOf(const std::string& className) const override { \
    return className == #Class || Base::IsKindOf(className);   \
  }

#define LLF_KIND_OF2(Class, Base1, Base2)                                                   \
  bool IsKindOf(const std::string& className) const override {                              \
    return className == #Class || Base1::IsKindOf(className) || Base2::IsKindOf(className); \
  }
