# Around a run of the native tests, which ctest points at a temporary folder of this build's own:
#   cmake -DFOLDER=<folder> -DSTEP=prepare -P temp_folder_check.cmake   empties it first
#   cmake -DFOLDER=<folder> -DSTEP=check -P temp_folder_check.cmake     fails if a test left anything
if(STEP STREQUAL "prepare")
  file(REMOVE_RECURSE "${FOLDER}")
  file(MAKE_DIRECTORY "${FOLDER}")
else()
  file(GLOB left RELATIVE "${FOLDER}" "${FOLDER}/*")
  if(left)
    message(FATAL_ERROR "the tests left these in ${FOLDER}: ${left}")
  endif()
endif()
