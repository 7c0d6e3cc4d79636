# The program over the Win32 API, for Windows 7 SP1 and later: one static executable with no
# DLL beside it, 64-bit or 32-bit after the toolchain, and its portable archive; the 64-bit
# build also makes the installer that carries both programs.
enable_language(RC)
# The tests' programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_SOURCE_DIR}/tests/win32/wine-run.sh)
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(VARKELO_MANIFEST_ARCH amd64)
    set(bits 64)
else()
    set(VARKELO_MANIFEST_ARCH x86)
    set(bits 32)
endif()

configure_file(app/win32/varkelo.manifest ${CMAKE_CURRENT_BINARY_DIR}/varkelo.manifest @ONLY)
configure_file(app/win32/varkelo.rc.in ${CMAKE_CURRENT_BINARY_DIR}/varkelo.rc @ONLY)
# An object library: the seam's calls go both ways between it and varkelo_app. The resources
# go with it, so that the tests' programs have the manifest too. The headers declare nothing
# that Windows 7 lacks.
add_library(varkelo_win32 OBJECT app/win32/Win32Platform.cpp ${CMAKE_CURRENT_BINARY_DIR}/varkelo.rc)
target_include_directories(varkelo_win32 PUBLIC app/win32)
target_link_libraries(varkelo_win32 PUBLIC varkelo_app user32 gdi32 comctl32)
target_compile_definitions(varkelo_win32 PUBLIC UNICODE _UNICODE WINVER=0x0601 _WIN32_WINNT=0x0601
    NOMINMAX WIN32_LEAN_AND_MEAN)
# Address space layout randomisation and no execution from data; no link time in the files.
add_link_options(-static -static-libgcc -static-libstdc++ -Wl,--dynamicbase,--nxcompat
    -Wl,--no-insert-timestamp $<$<EQUAL:${bits},64>:-Wl,--high-entropy-va>)

# The newer DPI functions are looked up in a file of their own, which a test replaces to run
# the program as on Windows 7.
add_executable(varkelo WIN32 app/main.cpp app/win32/NewerUser32.cpp)
target_link_libraries(varkelo PRIVATE varkelo_win32)
target_link_options(varkelo PRIVATE -s -Wl,--gc-sections)
target_compile_options(varkelo_app PRIVATE -ffunction-sections -fdata-sections)

# The portable archive, and with makensis the installer: cmake --build --preset windows
# --target packages (built with everything). Files in them carry the last commit's time, and
# as a zip holds local times, the archive is made as in UTC wherever it is built.
set(packages ${CMAKE_BINARY_DIR}/packages)
set(stage ${packages}/stage)
set(zip ${packages}/varkelo-${PROJECT_VERSION}-win${bits}.zip)
add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:varkelo> ${stage}/varkelo.exe
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/LICENSE ${stage}/LICENSE.txt
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E env TZ=UTC
        SOURCE_DATE_EPOCH=${VARKELO_COMMIT_TIME} ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip
        varkelo.exe LICENSE.txt
    DEPENDS varkelo LICENSE
    VERBATIM)
set(package_files ${zip})

# The installer is a 32-bit program that puts the 64-bit program on 64-bit Windows and the
# 32-bit one, from the windows-x86 build, on 32-bit Windows.
set(VARKELO_WIN32_EXE "" CACHE FILEPATH "The 32-bit varkelo.exe for the installer")
find_program(MAKENSIS makensis)
if(bits EQUAL 64 AND VARKELO_WIN32_EXE AND NOT EXISTS ${VARKELO_WIN32_EXE})
    message(STATUS "No installer: build the windows-x86 preset first, then configure again")
elseif(MAKENSIS AND bits EQUAL 64 AND VARKELO_WIN32_EXE)
    set(VARKELO_SETUP ${packages}/varkelo-${PROJECT_VERSION}-setup.exe)
    add_custom_command(OUTPUT ${VARKELO_SETUP}
        COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 -DVERSION=${PROJECT_VERSION}
            -DPROGRAM64=${stage}/varkelo.exe -DPROGRAM32=${VARKELO_WIN32_EXE}
            -DLICENSE=${stage}/LICENSE.txt -DICON=${CMAKE_CURRENT_SOURCE_DIR}/app/win32/varkelo.ico
            -DOUTFILE=${VARKELO_SETUP} ${CMAKE_CURRENT_SOURCE_DIR}/packaging/windows/varkelo.nsi
        DEPENDS ${zip} ${VARKELO_WIN32_EXE} packaging/windows/varkelo.nsi app/win32/varkelo.ico
        VERBATIM)
    list(APPEND package_files ${VARKELO_SETUP})
endif()
add_custom_target(packages ALL DEPENDS ${package_files})
