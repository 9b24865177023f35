# The pictures of res/pictures/ become the bitmap, icon and cursor files that
# res/polrix.rc embeds. picture_tool is built with the build machine's own
# compiler, since the Windows builds use the cross compiler for everything
# else; its files go to ${CMAKE_BINARY_DIR}/res, where the resource compiler
# looks for them.
set(PICTURE_DIR ${CMAKE_BINARY_DIR}/res)
file(MAKE_DIRECTORY ${PICTURE_DIR})
find_program(BUILD_MACHINE_CXX NAMES g++ c++ clang++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)
set(PICTURE_TOOL ${PICTURE_DIR}/picture_tool)
add_custom_command(OUTPUT ${PICTURE_TOOL}
  COMMAND ${BUILD_MACHINE_CXX} -std=c++17 -O1 -o ${PICTURE_TOOL} ${CMAKE_SOURCE_DIR}/res/picture_tool.cpp
  DEPENDS ${CMAKE_SOURCE_DIR}/res/picture_tool.cpp
  COMMENT "Building picture_tool for the build machine")

set(PICTURE_FILES)
# kind (bmp24, bmp4, ico, cur), picture file in res/pictures, file made
function(polrix_picture kind picture output)
  set(source ${CMAKE_SOURCE_DIR}/res/pictures/${picture})
  add_custom_command(OUTPUT ${PICTURE_DIR}/${output}
    COMMAND ${PICTURE_TOOL} ${kind} ${source} ${PICTURE_DIR}/${output}
    DEPENDS ${PICTURE_TOOL} ${source}
    COMMENT "Making ${output}")
  set(PICTURE_FILES ${PICTURE_FILES} ${PICTURE_DIR}/${output} PARENT_SCOPE)
endfunction()
polrix_picture(bmp4 toolbar.txt toolbar.bmp)
polrix_picture(bmp24 icon_strip.txt icon_strip.bmp)
polrix_picture(bmp24 title.txt title.bmp)
polrix_picture(ico program_icon.txt program_icon.ico)
polrix_picture(cur hand_cursor.txt hand_cursor.cur)

set_source_files_properties(${RC_FILE} PROPERTIES
  INCLUDE_DIRECTORIES ${PICTURE_DIR}
  OBJECT_DEPENDS "${PICTURE_FILES};${CMAKE_SOURCE_DIR}/res/resource.h;${CMAKE_SOURCE_DIR}/res/polrix.manifest")
