# The program over the Win32 API, for 64-bit Windows: one static executable with no DLL
# beside it, its installer and a portable archive.
enable_language(RC)
# The tests' programs run under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_SOURCE_DIR}/tests/win32/wine-run.sh)

configure_file(app/win32/varkelo.rc.in ${CMAKE_CURRENT_BINARY_DIR}/varkelo.rc @ONLY)
# An object library: the seam's calls go both ways between it and varkelo_app. The resources
# go with it, so that the tests' programs have the manifest too.
add_library(varkelo_win32 OBJECT app/win32/Win32Platform.cpp ${CMAKE_CURRENT_BINARY_DIR}/varkelo.rc)
target_link_libraries(varkelo_win32 PUBLIC varkelo_app user32 gdi32 comctl32)
target_compile_definitions(varkelo_win32 PUBLIC UNICODE _UNICODE WINVER=0x0A00 _WIN32_WINNT=0x0A00
    NOMINMAX WIN32_LEAN_AND_MEAN)
add_link_options(-static -static-libgcc -static-libstdc++)

add_executable(varkelo WIN32 app/main.cpp)
target_link_libraries(varkelo PRIVATE varkelo_win32)
target_link_options(varkelo PRIVATE -s -Wl,--gc-sections)
target_compile_options(varkelo_app PRIVATE -ffunction-sections -fdata-sections)
