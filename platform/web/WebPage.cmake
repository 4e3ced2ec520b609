# The page: pca.js and pca.wasm linked from the program, index.html beside them. The entry
# points of platform/web/Events.cpp are exported by name: nothing in C++ calls them.
target_link_options(pca PRIVATE
  -fexceptions
  -sENVIRONMENT=web
  -sALLOW_MEMORY_GROWTH=1
  -sMAXIMUM_MEMORY=2GB
  -sEXPORTED_FUNCTIONS=_main,_malloc,_free,_pca_pointer,_pca_click,_pca_viewport_changed,_pca_repaint
  "--pre-js=${CMAKE_CURRENT_SOURCE_DIR}/platform/web/page.js")
set_property(TARGET pca APPEND PROPERTY LINK_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/platform/web/page.js)
set_target_properties(pca PROPERTIES SUFFIX ".js")
configure_file(${CMAKE_CURRENT_SOURCE_DIR}/platform/web/index.html ${CMAKE_CURRENT_BINARY_DIR}/index.html COPYONLY)
