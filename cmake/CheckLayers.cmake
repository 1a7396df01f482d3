# Fails when a file includes a header of a layer above its own, so that the layer order holds
# by a check and not only by habit (the include trees catch what a target does not link, but
# not a link that points upwards). Run as: cmake -DROOT=<source folder> -P CheckLayers.cmake
# The tests stand above every layer, as hosts do, and are not checked; nothing else may
# include a header of theirs.

# Bottom up; folders joined by | stand on one level and may include each other. The front
# ends stand on the platform alone, and only the example hosts use them.
cmake_minimum_required(VERSION 3.22)

set(layers
  platform/text platform/io platform/resource platform/ui platform/registry platform/print
  components/support components/mox
  tav/resources tav/frame "tav/data|tav/manager|tav/templates" tav/settings tav/dialogs
  tav/command tav/window
  tools/tavreg)
set(roots platform components tav frontends tools examples tests)

if(NOT ROOT)
  message(FATAL_ERROR "usage: cmake -DROOT=<source folder> -P CheckLayers.cmake")
endif()

# The level of a folder ("tav/data"): its place in the list above, the example hosts above
# everything; -1 for a folder the list does not know.
function(layer_of folder out)
  if(folder MATCHES "^examples/")
    list(LENGTH layers level)
    set(${out} ${level} PARENT_SCOPE)
    return()
  endif()
  set(level 0)
  foreach(entry IN LISTS layers)
    string(REPLACE "|" ";" group "${entry}")
    if(folder IN_LIST group)
      set(${out} ${level} PARENT_SCOPE)
      return()
    endif()
    math(EXPR level "${level} + 1")
  endforeach()
  set(${out} -1 PARENT_SCOPE)
endfunction()

set(faults 0)
file(GLOB_RECURSE files RELATIVE ${ROOT} ${ROOT}/platform/* ${ROOT}/components/* ${ROOT}/tav/*
     ${ROOT}/frontends/* ${ROOT}/tools/* ${ROOT}/examples/*)
list(FILTER files INCLUDE REGEX "\\.(h|cpp)$")
foreach(file IN LISTS files)
  if(NOT file MATCHES "^([^/]+/[^/]+)/")
    continue()
  endif()
  set(folder ${CMAKE_MATCH_1})
  layer_of(${folder} level)
  if(level EQUAL -1 AND NOT folder MATCHES "^frontends/")
    message("${file}: ${folder} has no place in the layer order of cmake/CheckLayers.cmake")
    math(EXPR faults "${faults} + 1")
    continue()
  endif()
  file(STRINGS ${ROOT}/${file} includes REGEX "^[ \t]*#[ \t]*include[ \t]*\"")
  foreach(line IN LISTS includes)
    if(NOT line MATCHES "#[ \t]*include[ \t]*\"(([^/\"]+)/([^/\"]+))/")
      continue()
    endif()
    set(target ${CMAKE_MATCH_1})
    set(root ${CMAKE_MATCH_2})
    if(NOT root IN_LIST roots OR target STREQUAL folder)
      continue()
    endif()
    set(allowed FALSE)
    if(root STREQUAL "tests")
      set(allowed FALSE)
    elseif(root STREQUAL "frontends")
      if(folder MATCHES "^examples/")
        set(allowed TRUE)
      endif()
    elseif(folder MATCHES "^frontends/")
      if(root STREQUAL "platform")
        set(allowed TRUE)
      endif()
    else()
      layer_of(${target} targetLevel)
      if(targetLevel GREATER_EQUAL 0 AND targetLevel LESS_EQUAL level)
        set(allowed TRUE)
      endif()
    endif()
    if(NOT allowed)
      string(STRIP "${line}" line)
      message("${file}: ${line} reaches above ${folder}")
      math(EXPR faults "${faults} + 1")
    endif()
  endforeach()
endforeach()

if(faults GREATER 0)
  message(FATAL_ERROR "${faults} include(s) against the layer order")
endif()
