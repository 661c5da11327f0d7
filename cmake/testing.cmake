# GoogleTest: Debian's prebuilt libraries on Linux, built from Debian's sources
# for the Windows cross build.
if(WIN32)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
else()
  find_package(GTest REQUIRED)
endif()

# korvale_test(NAME source... LIBS lib... [RUN_WITH command...]): one test
# binary, run by ctest as one test (under Wine for the Windows build, with a
# prefix inside the build folder); RUN_WITH puts a command before it.
function(korvale_test name)
  cmake_parse_arguments(arg "" "" "LIBS;ENVIRONMENT;RUN_WITH" ${ARGN})
  add_executable(${name} ${arg_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${arg_LIBS} GTest::gmock GTest::gtest_main)
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  # GCC 12 misreads the aggregate case tables of the tests as uninitialised.
  target_compile_options(${name} PRIVATE -Wno-maybe-uninitialized)
  if(arg_RUN_WITH)
    add_test(NAME ${name} COMMAND ${arg_RUN_WITH} ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:${name}>)
  else()
    add_test(NAME ${name} COMMAND ${name})
  endif()
  set(env ${arg_ENVIRONMENT})
  if(WIN32)
    list(APPEND env "WINEPREFIX=${CMAKE_BINARY_DIR}/wineprefix")
  endif()
  if(env)
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env}")
  endif()
endfunction()
