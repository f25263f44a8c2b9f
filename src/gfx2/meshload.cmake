# The mesh-file readers: plain CPU code that reads n3d2 and nvx2 files
# through the file server. The graphics meshes and the physics triangle
# meshes both build on them, so they form a small library of their own.
add_library(meshload STATIC
    ${CMAKE_CURRENT_LIST_DIR}/nmeshloader.cc
    ${CMAKE_CURRENT_LIST_DIR}/nn3d2loader.cc
    ${CMAKE_CURRENT_LIST_DIR}/nnvx2loader.cc)
target_include_directories(meshload PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(meshload PUBLIC kernel util mathlib)
