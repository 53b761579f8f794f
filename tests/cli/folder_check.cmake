# vellcli selfplay and its working folder: a second writer is refused and touches nothing; games
# that do not reach vellkif.txt make the run fail with their number; --continue plays new games.
include(${CMAKE_CURRENT_LIST_DIR}/temp_dir.cmake)
set(quick --normal-depth 2 --final-depth 4 --dir ${dir})

# Another program holds the folder's lock (flock(1) here): refused at once, nothing written.
execute_process(COMMAND flock -n ${dir}/vell.lock ${PROGRAM} selfplay --games 1 --training 1 ${quick}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
file(GLOB written RELATIVE ${dir} ${dir}/*)
if(NOT status EQUAL 1 OR NOT written STREQUAL "vell.lock"
   OR NOT err MATCHES "^vellcli selfplay: [^\n]+ is in use by another program; one program at a time writes a working folder\n$")
    fail("second writer: status ${status}, files '${written}', stderr '${err}'")
endif()

# The game log cannot be written (a folder in its place): every game is played, then the run
# fails naming how many games are missing.
file(MAKE_DIRECTORY ${dir}/vellkif.txt)
execute_process(COMMAND ${PROGRAM} selfplay --games 2 ${quick}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 1 OR NOT out MATCHES "^games=2 "
   OR NOT err MATCHES "\nvellcli selfplay: 2 of 2 games are missing from vellkif.txt\n$")
    fail("log failure: status ${status}, output '${out}', stderr '${err}'")
endif()
file(REMOVE_RECURSE ${dir}/vellkif.txt)

# Two training runs, the second with --continue: no game of the first is played again.
foreach(run 1 2)
    if(run EQUAL 2)
        set(more --continue)
    endif()
    execute_process(COMMAND ${PROGRAM} selfplay --games 4 --training 1 ${more} ${quick}
        OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        fail("training run ${run}: status ${status}: ${err}")
    endif()
endforeach()
read_lines(${dir}/vellkif.txt lines)
set(games)
foreach(line IN LISTS lines)
    string(REGEX MATCH "([-+][1-8][1-8])+ [-+][0-9]+$" moves "${line}")
    list(APPEND games "${moves}")
endforeach()
list(LENGTH games played)
list(REMOVE_DUPLICATES games)
list(LENGTH games distinct)
if(NOT played EQUAL 8 OR NOT distinct EQUAL 8)
    fail("${played} games logged, ${distinct} of them different")
endif()
file(REMOVE_RECURSE ${dir})
