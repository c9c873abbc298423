# The scenarios run the real program's window and the simulator as a process.
target_link_libraries(${PELOR_TEST_TARGET} PRIVATE pelor_ui)
add_dependencies(${PELOR_TEST_TARGET} pelor-sim)
