# The home screen's grid build. Included from bench/CMakeLists.txt; builds on
# the simulated device (cw_automation), which assembles a whole application.
cw_add_bench(home_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/home_bench.cpp
    LIBS cw_automation
)
