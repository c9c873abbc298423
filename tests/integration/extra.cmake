# The integration tests run the unit simulator in-process and as its program, and load the
# fake FTDI library for the USB links.
target_link_libraries(${PELOR_TEST_TARGET} PRIVATE pelor_sim util ${CMAKE_DL_LIBS})
add_dependencies(${PELOR_TEST_TARGET} pelor-sim)
target_compile_definitions(${PELOR_TEST_TARGET} PRIVATE
    PELOR_SIM_PROGRAM="$<TARGET_FILE:pelor-sim>")
include(${CMAKE_CURRENT_LIST_DIR}/../links/fake/fake_ftd2xx.cmake)
pelor_use_fake_ftd2xx(${PELOR_TEST_TARGET})
