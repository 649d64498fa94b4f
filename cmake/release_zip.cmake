# Run by CPack after it made each package: the ZIP is written again by cmake/release_zip.py,
# as CPack's own stores each file's time in local time and the builder's user and group ids.
foreach(package IN LISTS CPACK_PACKAGE_FILES)
    if(package MATCHES "\\.zip$")
        execute_process(COMMAND ${CPACK_MODALSCOPE_PYTHON}
                ${CPACK_MODALSCOPE_SOURCE}/cmake/release_zip.py ${package}
            RESULT_VARIABLE result)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "release_zip.py failed on ${package}")
        endif()
    endif()
endforeach()
