# Read by cpack as it makes a package. The package's file times come from
# SOURCE_DATE_EPOCH; without it they would be the time of the build, and two
# builds of one commit would differ. So, unless the packager set it, it is the
# time of the last commit, or outside a git checkout the changelog's date.
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  execute_process(COMMAND git -C "${CPACK_ROTAVEX_SOURCE_DIR}" log -1 --format=%ct
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE ERROR_QUIET RESULT_VARIABLE failed)
  if(failed OR NOT epoch MATCHES "^[0-9]+$")
    execute_process(COMMAND dpkg-parsechangelog -l "${CPACK_ROTAVEX_CHANGELOG}" -S Timestamp
      OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} "${epoch}")
endif()
