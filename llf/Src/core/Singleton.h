#pragma once
// One instance per class, created on first use and destroyed at program exit
// in the reverse order of creation. A class derives from its own chain first
// and from Singleton<T> second; Singleton takes no part in the type test.
//
// A function-local static gives exactly the required life: built on the first
// GetInstance, registered for destruction at exit, and tried again on the
// next call when its constructor throws.

namespace LLF {

template <class T>
class Singleton {
 public:
  virtual ~Singleton() = default;

  static T& GetInstance() {
    static T instance;
    return instance;
  }

 protected:
  Singleton() = default;
  Singleton(const Singleton&) = delete;
  Singleton& operator=(const Singleton&) = delete;
};

}  // namespace LLF

// Lets Singleton<T> reach a private default constructor.
#define LLF_SINGLETON(Class) friend class ::LLF::Singleton<Class>;
