# The level meter behind voice scrolling. Included from bench/CMakeLists.txt.
cw_add_bench(voice_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/voice_bench.cpp
    LIBS cw_services
)
