# The display checks run the built window program.
if(TARGET pelor)
    add_dependencies(${PELOR_TEST_TARGET} pelor)
endif()
