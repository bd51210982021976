# Windows build: product library, chainer.exe, and the test programs run under Wine.
enable_language(RC)

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601
                        WINVER=0x0601)
add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-Wall> $<$<COMPILE_LANGUAGE:CXX>:-Wextra>)
# Every program is linked statically: chainer.exe must need no DLL beyond the system's.
add_link_options(-static -static-libgcc -static-libstdc++)

set(KESTRUNE_SYSTEM_LIBS shell32 ole32 oleaut32 uuid advapi32 shlwapi wininet user32 comctl32
                         version mpr)

add_library(kestrune STATIC ${KESTRUNE_PURE_SOURCES} ${KESTRUNE_WINDOWS_SOURCES})
target_include_directories(kestrune PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(kestrune PUBLIC ${KESTRUNE_SYSTEM_LIBS})

# The resources carry the string table the library loads, so test programs get them too.
set(KESTRUNE_RESOURCES ${CMAKE_SOURCE_DIR}/resources/chainer.rc)
set_source_files_properties(${KESTRUNE_RESOURCES} PROPERTIES
  OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/resources/chainer.manifest;${CMAKE_SOURCE_DIR}/resources/chainer.ico;${CMAKE_SOURCE_DIR}/resources/resource_ids.h")

add_executable(chainer WIN32 app/main.cpp ${KESTRUNE_RESOURCES})
target_link_libraries(chainer PRIVATE kestrune)
target_link_options(chainer PRIVATE -municode -mwindows $<$<CONFIG:Release>:-s>)

# Tests run under Wine, in a prefix of this build folder; see cmake/wine-run.in.
set(KESTRUNE_WINEPREFIX ${CMAKE_BINARY_DIR}/wineprefix)
configure_file(cmake/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
               FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                                WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)

add_library(test_support STATIC tests/test_support.cpp tests/chainer_run.cpp
            tests/local_http_server.cpp)
target_include_directories(test_support PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(test_support PUBLIC kestrune GTest::gtest ws2_32)

add_executable(unit_tests ${KESTRUNE_PURE_TESTS} ${KESTRUNE_WINDOWS_TESTS} ${KESTRUNE_RESOURCES})
target_link_libraries(unit_tests PRIVATE test_support GTest::gtest_main)
gtest_discover_tests(unit_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120)

# System tests start the real chainer.exe from a package folder inside the prefix and hold the
# installer's global mutex: they never run at the same time as each other.
add_executable(system_tests ${KESTRUNE_SYSTEM_TESTS})
target_link_libraries(system_tests PRIVATE test_support GTest::gtest_main)
add_dependencies(system_tests chainer)
gtest_discover_tests(system_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                     PROPERTIES RESOURCE_LOCK prefix_wide_objects)

# Installer tests need the probe products installed (the probe_products fixture of
# cmake/test_fixtures.cmake). They start chainer.exe, which waits for the installer mutex, so they
# share the lock of the system tests.
add_executable(installer_tests ${KESTRUNE_INSTALLER_TESTS})
target_link_libraries(installer_tests PRIVATE test_support GTest::gtest_main)
add_dependencies(installer_tests chainer)
gtest_discover_tests(installer_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                     PROPERTIES RESOURCE_LOCK prefix_wide_objects FIXTURES_REQUIRED probe_products)

# Transfer tests talk to real servers on 127.0.0.1 (the transfer_servers fixture of
# cmake/test_fixtures.cmake) and read their ports from files in KESTRUNE_TRANSFER_SERVERS.
set(KESTRUNE_TRANSFER_SERVERS ${CMAKE_BINARY_DIR}/transfer-servers)
add_executable(transfer_tests ${KESTRUNE_TRANSFER_TESTS} tests/transfer_test_support.cpp)
target_link_libraries(transfer_tests PRIVATE test_support GTest::gtest_main)
target_compile_definitions(transfer_tests PRIVATE
                           KESTRUNE_TRANSFER_SERVERS="${KESTRUNE_TRANSFER_SERVERS}")
gtest_discover_tests(transfer_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                     PROPERTIES FIXTURES_REQUIRED transfer_servers TIMEOUT 120)

include(cmake/test_fixtures.cmake)

# Speed of the file digest, measured by scripts/bench-md5.
add_executable(md5_bench bench/md5_bench.cpp)
target_link_libraries(md5_bench PRIVATE kestrune)
target_link_options(md5_bench PRIVATE -municode)

# Console tools over the transfer engine, for scripts/soak-transfers and scripts/bench.
foreach(tool transfer_tool transfer_bench)
  add_executable(${tool} tools/${tool}.cpp)
  target_link_libraries(${tool} PRIVATE kestrune)
  target_link_options(${tool} PRIVATE -municode)
endforeach()
