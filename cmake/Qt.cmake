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

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME varkelo)
set(CPACK_PACKAGE_CONTACT "Varkelo maintainers <maintainers@varkelo.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "fishing trip profit calculator (Russian interface)")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n, fonts-liberation")
set(CPACK_STRIP_FILES ON)
include(CPack)
