# The program over Qt 6 Widgets, with its desktop files and its Debian package.
find_package(Qt6 REQUIRED COMPONENTS Widgets)

# An object library: the seam's calls go both ways between it and varkelo_app.
add_library(varkelo_qt OBJECT app/qt/QtPlatform.cpp)
target_link_libraries(varkelo_qt PUBLIC varkelo_app Qt6::Widgets)
# No Qt signals or slots of our own: handlers are bound with lambdas, so no moc is needed.
target_compile_definitions(varkelo_qt PUBLIC QT_NO_KEYWORDS QT_NO_CONTEXTLESS_CONNECT)

add_executable(varkelo app/main.cpp)
target_link_libraries(varkelo PRIVATE varkelo_qt)

# Installation: the program, its desktop entry, AppStream metadata and icons.
include(GNUInstallDirs)
set(VARKELO_APP_ID io.github.varkelo.Varkelo)
install(TARGETS varkelo RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES data/${VARKELO_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES data/${VARKELO_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
foreach(size 32 128)
    install(FILES data/icons/varkelo-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
        RENAME ${VARKELO_APP_ID}.png)
endforeach()

# Debian wants these in every package: the copyright in its own format, the package's
# changelog and a manual page, English with the Russian one beside it.
install(FILES data/deb/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(FILES data/deb/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
    RENAME varkelo)
# Installs a file gzipped as dpkg's own tools do: no name or time stored.
function(install_gzipped source name destination)
    string(MAKE_C_IDENTIFIER "${destination}/${name}" id)
    set(gzipped ${CMAKE_BINARY_DIR}/gzipped/${id}/${name}.gz)
    add_custom_command(OUTPUT ${gzipped}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/gzipped/${id}
        COMMAND sh -c "gzip -9n -c '${PROJECT_SOURCE_DIR}/${source}' > '${gzipped}'"
        DEPENDS ${PROJECT_SOURCE_DIR}/${source} VERBATIM)
    add_custom_target(${id} ALL DEPENDS ${gzipped})
    install(FILES ${gzipped} DESTINATION ${destination})
endfunction()
install_gzipped(data/deb/changelog changelog.Debian ${CMAKE_INSTALL_DOCDIR})
install_gzipped(man/en/varkelo.1 varkelo.1 ${CMAKE_INSTALL_MANDIR}/man1)
install_gzipped(man/varkelo.1 varkelo.1 ${CMAKE_INSTALL_MANDIR}/ru/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varkelo)
set(CPACK_PACKAGE_CONTACT "Varkelo maintainers <maintainers@varkelo.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fishing trip profit calculator (Russian interface)")
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Works out the net profit of one fishing trip from how many fish of each of\n"
    "20 species were caught, how many portions of 6 baits and items of 7 kinds\n"
    "of tackle were spent, and how much longevity is left on the tackle still in\n"
    "use. The help lists every value and price. The interface is in Russian, and\n"
    "the program can be driven entirely from the keyboard.")
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation")
# Only for a Wayland session without Xwayland: the program prefers X11 wherever it can.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "qt6-wayland")
set(CPACK_STRIP_FILES ON)
# The package's files and members carry the last commit's time, unless the builder sets one.
file(WRITE ${CMAKE_BINARY_DIR}/CPackTime.cmake "if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
    set(ENV{SOURCE_DATE_EPOCH} ${VARKELO_COMMIT_TIME})\nendif()\n")
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_BINARY_DIR}/CPackTime.cmake)
include(CPack)
