# The CONNECT page's tests open pseudo-terminals and load the fake FTDI library.
target_link_libraries(${PELOR_TEST_TARGET} PRIVATE util ${CMAKE_DL_LIBS})
include(${CMAKE_SOURCE_DIR}/tests/links/fake/fake_ftd2xx.cmake)
pelor_use_fake_ftd2xx(${PELOR_TEST_TARGET})
