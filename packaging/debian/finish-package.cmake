# Runs in CPack after the install into its staging folder: adds what Debian's policy asks of a
# package and `make install` does not do.
set(root "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
if(NOT IS_DIRECTORY "${root}/bin")
    message(FATAL_ERROR "finish-package: no staged install under ${root}")
endif()

# gzip -n -9: no name or time stamp, so the same sources give the same package.
function(gzip_file path)
    execute_process(COMMAND gzip -n -9 -f "${path}" RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "finish-package: cannot compress ${path}")
    endif()
endfunction()

file(GLOB manuals "${root}/share/man/man1/*.1")
foreach(manual IN LISTS manuals)
    gzip_file("${manual}")
endforeach()

set(doc "${root}/share/doc/pagewick")
file(MAKE_DIRECTORY "${doc}")
file(COPY_FILE "${CPACK_PAGEWICK_DEB_DOCS}/copyright" "${doc}/copyright")
file(COPY_FILE "${CPACK_PAGEWICK_DEB_DOCS}/changelog" "${doc}/changelog")
gzip_file("${doc}/changelog")
# Files 0644, folders 0755, whatever the umask of the build.
file(GLOB_RECURSE staged LIST_DIRECTORIES true "${root}/share/*")
foreach(path IN LISTS staged)
    if(IS_DIRECTORY "${path}")
        file(CHMOD "${path}" PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                          WORLD_READ WORLD_EXECUTE)
    else()
        file(CHMOD "${path}" PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
    endif()
endforeach()
