# Helpers that keep every folder's CMakeLists.txt to a line or two.
include(GoogleTest)

# The layer libraries are also the objects of the installed libraries (cmake/TavcellInstall.cmake),
# which are shared ones under BUILD_SHARED_LIBS.
if(BUILD_SHARED_LIBS)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()

# tav_library(<target> [DEPS <targets...>] [LIBS <system libs...>])
# A static library of every .cpp in the calling folder. Includes are written from the
# project root ("platform/text/CodePage.h").
function(tav_library target)
  cmake_parse_arguments(ARG "" "" "DEPS;LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    # A header-only folder, or one whose first source is still being written.
    add_library(${target} INTERFACE)
    target_include_directories(${target} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS} ${ARG_LIBS})
    return()
  endif()
  add_library(${target} STATIC ${sources})
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY TAVCELL_LIBRARIES ${target})
endfunction()

# tav_tests(<target> [DEPS <targets...>])
# One GoogleTest binary of every .cpp in the calling tests folder, each test a CTest entry.
function(tav_tests target)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    message(STATUS "${target}: no test sources yet")
    return()
  endif()
  add_executable(${target} ${sources})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "TAVCELL_SOURCE_DIR=${PROJECT_SOURCE_DIR};TAVCELL_BINARY_DIR=${PROJECT_BINARY_DIR}")
endfunction()
