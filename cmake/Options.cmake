# Warnings and sanitizers for every target, attached through one interface target.
option(VELL_WERROR "Treat warnings as errors" OFF)
set(VELL_SANITIZE "" CACHE STRING "Sanitizers to build with, e.g. address,undefined or thread")

add_library(vell_options INTERFACE)
target_compile_features(vell_options INTERFACE cxx_std_20)
target_compile_options(vell_options INTERFACE -Wall -Wextra -Wpedantic)
if(VELL_WERROR)
    target_compile_options(vell_options INTERFACE -Werror)
endif()
if(VELL_SANITIZE)
    target_compile_options(vell_options INTERFACE -fsanitize=${VELL_SANITIZE} -fno-omit-frame-pointer)
    target_link_options(vell_options INTERFACE -fsanitize=${VELL_SANITIZE})
endif()
