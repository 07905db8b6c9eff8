# Build settings shared by every target, and the helpers that register tests.

if(WIN32)
  enable_language(RC)
  # Every Windows program is self-contained: no runtime DLL beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(UNICODE _UNICODE)
  # Unit tests and end-to-end tests run the win64 programs under Wine, through a runner that
  # keeps one prefix per build tree.
  configure_file(${CMAKE_SOURCE_DIR}/cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
                 FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                  WORLD_READ WORLD_EXECUTE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
endif()

add_compile_options(
  "$<$<COMPILE_LANGUAGE:CXX,C>:-Wall;-Wextra;-Wno-unused-parameter>")

# The Windows programs carry zlib inside them: the static library, never the import library of
# zlib1.dll (which no Windows system has, and which a planted copy could replace).
if(WIN32)
  set(ZLIB_USE_STATIC_LIBS ON)
endif()
find_package(ZLIB REQUIRED)

# CORVANE_SANITIZE=ON builds the native tree with AddressSanitizer and UBSan.
option(CORVANE_SANITIZE "Build with ASan and UBSan (native only)" OFF)
if(CORVANE_SANITIZE AND NOT WIN32)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# CORVANE_FUZZ=ON adds the libFuzzer targets (clang only, native only; built and run by the
# scripts/fuzz*.sh scripts, never by ctest).
option(CORVANE_FUZZ "Build the libFuzzer targets (clang only, native only)" OFF)

macro(corvane_setup_googletest)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  if(WIN32)
    set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  endif()
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
endmacro()

# corvane_add_gtest(NAME sources... [LIBS libs...]): one GoogleTest program, registered as one
# ctest test. Under the cross builds ctest starts it through the Wine runner.
function(corvane_add_gtest name)
  cmake_parse_arguments(T "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gmock GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES LABELS unit TIMEOUT 300)
endfunction()

# corvane_version_resource(target FILE_DESCRIPTION ORIGINAL_FILENAME MANIFEST): the version
# block and the application manifest of a Windows program.
function(corvane_version_resource target description original manifest)
  set(RC_DESCRIPTION "${description}")
  set(RC_ORIGINAL "${original}")
  set(RC_INTERNAL "${target}")
  set(RC_MANIFEST "${manifest}")
  set(RC_VERSION_COMMAS "${PROJECT_VERSION_MAJOR},${PROJECT_VERSION_MINOR},${PROJECT_VERSION_PATCH},0")
  set(RC_VERSION_TEXT "${PROJECT_VERSION}.0")
  configure_file(${CMAKE_SOURCE_DIR}/cmake/version.rc.in
                 ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc @ONLY)
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.rc)
endfunction()
