# vellcli learncurve: one "games=G holdout_error=E" line at the start and every K games, on the
# shipped held-out set; then selfplay --continue goes on from the weight2.dat it left.
include(${CMAKE_CURRENT_LIST_DIR}/temp_dir.cmake)

execute_process(COMMAND ${PROGRAM} learncurve --games 4 --every 2 --holdout
                        ${ROOT}/resources/holdout.txt --black CPU-PAT2 --white CPU-PAT2
                        --normal-depth 1 --final-depth 2 --dir ${dir}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    fail("status ${status}: ${err}")
endif()
if(NOT out MATCHES "^games=0 holdout_error=[0-9]+\\.[0-9]+\ngames=2 holdout_error=[0-9]+\\.[0-9]+\ngames=4 holdout_error=[0-9]+\\.[0-9]+\n$")
    fail("output '${out}'")
endif()

execute_process(COMMAND ${PROGRAM} selfplay --games 1 --training 1 --continue --normal-depth 1
                        --final-depth 2 --dir ${dir}
    OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
file(READ ${dir}/weight2.dat games OFFSET 334612 LIMIT 4 HEX)
if(NOT status EQUAL 0 OR NOT games STREQUAL "05000000")
    fail("--continue: status ${status}, trained games ${games}: ${err}")
endif()
file(REMOVE_RECURSE ${dir})
