# Suites of the quiz engine, the word lookup, the history and the windows.

add_library(tamrel_corpus_writer STATIC learning/corpus_writer.cpp)
target_link_libraries(tamrel_corpus_writer PUBLIC tamrel_test_support)

add_tamrel_test(word_test_engine_test learning/word_test_engine_test.cpp)
target_link_libraries(word_test_engine_test PRIVATE tamrel_corpus_writer)
add_tamrel_test(word_lookup_test ui/word_lookup_test.cpp)
target_link_libraries(word_lookup_test PRIVATE tamrel_corpus_writer)
add_tamrel_test(search_history_test ui/search_history_test.cpp)

if(TARGET tamrel_windows)
  find_package(Qt6 REQUIRED COMPONENTS Test)

  # Opens the main window and the Word Test on the runtime folder it runs in and saves PNGs
  # (scripts/screenshots.sh); not a test.
  add_executable(tamrel-screenshots ui/screenshot_tour.cpp)
  target_link_libraries(tamrel-screenshots PRIVATE tamrel_windows Qt6::Test)
  set_target_properties(tamrel-screenshots PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

  # The window suites run under an X display (the test command uses Xvfb) or offscreen.
  function(add_tamrel_window_test name)
    add_executable(${name} ${ARGN})
    target_link_libraries(${name} PRIVATE tamrel_windows tamrel_corpus_writer Qt6::Test)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES
      TIMEOUT 300
      ENVIRONMENT "QTWEBENGINE_DISABLE_SANDBOX=1;QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox")
  endfunction()

  add_tamrel_window_test(tamrel_dlg_test ui/tamrel_dlg_test.cpp)
  add_tamrel_window_test(dlg_sys_set_test ui/dlg_sys_set_test.cpp)
  add_tamrel_window_test(dlg_word_test_test ui/dlg_word_test_test.cpp)
endif()
