# VORTAN_SANITIZE builds every target (libraries, programs, build tools, tests)
# with AddressSanitizer and UndefinedBehaviorSanitizer. Any undefined behaviour
# ends the program, so that a test that hits it fails. The code is optimised
# lightly and carries line tables only: that keeps the build short on small
# machines while stack traces still name file and line.
# scripts/test-sanitized.sh configures, builds and runs the suite this way.

option(VORTAN_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

if(VORTAN_SANITIZE)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
    message(FATAL_ERROR "VORTAN_SANITIZE needs GCC or Clang")
  endif()
  # float-cast-overflow (a double outside the range of the integer it is
  # converted to) is undefined behaviour too, but GCC leaves it out of "undefined".
  set(vortan_sanitize_flags -fsanitize=address,undefined,float-cast-overflow
      -fno-sanitize-recover=all -fno-omit-frame-pointer)
  # Given after the flags of the build type, so these win over -O2/-O3 and -g.
  add_compile_options(${vortan_sanitize_flags} -O1 -g1)
  add_link_options(${vortan_sanitize_flags})
  # Benchmarks measure nothing useful under the sanitizers.
  set(VORTAN_BUILD_BENCH OFF CACHE BOOL "Build the benchmarks" FORCE)
endif()

# In the normal build, `cmake --build build --target sanitized_tests` runs the
# sanitized suite in its own build folder.
if(NOT VORTAN_SANITIZE)
  add_custom_target(sanitized_tests
      COMMAND ${CMAKE_SOURCE_DIR}/scripts/test-sanitized.sh
      WORKING_DIRECTORY ${CMAKE_SOURCE_DIR}
      USES_TERMINAL
      VERBATIM)
endif()
