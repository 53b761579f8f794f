# Sets `dir` to a new empty directory under the system's temporary directory.
if(DEFINED ENV{TMPDIR})
    set(temp_root $ENV{TMPDIR})
else()
    set(temp_root /tmp)
endif()
string(RANDOM LENGTH 12 suffix)
set(dir ${temp_root}/vell-cli-test-${suffix})
file(MAKE_DIRECTORY ${dir})

# Fails the test with `message` after removing the directory.
macro(fail message)
    file(REMOVE_RECURSE ${dir})
    message(FATAL_ERROR "${message}")
endmacro()

# Lines of `file` as a list (the text contains no semicolons).
function(read_lines file out)
    file(READ ${file} text)
    string(REGEX REPLACE "\n$" "" text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(${out} "${lines}" PARENT_SCOPE)
endfunction()
