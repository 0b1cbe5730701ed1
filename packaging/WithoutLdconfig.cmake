# Run by CPack once it has made the Debian package (CPACK_POST_BUILD_SCRIPTS). CPack gives a
# package with any shared object under /usr/lib a postinst and a postrm that run ldconfig; the
# client's libraries in /usr/lib/kovan are private modules loaded by path, which the linker's
# cache never lists, so those scripts only cost time at every install. This repacks the package
# without them; the package's files, their modes and its control fields stay as CPack made them.
find_program(KOVAN_DPKG_DEB dpkg-deb REQUIRED)
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
    if(NOT deb MATCHES "\\.deb$")
        continue()
    endif()
    set(tree "${deb}.tree")
    file(REMOVE_RECURSE "${tree}")
    execute_process(COMMAND "${KOVAN_DPKG_DEB}" --raw-extract "${deb}" "${tree}"
        COMMAND_ERROR_IS_FATAL ANY)
    foreach(script postinst postrm)
        set(path "${tree}/DEBIAN/${script}")
        if(EXISTS "${path}")
            file(READ "${path}" text)
            # Only CPack's own ldconfig script goes; anything else would be a script of ours.
            string(REGEX REPLACE "#[^\n]*\n|set -e\n|if \\[ \"\\$1\" = \"(configure|remove)\" \\]; then\n|[ \t]*ldconfig\n|fi\n|[ \t\n]+" "" rest "${text}")
            if(NOT rest STREQUAL "")
                message(FATAL_ERROR "${script} does more than run ldconfig:\n${text}")
            endif()
            file(REMOVE "${path}")
        endif()
    endforeach()
    execute_process(COMMAND "${KOVAN_DPKG_DEB}" --root-owner-group --build "${tree}" "${deb}"
        OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
    file(REMOVE_RECURSE "${tree}")
endforeach()
