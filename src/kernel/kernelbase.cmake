# The kernel's basic files: types, assertions and output, the allocator and
# its operators, the small string functions and the mutex. The containers
# of util/ are built on them, so they form the lowest library of the engine
# above the platform, in the kernel's directory under their own names.
add_library(kernelbase STATIC
    ${CMAKE_CURRENT_LIST_DIR}/nmemory.cc
    ${CMAKE_CURRENT_LIST_DIR}/ndebug.cc
    ${CMAKE_CURRENT_LIST_DIR}/nstrfuncs.cc
    ${CMAKE_CURRENT_LIST_DIR}/nloghandler.cc)
target_include_directories(kernelbase PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(kernelbase PUBLIC platform)
