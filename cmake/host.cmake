# Host build: system-independent modules with sanitizers, tests run natively.
set(sanitize -fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
add_compile_options(-Wall -Wextra ${sanitize})
add_link_options(${sanitize})

add_library(kestrune_pure STATIC ${KESTRUNE_PURE_SOURCES})
target_include_directories(kestrune_pure PUBLIC ${CMAKE_SOURCE_DIR})

add_executable(host_tests ${KESTRUNE_PURE_TESTS})
target_link_libraries(host_tests PRIVATE kestrune_pure GTest::gtest_main)
gtest_discover_tests(host_tests DISCOVERY_TIMEOUT 60)
