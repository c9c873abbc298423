# The fake FTDI library the USB tests load: a full one, one that lacks two entry points and one
# without the device-list function.
include_guard(GLOBAL)
set(_fake_source ${CMAKE_CURRENT_LIST_DIR}/fake_ftd2xx.cpp ${CMAKE_CURRENT_LIST_DIR}/fake_ftd2xx_speed.cpp)
add_library(fake_ftd2xx SHARED ${_fake_source})
set_target_properties(fake_ftd2xx PROPERTIES OUTPUT_NAME ftd2xx
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/fake_ftd2xx/full)
target_link_libraries(fake_ftd2xx PRIVATE Threads::Threads)
add_library(fake_ftd2xx_partial SHARED ${_fake_source})
set_target_properties(fake_ftd2xx_partial PROPERTIES OUTPUT_NAME ftd2xx
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/fake_ftd2xx/partial)
target_compile_definitions(fake_ftd2xx_partial PRIVATE FAKE_FTDI_PARTIAL)
target_link_libraries(fake_ftd2xx_partial PRIVATE Threads::Threads)
add_library(fake_ftd2xx_nolist SHARED ${_fake_source})
set_target_properties(fake_ftd2xx_nolist PROPERTIES OUTPUT_NAME ftd2xx
    LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests/fake_ftd2xx/nolist)
target_compile_definitions(fake_ftd2xx_nolist PRIVATE FAKE_FTDI_NO_LIST)
target_link_libraries(fake_ftd2xx_nolist PRIVATE Threads::Threads)

# Gives a test program the paths of both and builds them with it.
function(pelor_use_fake_ftd2xx target)
    add_dependencies(${target} fake_ftd2xx fake_ftd2xx_partial fake_ftd2xx_nolist)
    target_compile_definitions(${target} PRIVATE
        PELOR_FAKE_FTD2XX="$<TARGET_FILE:fake_ftd2xx>"
        PELOR_FAKE_FTD2XX_PARTIAL="$<TARGET_FILE:fake_ftd2xx_partial>"
        PELOR_FAKE_FTD2XX_NOLIST="$<TARGET_FILE:fake_ftd2xx_nolist>")
endfunction()
