// A test that this system cannot run skips, saying why; where every test
// must run (a build configured with SCATTER_REQUIRE_ALL_TESTS, as CI's are),
// it fails instead.  Skips that follow from the build itself (a sanitizer,
// an emulator, another processor) stay skips.
#pragma once

#include <gtest/gtest.h>

#if defined(SCATTER_REQUIRE_ALL_TESTS)
#define SCATTER_SKIP() FAIL() << "cannot run here, where every test must: "
inline constexpr bool every_test_must_run = true;
#else
#define SCATTER_SKIP() GTEST_SKIP()
inline constexpr bool every_test_must_run = false;
#endif
