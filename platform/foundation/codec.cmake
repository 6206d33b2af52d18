# The store's binary value encoding and its typed JSON export/import.
target_sources(cw_foundation PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/value_codec.cpp
    ${CMAKE_CURRENT_LIST_DIR}/value_json.cpp
)
