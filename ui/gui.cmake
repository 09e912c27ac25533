# The Qt desktop program: the window classes as a library (the Qt tests link it) and the
# `tamrel` executable, placed in the build folder's root beside cli/tamrel-cli.
find_package(Qt6 REQUIRED COMPONENTS Widgets WebEngineWidgets)

add_library(tamrel_windows STATIC
  ui/desktop.cpp
  ui/window_frame.cpp
  ui/explorer_display.cpp
  ui/about_dlg.cpp
  ui/tamrel_dlg.cpp
  ui/tamrel_dlg_menu.cpp
  ui/tamrel_app.cpp
  learning/dlg_sys_set.cpp
  learning/dlg_word_test.cpp
  resources/tamrel.qrc
)
set_target_properties(tamrel_windows PROPERTIES
  AUTOMOC ON
  AUTOUIC ON
  AUTORCC ON
  AUTOUIC_SEARCH_PATHS ${CMAKE_CURRENT_SOURCE_DIR}/resources
)
target_link_libraries(tamrel_windows PUBLIC tamrel_core Qt6::Widgets Qt6::WebEngineWidgets)

add_executable(tamrel ui/main.cpp)
target_link_libraries(tamrel PRIVATE tamrel_windows)
set_target_properties(tamrel PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
