# Runs `cmake --install BUILD_DIR --prefix PREFIX` into an emptied PREFIX and fails unless
# exactly the EXPECTED files (relative to PREFIX) were installed, the programs executable,
# and the install manifest names nothing outside PREFIX.
file(REMOVE_RECURSE ${PREFIX})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${PREFIX}
                RESULT_VARIABLE status OUTPUT_QUIET)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed: ${status}")
endif()

file(GLOB_RECURSE installed LIST_DIRECTORIES false RELATIVE ${PREFIX} ${PREFIX}/*)
list(SORT installed)
set(expected ${EXPECTED})
list(SORT expected)
if(NOT installed STREQUAL expected)
  message(FATAL_ERROR "installed: ${installed}\nexpected: ${expected}")
endif()

foreach(file IN LISTS installed)
  if(file MATCHES "^bin/")
    execute_process(COMMAND test -x ${PREFIX}/${file} RESULT_VARIABLE not_executable)
    if(not_executable)
      message(FATAL_ERROR "not executable: ${file}")
    endif()
  endif()
endforeach()

file(STRINGS ${BUILD_DIR}/install_manifest.txt manifest)
foreach(path IN LISTS manifest)
  string(FIND "${path}" "${PREFIX}/" at)
  if(NOT at EQUAL 0)
    message(FATAL_ERROR "installed outside the prefix: ${path}")
  endif()
endforeach()
message(STATUS "installed into ${PREFIX}: ${installed}")
