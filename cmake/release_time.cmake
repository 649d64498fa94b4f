# Run by CPack before it installs the files to pack. The release's one time is the commit's
# (SOURCE_DATE_EPOCH when it is set): strip writes it into the exe's header, where it would
# write the time of the build, and cmake/release_zip.py dates the ZIP's entries with it.
if("$ENV{SOURCE_DATE_EPOCH}" STREQUAL "")
    execute_process(COMMAND git -C ${CPACK_MODALSCOPE_SOURCE} log -1 --format=%ct
        OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE result
        ERROR_QUIET)
    if(NOT result EQUAL 0 OR NOT epoch MATCHES "^[0-9]+$")
        message(WARNING "No git history and no SOURCE_DATE_EPOCH: the release is dated 1980")
        set(epoch 315532800)
    endif()
    set(ENV{SOURCE_DATE_EPOCH} ${epoch})
endif()
