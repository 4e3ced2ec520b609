# The page: one self-contained file, pca.html. The program is linked to pca.js with its
# WebAssembly inside (base64), then make_page.py inlines it into the page template with the
# page's Content-Security-Policy. The entry points of platform/web/Events.cpp are exported by
# name: nothing in C++ calls them.
target_link_options(pca PRIVATE
  -fwasm-exceptions
  -sENVIRONMENT=web
  -sSINGLE_FILE=1
  -sALLOW_MEMORY_GROWTH=1
  -sMAXIMUM_MEMORY=2GB
  -sEXPORTED_FUNCTIONS=_main,_malloc,_free,_pca_pointer,_pca_key,_pca_click,_pca_viewport_changed,_pca_picture_seen,_pca_repaint,_pca_help,_pca_undo,_pca_redo,_pca_table,_pca_table_closed,_pca_cell_typed
  "--pre-js=${CMAKE_CURRENT_SOURCE_DIR}/platform/web/page.js"
  "--pre-js=${CMAKE_CURRENT_SOURCE_DIR}/platform/web/page-access.js"
  "--pre-js=${CMAKE_CURRENT_SOURCE_DIR}/platform/web/page-table.js")
set_property(TARGET pca APPEND PROPERTY LINK_DEPENDS
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/web/page.js ${CMAKE_CURRENT_SOURCE_DIR}/platform/web/page-access.js
  ${CMAKE_CURRENT_SOURCE_DIR}/platform/web/page-table.js)
set_target_properties(pca PROPERTIES SUFFIX ".js")

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(page_template ${CMAKE_CURRENT_SOURCE_DIR}/platform/web/page-template.html)
set(page_maker ${CMAKE_CURRENT_SOURCE_DIR}/platform/web/make_page.py)
add_custom_command(
  OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/pca.html
  COMMAND Python3::Interpreter ${page_maker} ${page_template} $<TARGET_FILE:pca>
          ${CMAKE_CURRENT_BINARY_DIR}/pca.html
  DEPENDS pca ${page_template} ${page_maker}
  COMMENT "Inlining the program into pca.html")
add_custom_target(pca_page ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/pca.html)
