# analysis_dump in WebAssembly, run by node: its output must be the x87 build's byte for byte
# (scripts/web-test.sh compares them). Built on demand, not with the page.
add_executable(analysis_dump EXCLUDE_FROM_ALL tests/AnalysisDump.cpp)
target_link_libraries(analysis_dump PRIVATE pca_analysis)
target_link_options(analysis_dump PRIVATE -fwasm-exceptions -sENVIRONMENT=node -sALLOW_MEMORY_GROWTH=1)
set_target_properties(analysis_dump PROPERTIES SUFFIX ".js")
