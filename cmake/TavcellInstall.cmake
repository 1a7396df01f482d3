# What `cmake --install` puts under a prefix for other programs: the layer tree as one library
# (tavcell), the terminal front end as another (tavcell-tty) and, when it was built, the desktop
# one (tavcell-qt), their public headers, tavreg, the CMake package and the pkg-config files.
# Included after every folder has made its targets.
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(TAVCELL_INCLUDE_SUBDIR tavcell)
set(TAVCELL_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/tavcell)

# The system libraries the installed libraries link, named as pkg-config knows them (cups has
# no pkg-config file). Public headers include none of their headers.
set(TAVCELL_PKG_MODULES cairo-pdf cairo-ft fontconfig sqlite3)
set(TAVCELL_TTY_PKG_MODULES ncursesw)

# The layers' own static libraries are many and call each other both ways; a program outside
# gets their objects as one library, so it links no internal names and no link order.
get_property(tavcell_layer_libraries GLOBAL PROPERTY TAVCELL_LIBRARIES)
set(tavcell_core_parts)
set(tavcell_tty_parts)
set(tavcell_qt_parts)
foreach(layer IN LISTS tavcell_layer_libraries)
  if(layer MATCHES "^(platform|components|tav)_")
    list(APPEND tavcell_core_parts ${layer})
  elseif(layer MATCHES "^frontends_tty")
    list(APPEND tavcell_tty_parts ${layer})
  elseif(layer MATCHES "^frontends_qt")
    list(APPEND tavcell_qt_parts ${layer})
  endif()
endforeach()

