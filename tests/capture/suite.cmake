# Extra settings of test_capture (included by tests/CMakeLists.txt): the tool's library,
# and the tool itself, which the end-to-end tests run.
target_link_libraries(test_capture PRIVATE lsc_capture_tool)
add_dependencies(test_capture landscape-capture)
target_compile_definitions(test_capture PRIVATE LANDSCAPE_CAPTURE_EXE="$<TARGET_FILE:landscape-capture>")
