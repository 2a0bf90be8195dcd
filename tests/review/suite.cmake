# Extra settings of test_review (included by tests/CMakeLists.txt): the review tool's library.
target_link_libraries(test_review PRIVATE lsc_review_tool)
