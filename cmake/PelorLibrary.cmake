# pelor_logic_library(<folder>): one static library from every .cpp of src/<folder>,
# linked to the folders it may include.
function(pelor_logic_library folder)
    file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
    add_library(pelor_${folder} STATIC ${sources})
    target_include_directories(pelor_${folder} PUBLIC ${CMAKE_SOURCE_DIR}/src)
    target_link_libraries(pelor_${folder} PUBLIC ${ARGN})
endfunction()
