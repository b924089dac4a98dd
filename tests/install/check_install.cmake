# Installs the build tree into a scratch prefix, then configures, builds and
# runs a separate project that uses find_package(orbe).
file(REMOVE_RECURSE ${WORK_DIR})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${WORK_DIR}/prefix
  RESULT_VARIABLE rc OUTPUT_QUIET)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "install failed: ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -S ${CONSUMER_DIR} -B ${WORK_DIR}/consumer -G Ninja
  -DCMAKE_PREFIX_PATH=${WORK_DIR}/prefix RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "configuring the consumer failed: ${rc}")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/consumer RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "building the consumer failed: ${rc}")
endif()
execute_process(COMMAND ${WORK_DIR}/consumer/consumer RESULT_VARIABLE rc OUTPUT_VARIABLE out)
message(STATUS "consumer printed: ${out}")
if(NOT rc EQUAL 0 OR NOT out MATCHES "^2\\.31 PA   :[0-9]+")
  message(FATAL_ERROR "the consumer did not run against the installed module")
endif()
# The installed programs find what they ship under share/orbe from any folder.
execute_process(COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/installed_screen.sh ${WORK_DIR}/prefix ${WORK_DIR}/screen
  RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE out TIMEOUT 120)
message(STATUS "${out}")
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "the installed orbe-terminal did not screen from an empty folder")
endif()
