# Warnings for the project's own code; third-party headers come in as system includes
# through their imported targets.
function(vextel_warnings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Werror)
endfunction()

# A shared library of the platform layer, loaded by every program at start-up: its calls to its
# own functions are bound when it is linked and its inline functions stay out of its symbol
# table, so the dynamic loader looks up only what other objects define. (Qt links its own
# libraries the same way; programs are built position-independent, so a function's address
# stays one address everywhere.)
function(vextel_startup_library target)
  set_target_properties(${target} PROPERTIES VISIBILITY_INLINES_HIDDEN ON)
  target_link_options(${target} PRIVATE -Wl,-Bsymbolic-functions)
endfunction()

# A Qt program whose start-up counts: the libraries that nearly every loaded object looks its
# symbols up in (the C and C++ runtimes, then Qt's core, GUI and widget libraries) come first in
# its list of needed libraries. The dynamic loader searches the objects in that order for each of
# some 18,000 symbols at start-up, so these searches end a dozen objects earlier. (A sanitizer's
# runtime still comes first: the compiler puts it before these.)
function(vextel_startup_program target)
  target_link_options(${target} PRIVATE
    "LINKER:--push-state,--no-as-needed" -l:libc.so.6 -l:libstdc++.so.6
    $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
    "LINKER:--pop-state")
endfunction()

# A test executable that runs under CTest through GoogleTest discovery.
# Qt-using tests link vextel_test_main, which picks the offscreen platform itself.
function(vextel_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  vextel_warnings(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gmock)
  # Modules loaded by name (the address-book library's HTTP client) are found in the build's
  # library folder, also by tests that link no shared library from there.
  set_property(TARGET ${name} APPEND PROPERTY BUILD_RPATH ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})
  # Tests include the outside names (job parameters, binding keys) from the headers the code uses.
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  target_compile_definitions(${name} PRIVATE
    VEXTEL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
    VEXTEL_BINARY_DIR="${CMAKE_BINARY_DIR}"
    VEXTEL_PLUGIN_DIR="${VEXTEL_PLUGIN_DIR}")
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_BINARY_DIR} DISCOVERY_TIMEOUT 60)
endfunction()
