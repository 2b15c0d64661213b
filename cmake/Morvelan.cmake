# Build helpers shared by every folder.

# mv_export_library(<name> EXPORTS <list file> SOURCES ... [LIBS ...])
#   A shared library (lib<name>.so in the program folder) that exports exactly the functions
#   named in <list file> (one "ordinal name" line each; '#' starts a comment line). The list
#   becomes the linker's version script, and a test checks the library's dynamic symbols
#   against it.
function(mv_export_library name)
    cmake_parse_arguments(ARG "" "EXPORTS" "SOURCES;LIBS" ${ARGN})
    set(list_file ${CMAKE_CURRENT_SOURCE_DIR}/${ARG_EXPORTS})
    set(script ${CMAKE_CURRENT_BINARY_DIR}/${name}.map)
    file(STRINGS ${list_file} lines)
    set(body "{\n  global:\n")
    foreach(line IN LISTS lines)
        string(STRIP "${line}" line)
        if(line STREQUAL "" OR line MATCHES "^#")
            continue()
        endif()
        string(REGEX REPLACE "^[0-9]+[ \t]+" "" sym "${line}")
        string(APPEND body "    ${sym};\n")
    endforeach()
    string(APPEND body "  local:\n    *;\n};\n")
    file(WRITE ${script} "${body}")
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${list_file})

    add_library(${name} SHARED ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS})
    target_link_options(${name} PRIVATE "LINKER:--version-script=${script}")
    if(NOT MV_FUZZ)
        # In the fuzz build the sanitizer and coverage runtimes come with the program that
        # loads the library, so their symbols stay open here.
        target_link_options(${name} PRIVATE "LINKER:--no-undefined")
    endif()
    set_target_properties(${name} PROPERTIES LINK_DEPENDS ${script})

    add_test(NAME abi.${name}
             COMMAND ${CMAKE_COMMAND} -DLIB=$<TARGET_FILE:${name}> -DLIST=${list_file}
                     -P ${CMAKE_SOURCE_DIR}/cmake/CheckExports.cmake)
endfunction()

# mv_gtest(<name> SOURCES ... [LIBS ...])
#   A GoogleTest program in the program folder, its cases registered with ctest.
#   GUI tests run on the offscreen platform (the shared test main sets it).
function(mv_gtest name)
    cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
    add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} mv_test_main GTest::gmock Threads::Threads)
    gtest_discover_tests(${name}
        DISCOVERY_MODE PRE_TEST
        TEST_PREFIX "${name}."
        WORKING_DIRECTORY ${MV_PROGRAM_DIR}
        PROPERTIES TIMEOUT 120)
endfunction()

# mv_gtest_folder([LIBS ...])
#   Every *_test.cpp of the current folder becomes its own test program <folder>_<file>.
function(mv_gtest_folder)
    cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
    file(GLOB tests CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
    get_filename_component(folder ${CMAKE_CURRENT_SOURCE_DIR} NAME)
    foreach(src IN LISTS tests)
        get_filename_component(base ${src} NAME_WE)
        mv_gtest(${folder}_${base} SOURCES ${src} LIBS ${ARG_LIBS})
    endforeach()
endfunction()

# mv_fuzz_target(<name> SOURCES ... [LIBS ...] CORPUS <folder>)
#   A fuzz target (a file defining LLVMFuzzerTestOneInput). With MV_FUZZ (clang) it links
#   libFuzzer; otherwise it builds as a plain program that replays the corpus folder, and ctest
#   runs it as the test fuzz.<name>.
function(mv_fuzz_target name)
    cmake_parse_arguments(ARG "" "CORPUS" "SOURCES;LIBS" ${ARGN})
    if(MV_FUZZ)
        add_executable(fuzz_${name} ${ARG_SOURCES})
        target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    else()
        add_executable(fuzz_${name} ${ARG_SOURCES} ${CMAKE_SOURCE_DIR}/tests/fuzz_replay_main.cpp)
        add_test(NAME fuzz.${name} COMMAND fuzz_${name} ${ARG_CORPUS})
    endif()
    target_link_libraries(fuzz_${name} PRIVATE ${ARG_LIBS})
endfunction()

# The main of every test program: sets the environment the tests rely on (offscreen Qt,
# MV_SOURCE_DIR, MV_PROGRAM_DIR, read through tests/test_paths.h), then runs GoogleTest.
add_library(mv_test_main STATIC ${CMAKE_SOURCE_DIR}/tests/test_main.cpp)
target_link_libraries(mv_test_main PUBLIC GTest::gtest)
target_include_directories(mv_test_main PUBLIC ${CMAKE_SOURCE_DIR})
target_compile_definitions(mv_test_main PRIVATE
    MV_TEST_SOURCE_DIR="${CMAKE_SOURCE_DIR}" MV_TEST_PROGRAM_DIR="${MV_PROGRAM_DIR}")
set_target_properties(mv_test_main PROPERTIES AUTOMOC OFF)
