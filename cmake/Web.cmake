# The program as one self-contained web page, built with Emscripten: varkelo.html holds the
# page, its script and the WebAssembly, and opens from disk or from any static host. Its zip
# carries the page and a short read-me.
# Asyncify lets Run wait on the page: only the functions from main down to it can wait, and
# need its bookkeeping. The WebAssembly is compiled as the page loads, so that the main window
# is in the first paint; the runtime is the leanest that serves (its smaller allocator, a small
# stack, no options read from the page).
set(web_options
    -lembind -sASYNCIFY -sASYNCIFY_STACK_SIZE=65536
    # RunProgram is part of main but where nothing is inlined.
    "-sASYNCIFY_ONLY=['main','dynCall_*','*TApplication::Run*','*platform::Run*'\
$<$<CONFIG:Debug>:,'*RunProgram*'>]"
    -sSINGLE_FILE=1 -sWASM_ASYNC_COMPILATION=0 -sENVIRONMENT=web -sFILESYSTEM=0
    -sDYNAMIC_EXECUTION=0 -sMINIFY_HTML=0 -sINCOMING_MODULE_JS_API=[] -sTEXTDECODER=2
    -sMALLOC=emmalloc -sTOTAL_STACK=262144 -sINITIAL_MEMORY=4MB
    "-sEXPORTED_FUNCTIONS=_main,_malloc,_free"
    --pre-js ${CMAKE_CURRENT_SOURCE_DIR}/app/web/decode.js
    --shell-file ${CMAKE_CURRENT_SOURCE_DIR}/app/web/page.html)
# The tests' programs run under Node.js; its fetch would take the WebAssembly's path for a URL.
set(CMAKE_CROSSCOMPILING_EMULATOR node --no-experimental-fetch)

# An object library: the seam's calls go both ways between it and varkelo_app.
add_library(varkelo_web OBJECT app/web/WebPlatform.cpp)
target_link_libraries(varkelo_web PUBLIC varkelo_app)
target_link_options(varkelo_web PUBLIC ${web_options})
set_property(TARGET varkelo_web APPEND PROPERTY INTERFACE_LINK_DEPENDS
    ${CMAKE_CURRENT_SOURCE_DIR}/app/web/page.html ${CMAKE_CURRENT_SOURCE_DIR}/app/web/decode.js)

add_executable(varkelo app/main.cpp)
target_link_libraries(varkelo PRIVATE varkelo_web)
set_target_properties(varkelo PROPERTIES SUFFIX .html)

# The page in a zip with its read-me, the files carrying the last commit's time.
set(stage ${CMAKE_BINARY_DIR}/packages/stage)
set(zip ${CMAKE_BINARY_DIR}/packages/varkelo-${PROJECT_VERSION}-web.zip)
add_custom_command(OUTPUT ${zip}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${stage}
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:varkelo> ${stage}/varkelo.html
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_CURRENT_SOURCE_DIR}/packaging/web/README.txt
        ${stage}/README.txt
    COMMAND ${CMAKE_COMMAND} -E chdir ${stage} ${CMAKE_COMMAND} -E env TZ=UTC
        SOURCE_DATE_EPOCH=${VARKELO_COMMIT_TIME} ${CMAKE_COMMAND} -E tar cf ${zip} --format=zip
        varkelo.html README.txt
    DEPENDS varkelo packaging/web/README.txt
    VERBATIM)
add_custom_target(packages ALL DEPENDS ${zip})
