# Makes the Debian package of the build tree into OUT with its CPack configuration, for the
# package tests:
#   cmake -DBUILD_DIR=<build> -DOUT=<dir> -DCPACK=<cpack> -P BuildPackage.cmake
# Without the Debian packaging tools it writes OUT/SKIPPED (the tests then skip, saying why).
file(REMOVE_RECURSE "${OUT}")
file(MAKE_DIRECTORY "${OUT}")
foreach(tool dpkg-deb dpkg-shlibdeps file)
    find_program(found_${tool} ${tool})
    if(NOT found_${tool})
        file(WRITE "${OUT}/SKIPPED" "${tool} is missing (Debian packages dpkg-dev, file)\n")
        return()
    endif()
endforeach()
execute_process(COMMAND "${CPACK}" --config "${BUILD_DIR}/CPackConfig.cmake" -G DEB -B "${OUT}"
    RESULT_VARIABLE rc OUTPUT_VARIABLE out ERROR_VARIABLE err)
if(NOT rc EQUAL 0)
    message(FATAL_ERROR "cpack failed (${rc}):\n${out}\n${err}")
endif()
file(GLOB debs "${OUT}/kovan_*.deb")
list(LENGTH debs count)
if(NOT count EQUAL 1)
    message(FATAL_ERROR "expected one kovan_*.deb in ${OUT}, found: ${debs}\n${out}")
endif()
