# nlohmann/json is header-only, and Debian puts it straight under /usr/include.
# A cross build must not see the rest of /usr/include, so it gets a folder of
# its own that holds only the link to nlohmann/.
set(KASTREL_NLOHMANN_SOURCE /usr/include/nlohmann CACHE PATH "The nlohmann/json headers")
if(NOT EXISTS ${KASTREL_NLOHMANN_SOURCE}/json.hpp)
    message(FATAL_ERROR "nlohmann/json.hpp not found in ${KASTREL_NLOHMANN_SOURCE} "
                        "(Debian: nlohmann-json3-dev)")
endif()
set(KASTREL_NLOHMANN_INCLUDE ${CMAKE_BINARY_DIR}/nlohmann_json_include)
file(MAKE_DIRECTORY ${KASTREL_NLOHMANN_INCLUDE})
file(CREATE_LINK ${KASTREL_NLOHMANN_SOURCE} ${KASTREL_NLOHMANN_INCLUDE}/nlohmann SYMBOLIC)
if(NOT TARGET nlohmann_json::nlohmann_json)
    add_library(nlohmann_json INTERFACE)
    target_include_directories(nlohmann_json SYSTEM INTERFACE ${KASTREL_NLOHMANN_INCLUDE})
    add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)
endif()
