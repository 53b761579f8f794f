# vellcli selfplay in a fresh directory: with training on every file of the end of a game is
# complete and numbered; with training off only the game log is written.
include(${CMAKE_CURRENT_LIST_DIR}/temp_dir.cmake)

execute_process(COMMAND ${PROGRAM} selfplay --games 3 --training 1 --normal-depth 2
                        --final-depth 4 --dir ${dir}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    fail("status ${status}: ${err}")
endif()
if(NOT out MATCHES "^games=3 black=([0-9]+) white=([0-9]+) draws=([0-9]+) seconds=[0-9]+\\.[0-9][0-9][0-9]\n$")
    fail("summary '${out}'")
endif()
math(EXPR total "${CMAKE_MATCH_1} + ${CMAKE_MATCH_2} + ${CMAKE_MATCH_3}")
if(NOT total EQUAL 3)
    fail("wins and draws add up to ${total}")
endif()
if(NOT err MATCHES "selfplay: games=3/3 per-minute=[0-9.]+ error=[0-9]+\\.[0-9]+\n")
    fail("progress '${err}'")
endif()

# One game-log line and one training-log line per game, numbered by the games trained before,
# each ending in a bare LF.
file(READ ${dir}/vellkif.txt kif)
file(READ ${dir}/Trainlog.txt trainlog)
if(kif MATCHES "\r" OR trainlog MATCHES "\r")
    fail("a line ends in CR LF")
endif()
read_lines(${dir}/vellkif.txt kif_lines)
read_lines(${dir}/Trainlog.txt log_lines)
list(LENGTH kif_lines kif_count)
list(LENGTH log_lines log_count)
if(NOT kif_count EQUAL 3 OR NOT log_count EQUAL 3)
    fail("${kif_count} game-log lines and ${log_count} training-log lines")
endif()
foreach(k 0 1 2)
    list(GET kif_lines ${k} line)
    if(NOT line MATCHES "^        ${k} e CPU-1    [ 0-9][0-9] \\( 35 0 120\\) CPU-1    [ 0-9][0-9] \\( 35 0 120\\) ([-+][1-8][1-8])+ \\+0$")
        fail("game-log line '${line}'")
    endif()
    list(GET log_lines ${k} line)
    if(NOT line MATCHES "^        ${k} [0-9]+\\.[0-9][0-9][0-9][0-9][0-9][0-9] -> [0-9]+\\.[0-9][0-9][0-9][0-9][0-9][0-9]\\(-?[0-9]+\\.[0-9][0-9][0-9][0-9][0-9][0-9]\\)$")
        fail("training-log line '${line}'")
    endif()
endforeach()

# The book holds whole records, at most fifteen new ones per game.
file(SIZE ${dir}/book.dat book_size)
math(EXPR book_records "${book_size} / 24")
math(EXPR book_rest "${book_size} % 24")
if(book_records LESS 15 OR book_records GREATER 45 OR NOT book_rest EQUAL 0)
    fail("book.dat of ${book_size} bytes")
endif()

# The weights: the whole file, three games trained, the note after training.
file(SIZE ${dir}/weight2.dat weight_size)
if(NOT weight_size EQUAL 334856)
    fail("weight2.dat of ${weight_size} bytes")
endif()
file(READ ${dir}/weight2.dat header OFFSET 334612 LIMIT 15 HEX)
if(NOT header STREQUAL "0300000093c182c982c882b581f400")
    fail("weight2.dat header ${header}")
endif()

# Training off: the game log alone (and the folder's lock file).
file(REMOVE_RECURSE ${dir})
file(MAKE_DIRECTORY ${dir})
execute_process(COMMAND ${PROGRAM} selfplay --games 2 --normal-depth 2 --final-depth 4
                        --dir ${dir}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
file(GLOB written RELATIVE ${dir} ${dir}/*)
if(NOT status EQUAL 0 OR NOT written STREQUAL "vell.lock;vellkif.txt" OR NOT out MATCHES "^games=2 ")
    fail("training off: status ${status}, files '${written}', output '${out}' ${err}")
endif()
read_lines(${dir}/vellkif.txt kif_lines)
list(LENGTH kif_lines kif_count)
if(NOT kif_count EQUAL 2)
    fail("training off: ${kif_count} game-log lines")
endif()

# The offline fit reads the games of that log (a line that is not a game is skipped) and writes
# a whole weight file counting them.
file(APPEND ${dir}/vellkif.txt "not a game\n")
execute_process(COMMAND ${PROGRAM} fit --log ${dir}/vellkif.txt --out ${dir}/fitted.dat --epochs 2
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT out MATCHES "^games=2 positions=[0-9]+\n$" OR NOT err MATCHES "skipped=1 ")
    fail("fit: status ${status}, output '${out}' ${err}")
endif()
file(SIZE ${dir}/fitted.dat fitted_size)
file(READ ${dir}/fitted.dat fitted_count OFFSET 334612 LIMIT 4 HEX)
if(NOT fitted_size EQUAL 334856 OR NOT fitted_count STREQUAL "02000000")
    fail("fitted.dat of ${fitted_size} bytes, games ${fitted_count}")
endif()

# --holdout: the weights as they were before the first game trained, measured beside the game.
file(MAKE_DIRECTORY ${dir}/measured)
execute_process(COMMAND ${PROGRAM} selfplay --games 1 --training 1 --normal-depth 2
                        --final-depth 4 --dir ${dir}/measured --holdout ${ROOT}/resources/holdout.txt
    OUTPUT_QUIET ERROR_VARIABLE err RESULT_VARIABLE status)
file(READ ${dir}/measured/Holdoutlog.txt measured)
if(NOT status EQUAL 0 OR NOT measured MATCHES "^games=0 error=[0-9]+\\.[0-9]+ key=[0-9a-f]+\n$")
    fail("--holdout: status ${status}, Holdoutlog.txt '${measured}' ${err}")
endif()
file(REMOVE_RECURSE ${dir})
