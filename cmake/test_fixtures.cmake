# Small libraries that tests read as files: version resources with and without the parts the
# readers look for, and libraries with a "DllGetVersion" export. They land beside the test
# programs (CMAKE_RUNTIME_OUTPUT_DIRECTORY), named as their targets with ".dll".
set(fixture_dir ${CMAKE_SOURCE_DIR}/detect/testdata)

function(kestrune_fixture_library name)
  add_library(${name} SHARED ${ARGN})
  # "DllGetVersion" must be exported under its plain name, without the stdcall "@4" suffix.
  set_target_properties(${name} PROPERTIES PREFIX "" LINK_OPTIONS -Wl,--kill-at)
  add_dependencies(unit_tests ${name})
  add_dependencies(system_tests ${name})
endfunction()

kestrune_fixture_library(fixture_with_version
  ${fixture_dir}/fixture_library.c ${fixture_dir}/with_version.rc)
kestrune_fixture_library(fixture_no_translation
  ${fixture_dir}/fixture_library.c ${fixture_dir}/no_translation.rc)
kestrune_fixture_library(fixture_empty_product_name
  ${fixture_dir}/fixture_library.c ${fixture_dir}/empty_product_name.rc)
kestrune_fixture_library(fixture_no_fixed_info
  ${fixture_dir}/fixture_library.c ${fixture_dir}/no_fixed_info.rc)
kestrune_fixture_library(fixture_no_version ${fixture_dir}/fixture_library.c)
kestrune_fixture_library(fixture_reports_dll_version
  ${fixture_dir}/reports_dll_version.c ${fixture_dir}/with_version.rc)
kestrune_fixture_library(fixture_refuses_dll_version
  ${fixture_dir}/refuses_dll_version.c ${fixture_dir}/with_version.rc)
# The installer tests plant one beside chainer.exe under a system library's name.
add_dependencies(installer_tests fixture_no_version)

# Two installer packages built from one .wxs: a current and an older release of one product line
# (same upgrade code). ctest installs both into the prefix with msiexec before the installer tests
# and removes them afterwards, also when tests failed. msiexec holds the installer mutex while it
# works, so these steps take the lock of the other tests that use it.
find_program(KESTRUNE_WIXL wixl REQUIRED)

set(probe_upgrade_code {0B8E7D6C-5A49-4382-9160-F1E2D3C4B5A9})
set(probe_current_product {6F1D3C2A-8B47-4E59-A0C1-2D3E4F5A6B71})
set(probe_current_component {3C4D5E6F-7081-4293-A4B5-C6D7E8F90A1B})
set(probe_current_version 2.5.1)
set(probe_current_folder "Kestrune Probe")
set(probe_older_product {9A2B3C4D-5E6F-4A7B-8C9D-0E1F2A3B4C5D})
set(probe_older_component {7E8F9A0B-1C2D-4E3F-8A4B-5C6D7E8F9A0B})
set(probe_older_version 1.7.0)
set(probe_older_folder "Kestrune Probe Older")

configure_file(${fixture_dir}/probe_products.h.in
               ${CMAKE_BINARY_DIR}/generated/tests/probe_products.h @ONLY)
target_include_directories(installer_tests PRIVATE ${CMAKE_BINARY_DIR}/generated)

set(probe_packages)
foreach(release current older)
  set(msi ${CMAKE_BINARY_DIR}/probe_${release}.msi)
  add_custom_command(OUTPUT ${msi}
    COMMAND ${KESTRUNE_WIXL} -o ${msi}
            -D ProductCode=${probe_${release}_product} -D UpgradeCode=${probe_upgrade_code}
            -D Version=${probe_${release}_version}
            -D ComponentCode=${probe_${release}_component}
            -D FolderName=${probe_${release}_folder}
            ${fixture_dir}/probe_product.wxs
    DEPENDS ${fixture_dir}/probe_product.wxs ${fixture_dir}/probe.txt
    COMMENT "Building the ${release} probe package"
    VERBATIM)
  list(APPEND probe_packages ${msi})
endforeach()
add_custom_target(probe_packages DEPENDS ${probe_packages})
add_dependencies(installer_tests probe_packages)

set(probe_script ${CMAKE_SOURCE_DIR}/tests/probe_packages)
add_test(NAME probe_products_install
         COMMAND /bin/bash ${probe_script} install ${CMAKE_BINARY_DIR}/wine-run
                 ${CMAKE_BINARY_DIR}/probe_current.msi ${probe_current_product}
                 ${CMAKE_BINARY_DIR}/probe_older.msi ${probe_older_product})
add_test(NAME probe_products_remove
         COMMAND /bin/bash ${probe_script} remove ${CMAKE_BINARY_DIR}/wine-run
                 ${probe_current_product} ${probe_older_product})
set_tests_properties(probe_products_install PROPERTIES
  FIXTURES_SETUP probe_products RESOURCE_LOCK prefix_wide_objects)
set_tests_properties(probe_products_remove PROPERTIES
  FIXTURES_CLEANUP probe_products RESOURCE_LOCK prefix_wide_objects)

# The servers of the transfer tests: nginx, the fault server (http and https) and the FTP servers,
# started on free ports of 127.0.0.1 before the first transfer test and stopped after the last,
# also when tests fail (tests/servers/transfer-servers).
set(transfer_servers_script ${CMAKE_SOURCE_DIR}/tests/servers/transfer-servers)
add_test(NAME transfer_servers_start
         COMMAND /bin/bash ${transfer_servers_script} start ${KESTRUNE_TRANSFER_SERVERS})
add_test(NAME transfer_servers_stop
         COMMAND /bin/bash ${transfer_servers_script} stop ${KESTRUNE_TRANSFER_SERVERS})
set_tests_properties(transfer_servers_start PROPERTIES FIXTURES_SETUP transfer_servers)
set_tests_properties(transfer_servers_stop PROPERTIES FIXTURES_CLEANUP transfer_servers)
