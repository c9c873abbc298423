# libutil for openpty in the fixtures; the fake FTDI library for the USB tests.
target_link_libraries(${PELOR_TEST_TARGET} PRIVATE util ${CMAKE_DL_LIBS})
include(${CMAKE_CURRENT_LIST_DIR}/fake/fake_ftd2xx.cmake)
pelor_use_fake_ftd2xx(${PELOR_TEST_TARGET})
