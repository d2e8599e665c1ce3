# Runs the reading probe of both builds and compares what they print.
execute_process(COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ${HOST}
                OUTPUT_FILE ${WORK}/readings-host.txt RESULT_VARIABLE host_result)
execute_process(COMMAND ${EMULATOR} ${TARGET} -platform offscreen
                OUTPUT_FILE ${WORK}/readings-target.txt RESULT_VARIABLE target_result)
if(NOT host_result EQUAL 0 OR NOT target_result EQUAL 0)
    message(FATAL_ERROR "reading probe failed: host ${host_result}, target ${target_result}")
endif()
file(READ ${WORK}/readings-host.txt host)
file(READ ${WORK}/readings-target.txt target)
string(REPLACE "\r\n" "\n" target "${target}")
if(NOT host STREQUAL target)
    message(FATAL_ERROR "the readings differ: compare ${WORK}/readings-host.txt and ${WORK}/readings-target.txt")
endif()
string(REGEX MATCHALL "\n#[0-9]+ " readings "\n${host}")
list(LENGTH readings count)
message(STATUS "${count} readings alike")