# tavcell_packaged_library(<target> <exported name> <output name> <parts...>)
function(tavcell_packaged_library target exported output)
  set(objects)
  foreach(part IN LISTS ARGN)
    list(APPEND objects $<TARGET_OBJECTS:${part}>)
  endforeach()
  add_library(${target} ${objects})
  add_library(tavcell::${exported} ALIAS ${target})
  add_dependencies(${target} ${ARGN})
  set_target_properties(${target} PROPERTIES
    OUTPUT_NAME ${output}
    LINKER_LANGUAGE CXX
    VERSION ${PROJECT_VERSION}
    SOVERSION ${PROJECT_VERSION_MAJOR}
    EXPORT_NAME ${exported})
  target_compile_features(${target} INTERFACE cxx_std_20)
  target_include_directories(${target} INTERFACE
    $<BUILD_INTERFACE:${PROJECT_SOURCE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/${TAVCELL_INCLUDE_SUBDIR}>)
endfunction()

find_package(PkgConfig REQUIRED)
pkg_check_modules(TAVCELL_SYSTEM REQUIRED IMPORTED_TARGET ${TAVCELL_PKG_MODULES})
pkg_check_modules(TAVCELL_TTY_SYSTEM REQUIRED IMPORTED_TARGET ${TAVCELL_TTY_PKG_MODULES})
find_library(TAVCELL_CUPS_LIBRARY cups REQUIRED)

tavcell_packaged_library(tavcell tavcell tavcell ${tavcell_core_parts})
# The system libraries by link name: an installed package must not carry this machine's paths.
# A static library hands them on to the program; a shared one needs them itself only.
target_link_libraries(tavcell PRIVATE $<BUILD_INTERFACE:PkgConfig::TAVCELL_SYSTEM>
                                      $<INSTALL_INTERFACE:tavcell::system> cups)
tavcell_packaged_library(tavcell_tty tty tavcell-tty ${tavcell_tty_parts})
target_link_libraries(tavcell_tty PUBLIC tavcell PRIVATE $<BUILD_INTERFACE:PkgConfig::TAVCELL_TTY_SYSTEM>
                                                 $<INSTALL_INTERFACE:tavcell::tty_system>)

set(tavcell_public_folders platform components tav frontends/tty)
set(tavcell_installed_libraries tavcell tavcell_tty)
if(tavcell_qt_parts)
  find_package(Qt6 6.2 REQUIRED COMPONENTS Widgets)
  tavcell_packaged_library(tavcell_qt qt tavcell-qt ${tavcell_qt_parts})
  # Its headers include Qt's, so a program that uses it builds with Qt 6 Widgets too.
  target_link_libraries(tavcell_qt PUBLIC tavcell Qt6::Widgets)
  list(APPEND tavcell_public_folders frontends/qt)
  list(APPEND tavcell_installed_libraries tavcell_qt)
endif()

# Headers keep the paths the library's own sources write ("tav/data/TavData.h"), below
# include/tavcell, so a host's includes read the same inside this tree and outside it. The
# headers only the library's sources share stay behind, so no host comes to rely on them.
file(STRINGS ${PROJECT_SOURCE_DIR}/cmake/PrivateHeaders.txt tavcell_private_headers REGEX "^[^#]")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/cmake/PrivateHeaders.txt)
foreach(folder IN LISTS tavcell_public_folders)
  file(GLOB_RECURSE headers CONFIGURE_DEPENDS RELATIVE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/${folder}/*.h)
  foreach(header IN LISTS headers)
    if(NOT header IN_LIST tavcell_private_headers)
      get_filename_component(header_folder ${header} DIRECTORY)
      install(FILES ${PROJECT_SOURCE_DIR}/${header} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/${TAVCELL_INCLUDE_SUBDIR}/${header_folder})
    endif()
  endforeach()
endforeach()

install(TARGETS tavcell tavcell_tty EXPORT tavcellTargets
        ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
        LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
# A set of its own, which the package loads only for a program that asks for the component.
if(TARGET tavcell_qt)
  install(TARGETS tavcell_qt EXPORT tavcellQtTargets
          ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR}
          LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(EXPORT tavcellQtTargets NAMESPACE tavcell:: DESTINATION ${TAVCELL_CMAKE_DIR})
endif()
install(TARGETS tavreg RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The debug information names this machine's source and build folders, which an installed tree
# must not; it stays in the build tree for debugging here.
set(tavcell_installed_binaries ${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:tavreg>)
foreach(library IN LISTS tavcell_installed_libraries)
  list(APPEND tavcell_installed_binaries ${CMAKE_INSTALL_LIBDIR}/$<TARGET_FILE_NAME:${library}>)
endforeach()
install(CODE "set(tavcell_installed_binaries ${tavcell_installed_binaries})
  set(tavcell_objcopy \"${CMAKE_OBJCOPY}\")")
install(CODE [[
  foreach(installed IN LISTS tavcell_installed_binaries)
    execute_process(COMMAND "${tavcell_objcopy}" --strip-debug "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${installed}"
                    RESULT_VARIABLE stripped)
    if(NOT stripped EQUAL 0)
      message(FATAL_ERROR "could not take the debug information out of ${installed}")
    endif()
  endforeach()]])
install(FILES ${PROJECT_SOURCE_DIR}/docs/host-guide.md DESTINATION ${CMAKE_INSTALL_DOCDIR} OPTIONAL)

install(EXPORT tavcellTargets NAMESPACE tavcell:: DESTINATION ${TAVCELL_CMAKE_DIR})
configure_package_config_file(${PROJECT_SOURCE_DIR}/cmake/tavcellConfig.cmake.in
  ${PROJECT_BINARY_DIR}/package/tavcellConfig.cmake INSTALL_DESTINATION ${TAVCELL_CMAKE_DIR})
# 1.x programs build against any 1.y; 2.0 may break them.
write_basic_package_version_file(${PROJECT_BINARY_DIR}/package/tavcellConfigVersion.cmake
  COMPATIBILITY SameMajorVersion)
install(FILES ${PROJECT_BINARY_DIR}/package/tavcellConfig.cmake ${PROJECT_BINARY_DIR}/package/tavcellConfigVersion.cmake
        DESTINATION ${TAVCELL_CMAKE_DIR})

# pkg-config: the static library's system libraries are Requires.private and Libs.private, so
# `pkg-config --static` links a static tavcell and plain `pkg-config` a shared one.
# The prefix is where the file lies, so `cmake --install --prefix` anywhere gives a true file.
file(RELATIVE_PATH TAVCELL_PC_PREFIX_FROM_PCDIR /root/${CMAKE_INSTALL_LIBDIR}/pkgconfig /root)
string(JOIN " " TAVCELL_PC_REQUIRES_PRIVATE ${TAVCELL_PKG_MODULES})
string(JOIN " " TAVCELL_TTY_PC_REQUIRES_PRIVATE ${TAVCELL_TTY_PKG_MODULES})
set(tavcell_pc_files tavcell tavcell-tty)
if(TARGET tavcell_qt)
  list(APPEND tavcell_pc_files tavcell-qt)
endif()
foreach(pc IN LISTS tavcell_pc_files)
  configure_file(${PROJECT_SOURCE_DIR}/cmake/${pc}.pc.in ${PROJECT_BINARY_DIR}/package/${pc}.pc @ONLY)
  install(FILES ${PROJECT_BINARY_DIR}/package/${pc}.pc DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig)
endforeach()

target_compile_definitions(tools_tavreg PRIVATE TAVCELL_VERSION="${PROJECT_VERSION}")

# A sanitizer build installs libraries that only link into programs built the same way, and
# the check builds its small host from the package's flags alone; the plain build checks it.
if(NOT TAVCELL_SANITIZE)
  add_test(NAME package_install
           COMMAND bash ${PROJECT_SOURCE_DIR}/tests/package/CheckInstall.sh ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR} ${PROJECT_VERSION}
                   $<$<TARGET_EXISTS:tavcell_qt>:qt>)
endif()
# The header check is shown an install holding a private header.
set(planted ${PROJECT_BINARY_DIR}/package/planted)
file(WRITE ${planted}/include/tavcell/components/mox/MoxCellCtrlDetail.h "")
add_test(NAME package_private_header_refused
         COMMAND bash ${PROJECT_SOURCE_DIR}/tests/package/CheckPublicHeaders.sh ${planted} ${PROJECT_SOURCE_DIR})
set_tests_properties(package_private_header_refused PROPERTIES
                     PASS_REGULAR_EXPRESSION "the private header components/mox/MoxCellCtrlDetail.h is installed")
add_test(NAME package_guide_snippets COMMAND bash ${PROJECT_SOURCE_DIR}/tests/package/CheckGuideSnippets.sh ${PROJECT_SOURCE_DIR})
