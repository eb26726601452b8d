# Libraries that later modules pull in; found here once so every target sees the same imports.
find_package(SDL2 QUIET)
find_package(SDL2_mixer QUIET)
find_package(CURL QUIET)
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(XCB QUIET IMPORTED_TARGET xcb)
endif()

find_path(CHM_INCLUDE_DIR chm_lib.h)
find_library(CHM_LIBRARY NAMES chm)
if(CHM_INCLUDE_DIR AND CHM_LIBRARY AND NOT TARGET chm::chm)
  add_library(chm::chm UNKNOWN IMPORTED)
  set_target_properties(chm::chm PROPERTIES IMPORTED_LOCATION "${CHM_LIBRARY}"
                        INTERFACE_INCLUDE_DIRECTORIES "${CHM_INCLUDE_DIR}")
endif()

# One static library per folder, made of every source file in it.
function(patience_library name)
  cmake_parse_arguments(L "" "" "LIBS;PRIVATE_LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_LIBS} PRIVATE ${L_PRIVATE_LIBS})
endfunction()

# A test binary per module folder: every *Test.cpp in it, sharing the main that owns the QApplication.
function(patience_test name)
  cmake_parse_arguments(T "" "" "LIBS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${T_LIBS} test_support GTest::gtest)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}/tests
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 120)
  # The environment goes on the discovered tests from a file ctest reads after the list: handed to
  # the discovery as a property, a list of several variables would keep only its first.
  set(env "QT_QPA_PLATFORM=offscreen;SDL_AUDIODRIVER=dummy;PATIENCE_BIN_DIR=${PATIENCE_BIN_DIR}"
          "PATIENCE_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
          "LSAN_OPTIONS=suppressions=${PROJECT_SOURCE_DIR}/tests/lsan.supp:print_suppressions=0"
          "UBSAN_OPTIONS=print_stacktrace=1")
  set(env_file ${CMAKE_CURRENT_BINARY_DIR}/${name}_environment.cmake)
  file(WRITE ${env_file} "set_tests_properties(\${${name}_TESTS} PROPERTIES ENVIRONMENT [==[${env}]==])\n")
  set_property(DIRECTORY APPEND PROPERTY TEST_INCLUDE_FILES ${env_file})
endfunction()

# Adds the subdirectory only once somebody has put a CMakeLists.txt there.
macro(patience_optional_subdirectory dir)
  if(EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${dir}/CMakeLists.txt)
    add_subdirectory(${dir})
  endif()
endmacro()
