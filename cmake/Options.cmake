# Warnings and sanitizers for every target, attached through one interface target.
option(VELL_WERROR "Treat warnings as errors" OFF)
set(VELL_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address,undefined or thread")

add_library(vell_options INTERFACE)
target_compile_features(vell_options INTERFACE cxx_std_20)
target_compile_options(vell_options INTERFACE -Wall -Wextra -Wpedantic)
if(VELL_WERROR)
    target_compile_options(vell_options INTERFACE -Werror)
endif()
# libFuzzer targets (tests/fuzz): every target gets the fuzzer's coverage hooks, and any
# sanitizer report aborts so the fuzzer keeps the input.
option(VELL_BUILD_FUZZERS "Build the libFuzzer targets with ASan and UBSan (needs clang)" OFF)
if(VELL_BUILD_FUZZERS)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "VELL_BUILD_FUZZERS needs clang: -DCMAKE_CXX_COMPILER=clang++")
    endif()
    if(NOT VELL_SANITIZE)
        set(VELL_SANITIZE address,undefined)
    endif()
    target_compile_options(vell_options INTERFACE -fsanitize=fuzzer-no-link
                                                  -fno-sanitize-recover=undefined)
endif()
if(VELL_SANITIZE)
    target_compile_options(vell_options INTERFACE -fsanitize=${VELL_SANITIZE} -fno-omit-frame-pointer)
    target_link_options(vell_options INTERFACE -fsanitize=${VELL_SANITIZE})
endif()
