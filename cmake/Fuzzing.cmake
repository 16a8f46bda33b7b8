# VORTAN_FUZZ builds only what the fuzz targets of tests/fuzz need: the domain
# libraries of the readers and the shipped default files, instrumented for
# libFuzzer with AddressSanitizer and UndefinedBehaviorSanitizer. No windows,
# programs, benchmarks or other tests. Needs clang:
#   CC=clang-14 CXX=clang++-14 cmake -S . -B build-fuzz -G Ninja -DVORTAN_FUZZ=ON \
#       -DCMAKE_BUILD_TYPE=RelWithDebInfo
#   cmake --build build-fuzz --target fuzz

option(VORTAN_FUZZ "Build the libFuzzer targets of tests/fuzz and nothing else (clang)" OFF)

if(VORTAN_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VORTAN_FUZZ needs clang: configure with CC=clang-14 CXX=clang++-14")
  endif()
  set(FUZZ_SECONDS 60 CACHE STRING "Seconds each fuzz target runs under the fuzz targets")
  # Coverage instrumentation everywhere; the fuzz programs add libFuzzer's main.
  # Any undefined behaviour ends the run, so that the fuzzer reports it.
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                      -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()
