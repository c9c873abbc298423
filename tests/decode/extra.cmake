# The golden and streaming tests run the capture decoder as its program: building this test
# program builds it too.
add_dependencies(${PELOR_TEST_TARGET} pelor-decode)
target_compile_definitions(${PELOR_TEST_TARGET} PRIVATE
    PELOR_DECODE_PROGRAM="$<TARGET_FILE:pelor-decode>")
