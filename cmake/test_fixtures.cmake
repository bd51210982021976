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
