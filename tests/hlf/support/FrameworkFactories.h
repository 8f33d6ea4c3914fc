#pragma once
// The three factories emptied and filled with the framework's prototypes
// for the scope's life, emptied again at its end, so tests that register
// prototypes of their own start from the same table.
namespace QmTest {

class FrameworkFactories {
 public:
  FrameworkFactories();
  ~FrameworkFactories();
  FrameworkFactories(const FrameworkFactories&) = delete;
  FrameworkFactories& operator=(const FrameworkFactories&) = delete;

  static void ClearAll();
};

}  // namespace QmTest
