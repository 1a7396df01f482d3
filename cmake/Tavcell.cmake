# Helpers that keep every folder's CMakeLists.txt to a line or two.
include(GoogleTest)

# The layer libraries are also the objects of the installed libraries (cmake/TavcellInstall.cmake),
# which are shared ones under BUILD_SHARED_LIBS.
if(BUILD_SHARED_LIBS)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()

# Includes are written from the project root ("platform/text/CodePage.h"), yet a target must
# see only its own folders and the headers of the targets it links. Each target therefore
# gets an include tree of its own in the build folder, holding links to just its folders; a
# target that links it (PUBLIC, so transitively) sees those folders too, and nothing else.
function(tav_include_tree target scope)
  set(tree ${PROJECT_BINARY_DIR}/include-tree/${target})
  foreach(folder IN LISTS ARGN)
    get_filename_component(parent ${tree}/${folder} DIRECTORY)
    file(MAKE_DIRECTORY ${parent})
    if(NOT IS_SYMLINK ${tree}/${folder})
      file(CREATE_LINK ${PROJECT_SOURCE_DIR}/${folder} ${tree}/${folder} SYMBOLIC)
    endif()
  endforeach()
  target_include_directories(${target} ${scope} ${tree})
endfunction()

# tav_library(<target> [FOLDERS <more folders...>] [DEPS <targets...>] [LIBS <system libs...>])
# A static library of every .cpp in the calling folder and in the further FOLDERS (paths from
# the project root), for code that calls each other both ways and so is one target.
function(tav_library target)
  cmake_parse_arguments(ARG "" "" "FOLDERS;DEPS;LIBS" ${ARGN})
  file(RELATIVE_PATH own ${PROJECT_SOURCE_DIR} ${CMAKE_CURRENT_SOURCE_DIR})
  set(folders ${own} ${ARG_FOLDERS})
  set(sources)
  foreach(folder IN LISTS folders)
    file(GLOB found CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${folder}/*.cpp)
    list(APPEND sources ${found})
  endforeach()
  if(NOT sources)
    # A header-only folder, or one whose first source is still being written.
    add_library(${target} INTERFACE)
    tav_include_tree(${target} INTERFACE ${folders})
    target_link_libraries(${target} INTERFACE ${ARG_DEPS} ${ARG_LIBS})
    return()
  endif()
  add_library(${target} STATIC ${sources})
  tav_include_tree(${target} PUBLIC ${folders})
  target_link_libraries(${target} PUBLIC ${ARG_DEPS} ${ARG_LIBS})
  set_property(GLOBAL APPEND PROPERTY TAVCELL_LIBRARIES ${target})
endfunction()

# tav_links_to(<result> <wanted> <targets...>): TRUE when one of the targets is or links the
# wanted one, directly or through others.
function(tav_links_to result wanted)
  set(queue ${ARGN})
  set(seen)
  while(queue)
    list(POP_FRONT queue name)
    if(NOT TARGET ${name} OR name IN_LIST seen)
      continue()
    endif()
    list(APPEND seen ${name})
    get_target_property(real ${name} ALIASED_TARGET)
    if(real)
      set(name ${real})
    endif()
    if(name STREQUAL wanted)
      set(${result} TRUE PARENT_SCOPE)
      return()
    endif()
    get_target_property(links ${name} INTERFACE_LINK_LIBRARIES)
    if(links)
      list(APPEND queue ${links})
    endif()
  endwhile()
  set(${result} FALSE PARENT_SCOPE)
endfunction()

# tav_tests(<target> [PROPORTIONAL] [DEPS <targets...>])
# One GoogleTest binary of every .cpp in the calling tests folder, each test a CTest entry.
# Tests see the headers of what they link and the helpers under tests/. PROPORTIONAL runs the
# whole binary once more as one entry, <target>.proportional, with text measured by the
# proportional test measure instead of terminal cells, so that layouts are seen to follow it.
function(tav_tests target)
  cmake_parse_arguments(ARG "PROPORTIONAL" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    message(STATUS "${target}: no test sources yet")
    return()
  endif()
  tav_links_to(onUi platform_ui ${ARG_DEPS})
  if(onUi)
    list(APPEND sources ${PROJECT_SOURCE_DIR}/tests/HeadlessDriverCheck.cpp)
  endif()
  add_executable(${target} ${sources})
  tav_include_tree(${target} PRIVATE tests)
  target_link_libraries(${target} PRIVATE ${ARG_DEPS} GTest::gmock GTest::gtest_main)
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "TAVCELL_SOURCE_DIR=${PROJECT_SOURCE_DIR};TAVCELL_BINARY_DIR=${PROJECT_BINARY_DIR}")
  if(ARG_PROPORTIONAL)
    add_test(NAME ${target}.proportional COMMAND ${target})
    set_tests_properties(${target}.proportional PROPERTIES ENVIRONMENT
      "TAVCELL_TEXT_MEASURE=proportional;TAVCELL_SOURCE_DIR=${PROJECT_SOURCE_DIR};TAVCELL_BINARY_DIR=${PROJECT_BINARY_DIR}")
  endif()
endfunction()
