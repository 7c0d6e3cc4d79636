# The program over the Win32 API, for 64-bit Windows: one static executable with no DLL
# beside it, its installer and a portable archive.
enable_language(RC)
# The tests' programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_SOURCE_DIR}/tests/win32/wine-run.sh)

configure_file(app/win32/varkelo.rc.in ${CMAKE_CURRENT_BINARY_DIR}/varkelo.rc @ONLY)
# An object library: the seam's calls go both ways between it and varkelo_app. The resources
# go with it, so that the tests' programs have the manifest too.
add_library(varkelo_win32 OBJECT app/win32/Win32Platform.cpp ${CMAKE_CURRENT_BINARY_DIR}/varkelo.rc)
target_include_directories(varkelo_win32 PUBLIC app/win32)
target_link_libraries(varkelo_win32 PUBLIC varkelo_app user32 gdi32 comctl32)
target_compile_definitions(varkelo_win32 PUBLIC UNICODE _UNICODE WINVER=0x0A00 _WIN32_WINNT=0x0A00
    NOMINMAX WIN32_LEAN_AND_MEAN)
add_link_options(-static -static-libgcc -static-libstdc++)

add_executable(varkelo WIN32 app/main.cpp)
target_link_libraries(varkelo PRIVATE varkelo_win32)
target_link_options(varkelo PRIVATE -s -Wl,--gc-sections)
target_compile_options(varkelo_app PRIVATE -ffunction-sections -fdata-sections)

# The installer and the portable archive: cmake --build --preset windows --target packages
# (built with everything where makensis is found).
find_program(MAKENSIS makensis)
if(MAKENSIS)
    set(packages ${CMAKE_BINARY_DIR}/packages)
    set(VARKELO_SETUP ${packages}/varkelo-${PROJECT_VERSION}-setup.exe)
    set(zip ${packages}/varkelo-${PROJECT_VERSION}-win64.zip)
    add_custom_command(OUTPUT ${VARKELO_SETUP} ${zip}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${packages}/stage
        COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:varkelo> ${packages}/stage/varkelo.exe
        COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE ${packages}/stage/LICENSE.txt
        COMMAND ${CMAKE_COMMAND} -E chdir ${packages}/stage
            ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip varkelo.exe LICENSE.txt
        COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION}
            -DSTAGE=${packages}/stage -DICON=${CMAKE_CURRENT_SOURCE_DIR}/app/win32/varkelo.ico
            -DOUTFILE=${VARKELO_SETUP} ${CMAKE_CURRENT_SOURCE_DIR}/packaging/windows/varkelo.nsi
        DEPENDS varkelo LICENSE packaging/windows/varkelo.nsi app/win32/varkelo.ico
        VERBATIM)
    add_custom_target(packages ALL DEPENDS ${VARKELO_SETUP} ${zip})
endif()
