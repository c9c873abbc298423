# libutil for openpty in the fixtures.
target_link_libraries(${PELOR_TEST_TARGET} PRIVATE util)
