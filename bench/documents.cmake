# Document text extraction benchmarks. Included from bench/CMakeLists.txt;
# needs cw_documents and cw_documents_testkit (tests/documents), which builds
# the input documents in memory.
cw_add_bench(documents_bench
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/documents_bench.cpp
    LIBS cw_documents cw_documents_testkit
)
