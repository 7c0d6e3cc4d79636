find_package(Qt6 REQUIRED COMPONENTS Widgets Test)

add_library(varkelo_ui STATIC
    app/Platform.cpp
    app/Fishingunit.cpp
    app/Startup.cpp
    dialogs/EntryDialog.cpp
    dialogs/Fishunit.cpp
    dialogs/Baitunit.cpp
    dialogs/Rodunit.cpp)
target_include_directories(varkelo_ui PUBLIC app dialogs)
target_link_libraries(varkelo_ui PUBLIC varkelo_model Qt6::Widgets)
# No Qt signals or slots of our own: handlers are bound with lambdas, so no moc is needed.
target_compile_definitions(varkelo_ui PUBLIC QT_NO_KEYWORDS)

add_executable(varkelo app/main.cpp)
target_link_libraries(varkelo PRIVATE varkelo_ui)
