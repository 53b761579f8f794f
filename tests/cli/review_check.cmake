# vellcli review of a game that selfplay played: the same player at the same depths loses
# nothing on any move, one line per move in order; a line that does not replay, a game number
# out of range and a missing file are one-line errors with status 2 and nothing on stdout.
include(${CMAKE_CURRENT_LIST_DIR}/temp_dir.cmake)

execute_process(COMMAND ${PROGRAM} selfplay --games 1 --black CPU-1 --white CPU-1
                        --normal-depth 2 --final-depth 8 --dir ${dir}
    OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    fail("selfplay: status ${status}: ${err}")
endif()
file(STRINGS ${dir}/vellkif.txt kif)
string(REGEX MATCH "\\) ([-+0-9]+) \\+0$" moves_field "${kif}")
string(REGEX MATCHALL "[-+][1-8][1-8]" moves "${CMAKE_MATCH_1}")
list(LENGTH moves move_count)
if(move_count LESS 20)
    fail("the game log line has ${move_count} moves: ${kif}")
endif()

foreach(search plain fast)
    execute_process(COMMAND ${PROGRAM} review --kif vellkif.txt --type CPU-1 --normal-depth 2
                            --final-depth 8 --search ${search}
        WORKING_DIRECTORY ${dir}
        OUTPUT_VARIABLE out_${search} ERROR_VARIABLE err RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        fail("review --search ${search}: status ${status}: ${err}")
    endif()
    if(NOT err MATCHES "review: move ${move_count}/${move_count}\n")
        fail("progress '${err}'")
    endif()
endforeach()
if(NOT out_plain STREQUAL out_fast)
    fail("the searches disagree:\n${out_plain}\n${out_fast}")
endif()
string(REGEX REPLACE "\n$" "" text "${out_plain}")
string(REPLACE "\n" ";" lines "${text}")
list(POP_BACK lines summary)
if(NOT summary STREQUAL "{\"black\":{\"averageLoss\":0,\"marks\":0},\"white\":{\"averageLoss\":0,\"marks\":0}}")
    fail("summary '${summary}'")
endif()
list(LENGTH lines line_count)
if(NOT line_count EQUAL move_count)
    fail("${line_count} lines for ${move_count} moves")
endif()
set(ply 0)
foreach(move line IN ZIP_LISTS moves lines)
    math(EXPR ply "${ply} + 1")
    string(SUBSTRING ${move} 0 1 sign)
    string(SUBSTRING ${move} 1 1 column)
    string(SUBSTRING ${move} 2 1 row)
    math(EXPR square "(${column} - 1) * 8 + ${row} - 1")
    if(sign STREQUAL "+")
        set(side black)
    else()
        set(side white)
    endif()
    if(NOT line MATCHES "^{\"ply\":${ply},\"side\":\"${side}\",\"played\":${square},\"playedValue\":(-?[0-9]+),\"best\":${square},\"bestValue\":(-?[0-9]+),\"loss\":0,\"mark\":\"\"}$"
       OR NOT CMAKE_MATCH_1 STREQUAL CMAKE_MATCH_2)
        fail("ply ${ply} (${move}): '${line}'")
    endif()
endforeach()

# --format text: the window's columns for the same game, square names and stones, a blank
# line and each side's summary; every move is the best, so nothing is lost or marked.
execute_process(COMMAND ${PROGRAM} review --kif vellkif.txt --type CPU-1 --normal-depth 2
                        --final-depth 8 --format text
    WORKING_DIRECTORY ${dir} OUTPUT_VARIABLE text_out ERROR_QUIET RESULT_VARIABLE status)
# The blank line is an empty list element: keep it.
cmake_policy(SET CMP0007 NEW)
string(REGEX REPLACE "\n$" "" text_out "${text_out}")
string(REPLACE "\n" ";" text_lines "${text_out}")
list(POP_FRONT text_lines heading)
list(POP_BACK text_lines white_summary black_summary blank)
if(NOT status EQUAL 0 OR NOT heading STREQUAL "  # 手 着手   評価  最善   評価   損失 印"
   OR NOT blank STREQUAL "" OR NOT black_summary STREQUAL "黒 平均損失 0.0石　?! 0　? 0　?? 0"
   OR NOT white_summary STREQUAL "白 平均損失 0.0石　?! 0　? 0　?? 0")
    fail("review --format text: status ${status}:\n${text_out}")
endif()
set(ply 0)
foreach(move line IN ZIP_LISTS moves text_lines)
    math(EXPR ply "${ply} + 1")
    string(SUBSTRING ${move} 0 1 sign)
    string(SUBSTRING ${move} 1 1 column)
    string(SUBSTRING ${move} 2 1 row)
    math(EXPR index "${column} - 1")
    string(SUBSTRING "abcdefgh" ${index} 1 letter)
    if(sign STREQUAL "+")
        set(side "黒")
    else()
        set(side "白")
    endif()
    if(NOT line MATCHES "^ *${ply} ${side} ${letter}${row}   +([-+]?[0-9]+\\.[0-9]) +${letter}${row}   +([-+]?[0-9]+\\.[0-9])    0\\.0$"
       OR NOT CMAKE_MATCH_1 STREQUAL CMAKE_MATCH_2)
        fail("--format text, move ${ply} (${move}): '${line}'")
    endif()
endforeach()

# Errors: exactly one line on stderr, nothing on stdout, status 2.
function(expect_error pattern)
    execute_process(COMMAND ${PROGRAM} review ${ARGN}
        WORKING_DIRECTORY ${dir}
        OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
    if(NOT status EQUAL 2 OR NOT out STREQUAL "" OR NOT err MATCHES "^vellcli review: ${pattern}[^\n]*\n$")
        fail("review ${ARGN}: status ${status}, stdout '${out}', stderr '${err}'")
    endif()
endfunction()
# The third move on the first one's square, in the second game of the file.
list(GET moves 0 first)
string(SUBSTRING ${first} 1 2 first_square)
string(REGEX REPLACE "(\\) [-+][1-8][1-8][-+][1-8][1-8][-+])[1-8][1-8]" "\\1${first_square}" occupied "${kif}")
file(WRITE ${dir}/bad.txt "${kif}\n${occupied}\n\n")
expect_error("bad.txt game 2, ply 3 '.${first_square}': not a legal move" --kif bad.txt)
expect_error("--game must be a whole number from 1 to 2, not '3'" --kif bad.txt --game 3)
expect_error("no-such.txt: cannot be read" --kif no-such.txt)
expect_error("--format must be json or text, not 'csv'" --kif bad.txt --format csv)

file(REMOVE_RECURSE ${dir})
