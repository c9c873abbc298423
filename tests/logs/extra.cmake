# The demo log recording runs the unit simulator in-process over a loopback TCP link.
target_link_libraries(${PELOR_TEST_TARGET} PRIVATE pelor_sim util)
