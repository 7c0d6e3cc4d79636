# Installs the build into a scratch prefix and checks that everything lands where a desktop
# looks for it. Run with -DBUILD_DIR=... -DPREFIX=...
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD_DIR}" --prefix "${PREFIX}"
    RESULT_VARIABLE result OUTPUT_QUIET)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "cmake --install failed: ${result}")
endif()
set(id io.github.varkelo.Varkelo)
foreach(path
        bin/varkelo
        share/applications/${id}.desktop
        share/metainfo/${id}.metainfo.xml
        share/icons/hicolor/32x32/apps/${id}.png
        share/icons/hicolor/128x128/apps/${id}.png
        share/doc/varkelo/copyright
        share/doc/varkelo/changelog.Debian.gz
        share/man/man1/varkelo.1.gz
        share/man/ru/man1/varkelo.1.gz)
    if(NOT EXISTS "${PREFIX}/${path}")
        message(FATAL_ERROR "missing from the install tree: ${path}")
    endif()
endforeach()
file(READ "${PREFIX}/share/applications/${id}.desktop" desktop)
if(NOT desktop MATCHES "Exec=varkelo\n" OR NOT desktop MATCHES "Icon=${id}\n")
    message(FATAL_ERROR "the desktop entry does not start the installed program with its icon")
endif()
message(STATUS "install tree complete")
