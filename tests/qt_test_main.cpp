#include <gtest/gtest.h>

#include "TApplication.h"

// The window tests need one application object for the whole run, made before any widget.
int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  TApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
